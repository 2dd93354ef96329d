#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
# Usage: scripts/deps.sh native|windows|fuzz|clang|format|tidy|all
set -euo pipefail

native=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest libbenchmark-dev)
windows=(cmake ninja-build g++-mingw-w64-x86-64 mingw-w64-x86-64-dev googletest
         wine wine64 xvfb xdotool x11-utils fonts-wqy-microhei fonts-wine
         python3 python3-xlib python3-pytest)
fuzz=(cmake ninja-build clang llvm libclang-rt-dev)
clang=(clang lld)
format=(clang-format git)
tidy=(clang-tidy clang cmake ninja-build g++-mingw-w64-x86-64 mingw-w64-x86-64-dev)

case "${1:-all}" in
  native) wanted=("${native[@]}") ;;
  windows) wanted=("${windows[@]}") ;;
  fuzz) wanted=("${fuzz[@]}") ;;
  clang) wanted=("${windows[@]}" "${clang[@]}") ;;
  format) wanted=("${format[@]}") ;;
  tidy) wanted=("${tidy[@]}") ;;
  all) wanted=("${native[@]}" "${windows[@]}" "${fuzz[@]}" "${clang[@]}" "${format[@]}" "${tidy[@]}") ;;
  *) echo "usage: $0 native|windows|fuzz|clang|format|tidy|all" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y "${missing[@]}"
