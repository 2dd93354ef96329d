#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source of the
# game's layers (surface, model, control: as compiled natively by clang) and
# of the Win32 layers (framework, shell: as compiled by the clang Windows
# build). Only CMake's configure step runs, for the compile databases of the
# presets tidy-native and tidy-windows. Fails on any finding or any source
# that does not compile, naming the file and showing what clang-tidy said.
# Usage: scripts/check_tidy.sh [SOURCE...]   (default: every source)
source "$(dirname "$0")/common.sh"

need tidy
for preset in tidy-native tidy-windows; do
  log=build/$preset.log
  mkdir -p build
  cmake --preset "$preset" >"$log" 2>&1 || { cat "$log"; echo "clang-tidy: the preset $preset did not configure"; exit 1; }
done

if [ $# -gt 0 ]; then
  sources=("$@")
else
  mapfile -t sources < <(git ls-files 'surface/*.cpp' 'model/*.cpp' 'control/*.cpp' 'framework/*.cpp' 'shell/*.cpp')
fi
# tidy SOURCE: checks one source with the compile line of its build. On a
# failure prints, in one piece, whether the source does not compile or has
# findings, and what clang-tidy said (but its counts of warnings and errors).
tidy() {
  local database=build/tidy-native output status=0 what="has findings"
  case $1 in
    framework/* | shell/*) database=build/tidy-windows ;;
  esac
  output=$(clang-tidy --quiet -p "$database" "$1" 2>&1) || status=$?
  [ "$status" -ne 0 ] || return 0
  [[ $output != *"[clang-diagnostic-error]"* ]] || what="does not compile"
  printf 'clang-tidy: %s %s:\n%s\n' "$1" "$what" \
    "$(grep -v -E '^[0-9]+ (warnings?|errors?)( and [0-9]+ errors?)? (generated|treated as errors)\.$' <<<"$output")"
  return 1
}
export -f tidy
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} bash -c 'tidy "$1"' _ {}
echo "clang-tidy: ${#sources[@]} sources, no findings"
