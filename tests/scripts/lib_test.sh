#!/usr/bin/env bash
# What the scripts share: the install step against a stand-in apt-get and dpkg-query (a
# mirror whose suites disagree is got round by the release's own suite, and a package that
# cannot be had at all stops the script at once with apt's reason), and a start without a
# home folder in the environment, as CI may give.
set -uo pipefail
lib="$(cd "$(dirname "$0")/../../scripts" && pwd)/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
# dpkg-query knows what the stand-in apt-get installed; apt-get logs its calls and behaves
# as $MIRROR says: "lagging" fails unless pinned to the release, "broken" always fails.
cat >"$work/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
grep -qx "${!#}" "$STATE/installed" 2>/dev/null && printf 'install ok installed'
STUB
cat >"$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$STATE/calls"
[ "$1" = update ] && { echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size"; exit 100; }
if [ "$MIRROR" = lagging ] && [[ " $* " == *" -t "* ]]; then
  for pkg; do [[ $pkg == -* || $pkg == install || $pkg == "$(. /etc/os-release && echo "$VERSION_CODENAME")" ]] || echo "$pkg" >>"$STATE/installed"; done
  exit 0
fi
echo "E: Unable to correct problems, you have held broken packages."
exit 100
STUB
chmod +x "$work/bin"/*

failures=0
fail() { echo "FAILED: $1"; failures=$((failures + 1)); }
install_with() {  # mirror, packages...: the output of apt_install in a script of its own
  local state="$work/$1"
  mkdir -p "$state" && : >"$state/installed" && : >"$state/calls"
  echo present >>"$state/installed"
  STATE=$state MIRROR=$1 PATH="$work/bin:$PATH" bash -c 'source "$1"; shift; apt_install "$@"; echo "went on"' \
    _ "$lib" "${@:2}" 2>&1
}

started=$(date +%s)
out=$(install_with lagging wine32:i386 present)
grep -q "once more from the .* suite alone" <<<"$out" || fail "a lagging mirror was not tried pinned: $out"
grep -qx "went on" <<<"$out" || fail "the pinned install did not let the script go on: $out"
grep -- "-t " "$work/lagging/calls" | grep -qw present && fail "the pinned retry names an installed package"
[ "$(grep -c '^update' "$work/lagging/calls")" -eq 3 ] || fail "apt-get update was not tried three times"

out=$(install_with broken wine32:i386)
rc=$?
took=$(($(date +%s) - started))
[ "$rc" -ne 0 ] || fail "a package that cannot be had left the script with 0"
grep -qx "went on" <<<"$out" && fail "the script went on after a failed install"
grep -q "cannot install wine32:i386" <<<"$out" || fail "the failed package is not named: $out"
grep -q "held broken packages" <<<"$out" || fail "apt's reason is not shown: $out"
[ "$took" -lt 60 ] || fail "two failing installs took $took s"

out=$(env -u HOME bash -c 'set -u; source "$1" && echo "cache: $KOR_WINE_CACHE"' _ "$lib" 2>&1)
grep -q "^cache: /.*/korvane$" <<<"$out" || fail "without HOME the scripts stop: $out"

[ "$failures" -eq 0 ] && echo "scripts' library: no home needed; pinned retry and prompt stop, in $took s"
exit $((failures > 0))
