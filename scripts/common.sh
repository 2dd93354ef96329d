# The opening every script shares, sourced first thing:
#   source "$(dirname "$0")/common.sh"
# Strict mode, the checkout's root as the working folder, no Python byte code
# in the tree, and the helpers below.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
export PYTHONDONTWRITEBYTECODE=1

# need KIND...: installs the packages those kinds of work need, when missing
# (the kinds are scripts/deps.sh's).
need() {
  scripts/deps.sh "$@"
}

# preset_build NAME [BUILD OPTIONS...]: configures and builds the CMake
# preset NAME, whose tree is build/NAME.
preset_build() {
  local name=$1
  shift
  cmake --preset "$name" >/dev/null && cmake --build --preset "$name" "$@"
}

# quiet_build NAME [BUILD OPTIONS...]: preset_build with its output kept in
# build/NAME.log, shown only when the build fails.
quiet_build() {
  local log=build/$1.log
  mkdir -p build
  preset_build "$@" >"$log" 2>&1 || { cat "$log"; return 1; }
}

# The shipped program, with the probe beside it, in build/program.
PROGRAM_EXE=build/program/shell/brikfall_SDI.exe
build_program() {
  need windows
  quiet_build program "$@"
}

# timed LABEL COMMAND...: runs the command, then prints how long it took;
# returns the command's status.
timed() {
  local label=$1 start=$EPOCHREALTIME status=0
  shift
  "$@" || status=$?
  awk -v l="$label" -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%s took %.1f s\n", l, e - s }'
  return "$status"
}
