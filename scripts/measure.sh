#!/usr/bin/env bash
# Builds the program for size with the bare reference window (bench/) and the
# probe (build/program), runs both windows under Wine on a private desktop
# (an X screen of 1920x1080, prefix build/measure-prefix, no heap checking: as a player
# runs them) and prints the figures side by side (bench/measure.py). A
# benchmark, not a test: it fails only when something cannot be measured.
# Usage: scripts/measure.sh [RUNS [PROGRAM.exe]]   (default 5 runs of the
# program in build/program; another build of it can be compared the same way)
source "$(dirname "$0")/common.sh"

build_program
exec /usr/bin/python3 bench/measure.py "${1:-5}" "${@:2}"
