"""Minimising the window: a running game is paused, a paused or waiting game
is left as it was; restoring changes nothing."""

import pytest

from game import SW_MINIMIZE, SW_RESTORE, wait_for
from watch import shape_of, start, wait_falls, wait_still


def minimise_and_restore(game):
    game.show(SW_MINIMIZE)
    wait_for(lambda: game.state()["iconic"], 5, "the window minimised")
    game.show(SW_RESTORE)
    wait_for(lambda: not game.state()["iconic"], 5, "the window restored")


def running(game):
    wait_falls(game, start(game))


def paused(game):
    running(game)
    game.key("p")
    wait_still(game)


def ready(game):
    game.wait_picture(lambda i: i.pixel(93, 69) == (0, 0, 0), what="the board drawn")


@pytest.mark.parametrize("before", [running, paused, ready], ids=lambda f: f.__name__)
def test_minimising_pauses_only_a_running_game(game, before):
    before(game)
    minimise_and_restore(game)
    image = wait_still(game)
    game.screenshot("restored")
    if before is ready:
        # Still waiting for g: the shape is hidden, and g starts the game.
        assert shape_of(image) is None
        running(game)
    else:
        # Paused, not over: p continues the fall.
        assert shape_of(image) is not None
        game.key("p")
        wait_falls(game, image)
