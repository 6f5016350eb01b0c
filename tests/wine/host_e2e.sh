#!/usr/bin/env bash
# The real hidden main window under Wine, against the stand-in simulator library: it must
# connect, subscribe to the four system events, register the panels' data, start the data
# requests on SimStart, and end with exit code 0 when the simulator quits.
# Usage: host_e2e.sh BIN_DIR
set -uo pipefail
BIN=${1:?usage: host_e2e.sh BIN_DIR}
source "$(dirname "$0")/../../scripts/lib.sh"

wine_prefix
# Into a file, not a pipe: a Wine process started by the run could hold a pipe open.
# Beside the program, so that runs of different builds keep their own.
log="$(cd "$BIN" && pwd)/host_e2e.log"
run() {
  (cd "$BIN" && with_display timeout 900 wine KorPanelsHostTest.exe >"$log" 2>&1)
  rc=$?
  out=$(tr -d '\r' <"$log")
}
run
# 3: no window could be made at all, which an emulated Wine that is still starting its
# desktop sometimes answers; the plug-in's own refusal is 2 and is not retried.
if [ "$rc" -eq 3 ]; then
  echo "host_e2e: Wine made no window; once more"
  run
fi
failures=0
expect() {  # description, extended regular expression, number of lines
  local found
  found=$(grep -cE "$2" <<<"$out")
  if [ "$found" -ne "$3" ]; then
    echo "host_e2e: expected $3 line(s) of $1, found $found"
    failures=$((failures + 1))
  fi
}

expect "connection" '^SimConnect_Open\("Korvane Flight Sim X Plugin",0x[0-9a-f]+,1024,null,0\)$' 1
for event in '1,"SimStart"' '2,"SimStop"' '3,"Paused"' '4,"Unpaused"'; do
  expect "subscription $event" "^SimConnect_SubscribeToSystemEvent\\($event\\)$" 1
done
# The variables of the autopilot (14), the radio (12) and the switch panel (27), and one
# group each.
expect "data definitions" '^SimConnect_AddToDataDefinition\(' 53
expect "group priorities" '^SimConnect_SetNotificationGroupPriority\([0-9]+,1\)$' 3
expect "data requests" '^SimConnect_RequestDataOnSimObject\(([0-9]+),\1,0,3,1,0,0,0\)$' 3
expect "loop end" '^message loop ended with 0$' 1
if [ "$rc" -ne 0 ]; then
  echo "host_e2e: exit code $rc"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
  echo "$out" | tail -60
  exit 1
fi
echo "host_e2e: hidden window connected, subscribed, registered, requested and quit with 0"
