#!/usr/bin/env bash
# Installs the Debian packages that the kinds of work named need, only those
# that are missing, in one apt-get run. With --dry-run it names them and
# installs nothing.
#   base     the test command's own tools (its reports, the listing of sources)
#   format   clang-format
#   native   the game's native tests and benchmarks (GCC, GoogleTest, Google Benchmark)
#   fuzz     the fuzz target and its coverage (clang, libFuzzer, llvm-cov)
#   program  the Windows program alone, as the release builds it (mingw-w64's GCC)
#   windows  the program, its tests and the probe, run under Wine on a private X screen
#   clang    windows, built by clang and lld as well
#   tidy     clang-tidy over the game natively and the Win32 layers as clang builds them
#   all      every kind above
# Usage: scripts/deps.sh [--dry-run] KIND...
set -euo pipefail

base=(python3 git)
format=(clang-format git)
native=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest libbenchmark-dev)
fuzz=(cmake ninja-build clang llvm libclang-rt-dev)
program=(cmake ninja-build git python3 binutils g++-mingw-w64-x86-64 mingw-w64-x86-64-dev)
windows=("${program[@]}" googletest
         wine wine64 xvfb xdotool x11-utils fonts-wqy-microhei fonts-wine
         python3-xlib python3-pytest)
clang=("${windows[@]}" clang lld)
tidy=("${program[@]}" clang-tidy clang lld)
kinds="base format native fuzz program windows clang tidy"

usage() {
  echo "usage: $0 [--dry-run] KIND...   (kinds: $kinds all)" >&2
  exit 2
}

dry_run=0
if [ "${1:-}" = --dry-run ]; then
  dry_run=1
  shift
fi
[ $# -gt 0 ] || usage
wanted=()
for kind in "$@"; do
  [ "$kind" = all ] && set -- $kinds
done
for kind in "$@"; do
  [[ " $kinds " == *" $kind "* ]] || usage
  declare -n packages=$kind
  wanted+=("${packages[@]}")
  unset -n packages
done

missing=()
for pkg in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
if [ "$dry_run" = 1 ]; then
  echo "For $*: ${#missing[@]} missing packages to install${missing[*]:+: ${missing[*]}}"
  exit 0
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y "${missing[@]}"
