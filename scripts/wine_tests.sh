#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 and runs the tests
# under Wine in a private Xvfb display. Exits with the tests' exit code.
# Extra arguments go to the test program (e.g. --gtest_filter=Resources.*).
# BRIKFALL_WINDOWS_PRESET=clang builds and runs them from the clang tree
# (CMake preset "clang") instead of GCC's (build/windows).
set -euo pipefail
cd "$(dirname "$0")/.."

PRESET="${BRIKFALL_WINDOWS_PRESET:-windows}"
if [ "$PRESET" = windows ]; then
  scripts/build_windows.sh
else
  scripts/deps.sh clang
  source scripts/presets.sh
  preset_build "$PRESET"
fi
TESTS="$PWD/build/$PRESET/tests/win/win_tests.exe"

source scripts/wine_env.sh
xvfb_start
wine_prefix "$PWD/build/wineprefix"
wineserver -p >/dev/null 2>&1 || true

start=$EPOCHREALTIME
status=0
"$(wine_cmd)" "$TESTS" "$@" | tr -d '\r' || status=${PIPESTATUS[0]}
end=$EPOCHREALTIME
# Stop Wine before Xvfb goes away with this shell, so nothing complains.
wineserver -k 2>/dev/null || true
awk -v s="$start" -v e="$end" 'BEGIN { printf "Wine suite took %.1f s\n", e - s }'
exit "$status"
