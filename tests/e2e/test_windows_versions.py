"""The shipped program under Wine set to Windows 7 and to Windows 10 (winecfg
-v), each on a private desktop of its own (build/e2e-prefix-win7 and -win10,
1920 x 1080 at 96 DPI): the prefix reports that version, and a short game
(start, move, rotate, drop, pause, quit) ends with exit code 0. The paused
picture under Windows 10 is the README's screenshot (scripts/screenshot.sh)."""

import pytest

from conftest import EXE, PREFIX, PROBE
from game import Game
from watch import falling_cells, pause, shape_of, start, wait_dropped, wait_moved, wait_turned
from wine import private_desktop

# winecfg's name of each version and the numbers RtlGetVersion gives for it.
VERSIONS = {"win7": (6, 1), "win10": (10, 0)}


@pytest.fixture(scope="module", params=list(VERSIONS))
def windows_desktop(request):
    """(version name, xserver, env, probe) of a private desktop whose prefix
    reports that Windows version."""
    windows = request.param
    with private_desktop(PREFIX.parent / f"{PREFIX.name}-{windows}", PROBE, windows=windows) as parts:
        yield (windows, *parts)


def test_prefix_reports_the_windows_version(windows_desktop):
    windows, _, _, probe = windows_desktop
    major, minor, _build = probe.numbers("version")
    assert (major, minor) == VERSIONS[windows]


def wait_cells(run, count, what):
    """Waits until the well holds that many cells. Three shapes or fewer
    cannot fill a row of 13, so no cell leaves the well meanwhile."""
    return run.wait_picture(lambda i: len(falling_cells(i)) == count, timeout=10, what=what)


def test_a_short_game_ends_with_code_0(windows_desktop, shots_dir):
    windows, screen, env, probe = windows_desktop
    run = Game(EXE, env, probe, screen, shots_dir, windows)
    try:
        run.focus()
        before = shape_of(start(run))
        run.key("Left")
        moved = wait_moved(run, before, -1)
        run.key("Up")
        wait_turned(run, moved)
        wait_dropped(run, lambda: run.key("Down"))
        # A second shape, put to the right, and the third one falling.
        wait_cells(run, 8, "the next shape")
        for key in ("Right", "Right", "Right", "Down"):
            run.key(key)
        wait_cells(run, 12, "the second shape dropped and a third one")
        pause(run)
        run.screenshot("paused")
        run.key("q")
        assert run.wait_exit() == 0, f"under {windows} the program must end with exit code 0"
    finally:
        run.close()
