#!/usr/bin/env bash
# The setup program, run as a scripted install does (/S), on a machine that has never seen
# the programs, on which the simulator has run once and knows another add-on:
# - it puts the checked programs and the guide in %LOCALAPPDATA%\Programs\Korvane Panels,
#   with the tester, the guide and the uninstaller in the Start menu;
# - the simulator's launch list then holds the installed plug-in with -run, beside the other
#   add-on, and the Apps & features entry reads back exactly as written;
# - a second run, an upgrade, leaves one entry in the launch list;
# - the uninstaller takes out the entry, the files, the Start-menu folder and the Apps &
#   features entry, and leaves the other add-on, the simulator's configuration and the
#   plug-in's log.
# The i686 lane runs the shipped setup program, made by scripts/package; the x86_64 lane
# runs its twin, made here from the lane's programs. Where 32-bit Wine runs only under
# emulation, the i686 lane installs once in its own prefix and reads that back, and the
# twin tells the rest.
# Usage: setup_program.sh BIN_DIR   (the programs the lane's other checks ran)
set -uo pipefail
# One display for every program of the check's Wine session, which breaks when it goes.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a bash "$0" "$@"
BIN=$(cd "${1:?usage: setup_program.sh BIN_DIR}" && pwd)
source "$(dirname "$0")/../../scripts/lib.sh"
cd "$ROOT" || exit 1

failures=0
fail() { echo "setup_program: $1"; failures=$((failures + 1)); }
work=$(mktemp -d "$ROOT/build/wine-setup.XXXXXX")
trap 'rm -rf "$work"' EXIT

once=""
[ "${KOR_WINE_MODE:-}" = emulated ] && [ "$KOR_WINE_LANE" = i686 ] && once=1
if [ "$KOR_WINE_LANE" = i686 ]; then
  scripts/package >"$work/package.log" 2>&1 || { tail -40 "$work/package.log"; exit 1; }
  zip=$(tail -1 "$work/package.log")
  setup="$ROOT/${zip%.zip}-setup.exe"
else
  mkdir "$work/stage"
  cp "$BIN/KorPanels.exe" "$BIN/KorSwitchTest.exe" "$work/stage/"
  windows_text docs/user-guide.md "$work/stage/UserGuide.txt"
  setup="$work/setup.exe"
  scripts/setup-program "$work/stage" "$setup" amd64-unicode >"$work/setup-program.log" 2>&1 ||
    { tail -40 "$work/setup-program.log"; exit 1; }
fi
[ -f "$setup" ] || { echo "setup_program: no setup program was made"; exit 1; }

if [ -n "$once" ]; then
  wine_prefix || exit 1
else
  # A fresh prefix is a machine that has never seen the programs.
  export WINEPREFIX="$work/prefix"
  trap 'end_wine_servers; rm -rf "$work"' EXIT
  wine_prefix || exit 1
fi
user=$(id -un)
profile="$WINEPREFIX/drive_c/users/$user"
folder="$profile/AppData/Local/Programs/Korvane Panels"
folder_windows="C:\\users\\$user\\AppData\\Local\\Programs\\Korvane Panels"
start_menu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Korvane Panels"
fsx="$profile/AppData/Roaming/Microsoft/FSX"
client_config="$profile/Documents/Flight Simulator X Files/SimConnect.ini"
log="$profile/AppData/Local/Korvane/KorPanels.log"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvanePanels'
rm -rf "$folder" "$start_menu" "$fsx" "$(dirname "$client_config")"
mkdir -p "$fsx" "$(dirname "$client_config")"
other='C:\Other Add-on\other.exe'
{
  printf '<?xml version="1.0" encoding="Windows-1252"?>\r\n'
  printf '<SimBase.Document Type="Launch" version="1,0">\r\n'
  printf '\t<Descr>Launch</Descr>\r\n\t<Filename>exe.xml</Filename>\r\n'
  printf '\t<Disabled>False</Disabled>\r\n\t<Launch.ManualLoad>False</Launch.ManualLoad>\r\n\r\n'
  printf '\t\t<Launch.Addon>\r\n\t\t\t<Name>Other Add-on</Name>\r\n'
  printf '\t\t\t<Disabled>False</Disabled>\r\n\t\t\t<Path>%s</Path>\r\n\t\t</Launch.Addon>\r\n\r\n' "$other"
  printf '</SimBase.Document>\r\n'
} >"$fsx/exe.xml"

