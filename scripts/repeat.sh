#!/usr/bin/env bash
# Runs the test command, or the named suites of it, N times in a row while
# another process keeps one processor core busy, as on a machine shared with
# other work; prints each run's result and wall time, then every test that
# failed in any run, with how many runs it failed in. Exits non-zero when
# any run failed. Logs of each run in build/repeat/RUN/.
# Usage: scripts/repeat.sh N [SUITE...]   (suites as for scripts/test.sh, e.g. e2e)
source "$(dirname "$0")/common.sh"
if ! [[ ${1:-} =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 N [SUITE...]   (N runs, a positive number)" >&2
  exit 2
fi
runs=$1
shift

out=build/repeat
rm -rf "$out" && mkdir -p "$out"
# The load: one shell spinning on one core until the runs are over.
( while :; do :; done ) &
busy=$!
trap 'kill "$busy" 2>/dev/null || true' EXIT

results=()
bad=0
for run in $(seq "$runs"); do
  start=$EPOCHREALTIME
  status=0
  scripts/test.sh "$@" >"$out/test-$run.log" 2>&1 || status=$?
  seconds=$(awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.0f", e - s }')
  cp -r build/test-logs "$out/$run" 2>/dev/null || true
  result=$(tail -n 1 "$out/test-$run.log")
  [ "$status" -eq 0 ] || bad=$((bad + 1))
  results+=("run $run: $result, $seconds s$([ "$status" -eq 0 ] || echo " (exit code $status)")")
  echo "${results[-1]}"
done

echo "== $runs runs of scripts/test.sh${*:+ $*} with one core kept busy =="
printf '%s\n' "${results[@]}"
failures=$(find "$out" -name failed.txt -exec cat {} + | sort | uniq -c | sort -rn)
if [ -n "$failures" ]; then
  echo "Tests that failed (in how many runs, suite, test):"
  echo "$failures"
elif [ "$bad" -eq 0 ]; then
  echo "No test failed in any run."
else
  echo "A run failed before its suites counted: see $out/test-RUN.log"
fi
[ "$bad" -eq 0 ]
