#!/usr/bin/env bash
# Builds the game's benchmarks in Release without sanitizers and runs them.
# Extra arguments go to the benchmark binary (e.g. --benchmark_filter=Draw).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh native
source scripts/presets.sh
preset_build bench
build/bench/bench/game_bench "$@"
