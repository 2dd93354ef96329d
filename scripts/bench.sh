#!/usr/bin/env bash
# Builds the game's benchmarks in Release without sanitizers and runs them.
# Extra arguments go to the benchmark binary (e.g. --benchmark_filter=Draw).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh native
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIKFALL_SANITIZE=OFF >/dev/null
cmake --build build/bench --target game_bench
build/bench/bench/game_bench "$@"
