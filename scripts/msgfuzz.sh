#!/usr/bin/env bash
# Fuzzes the real program with window messages from another process: a
# seeded random mix sent under Wine with heap checking for MINUTES, in runs
# of a few hundred steps, answering the dialogs that open; reports steps,
# runs, dialogs, faults and GDI and memory samples (tests/e2e/msgfuzz.py).
# A faulty run's steps are kept in build/msgfuzz/fault-<run>.log; REPLAY
# plays such a log again. Not part of the test command.
# Usage: scripts/msgfuzz.sh MINUTES [SEED]
#        scripts/msgfuzz.sh replay LOG
source "$(dirname "$0")/common.sh"
[ $# -ge 1 ] || { echo "usage: $0 MINUTES [SEED] | $0 replay LOG" >&2; exit 2; }

build_program

if [ "$1" = replay ]; then
  log=$(realpath "$2")
  cd tests/e2e
  exec /usr/bin/python3 msgfuzz.py 0 --replay "$log"
fi
cd tests/e2e
exec /usr/bin/python3 msgfuzz.py "$1" ${2:+--seed "$2"}
