#!/usr/bin/env bash
# The plug-in program as the simulator and a pilot start it, on Linux with a scratch home:
# each command-line job, the exit codes, and the files install leaves behind.
# Usage: korpanels_cli_test.sh PATH_TO_KorPanels
set -uo pipefail
program=${1:?usage: korpanels_cli_test.sh PATH_TO_KorPanels}
bin=$(dirname "$program")
export HOME
HOME=$(mktemp -d)
trap 'rm -rf "$HOME"' EXIT
fsx="$HOME/AppData/Roaming/Microsoft/FSX"
mkdir -p "$fsx" "$HOME/Documents/Flight Simulator X Files"
failures=0
check() {  # description, command...
  local description=$1
  shift
  if ! "$@"; then
    echo "FAILED: $description"
    failures=$((failures + 1))
  fi
}
entries() { grep -c "<Path>$program</Path>" "$fsx/exe.xml"; }
# Without the stand-in on the library path there is no simulator to connect to, and so
# nothing to wait for: each such run must end within 2 s.
plain() {
  local started rc
  started=$(date +%s%N)
  env -u LD_LIBRARY_PATH timeout 60 "$program" "$@"
  rc=$?
  took=$((($(date +%s%N) - started) / 1000000))
  return $rc
}
at_once() { test "$took" -le 2000; }

plain -install
check "-install ends with 0" test $? -eq 0
check "-install writes the launch entry" test "$(entries)" -eq 1
check "-install writes the connection files" test -f "$fsx/SimConnect.xml" -a \
  -f "$HOME/Documents/Flight Simulator X Files/SimConnect.ini"
check "the entry starts the plug-in with -run" grep -q "<CommandLine>-run</CommandLine>" "$fsx/exe.xml"

plain -uninstall
check "-uninstall ends with 0" test $? -eq 0
check "-uninstall removes the entry" test "$(entries)" -eq 0

plain -INSTALL
check "-INSTALL acts as -install" test "$(entries)" -eq 1
plain -uninstall

plain -run
check "-run without a simulator ends with 0" test $? -eq 0
check "-run without a simulator ends at once ($took ms)" at_once
check "-run does not install" test "$(entries)" -eq 0

plain
check "no argument without a simulator ends with 0" test $? -eq 0
check "no argument without a simulator ends at once ($took ms)" at_once
check "no argument installs" test "$(entries)" -eq 1

plain -uninstall
plain -run -install
check "two arguments run without a simulator and end with 0" test $? -eq 0
check "two arguments without a simulator end at once ($took ms)" at_once
check "two arguments install" test "$(entries)" -eq 1

LD_LIBRARY_PATH="$bin" SIMSTUB_QUIT_AFTER_MS=300 SIMSTUB_CALL_LOG="$HOME/calls.txt" \
  timeout 60 "$program" -run
check "-run against the simulator ends with 0 when it quits" test $? -eq 0
check "-run subscribed to the simulator's four events" \
  test "$(grep -c '^SimConnect_SubscribeToSystemEvent' "$HOME/calls.txt")" -eq 4

# A second plug-in while one runs: it ends at once without touching the simulator, after
# its install when it had no argument. Had it connected, its stand-in would log the calls
# when it quits, after 3 s.
plain -uninstall
LD_LIBRARY_PATH="$bin" SIMSTUB_QUIT_AFTER_MS=5000 timeout 60 "$program" -run &
first=$!
sleep 1
for arguments in -run ""; do
  rm -f "$HOME/second.txt"
  started=$(date +%s%N)
  LD_LIBRARY_PATH="$bin" SIMSTUB_QUIT_AFTER_MS=3000 SIMSTUB_CALL_LOG="$HOME/second.txt" \
    timeout 60 "$program" $arguments
  rc=$?
  took=$((($(date +%s%N) - started) / 1000000))
  check "a second plug-in (${arguments:-no argument}) ends with 0 within 2 s, not $rc after $took ms" \
    test "$rc" -eq 0 -a "$took" -lt 2000
  check "a second plug-in (${arguments:-no argument}) opens no simulator connection" \
    test ! -e "$HOME/second.txt"
done
check "a second plug-in without argument still installs" test "$(entries)" -eq 1
wait "$first"
check "the first plug-in runs on until the simulator quits and ends with 0" test $? -eq 0

[ "$failures" -eq 0 ] && echo "korpanels command line: all checks passed"
exit $((failures > 0))
