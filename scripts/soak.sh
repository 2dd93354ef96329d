#!/usr/bin/env bash
# Soaks the real program: plays it under Wine on a private desktop (an X
# screen of 1920x1080, prefix build/soak-prefix, heap checking on) for MINUTES
# with seeded random input, samples its memory, windows and GDI objects
# every 30 s and reports whether they stayed flat, the longest answer to a
# ping and the exit code (tests/e2e/soak.py). Not part of the test command.
# Usage: scripts/soak.sh MINUTES [SEED]
source "$(dirname "$0")/common.sh"
[ $# -ge 1 ] || { echo "usage: $0 MINUTES [SEED]" >&2; exit 2; }

build_program

cd tests/e2e
exec /usr/bin/python3 soak.py "$1" ${2:+--seed "$2"}
