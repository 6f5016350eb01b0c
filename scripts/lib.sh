# Shared by the scripts: installing what a fresh Debian machine lacks, and Wine.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc)"
# CI may start the scripts without a home folder in the environment.
[ -n "${HOME:-}" ] || export HOME="$(getent passwd "$(id -u)" | cut -d: -f6)"
KOR_WINE_CACHE=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/korvane

# Installing stops the script at once, with apt's own reason, when a package cannot be had:
# a build that went on would fail minutes later naming a missing compiler instead.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi
}

install_failed() {  # what, apt's output
  echo "== cannot install $1; apt said:" >&2
  tail -n 8 <<<"$2" >&2
  echo "== stopping: nothing was built or tested (see README.md, 'When installing fails')" >&2
  exit 1
}

# A mirror in the middle of a sync serves index files that do not match for a while; a few
# tries a little apart usually get a consistent set.
apt_update() {
  local try out
  for try in 1 2 3; do
    out=$(as_root apt-get update -qq 2>&1) && ! grep -q '^E: ' <<<"$out" && return 0
    [ "$try" -eq 3 ] || sleep 3
  done
  # The lists that did arrive may still hold everything wanted; the install will tell.
  echo "== apt-get update stayed incomplete after $try tries:" >&2
  grep '^E: ' <<<"$out" | head -n 3 >&2
}

missing_packages() {  # packages...: those not installed, on standard output
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || echo "$pkg"
  done
}

apt_get_install() {  # apt-get arguments...
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" 2>&1
}

apt_install() {  # packages...
  local missing out release
  mapfile -t missing < <(missing_packages "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  apt_update
  if ! out=$(apt_get_install "${missing[@]}"); then
    # An index of one suite that lags another (the security suite's, typically) leaves apt
    # unable to pair an architecture's libraries. The release's own suite is consistent in
    # itself. Its priority stays below what a downgrade needs, and only missing packages
    # are named, so nothing installed changes version.
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$release" ] || install_failed "${missing[*]}" "$out"
    echo "== apt could not resolve them; once more from the $release suite alone"
    out=$(apt_get_install -t "$release" "${missing[@]}") || install_failed "${missing[*]}" "$out"
  fi
  mapfile -t missing < <(missing_packages "${missing[@]}")
  [ ${#missing[@]} -eq 0 ] || install_failed "${missing[*]}" "$out"
}

# The project's version, from the one project() line of CMakeLists.txt.
project_version() {
  local version
  version=$(sed -n 's/^project(Korvane VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
  [ -n "$version" ] || { echo "no version in the project() line of CMakeLists.txt" >&2; return 1; }
  echo "$version"
}

# Windows text: CR LF line ends, so that every editor there shows the lines.
windows_text() {  # text file, Windows text file to write
  sed 's/$/\r/' "$1" >"$2"
}

native_packages=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest libbenchmark-dev)
# wine32 is i386: that architecture must be known to dpkg before apt looks for it.
windows_packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools wine
  wine32:i386 wine64 qemu-user-static xvfb xauth zip unzip imagemagick nsis)
add_i386() {
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386 ||
    install_failed "the i386 architecture" "dpkg --add-architecture i386 failed"
}

# A Release tree of the Windows programs and their checks; its log is BUILD_DIR.log.
windows_build() {  # build dir, toolchain (mingw-i686 or mingw-x86_64)
  cmake -S "$ROOT" -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$2.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$1" -j "$JOBS" >"$1.log" 2>&1 || { tail -40 "$1.log"; return 1; }
}

# A fresh work folder for a program of tests/wine/vunits that plays units against the lane's
# KorPanels.exe: the program, byte for byte, with the stand-in simulator library and the test
# HID and device-setup libraries beside it.
plugin_with_units() {  # folder, bin folder, vunits program
  local work=$1 bin=$2
  rm -rf "$work" && mkdir -p "$work" &&
    cp "$bin/KorPanels.exe" "$bin/SimConnect.dll" "$bin"/../vunits/{hid.dll,setupapi.dll,"$3"} "$work/" &&
    cmp -s "$bin/KorPanels.exe" "$work/KorPanels.exe"
}

# Whether this kernel starts 32-bit programs itself; asked with qemu's handler switched off
# for the moment, since once registered it runs them either way.
i386_native() {
  local handler=/proc/sys/fs/binfmt_misc/qemu-i386 paused=""
  if [ -e "$handler" ] && grep -q '^enabled' "$handler"; then
    echo 0 >"$handler" && paused=1
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
  local rc=$?
  [ -z "$paused" ] || echo 1 >"$handler"
  return $rc
}

# Some kernels cannot start 32-bit programs; Wine's 32-bit loader then runs under qemu.
ensure_i386_runs() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return 0
  local misc=/proc/sys/fs/binfmt_misc
  [ -e "$misc/register" ] || mount -t binfmt_misc binfmt_misc "$misc"
  if [ ! -e "$misc/qemu-i386" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' >"$misc/register"
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono, no Gecko, no desktop menu entries: each would cost minutes under emulation.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# The Windows programs run in one of two lanes, each with a prefix of its own, made once
# per machine and kept outside the work tree (a fresh one takes minutes):
#   i686    the shipped build, under 32-bit Wine (emulated on some machines);
#   x86_64  its twin, under wine64, which runs natively everywhere. "wine" then names the
#           64-bit loader, so that no start goes through the 32-bit one.
wine_lane() {
  local cache=$KOR_WINE_CACHE
  case "$1" in
    i686)
      export WINEARCH=win32 WINEPREFIX="$cache/wineprefix"
      ;;
    x86_64)
      export WINEARCH=win64 WINEPREFIX="$cache/wineprefix64" WINELOADER=/usr/lib/wine/wine64
      # A script, not a link: the loader finds its preloader by the name it was started as,
      # and under the name "wine" it would take the 32-bit one.
      mkdir -p "$cache/wine64-bin"
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$cache/wine64-bin/wine"
      chmod +x "$cache/wine64-bin/wine"
      case ":$PATH:" in *":$cache/wine64-bin:"*) ;; *) export PATH="$cache/wine64-bin:$PATH" ;; esac
      ;;
    *) echo "unknown Wine lane $1" >&2; return 1 ;;
  esac
  export KOR_WINE_LANE=$1
}
wine_lane "${KOR_WINE_LANE:-i686}"

