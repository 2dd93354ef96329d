#!/usr/bin/env bash
# Builds everything and runs every test suite: the game's native tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows program's
# tests under Wine in Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh all

echo "== native tests =="
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRIKFALL_SANITIZE=ON >/dev/null
cmake --build build/native
ctest --test-dir build/native --output-on-failure

echo "== icon and toolbar bitmap match their generator =="
python3 res/icon/make_icon.py --check

echo "== Windows tests under Wine =="
scripts/wine_tests.sh

echo "== end-to-end tests =="
scripts/e2e.sh
