#!/usr/bin/env bash
# Refreshes docs/brikfall.png, the README's picture of a game in progress:
# plays the end-to-end suite's short game under Windows 10 settings at 96 DPI
# (tests/e2e/test_windows_versions.py, through scripts/e2e.sh) and keeps its
# paused picture. The shapes are the program's own random ones, so each run
# gives another picture.
source "$(dirname "$0")/common.sh"

scripts/e2e.sh -k "test_a_short_game_ends_with_code_0 and win10"
cp build/e2e-screenshots/win10-01-paused.png docs/brikfall.png
echo "docs/brikfall.png"
