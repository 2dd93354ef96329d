#!/usr/bin/env bash
# Cross-compiles the Windows program and its tests with mingw-w64 and prints
# the program's path. The program, with the bare reference window of
# scripts/measure.sh and the probe, is built for size in build/program with the
# win32 thread model, which needs no winpthreads; the tests and the probe in
# build/windows with the posix one, which GoogleTest needs.
# Usage: scripts/build_windows.sh [program] [build options for the tests]
#   program   build the program tree only
set -euo pipefail
cd "$(dirname "$0")/.."

program_only=0
if [ "${1:-}" = program ]; then
  program_only=1
  shift
fi

configure() {  # DIR BUILD_TYPE [cmake options]
  local dir=$1 type=$2
  shift 2
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
}

# On Windows itself (MSYS2 or Cygwin) the native compiler builds everything
# in one tree; elsewhere the mingw-w64 cross compiler builds two.
case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*)
    configure build/windows MinSizeRel
    if [ "$program_only" = 1 ]; then
      cmake --build build/windows --target brikfall_SDI bare_window e2e_probe
    else
      cmake --build build/windows "$@"
    fi
    echo "$PWD/build/windows/shell/brikfall_SDI.exe"
    exit 0
    ;;
esac

toolchain=-DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
configure build/program MinSizeRel "$toolchain" -DBRIKFALL_MINGW_THREADS=win32 -DBRIKFALL_PROGRAM_ONLY=ON
cmake --build build/program
if [ "$program_only" = 0 ]; then
  configure build/windows Release "$toolchain"
  cmake --build build/windows "$@"
fi
echo "$PWD/build/program/shell/brikfall_SDI.exe"
