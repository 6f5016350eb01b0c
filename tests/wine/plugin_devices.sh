#!/usr/bin/env bash
# The shipped KorPanels.exe with panel units played at the system-library boundary: the
# test HID and device-setup libraries beside a byte-identical copy of it, the stand-in
# simulator library, and the program that plays the units and drives the plug-in.
# Usage: plugin_devices.sh BIN_DIR [GTEST_FILTER]
set -uo pipefail
BIN=$(cd "${1:?usage: plugin_devices.sh BIN_DIR [GTEST_FILTER]}" && pwd)
filter=${2:-*}
source "$(dirname "$0")/../../scripts/lib.sh"
wine_prefix

work="$ROOT/build/wine-logs/plugin_devices-$KOR_WINE_LANE"
plugin_with_units "$work" "$BIN" kor_plugin_devices.exe || { echo "plugin_devices: no copy"; exit 1; }

# Wine keeps its own device-setup library unless told otherwise; the HID one beside the
# program is taken as it is.
(cd "$work" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;hid,setupapi=n,b" with_display timeout 900 \
  wine kor_plugin_devices.exe --gtest_filter="$filter" >"$work/run.log" 2>&1)
rc=$?
tr -d '\r' <"$work/run.log" | grep -vE '^\[ +(RUN|OK) +\]|^Running main|^Note:|^\[-+\]|^$'
exit $rc
