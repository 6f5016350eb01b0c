#!/usr/bin/env bash
# How the Wine lanes' results count, on made-up logs: a complete set passes and names its
# skipped test; a missing result, a lane without its exit code, a test program that ran no
# test and one that never finished each turn the run red.
set -uo pipefail
scripts="$(cd "$(dirname "$0")/../../scripts" && pwd)"
source "$scripts/lib.sh"
source "$scripts/wine-results"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
touch "$work/bin/KorPanels.exe" "$work/bin/KorSwitchTest.exe"

gtest_log() {  # tests that ran
  echo "[==========] Running $1 tests from 1 test suite."
  echo "[==========] $1 tests from 1 test suite ran. (5 ms total)"
  echo "[  PASSED  ] $(($1 > 0 ? $1 - 1 : 0)) tests."
  [ "$1" -eq 0 ] || printf '[  SKIPPED ] 1 test, listed below:\n[  SKIPPED ] Files.KeepsAttributes\n'
}
complete_logs() {  # folder
  rm -rf "$1" && mkdir -p "$1"
  local check
  for check in $(owed x86_64 everything); do
    echo 0 >"$1/x86_64-$check.rc"
    echo "a check's words" >"$1/x86_64-$check.log"
  done
  gtest_log 3 >"$1/x86_64-kor_tests.log"
  echo 0 >"$1/x86_64.lane-rc"
}

failures=0
expect() {  # description, expected exit code, pattern the output must hold, spoil command...
  local what=$1 want=$2 pattern=$3 logs="$work/logs" out rc
  shift 3
  complete_logs "$logs"
  "$@" "$logs"
  out=$(count_results "$logs" "x86_64 $work/bin everything" 2>&1)
  rc=$?
  if [ "$rc" -ne "$want" ] || ! grep -q "$pattern" <<<"$out"; then
    echo "FAILED: $what (exit $rc):"
    echo "$out"
    failures=$((failures + 1))
  fi
}
as_is() { :; }
no_result() { rm "$1/x86_64-host_e2e.rc"; }
no_lane_code() { rm "$1/x86_64.lane-rc"; }
ran_nothing() { gtest_log 0 >"$1/x86_64-kor_tests.log"; }
never_finished() { head -1 "$1/x86_64-kor_tests.log" >"$1/x86_64-kor_tests.part" && mv "$1/x86_64-kor_tests.part" "$1/x86_64-kor_tests.log"; }

expect "a complete set" 0 "^skipped: x86_64-kor_tests Files.KeepsAttributes$" as_is
expect "a complete set's counts" 0 "^wine: $(($(owed x86_64 everything | wc -l) - 1 + 2)) passed, 0 failed, 1 skipped$" as_is
expect "a check without its result" 1 "FAILED: x86_64-host_e2e left no result" no_result
expect "a lane without its exit code" 1 "FAILED: the x86_64 lane ended with no exit code" no_lane_code
expect "a filter that matched nothing" 1 "FAILED: x86_64-kor_tests ran no test" ran_nothing
expect "a test program that died" 1 "FAILED: x86_64-kor_tests never finished" never_finished

[ "$failures" -eq 0 ] && echo "wine results: missing, empty and unfinished results all fail"
exit $((failures > 0))
