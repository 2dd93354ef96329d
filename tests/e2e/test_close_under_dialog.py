"""A close request that reaches the main window while one of its dialogs or
its context menu is open (the taskbar's close item does this) ends the
dialog as if cancelled and then the program, with exit code 0. The prefix
checks the heap, so a freed object touched on the way out faults."""

import pytest

from game import WM_CLOSE, WM_COMMAND, wait_for
from watch import start

IDOK = 1
IDC_GAME_SPEED = 1000
ID_FONT, ID_SIM_OPTIONS, ID_APP_ABOUT = 32773, 32774, 57664
WM_CONTEXTMENU = 0x007B


def by_command(command_id):
    def open_dialog(game):
        game.command(command_id)
        game.wait_dialog()
    return open_dialog


def validation_message(game):
    game.command(ID_SIM_OPTIONS)
    dialog = game.wait_dialog()
    game.set_text(dialog, IDC_GAME_SPEED, "abc")
    game.post(dialog, WM_COMMAND, IDOK)
    wait_for(lambda: len(game.dialogs()) == 2, 5, "the message box over the dialog")


def context_menu(game):
    left, top, right, bottom = game.view_rect()
    x, y = (left + right) // 2, (top + bottom) // 2
    game.post(game.view, WM_CONTEXTMENU, game.view, (y << 16) | x)
    wait_for(game.popup_menus, 5, "the context menu")


OPENERS = {
    "font": by_command(ID_FONT),
    "parameters": by_command(ID_SIM_OPTIONS),
    "about": by_command(ID_APP_ABOUT),
    "validation-message": validation_message,
    "context-menu": context_menu,
}


@pytest.mark.parametrize("open_it", OPENERS.values(), ids=OPENERS.keys())
def test_close_request_under_an_open_dialog_ends_with_code_0(game, open_it):
    start(game)
    open_it(game)
    game.screenshot("open")
    game.post(game.frame, WM_CLOSE)
    assert game.wait_exit() == 0
    assert game.main_windows() == []
