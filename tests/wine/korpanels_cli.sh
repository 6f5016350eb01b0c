#!/usr/bin/env bash
# The real i686 KorPanels.exe under Wine: install, uninstall and run as the simulator and a
# pilot start it. Each start costs about a minute under emulation, so the jobs that touch
# the launch list run in one lane and the runs in another, side by side.
# Usage: korpanels_cli.sh BIN_DIR
set -uo pipefail
BIN=$(cd "${1:?usage: korpanels_cli.sh BIN_DIR}" && pwd)
source "$(dirname "$0")/../../scripts/lib.sh"
wine_prefix

work=$(mktemp -d "$ROOT/build/wine-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
# A folder without the simulator's library: the plug-in finds no simulator there.
mkdir -p "$work/nosim"
cp "$BIN/KorPanels.exe" "$work/nosim/"
profile="$WINEPREFIX/drive_c/users/$(id -un)"
fsx="$profile/AppData/Roaming/Microsoft/FSX"
mkdir -p "$fsx"
rm -f "$fsx/exe.xml" "$fsx/SimConnect.xml"

# Wine reports the debugger output stream on its "seh" channel, as warnings.
start() {  # log name, folder, arguments...: exit code of KorPanels.exe; output in $work/NAME
  local name=$1 folder=$2
  shift 2
  (cd "$folder" && WINEDEBUG=warn+seh timeout 900 xvfb-run -a wine KorPanels.exe "$@" \
    >"$work/$name" 2>&1)
}
entries() { grep -ciE "<Path>[^<]*\\\\$1\\\\KorPanels\.exe</Path>" "$fsx/exe.xml" 2>/dev/null; }

launch_list_lane() {
  local failures=0
  fail() { echo "korpanels_cli: $1"; failures=$((failures + 1)); }
  start install "$BIN" -install || fail "-install ended with $?"
  grep -q 'KorFlightSimX -install' "$work/install" || fail "-install wrote no debug line"
  [ "$(entries bin)" = 1 ] || fail "-install left $(entries bin) entries"
  [ -f "$fsx/SimConnect.xml" ] || fail "-install wrote no SimConnect.xml"
  grep -q $'<CommandLine>-run</CommandLine>\r$' "$fsx/exe.xml" || fail "no -run command line"
  start uninstall "$BIN" -uninstall || fail "-uninstall ended with $?"
  grep -q 'KorFlightSimX -uninstall' "$work/uninstall" || fail "-uninstall wrote no debug line"
  [ "$(entries bin)" = 0 ] || fail "-uninstall left the entry"
  start upper "$BIN" -INSTALL || fail "-INSTALL ended with $?"
  [ "$(entries bin)" = 1 ] || fail "-INSTALL did not install"
  start bare "$work/nosim" || fail "no argument without a simulator ended with $?"
  [ "$(entries nosim)" = 1 ] || fail "no argument did not install"
  return $((failures > 0))
}

run_lane() {
  local failures=0
  fail() { echo "korpanels_cli: $1"; failures=$((failures + 1)); }
  SIMSTUB_QUIT_AFTER_MS=20000 SIMSTUB_CALL_LOG="$work/calls.txt" start run "$BIN" -run ||
    fail "-run against the simulator ended with $?"
  grep -q 'KorFlightSimX -run' "$work/run" || fail "-run wrote no debug line"
  [ "$(grep -c '^SimConnect_SubscribeToSystemEvent' "$work/calls.txt" 2>/dev/null)" = 4 ] ||
    fail "-run did not subscribe to the four system events"
  start run-nosim "$work/nosim" -run || fail "-run without a simulator ended with $?"
  return $((failures > 0))
}

launch_list_lane &
lane=$!
run_lane
runs=$?
wait "$lane"
lists=$?
[ "$runs" -eq 0 ] && [ "$lists" -eq 0 ] && echo "korpanels_cli: all checks passed"
exit $((runs + lists > 0))
