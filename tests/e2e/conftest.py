"""Fixtures of the end-to-end suite: one Xvfb display, one Wine prefix, one
wineserver and one probe for the session; a fresh run of the program for
each test, which must end with exit code 0.

Paths can be overridden with BRIKFALL_EXE and BRIKFALL_PROBE; the prefix
(build/e2e-prefix) is made on first use, or copied from the ready prefix
named by BRIKFALL_PREFIX_TEMPLATE."""

import os
import re
import shutil
from pathlib import Path

import pytest

from game import Game, WM_CLOSE
from wine import BUILD, PROBE_EXE, PROGRAM_EXE, Probe, WineServer, prepare_prefix, wine_environment
from xserver import XServer

EXE = PROGRAM_EXE
PROBE = PROBE_EXE
PREFIX = BUILD / "e2e-prefix"
# A ready prefix to copy instead of creating one (optional).
PREFIX_TEMPLATE = os.environ.get("BRIKFALL_PREFIX_TEMPLATE")
SHOTS = BUILD / "e2e-screenshots"


@pytest.fixture(scope="session")
def xserver():
    server = XServer(1920, 1080)
    yield server
    server.stop()


@pytest.fixture(scope="session")
def wine_env(xserver):
    for path in (EXE, PROBE):
        if not path.exists():
            pytest.exit(f"{path} is missing: build it first (scripts/e2e.sh does)", returncode=2)
    prepare_prefix(PREFIX, xserver.name, PREFIX_TEMPLATE)
    env = wine_environment(PREFIX, xserver.name)
    server = WineServer(env)
    yield env
    server.stop()


@pytest.fixture(scope="session")
def probe(wine_env):
    client = Probe(PROBE, wine_env)
    yield client
    client.stop()


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
        if run.process.poll() is None:
            run.screenshot("end")
            for dialog in run.dialogs():
                run.post(dialog, WM_CLOSE)
            run.post(run.frame, WM_CLOSE)
        assert run.wait_exit() == 0, "the program must end with exit code 0"
    finally:
        run.close()
