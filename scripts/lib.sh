# Shared by the scripts: installing what a fresh Debian machine lacks, and Wine.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc)"

apt_install() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

native_packages() {
  apt_install cmake ninja-build g++ libgtest-dev libgmock-dev googletest
}

windows_packages() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  apt_install g++-mingw-w64-i686-posix mingw-w64-tools wine wine32:i386 qemu-user-static xvfb xauth
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

# Made once per machine and kept outside the work tree: a fresh one takes minutes.
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/korvane/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono, no Gecko, no desktop menu entries: each would cost minutes under emulation.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Keeps the prefix's server alive between the many short Wine runs.
wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
  fi
  wineserver -p 900 >/dev/null 2>&1 || true
}
