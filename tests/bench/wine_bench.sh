#!/usr/bin/env bash
# The plug-in's cost on the Windows path: the release KorPanels.exe with units played at the
# system-library boundary (tests/wine/vunits/plugin_bench.cpp prints the latency rows), and
# six silent units for 10 s, measured here from /proc of the plug-in's process: its CPU
# time, summed over its threads, and the read system calls it made, each a completed read.
# Usage: wine_bench.sh BIN_DIR [REPORTS]
set -uo pipefail
BIN=$(cd "${1:?usage: wine_bench.sh BIN_DIR [REPORTS]}" && pwd)
reports=${2:-5000}
source "$(dirname "$0")/../../scripts/lib.sh"
wine_prefix

work="$ROOT/build/wine-bench-$KOR_WINE_LANE"
plugin_with_units "$work" "$BIN" kor_plugin_bench.exe || { echo "wine_bench: no copy"; exit 1; }

cpu_ns() {  # pid: CPU time of all its threads
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{sum += $1} END {print sum + 0}'
}
reads() {  # pid
  sed -n 's/^syscr: //p' /proc/"$1"/io
}

(cd "$work" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;hid,setupapi=n,b" with_display timeout 900 \
  wine kor_plugin_bench.exe "$reports" idle.ready idle.done >"$work/run.log" 2>&1) &
bench=$!
while [ ! -e "$work/idle.ready" ] && kill -0 "$bench" 2>/dev/null; do sleep 0.2; done
# The plug-in's process is the one started from this work folder.
plugin=$(pgrep -f "${work//\//\\\\}.KorPanels.exe" | head -1)
if [ -e "$work/idle.ready" ] && [ -n "$plugin" ]; then
  cpu_before=$(cpu_ns "$plugin") reads_before=$(reads "$plugin") started=$(date +%s%N)
  sleep 10
  cpu_after=$(cpu_ns "$plugin") reads_after=$(reads "$plugin") ended=$(date +%s%N)
fi
touch "$work/idle.done"
wait "$bench"
rc=$?
tr -d '\r' <"$work/run.log"
if [ -z "${cpu_after:-}" ]; then
  echo "wine_bench: the idle window was not measured (no plug-in process found)"
  exit 1
fi
window_ms=$(((ended - started) / 1000000))
cpu_us=$(((cpu_after - cpu_before) / 1000))
reads_idle=$((reads_after - reads_before))
row() { printf '| %-58s | %-16s | %-12s |\n' "$@"; }
mark() { [ "$1" -lt "$2" ] || printf ' missed'; }
row "idle ${window_ms} ms, six units: plug-in CPU time" \
  "$(printf '%d.%03d ms' $((cpu_us / 1000)) $((cpu_us % 1000)))$(mark "$cpu_us" 20000)" "< 20 ms"
row "idle ${window_ms} ms, six units: reads completed (read calls)" "$reads_idle$(mark "$reads_idle" 1)" "0"
exit $rc
