#!/usr/bin/env bash
# Builds everything and runs every test suite: the check that each layer
# includes only the layers below it, the game's native tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, a 20-second fuzz run of the
# game board, the Windows program's tests under Wine in Xvfb (built with GCC
# and again with clang), the check that the release is reproducible, and the
# end-to-end tests of the real program. Every suite runs even when an earlier
# one fails; the last line sums them up.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh all
source scripts/presets.sh
mkdir -p build
logs=build/test-logs
rm -rf "$logs" && mkdir -p "$logs"

suites=0
failed_suites=0
suite() {
  local name=$1; shift
  suites=$((suites + 1))
  echo "== $name =="
  if ! "$@" 2>&1 | tee "$logs/$name.log"; then
    echo "!! $name failed"
    failed_suites=$((failed_suites + 1))
  fi
}

# Chained with &&: errexit does not apply inside a function run as a condition.
native() {
  preset_build native && ctest --test-dir build/native --output-on-failure
}

suite layers scripts/check_layers.sh
suite native native
suite icon python3 res/icon/make_icon.py --check
suite fuzz scripts/fuzz.sh 20
suite windows scripts/wine_tests.sh
suite windows-clang env BRIKFALL_WINDOWS_PRESET=clang scripts/wine_tests.sh
suite release scripts/check_release.sh
suite e2e scripts/e2e.sh

# Counts from each runner's own summary line.
passed=0
failed=0
add() { passed=$((passed + ${1:-0})); failed=$((failed + ${2:-0})); }
read -r total bad < <(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$logs/native.log" | tail -1) || true
add "$(( ${total:-0} - ${bad:-0} ))" "${bad:-0}"
add "$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$logs/windows.log" | tail -1)" \
    "$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$logs/windows.log" | tail -1)"
add "$(grep -o '[0-9]* passed' "$logs/e2e.log" | tail -1 | cut -d' ' -f1)" \
    "$(grep -oE '[0-9]+ (failed|error)' "$logs/e2e.log" | tail -1 | cut -d' ' -f1)"
# The fuzz run counts as one test.
add "$(grep -c '^No failure in' "$logs/fuzz.log")" "$(grep -c '^Failure:' "$logs/fuzz.log")"

echo "$failed_suites of $suites suites failed"
echo "$passed passed, $failed failed"
[ "$failed_suites" -eq 0 ]
