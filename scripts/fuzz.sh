#!/usr/bin/env bash
# Fuzzes the game board (fuzz/): builds the libFuzzer target with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, runs it for SECONDS
# (default 60) on the seed corpus and the inputs earlier runs kept, then
# replays the whole corpus in a coverage build and prints the line coverage
# of model/ and control/. Exits non-zero when a check failed.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/deps.sh fuzz
source scripts/presets.sh
build() {  # PRESET: its tree is build/PRESET
  local log=build/$1.log
  mkdir -p build
  preset_build "$1" >"$log" 2>&1 || { cat "$log"; return 1; }
}
build fuzz
build fuzz-cov

corpus=build/fuzz/corpus
log=build/fuzz/fuzz.log
mkdir -p "$corpus"
status=0
build/fuzz/fuzz/board_fuzzer -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/ "$corpus" fuzz/corpus >"$log" 2>&1 || status=$?
stat() { sed -n "s/^stat::$1: *//p" "$log"; }
if [ "$status" -ne 0 ]; then
  grep -E 'Board check failed|ERROR|SUMMARY|^    #[0-9]|Test unit written' "$log" | head -40
  echo "Failure: the fuzz target stopped with status $status (log: $log)"
else
  echo "No failure in $(stat number_of_executed_units) executions over ${seconds} s" \
    "($(stat average_exec_per_sec) a second, peak $(stat peak_rss_mb) MB);" \
    "corpus $(find "$corpus" fuzz/corpus -type f | wc -l) inputs"
fi

cov=build/fuzz-cov
rm -f "$cov"/replay-*.profraw
LLVM_PROFILE_FILE="$PWD/$cov/replay-%p.profraw" "$cov/fuzz/board_fuzzer" -runs=0 "$corpus" fuzz/corpus \
  >"$cov/replay.log" 2>&1 || true
llvm-profdata merge -sparse "$cov"/replay-*.profraw -o "$cov/replay.profdata"
echo "Line coverage of the game (surface/, model/, control/) by the corpus:"
llvm-cov report "$cov/fuzz/board_fuzzer" -instr-profile="$cov/replay.profdata" surface model control |
  awk '$1 ~ /^(surface|model|control)\// || $1 == "TOTAL" {
         printf "  %-44s %4d lines %3d missed %8s\n", $1, $8, $9, $10 }'
exit "$status"
