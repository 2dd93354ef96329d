"""Fixtures of the end-to-end suite: one private desktop (an X screen,
the prefix build/e2e-prefix, a wineserver and the probe; tests/e2e/wine.py)
for the session; a fresh run of the program for each test, which must end
with exit code 0 and leave open no box that the test did not wait for.

Paths can be overridden with BRIKFALL_EXE and BRIKFALL_PROBE."""

import re
import shutil

import pytest

from game import Game, WM_CLOSE
from wine import BUILD, PROBE_EXE, PROGRAM_EXE, private_desktop

EXE = PROGRAM_EXE
PROBE = PROBE_EXE
PREFIX = BUILD / "e2e-prefix"
SHOTS = BUILD / "e2e-screenshots"


@pytest.fixture(scope="session")
def desktop():
    """(xserver, env, probe) of the session's private desktop."""
    for path in (EXE, PROBE):
        if not path.exists():
            pytest.exit(f"{path} is missing: build it first (scripts/e2e.sh does)", returncode=2)
    with private_desktop(PREFIX, PROBE) as parts:
        yield parts


@pytest.fixture(scope="session")
def xserver(desktop):
    return desktop[0]


@pytest.fixture(scope="session")
def wine_env(desktop):
    return desktop[1]


@pytest.fixture(scope="session")
def probe(desktop):
    return desktop[2]


@pytest.fixture(scope="session")
def shots_dir():
    shutil.rmtree(SHOTS, ignore_errors=True)
    SHOTS.mkdir(parents=True)
    return SHOTS


@pytest.fixture
def game(request, wine_env, probe, xserver, shots_dir):
    """The program, started and focused; closed and checked after the test."""
    name = re.sub(r"[^A-Za-z0-9_.-]+", "_", request.node.name)
    run = Game(EXE, wine_env, probe, xserver, shots_dir, name)
    try:
        run.focus()
        yield run
        unexpected = []
        if run.process.poll() is None:
            run.screenshot("end")
            unexpected = run.unexpected_boxes()
            for dialog in run.dialogs():
                run.post(dialog, WM_CLOSE)
            run.post(run.frame, WM_CLOSE)
        assert unexpected == [], f"boxes the test did not open (caption, text): {unexpected}"
        assert run.wait_exit() == 0, "the program must end with exit code 0"
    finally:
        run.close()
