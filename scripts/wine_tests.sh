#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 and runs the tests
# under Wine on a private desktop (tests/e2e/wine.py: an X screen of
# 1920x1080, prefix build/wineprefix, heap checking on). Exits with the tests'
# exit code. Extra arguments go to the test program (e.g.
# --gtest_filter=Resources.*). With BRIKFALL_REPORT set, the tests also write
# their GoogleTest XML report to that path.
# The tests are GCC's (CMake preset "windows", build/windows), or, with
# BRIKFALL_WINDOWS_PRESET=clang, clang's (build/clang).
source "$(dirname "$0")/common.sh"

PRESET="${BRIKFALL_WINDOWS_PRESET:-windows}"
BUILD_DIR=build/$PRESET
# The desktop's probe comes from the program's tree.
build_program --target e2e_probe
[ "$PRESET" = windows ] || need clang
preset_build "$PRESET"

args=("$@")
if [ -n "${BRIKFALL_REPORT:-}" ]; then
  report=$(realpath -m "$BRIKFALL_REPORT")
  args+=("--gtest_output=xml:Z:${report//\//\\}")
fi

# Wine ends its output lines with CR LF.
run_tests() {
  /usr/bin/python3 tests/e2e/wine.py --prefix wineprefix "$BUILD_DIR/tests/win/win_tests.exe" "${args[@]}" |
    tr -d '\r'
  return "${PIPESTATUS[0]}"
}
status=0
timed "Wine suite" run_tests || status=$?
exit "$status"
