#!/usr/bin/env bash
# KorPanels.exe -run finds the simulator's client library where the simulator's installer
# puts it: in the side-by-side store of Windows, never beside the program. The stand-in
# library is installed there as each version the simulator shipped, one at a time, and the
# plug-in must connect through each; with none installed it must end at once with 0.
# The x86_64 twin looks for the same assembly built for its own architecture (amd64), so in
# that lane the twin's stand-in is installed as one.
# Usage: simulator_sidebyside.sh BIN_DIR
set -uo pipefail
# One display for every program of the check's Wine session, which breaks when it goes.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a bash "$0" "$@"
BIN=$(cd "${1:?usage: simulator_sidebyside.sh BIN_DIR}" && pwd)
source "$(dirname "$0")/../../scripts/lib.sh"
case "$KOR_WINE_LANE" in
  i686) architecture=x86 ;;
  x86_64) architecture=amd64 ;;
esac
versions=(10.0.61259.0 10.0.61242.0 10.0.60905.0)

# A prefix of its own: the store belongs to the prefix, and the other checks' runs without
# a simulator must not find one there.
export WINEPREFIX="$WINEPREFIX-sidebyside"
wine_prefix
store="$WINEPREFIX/drive_c/windows/winsxs"
work=$(mktemp -d "$ROOT/build/wine-sidebyside.XXXXXX")
remove_assemblies() {
  rm -rf "$store"/*_microsoft.flightsimulator.simconnect_* \
    "$store"/manifests/*_microsoft.flightsimulator.simconnect_*
}
trap 'remove_assemblies; wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
# The first program of a session starts its services; a window made meanwhile may be refused.
wine cmd.exe /c exit >/dev/null 2>&1
cp "$BIN/KorPanels.exe" "$work/"

# As the store keeps an installed assembly: its manifest under manifests/, its file in a
# folder of the same name. The store names both with a hash of its own; any will do.
install_assembly() {  # version
  local name="${architecture}_microsoft.flightsimulator.simconnect_67c7c14424d61b5b_$1_none_5e2a4f7a9c3b1d06"
  mkdir -p "$store/$name"
  cp "$BIN/SimConnect.dll" "$store/$name/"
  cat >"$store/manifests/$name.manifest" <<EOF
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="Microsoft.FlightSimulator.SimConnect" version="$1" processorArchitecture="$architecture" publicKeyToken="67c7c14424d61b5b"/>
  <file name="SimConnect.dll"/>
</assembly>
EOF
}

run() {  # call log: exit code of KorPanels.exe -run
  (cd "$work" && SIMSTUB_QUIT_AFTER_MS=5000 SIMSTUB_CALL_LOG="$work/$1" \
    timeout 900 wine KorPanels.exe -run >/dev/null 2>&1)
}

failures=0
fail() { echo "simulator_sidebyside: $1"; failures=$((failures + 1)); }
for version in "${versions[@]}"; do
  remove_assemblies
  install_assembly "$version"
  run "calls-$version" || fail "$version: -run ended with $?"
  grep -q '^SimConnect_Open(' "$work/calls-$version" 2>/dev/null ||
    fail "$version: -run did not connect through the side-by-side store"
  [ "$(grep -c '^SimConnect_SubscribeToSystemEvent' "$work/calls-$version" 2>/dev/null)" = 4 ] ||
    fail "$version: -run did not subscribe to the four system events"
done

remove_assemblies
bare=$(bare_start_ms)
started=$(date +%s%N)
run calls-none || fail "none installed: -run ended with $?"
took=$((($(date +%s%N) - started) / 1000000))
[ ! -e "$work/calls-none" ] || fail "none installed: -run still found a simulator library"
# Without a simulator there is nothing to wait for.
[ $((took - bare)) -le 2000 ] || fail "none installed: -run took $took ms, a bare program $bare ms"
echo "simulator_sidebyside: with none installed -run ended after $took ms (a bare program: $bare ms)"

[ "$failures" -eq 0 ] &&
  echo "simulator_sidebyside: $architecture assembly ${versions[*]} each connected; none installed ended with 0"
exit $((failures > 0))
