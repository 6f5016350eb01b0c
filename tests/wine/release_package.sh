#!/usr/bin/env bash
# The package a pilot downloads, built by scripts/package, looked at and used as a pilot
# would:
# - it holds both programs and the guide as Windows text, and never a library of the tests
#   (the stand-in simulator library, the test hid.dll and setupapi.dll);
# - its programs are byte for byte the ones the other checks of the lane ran;
# - the plug-in's version block carries the package's version;
# - every program in it, and the setup program beside it, is a 32-bit (i386) PE file for the
#   GUI subsystem that imports only Windows system libraries: no runtime DLL, and no
#   load-time tie to the simulator's library that would stop it on a machine without the
#   simulator;
# - unpacked into a Wine prefix, a new machine on which the simulator has run once,
#   KorPanels.exe -install puts the unpacked program's path into exe.xml, and the tester
#   opens and ends with 2 when its window is closed.
# Where 32-bit Wine runs only under emulation, a fresh prefix takes many minutes and each
# start a minute: there the programs are looked at, and the setup program's check runs them.
# Usage: release_package.sh BIN_DIR   (the i686 programs the lane's other checks ran)
set -uo pipefail
# One display for every program of the check's Wine session, which breaks when it goes.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a bash "$0" "$@"
BIN=$(cd "${1:?usage: release_package.sh BIN_DIR}" && pwd)
source "$(dirname "$0")/../../scripts/lib.sh"
cd "$ROOT" || exit 1

failures=0
fail() { echo "release_package: $1"; failures=$((failures + 1)); }
work=$(mktemp -d "$ROOT/build/wine-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

scripts/package >"$work/package.log" 2>&1 || { tail -40 "$work/package.log"; exit 1; }
zip="$ROOT/$(tail -1 "$work/package.log")"
name=$(basename "$zip" .zip)
unzip -q "$zip" -d "$work/unpacked" || { echo "release_package: $zip does not unpack"; exit 1; }
folder="$work/unpacked/$name"

expected=(KorPanels.exe KorSwitchTest.exe UserGuide.txt)
for file in "${expected[@]}"; do
  [ -f "$folder/$file" ] || fail "$name.zip lacks $name/$file"
done
for program in KorPanels.exe KorSwitchTest.exe; do
  cmp -s "$folder/$program" "$BIN/$program" || fail "$program in $name.zip is not the one checked in $BIN"
done
while read -r entry; do
  case " ${expected[*]} " in *" ${entry#"$name/"} "*) ;; *) fail "$name.zip holds $entry" ;; esac
done < <(unzip -Z1 "$zip" | grep -v '/$')
[ "$(grep -c $'\r$' "$folder/UserGuide.txt")" = "$(wc -l <"$folder/UserGuide.txt")" ] ||
  fail "UserGuide.txt has lines without CR LF"

# The plug-in's version block carries the package's version: both come from one place.
version=${name#korvane-panels-}
block=$(i686-w64-mingw32-windres -J coff -i "$folder/KorPanels.exe" -O rc)
grep -qx " FILEVERSION ${version//./, }, 0" <<<"$block" || fail "KorPanels.exe is not version $version"
for value in '"CompanyName", "Korvane"' "\"FileVersion\", \"$version\"" \
  "\"ProductVersion\", \"$version\""; do
  grep -qF "VALUE $value" <<<"$block" || fail "KorPanels.exe's version block lacks $value"
done

# What every Windows since the simulator's days has in its system folder.
system_libraries=(advapi32.dll comctl32.dll comdlg32.dll gdi32.dll hid.dll kernel32.dll
  msimg32.dll msvcrt.dll ole32.dll oleaut32.dll setupapi.dll shell32.dll user32.dll)
setup="$ROOT/dist/$name-setup.exe"
for program in "$folder"/*.exe "$setup"; do
  headers=$(i686-w64-mingw32-objdump -p "$program")
  file=$(basename "$program")
  grep -q 'file format pei-i386$' <<<"$headers" || fail "$file is not an i386 PE file"
  grep -q $'^Subsystem\t\t00000002\t(Windows GUI)$' <<<"$headers" ||
    fail "$file is not for the GUI subsystem"
  while read -r library; do
    case " ${system_libraries[*]} " in
      *" ${library,,} "*) ;;
      *) fail "$file imports $library, not a Windows system library" ;;
    esac
  done < <(sed -n 's/^\tDLL Name: //p' <<<"$headers")
done

# Under emulation each program start costs a minute: there the setup program's check, which
# installs these same programs, is the one that runs them.
if [ "${KOR_WINE_MODE:-}" = emulated ]; then
  [ "$failures" -eq 0 ] && echo "release_package: $name.zip holds ${expected[*]}, the checked" \
    "programs; it and $(basename "$setup") are i386 GUI programs importing only system" \
    "libraries; the programs' runs are left to the setup program's check"
  exit $((failures > 0))
fi
# A fresh prefix is a machine that has never seen the programs.
export WINEPREFIX="$work/prefix"
trap 'end_wine_servers; rm -rf "$work"' EXIT
wine_prefix || exit 1
wine cmd.exe /c exit >/dev/null 2>&1
program_folder="C:\\Program Files\\$name"
rm -rf "$WINEPREFIX/drive_c/Program Files/$name"
cp -r "$folder" "$WINEPREFIX/drive_c/Program Files/"
# The folders the simulator makes on its first run; install creates none.
profile="$WINEPREFIX/drive_c/users/$(id -un)"
rm -rf "$profile/AppData/Roaming/Microsoft/FSX" "$profile/Documents/Flight Simulator X Files"
mkdir -p "$profile/AppData/Roaming/Microsoft/FSX" "$profile/Documents/Flight Simulator X Files"

timeout 900 wine "$program_folder\\KorPanels.exe" -install >/dev/null 2>&1 ||
  fail "KorPanels.exe -install ended with $?"
grep -qxF $'\t\t\t<Path>'"$program_folder"$'\\KorPanels.exe</Path>\r' \
  "$profile/AppData/Roaming/Microsoft/FSX/exe.xml" 2>/dev/null ||
  fail "exe.xml does not name $program_folder\\KorPanels.exe"

wine "$program_folder\\KorSwitchTest.exe" >/dev/null 2>&1 &
tester=$!
# Closing the window as a pilot does: the close box, until it has one to close.
deadline=$(($(date +%s) + 600))
while kill -0 "$tester" 2>/dev/null && [ "$(date +%s)" -lt "$deadline" ]; do
  sleep 1
  wine taskkill /IM KorSwitchTest.exe >/dev/null 2>&1
done
kill -0 "$tester" 2>/dev/null && { kill "$tester"; fail "KorSwitchTest.exe did not close"; }
wait "$tester"
rc=$?
[ "$rc" -eq 2 ] || fail "KorSwitchTest.exe closed with $rc, not 2"

[ "$failures" -eq 0 ] && echo "release_package: $name.zip holds ${expected[*]}, the checked" \
  "programs; they and $(basename "$setup") are i386 GUI programs importing only system" \
  "libraries; -install from the unpacked folder registered it; the tester closed with 2"
exit $((failures > 0))
