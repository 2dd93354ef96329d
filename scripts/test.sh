#!/usr/bin/env bash
# Builds everything and runs every test suite, each even when an earlier one
# fails: the include check, the formatting check, the check that every planted
# fault still has its place in the code, clang-tidy, the game's native tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, the icon check, a
# 20-second fuzz run of the game board, the Windows program's tests under Wine (built with GCC and again
# with clang), the check that the release is reproducible and the end-to-end
# tests of the real program. Each suite is counted from its runner's XML
# report (scripts/report.py), or as one test by its exit code when it writes
# none (a report with no test case fails); the last line is
# "N passed, M failed, K skipped", and each skipped test is named above it.
# Installs first the packages that the suites to run need (scripts/deps.sh),
# and no others.
# Usage: scripts/test.sh [SUITE...]   (default: every suite; e.g. e2e windows)
source "$(dirname "$0")/common.sh"

logs=build/test-logs
reports=build/test-reports

chosen=" $* "
known=" "
kinds=(base)
listing=1
passed=0
failed=0
skipped=0
summary=()
# chosen_suite NAME: whether the suite is to run (every one when none is named).
chosen_suite() {
  [ "$chosen" = "  " ] || [[ $chosen == *" $1 "* ]]
}
# suite NAME KINDS COMMAND...: runs the command with BRIKFALL_REPORT naming
# the place for its XML report, and counts it. KINDS are the kinds of
# packages it needs (scripts/deps.sh), separated by spaces.
suite() {
  local name=$1 needs=$2 status=0 start=$EPOCHREALTIME counts p f k tests
  shift 2
  if [ "$listing" = 1 ]; then
    known+="$name "
    ! chosen_suite "$name" || kinds+=($needs)
    return 0
  fi
  chosen_suite "$name" || return 0
  echo "== $name =="
  BRIKFALL_REPORT="$PWD/$reports/$name.xml" "$@" 2>&1 | tee "$logs/$name.log" || status=${PIPESTATUS[0]}
  counts=$(/usr/bin/python3 scripts/report.py "$name" "$reports/$name.xml" "$status")
  read -r p f k <<<"${counts%%$'\n'*}"
  passed=$((passed + p))
  failed=$((failed + f))
  skipped=$((skipped + k))
  summary+=("$(awk -v n="$name" -v p="$p" -v f="$f" -v k="$k" -v s="$start" -v e="$EPOCHREALTIME" \
    'BEGIN { printf "%-13s %4d passed, %d failed, %d skipped, %.0f s", n, p, f, k, e - s }')")
  # "failed: SUITE: TEST" and "skipped: SUITE: TEST", a line each.
  tests=$(tail -n +2 <<<"$counts" | sed -E "s/^(failed|skipped): /\1: $name: /")
  [ "$f" -eq 0 ] || grep "^failed: " <<<"$tests" | tee -a "$logs/failed.txt"
  [ "$k" -eq 0 ] || grep "^skipped: " <<<"$tests" >>"$logs/skipped.txt"
}

# Chained with &&: errexit does not apply inside a function run in a pipeline.
native() {
  preset_build native && ctest --test-dir build/native --no-tests=error --output-on-failure --output-junit "$BRIKFALL_REPORT"
}

# Every suite, one line each, in the order they run, with the kinds of
# packages it needs.
suites() {
  suite layers "" scripts/check_layers.sh
  suite format format scripts/check_format.sh
  suite planters "" /usr/bin/python3 scripts/check_planters.py
  suite tidy tidy scripts/check_tidy.sh
  suite native native native
  suite icon "" /usr/bin/python3 res/icon/make_icon.py --check
  suite fuzz fuzz scripts/fuzz.sh 20
  suite windows windows scripts/wine_tests.sh
  suite windows-clang clang env BRIKFALL_WINDOWS_PRESET=clang scripts/wine_tests.sh
  suite release program scripts/check_release.sh
  suite e2e windows scripts/e2e.sh
}

suites
for name in "$@"; do
  if [[ $known != *" $name "* ]]; then
    echo "No suite named $name; the suites are:$known" >&2
    exit 2
  fi
done
listing=0
scripts/deps.sh "${kinds[@]}"
rm -rf "$logs" "$reports" && mkdir -p "$logs" "$reports"
suites

echo "== summary =="
printf '%s\n' "${summary[@]}"
[ "$skipped" -eq 0 ] || cat "$logs/skipped.txt"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
