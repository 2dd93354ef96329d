#!/usr/bin/env bash
# Builds the Windows program and the probe, then plays the real program under
# Wine in a private Xvfb display (tests/e2e). Exits with pytest's exit code.
# Extra arguments go to pytest (e.g. -k menus).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh windows
scripts/build_windows.sh
cmake --build build/windows --target e2e_probe

export PYTHONDONTWRITEBYTECODE=1
start=$EPOCHREALTIME
status=0
/usr/bin/python3 -m pytest tests/e2e "$@" || status=$?
end=$EPOCHREALTIME
awk -v s="$start" -v e="$end" 'BEGIN { printf "End-to-end suite took %.1f s; screenshots in build/e2e-screenshots\n", e - s }'
exit "$status"
