#!/usr/bin/env bash
# The shipped KorPanels.exe left running while six units come and go, at the system-library
# boundary as in plugin_devices.sh; it must end with every unit handle closed, its own handle
# count and private memory where they were, and no client event after a unit's removal.
# Not part of scripts/test: now and then its played units and the plug-in wait for each
# other on a unit's pipe (the plug-in's window thread inside the test HID library's
# HidD_SetFeature, the peer idle), on both builds, a fault of the played units not yet
# found. scripts/soak runs it for as long as asked.
# Usage: plugin_soak.sh BIN_DIR [CYCLES [SECONDS]]
set -uo pipefail
BIN=$(cd "${1:?usage: plugin_soak.sh BIN_DIR [CYCLES [SECONDS]]}" && pwd)
export KOR_SOAK_CYCLES=${2:-400} KOR_SOAK_SECONDS=${3:-0}
source "$(dirname "$0")/../../scripts/lib.sh"
wine_prefix

work="$ROOT/build/wine-logs/plugin_soak-$KOR_WINE_LANE"
plugin_with_units "$work" "$BIN" kor_plugin_soak.exe || { echo "plugin_soak: no copy"; exit 1; }

# A cycle takes some 50 ms; a run that is still going ten minutes after its time hangs.
(cd "$work" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;hid,setupapi=n,b" with_display \
  timeout $((KOR_SOAK_SECONDS + 600)) wine kor_plugin_soak.exe >"$work/run.log" 2>&1)
rc=$?
tr -d '\r' <"$work/run.log" | grep -vE '^\[ +(RUN|OK) +\]|^Running main|^Note:|^\[-+\]|^$'
exit $rc
