#!/usr/bin/env bash
# Cross-compiles the Windows program (and its tests) with mingw-w64 into
# build/windows and prints the program's path.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/windows
# On Windows itself (MSYS2 or Cygwin) the native compiler builds it; elsewhere
# the mingw-w64 cross compiler does.
toolchain=(-DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake")
case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*) toolchain=() ;;
esac
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${toolchain[@]}" >/dev/null
fi
cmake --build "$build" "$@"
echo "$PWD/$build/shell/brikfall_SDI.exe"
