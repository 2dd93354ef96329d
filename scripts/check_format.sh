#!/usr/bin/env bash
# Checks that every C++ source in the repository is in the style of
# .clang-format, naming each line that is not; changes nothing. To reformat:
#   git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh format
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "$(git ls-files '*.cpp' '*.h' | wc -l) C++ files in the house style ($(clang-format --version))"
