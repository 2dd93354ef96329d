#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 and runs the tests
# under Wine in a private Xvfb display. Exits with the tests' exit code.
# Extra arguments go to the test program (e.g. --gtest_filter=Resources.*).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR="${BRIKFALL_WINDOWS_BUILD:-build/windows}"
if [ -x scripts/build_windows.sh ] && [ -z "${BRIKFALL_WINDOWS_BUILD:-}" ]; then
  scripts/build_windows.sh
else
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
  cmake --build "$BUILD_DIR" --target win_tests
fi
TESTS="$PWD/$BUILD_DIR/tests/win/win_tests.exe"

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
