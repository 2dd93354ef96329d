#!/usr/bin/env bash
# Checks that every C++ source in the repository is in the style of
# .clang-format, naming each line that is not; changes nothing. To reformat:
#   git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
source "$(dirname "$0")/common.sh"

need format
count=$(git ls-files '*.cpp' '*.h' | wc -l)
if [ "$count" -eq 0 ]; then
  echo "No C++ file found to check in $PWD" >&2
  exit 1
fi
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "$count C++ files in the house style ($(clang-format --version))"
