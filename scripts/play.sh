#!/usr/bin/env bash
# Builds the game when needed and starts it: natively on Windows, under Wine
# elsewhere, on the desktop of $DISPLAY in a Wine prefix of its own
# (~/.cache/brikfall/wineprefix, set up on first use by tests/e2e/wine.py).
source "$(dirname "$0")/common.sh"

on_windows=0
case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*) on_windows=1 ;;
esac
[ "${OS:-}" = Windows_NT ] && on_windows=1

if [ "$on_windows" = 1 ]; then
  build_program
  exec "$PROGRAM_EXE"
fi

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: the game needs a graphical desktop (an X server). Run this from a desktop session, or set DISPLAY." >&2
  exit 1
fi

# Incremental: quick when the program is up to date.
build_program
exec /usr/bin/python3 tests/e2e/wine.py --on-display --prefix "$HOME/.cache/brikfall/wineprefix" "$PROGRAM_EXE"
