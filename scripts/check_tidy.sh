#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source of the
# game's layers (surface, model, control: as compiled natively by clang) and
# of the Win32 layers (framework, shell: as compiled by the clang Windows
# build). Only CMake's configure step runs, for the compile databases, in
# build/tidy-native and build/tidy-windows. Fails, naming the file, on any
# finding.
# Usage: scripts/check_tidy.sh [SOURCE...]   (default: every source)
source "$(dirname "$0")/common.sh"

need tidy
configure() {
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${@:2}" >/dev/null
}
configure build/tidy-native -DCMAKE_CXX_COMPILER=clang++ -DBRIKFALL_SANITIZE=OFF
configure build/tidy-windows --toolchain cmake/clang-mingw-w64-x86_64.cmake -DBRIKFALL_PROGRAM_ONLY=ON

if [ $# -gt 0 ]; then
  sources=("$@")
else
  mapfile -t sources < <(git ls-files 'surface/*.cpp' 'model/*.cpp' 'control/*.cpp' 'framework/*.cpp' 'shell/*.cpp')
fi
# database SOURCE: the build whose compile line the source is checked with.
database() {
  case $1 in
    framework/* | shell/*) echo build/tidy-windows ;;
    *) echo build/tidy-native ;;
  esac
}
export -f database
printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -I{} bash -c 'clang-tidy --quiet -p "$(database {})" {} 2>/dev/null || { echo "clang-tidy: findings in {}"; exit 1; }'
echo "clang-tidy: ${#sources[@]} sources, no findings"
