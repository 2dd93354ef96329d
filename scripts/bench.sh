#!/usr/bin/env bash
# Builds the game's benchmarks in Release without sanitizers and runs them.
# Extra arguments go to the benchmark binary (e.g. --benchmark_filter=Draw).
source "$(dirname "$0")/common.sh"

need native
preset_build bench
build/bench/bench/game_bench "$@"
