#!/usr/bin/env bash
# The manifests by which KorPanels.exe finds the simulator's client library name the
# architecture that the build targets (x86 for i686, amd64 for x86_64), whichever resource
# compiler reads them: the program's own, and the other architecture's, whose preprocessor
# has the opposite idea of the target.
# Usage: manifest_architecture.sh BIN_DIR
set -uo pipefail
BIN=$(cd "${1:?usage: manifest_architecture.sh BIN_DIR}" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
case "$(x86_64-w64-mingw32-objdump -f "$BIN/KorPanels.exe" | sed -n 's/.*file format //p')" in
  pei-i386) wanted=x86 other=x86_64-w64-mingw32-windres ;;
  pei-x86-64) wanted=amd64 other=i686-w64-mingw32-windres ;;
  *) echo "manifest_architecture: KorPanels.exe is of no known architecture"; exit 1 ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
# Two per manifest: the plug-in's own identity and the dependency on the client library.
check() {  # what, file
  local named others
  named=$(grep -a -o "processorArchitecture='$wanted'" "$2" | wc -l)
  others=$(grep -a -o "processorArchitecture='[a-z0-9]*'" "$2" | grep -vc "'$wanted'")
  if [ "$named" -ne 6 ] || [ "$others" -ne 0 ]; then
    echo "manifest_architecture: $1 names $wanted $named times and another $others times"
    failures=$((failures + 1))
  fi
}
check "KorPanels.exe" "$BIN/KorPanels.exe"
if "$other" -O res -I "$ROOT/src" -I "$BIN/../generated" "$ROOT/src/host/KorPanels.rc" \
  -o "$work/KorPanels.res"; then
  check "KorPanels.rc read by $other" "$work/KorPanels.res"
else
  echo "manifest_architecture: $other cannot read KorPanels.rc"
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "manifest architecture: $wanted, whichever compiler"
