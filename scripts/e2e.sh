#!/usr/bin/env bash
# Builds the shipped program and the probe (build/program), then plays the
# real program under Wine on private desktops (tests/e2e: an X screen of 1920x1080 with
# the prefix build/e2e-prefix, and with Wine set to Windows 7 and 10 in
# build/e2e-prefix-win7 and -win10; 2560x1440 at 144 and 192 DPI with
# build/e2e-prefix-144 and -192; heap checking on). Exits with pytest's exit
# code. Extra arguments go to pytest (e.g. -k menus). With BRIKFALL_REPORT
# set, pytest also writes its JUnit XML report to that path.
source "$(dirname "$0")/common.sh"

build_program

report=()
[ -n "${BRIKFALL_REPORT:-}" ] && report=(--junitxml="$(realpath -m "$BRIKFALL_REPORT")")
status=0
timed "End-to-end suite" /usr/bin/python3 -m pytest tests/e2e "${report[@]}" "$@" || status=$?
echo "Screenshots in build/e2e-screenshots"
exit "$status"
