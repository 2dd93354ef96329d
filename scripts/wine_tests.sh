#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 and runs the tests
# under Wine on a private desktop (tests/e2e/wine.py: an X screen of
# 1920x1080, prefix build/wineprefix, heap checking on). Exits with the tests'
# exit code. Extra arguments go to the test program (e.g.
# --gtest_filter=Resources.*). With BRIKFALL_REPORT set, the tests also write
# their GoogleTest XML report to that path.
# The tests are GCC's (CMake preset "windows", build/windows), or, with
# BRIKFALL_WINDOWS_PRESET=clang, clang's (build/clang).
set -euo pipefail
cd "$(dirname "$0")/.."

PRESET="${BRIKFALL_WINDOWS_PRESET:-windows}"
BUILD_DIR=build/$PRESET
if [ "$PRESET" = windows ]; then
  scripts/deps.sh windows
  scripts/build_windows.sh
else
  scripts/deps.sh clang
  source scripts/presets.sh
  preset_build "$PRESET"
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