# Keeps the prefix's server alive between the many short Wine runs, until
# end_wine_servers. The prefix's shell folders (Documents, AppData, ...) are folders of its
# own, not Wine's usual links into the home folder, so that nothing a check installs lands
# in the real home. A prefix counts as made only once its boot went through and a program
# ran in it: a half-made one (a run killed while making it) is made anew.
wine_prefix() {
  local made="$WINEPREFIX/.korvane-made"
  if [ ! -f "$made" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Under emulation wineboot was seen to end with 53 on a prefix that works; what counts
    # is that a program then runs in it.
    wine wineboot --init >/dev/null 2>&1
    # The server writes the registry files when it ends, seconds after the last program.
    wine cmd.exe /c exit >/dev/null 2>&1 && wineserver -w && [ -f "$WINEPREFIX/system.reg" ] ||
      { echo "cannot make the Wine prefix $WINEPREFIX"; return 1; }
  fi
  local folder
  for folder in "$WINEPREFIX/drive_c/users/$(id -un)"/*; do
    [ -L "$folder" ] || continue
    rm "$folder" && mkdir "$folder"
  done
  touch "$made"
  wineserver -p 900 >/dev/null 2>&1 || true
}
# What starting and ending a program that does nothing costs in this prefix, in ms: a run
# that must end at once may take that much longer than 2 s, and no more.
bare_start_ms() {
  local started
  started=$(date +%s%N)
  wine cmd.exe /c exit >/dev/null 2>&1
  echo $((($(date +%s%N) - started) / 1000000))
}
end_wine_servers() {
  wineserver -k >/dev/null 2>&1 || true
}

# Windows need an X server. A lane keeps one display for all of its programs and a Wine
# session of its own: the session's desktop belongs to the display of its first window
# and breaks when that display goes, so programs of one session never each bring their own.
start_lane_display() {  # first display number to try
  wineserver -k >/dev/null 2>&1
  local display
  for display in $(seq "$1" $(($1 + 20))); do
    [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    local server=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$display" ] && { export DISPLAY=":$display" LANE_XVFB=$server; return 0; }
      kill -0 "$server" 2>/dev/null || break
      sleep 0.1
    done
  done
  return 1
}
stop_lane_display() {
  wineserver -k >/dev/null 2>&1
  [ -z "${LANE_XVFB:-}" ] || kill "$LANE_XVFB" 2>/dev/null
}
# Runs a command with a display: the lane's, or one of its own when run alone.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a "$@"; fi
}
