#!/usr/bin/env bash
# The shipped KorSwitchTest.exe with a switch unit played at the system-library boundary:
# the test HID and device-setup libraries beside a byte-identical copy of it, and the
# program that plays the unit, drives the tester and reads its picture back from
# screenshots, which this script takes from the X display on request. The screenshots
# stay in the work folder as artefacts.
# Usage: tester_devices.sh BIN_DIR [GTEST_FILTER]
set -uo pipefail
BIN=$(cd "${1:?usage: tester_devices.sh BIN_DIR [GTEST_FILTER]}" && pwd)
filter=${2:-*}
source "$(dirname "$0")/../../scripts/lib.sh"
if [ -z "${DISPLAY:-}" ]; then
  start_lane_display 170 || { echo "tester_devices: no X display"; exit 1; }
  trap stop_lane_display EXIT
fi
wine_prefix

units=$(cd "$BIN/../vunits" && pwd)
work="$ROOT/build/wine-logs/tester_devices-$KOR_WINE_LANE"
rm -rf "$work"
mkdir -p "$work"
cp "$BIN/KorSwitchTest.exe" "$units"/{hid.dll,setupapi.dll,kor_tester_devices.exe} "$work/"
cmp -s "$BIN/KorSwitchTest.exe" "$work/KorSwitchTest.exe" || { echo "tester_devices: copy differs"; exit 1; }

# NAME.request asks for a screenshot: NAME.png is kept, NAME.bmp (24-bit) is read back.
shoot() {
  while :; do
    for request in "$work"/*.request; do
      [ -e "$request" ] || continue
      local shot=${request%.request}
      import -display "$DISPLAY" -window root "$shot.png" &&
        convert "$shot.png" -type TrueColor "BMP3:$shot.part" && mv "$shot.part" "$shot.bmp"
      rm -f "$request"
    done
    sleep 0.2
  done
}
shoot &
shooter=$!

(cd "$work" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;hid,setupapi=n,b" timeout 900 \
  wine kor_tester_devices.exe --gtest_filter="$filter" >"$work/run.log" 2>&1)
rc=$?
kill "$shooter" 2>/dev/null
wait "$shooter" 2>/dev/null
# The bitmaps were only for reading back.
rm -f "$work"/*.bmp
tr -d '\r' <"$work/run.log" | grep -vE '^\[ +(RUN|OK) +\]|^Running main|^Note:|^\[-+\]|^$'
exit $rc
