#!/usr/bin/env bash
# Builds the game when needed and starts it under Wine, on the desktop of
# $DISPLAY, in a Wine prefix of its own (~/.cache/brikfall/wineprefix, set up
# on first use by tests/e2e/wine.py). For Linux; the README says how to build
# and start the game on Windows.
source "$(dirname "$0")/common.sh"

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: the game needs a graphical desktop (an X server). Run this from a desktop session, or set DISPLAY." >&2
  exit 1
fi

# Incremental: quick when the program is up to date.
build_program
exec /usr/bin/python3 tests/e2e/wine.py --on-display --prefix "$HOME/.cache/brikfall/wineprefix" "$PROGRAM_EXE"
