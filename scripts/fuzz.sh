#!/usr/bin/env bash
# Fuzzes the game board (fuzz/): builds the libFuzzer target with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, runs it for SECONDS
# (default 60) on the seed corpus and the inputs earlier runs kept, then
# replays the whole corpus in a coverage build and prints the line coverage
# of model/ and control/. Exits non-zero when a check failed, when no input
# was executed, when the replay failed, or when the corpus never lands a shape
# or never removes a full row.
# Usage: scripts/fuzz.sh [SECONDS]
source "$(dirname "$0")/common.sh"
seconds=${1:-60}

need fuzz
quiet_build fuzz
quiet_build fuzz-cov

corpus=build/fuzz/corpus
log=build/fuzz/fuzz.log
mkdir -p "$corpus"
status=0
build/fuzz/fuzz/board_fuzzer -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/ "$corpus" fuzz/corpus >"$log" 2>&1 || status=$?
stat() { sed -n "s/^stat::$1: *//p" "$log"; }
executions=$(stat number_of_executed_units)
if [ "$status" -ne 0 ]; then
  grep -E 'Board check failed|ERROR|SUMMARY|^    #[0-9]|Test unit written' "$log" | head -40
  echo "Failure: the fuzz target stopped with status $status (log: $log)"
elif [ "${executions:-0}" -eq 0 ]; then
  echo "Failure: the fuzz target executed no input (log: $log)"
  status=1
else
  echo "No failure in $executions executions over ${seconds} s" \
    "($(stat average_exec_per_sec) a second, peak $(stat peak_rss_mb) MB);" \
    "corpus $(find "$corpus" fuzz/corpus -type f | wc -l) inputs"
fi

cov=build/fuzz-cov
rm -f "$cov"/replay-*.profraw
replay=0
LLVM_PROFILE_FILE="$PWD/$cov/replay-%p.profraw" "$cov/fuzz/board_fuzzer" -runs=0 "$corpus" fuzz/corpus \
  >"$cov/replay.log" 2>&1 || replay=$?
if [ "$replay" -ne 0 ]; then
  tail -n 20 "$cov/replay.log"
  echo "Failure: the coverage replay of the corpus stopped with status $replay (log: $cov/replay.log)"
  status=1
fi
llvm-profdata merge -sparse "$cov"/replay-*.profraw -o "$cov/replay.profdata"
echo "Line coverage of the game (surface/, model/, control/) by the corpus:"
llvm-cov report "$cov/fuzz/board_fuzzer" -instr-profile="$cov/replay.profdata" surface model control |
  awk '$1 ~ /^(surface|model|control)\// || $1 == "TOTAL" {
         printf "  %-44s %4d lines %3d missed %8s\n", $1, $8, $9, $10 }'

# The corpus must reach the rules that matter most: a shape landing in the
# well and a full row removed. Each is the line after a marker comment
# "// fuzz-reach: WHAT" in the game's code, which the replay must have run;
# the code itself may be renamed or reshaped freely.
llvm-cov export -format=lcov "$cov/fuzz/board_fuzzer" -instr-profile="$cov/replay.profdata" \
  control model >"$cov/replay.lcov"
reached() {  # WHAT FILE: fails unless the replay ran the line after FILE's marker for WHAT
  local marker="// fuzz-reach: $1 " lines line runs
  lines=$(grep -n -F -- "$marker" "$2" | cut -d: -f1)
  if [ "$(wc -w <<<"$lines")" -ne 1 ]; then
    echo "Failure: $2 must hold the marker \"$marker\" once, above the line that is $1"
    return 1
  fi
  line=$((lines + 1))
  runs=$(awk -v file="/$2" -v line="$line" -F'[:,]' '
    $1 == "SF" { here = substr($2, length($2) - length(file) + 1) == file }
    here && $1 == "DA" && $2 == line { print $3; exit }' "$cov/replay.lcov")
  if [ "${runs:-0}" -eq 0 ]; then
    echo "Failure: the corpus never reaches $1 ($2:$line)"
    return 1
  fi
  echo "The corpus reaches $1 $runs times ($2:$line)"
}
reached "a landing" control/gameboard.cpp || status=1
reached "a row removal" model/blockary.cpp || status=1
exit "$status"
