#!/usr/bin/env bash
# Builds the game when needed and starts it: natively on Windows, under Wine
# elsewhere, on the desktop of $DISPLAY in a Wine prefix of its own
# (~/.cache/brikfall/wineprefix, set up on first use by tests/e2e/wine.py).
set -euo pipefail
cd "$(dirname "$0")/.."

on_windows=0
case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*) on_windows=1 ;;
esac
[ "${OS:-}" = Windows_NT ] && on_windows=1

if [ "$on_windows" = 1 ]; then
  exec "$(scripts/build_windows.sh program | tail -n 1)"
fi

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: the game needs a graphical desktop (an X server). Run this from a desktop session, or set DISPLAY." >&2
  exit 1
fi

scripts/deps.sh windows
# Incremental: quick when the program is up to date.
EXE=$(scripts/build_windows.sh program | tail -n 1)
export PYTHONDONTWRITEBYTECODE=1
exec /usr/bin/python3 tests/e2e/wine.py --on-display --prefix "$HOME/.cache/brikfall/wineprefix" "$EXE"
