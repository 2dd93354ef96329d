"""A close request sent by another process while a menu loop runs (the menu
bar in keyboard mode after F10, a menu of the menu bar open, the window menu
open) ends the menu and then the program, with exit code 0 and no process
left behind. Sent, not posted: the program handles it inside the menu loop."""

import pytest

from game import SC_CLOSE, WM_CLOSE, WM_SYSCOMMAND, wait_for
from watch import start


def in_menu_mode(game):
    return game.probe.ask(f"menumode {game.frame}") == "1"


def menu_bar_mode(game):
    game.key("F10")
    wait_for(lambda: in_menu_mode(game), 5, "the menu bar's keyboard mode")


def file_menu(game):
    game.key("F10")
    game.key("Down")
    wait_for(game.popup_menus, 5, "the file menu")


def window_menu(game):
    game.key("space", ("Alt_L",))
    wait_for(game.popup_menus, 5, "the window menu")


MENUS = {"menu-bar-mode": menu_bar_mode, "file-menu": file_menu, "window-menu": window_menu}
REQUESTS = {"close": (WM_CLOSE, 0), "system-close": (WM_SYSCOMMAND, SC_CLOSE)}


@pytest.mark.parametrize("request_", REQUESTS.values(), ids=REQUESTS.keys())
@pytest.mark.parametrize("open_menu", MENUS.values(), ids=MENUS.keys())
def test_close_sent_in_a_menu_loop_ends_with_code_0(game, open_menu, request_):
    start(game)
    open_menu(game)
    game.screenshot("menu")
    message, wparam = request_
    game.probe.ask(f"send {game.frame} {message} {wparam} 0")
    assert game.wait_exit() == 0
    assert game.main_windows() == []
