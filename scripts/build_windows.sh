#!/usr/bin/env bash
# Cross-compiles the Windows program and its tests with mingw-w64 and prints
# the program's path. The program, with the bare reference window and the
# meter of scripts/measure.sh, is built for size in build/program with the
# win32 thread model, which needs no winpthreads; the tests and the probe in
# build/windows with the posix one, which GoogleTest needs (CMake presets
# "program" and "windows", CMakePresets.json).
# Usage: scripts/build_windows.sh [program] [build options for the tests]
#   program   build the program tree only
set -euo pipefail
cd "$(dirname "$0")/.."

program_only=0
if [ "${1:-}" = program ]; then
  program_only=1
  shift
fi

source scripts/presets.sh
preset_build program
[ "$program_only" = 1 ] || preset_build windows "$@"
echo "$PWD/build/program/shell/brikfall_SDI.exe"