install() {  # what the run is
  timeout 900 wine "$setup" /S >/dev/null 2>&1 || fail "$1 ended with $?"
}
entries() {  # the launch list's entries of PATH
  grep -caxF $'\t\t\t<Path>'"$1"$'</Path>\r' "$fsx/exe.xml" 2>/dev/null
}
# Its values as reg prints them, one "name|type|data" line each, in name order.
registry_values() {
  wine reg query "$key" 2>/dev/null | tr -d '\r' | sed -n 's/^    \([^ ].*\)/\1/p' |
    sed 's/    /|/g' | LC_ALL=C sort
}
expected_values() {
  local bytes
  bytes=$(cat "$folder/KorPanels.exe" "$folder/KorSwitchTest.exe" "$folder/UserGuide.txt" 2>/dev/null | wc -c)
  printf '%s\n' "DisplayIcon|REG_SZ|$folder_windows\\KorSwitchTest.exe,0" \
    "DisplayName|REG_SZ|Korvane Panels" "DisplayVersion|REG_SZ|$(project_version)" \
    "EstimatedSize|REG_DWORD|$(printf '0x%x' $(((bytes + 1023) / 1024)))" \
    "InstallLocation|REG_SZ|$folder_windows" "NoModify|REG_DWORD|0x1" "NoRepair|REG_DWORD|0x1" \
    "Publisher|REG_SZ|Korvane" "QuietUninstallString|REG_SZ|\"$folder_windows\\Uninstall.exe\" /S" \
    "UninstallString|REG_SZ|\"$folder_windows\\Uninstall.exe\"" | LC_ALL=C sort
}

install "setup /S"
for program in KorPanels.exe KorSwitchTest.exe; do
  cmp -s "$folder/$program" "$BIN/$program" || fail "the installed $program is not the one checked in $BIN"
done
cmp -s "$folder/UserGuide.txt" <(windows_text docs/user-guide.md /dev/stdout) ||
  fail "the installed UserGuide.txt is not the guide as Windows text"
[ -f "$folder/Uninstall.exe" ] || fail "setup /S wrote no Uninstall.exe"
for shortcut in "Switch Panel Tester" "User Guide" Uninstall; do
  [ -f "$start_menu/$shortcut.lnk" ] || fail "the Start menu lacks Korvane Panels\\$shortcut"
done
plugin="$folder_windows\\KorPanels.exe"
[ "$(entries "$plugin")" = 1 ] || fail "exe.xml does not name $plugin once"
grep -aA1 -xF $'\t\t\t<Path>'"$plugin"$'</Path>\r' "$fsx/exe.xml" |
  grep -qxF $'\t\t\t<CommandLine>-run</CommandLine>\r' || fail "exe.xml does not start $plugin with -run"
[ "$(entries "$other")" = 1 ] || fail "setup /S lost the other add-on's entry"
diff <(expected_values) <(registry_values) >"$work/values.diff" ||
  fail "the Apps & features entry is not as written: $(cat "$work/values.diff")"

if [ -n "$once" ]; then
  [ "$failures" -eq 0 ] && echo "setup_program: $(basename "$setup") /S installed the checked" \
    "programs, registered the plug-in and wrote its Apps & features entry; upgrade and removal" \
    "are left to the x86_64 twin under emulation"
  exit $((failures > 0))
fi

install "a second setup /S"
[ "$(entries "$plugin")" = 1 ] || fail "after an upgrade exe.xml does not name $plugin once"

# The uninstaller copies itself away to delete its folder and returns at once.
timeout 900 wine "$folder_windows\\Uninstall.exe" /S >/dev/null 2>&1 || fail "Uninstall.exe /S ended with $?"
for _ in $(seq 120); do
  [ -e "$folder" ] || break
  sleep 0.5
done
[ -e "$folder" ] && fail "the uninstaller left $(ls "$folder" | tr '\n' ' ')in its folder"
[ -e "$start_menu" ] && fail "the uninstaller left the Start-menu folder"
[ "$(entries "$plugin")" = 0 ] || fail "the uninstaller left the plug-in in exe.xml"
[ "$(entries "$other")" = 1 ] || fail "the uninstaller took out the other add-on's entry"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstaller left the Apps & features entry"
for kept in "$fsx/SimConnect.xml" "$client_config" "$log"; do
  [ -f "$kept" ] || fail "the uninstaller took out ${kept#"$profile/"}"
done

[ "$failures" -eq 0 ] && echo "setup_program: $(basename "$setup") /S installed the checked" \
  "programs, Start-menu entries, the launch-list entry and the Apps & features entry; an" \
  "upgrade left one entry; the uninstaller removed them and kept the other add-on, the" \
  "simulator's configuration and the log"
exit $((failures > 0))
