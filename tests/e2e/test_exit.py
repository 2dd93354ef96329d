"""Every way out ends the program with exit code 0: q, Esc, File > Exit by
mouse, the Exit command, the close box and the close request."""

import pytest

from game import SC_CLOSE, WM_CLOSE, WM_COMMAND, WM_SYSCOMMAND
from watch import start

ID_APP_EXIT = 57665


def by_key(keysym):
    return lambda game: game.key(keysym)


def by_file_exit_clicks(game):
    game.click_menu_bar(0)
    game.click_popup_item(0, 1)


def by_close_box(game):
    (left, top, right, _), _ = game.rect()
    metrics = game.metrics()
    # The close box is the rightmost caption button.
    game.x.click(right - 3 - metrics["button"] // 2, top + 3 + metrics["caption"] // 2)


def by_message(message, wparam=0):
    return lambda game: game.post(game.frame, message, wparam)


WAYS_OUT = {
    "q": by_key("q"),
    "escape": by_key("Escape"),
    "file-exit-clicks": by_file_exit_clicks,
    "exit-command": by_message(WM_COMMAND, ID_APP_EXIT),
    "close-box": by_close_box,
    "close-request": by_message(WM_CLOSE),
    "system-close": by_message(WM_SYSCOMMAND, SC_CLOSE),
}


@pytest.mark.parametrize("running", [False, True], ids=["ready", "running"])
@pytest.mark.parametrize("way_out", WAYS_OUT.values(), ids=WAYS_OUT.keys())
def test_each_way_out_ends_with_code_0(game, way_out, running):
    if running:
        start(game)
    way_out(game)
    assert game.wait_exit() == 0
    assert game.main_windows() == []
