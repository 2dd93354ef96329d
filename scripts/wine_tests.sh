#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 (build/windows) and
# runs the tests under Wine on a private desktop (tests/e2e/wine.py: an X
# screen of 1920x1080, prefix build/wineprefix, heap checking on). Exits with the
# tests' exit code. Extra arguments go to the test program (e.g.
# --gtest_filter=Resources.*). With BRIKFALL_REPORT set, the tests also write
# their GoogleTest XML report to that path.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR="${BRIKFALL_WINDOWS_BUILD:-build/windows}"
scripts/deps.sh windows
if [ -z "${BRIKFALL_WINDOWS_BUILD:-}" ]; then
  scripts/build_windows.sh
else
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
  cmake --build "$BUILD_DIR" --target win_tests
fi

args=("$@")
if [ -n "${BRIKFALL_REPORT:-}" ]; then
  report=$(realpath -m "$BRIKFALL_REPORT")
  args+=("--gtest_output=xml:Z:${report//\//\\}")
fi

export PYTHONDONTWRITEBYTECODE=1
start=$EPOCHREALTIME
status=0
/usr/bin/python3 tests/e2e/wine.py --prefix wineprefix "$BUILD_DIR/tests/win/win_tests.exe" "${args[@]}" |
  tr -d '\r' || status=${PIPESTATUS[0]}
end=$EPOCHREALTIME
awk -v s="$start" -v e="$end" 'BEGIN { printf "Wine suite took %.1f s\n", e - s }'
exit "$status"
