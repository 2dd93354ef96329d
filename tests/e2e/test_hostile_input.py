"""Hostile input sent from another process in orders a person could not
produce, replayed as found: the program lives, answers, and ends with exit
code 0 on a close. The prefix checks the heap, so a freed object touched on
the way faults."""

import pytest

from game import SC_CLOSE, WM_CLOSE, WM_COMMAND, WM_SYSCOMMAND, wait_for

IDOK, IDCANCEL = 1, 2
IDC_GAME_SPEED = 1000
MESSAGE_TEXT = 0xFFFF
ID_SIM_OPTIONS, ID_APP_ABOUT = 32774, 57664
WM_SETTINGCHANGE, WM_DISPLAYCHANGE, WM_TIMER = 0x001A, 0x007E, 0x0113
WM_NCLBUTTONDOWN, HTCAPTION, HTBOTTOMRIGHT = 0x00A1, 2, 17
SC_SIZE, SC_MOVE, SC_MINIMIZE = 0xF000, 0xF010, 0xF020

# Chinese text where a number belongs. (With a Hebrew point that opens a
# right-to-left run of its own between the characters, Wine's own text
# shaping faults in the edit box; Windows shapes it.)
CHINESE = "\u74f4\u9601\u9dcd\u8e9a\u4f6d"


def dialog_with(game, control):
    def find():
        for dialog in game.dialogs():
            if int(game.probe.ask(f"child {dialog} {control}")):
                return dialog
        return None
    return wait_for(find, 5, f"a dialog with control {control}")


def alive_and_answering(game):
    assert game.process.poll() is None
    assert int(game.probe.ask(f"ping {game.frame}")) >= 0


def close_ends_with_code_0(game):
    game.post(game.frame, WM_CLOSE)
    assert game.wait_exit() == 0
    assert game.main_windows() == []


def test_a_close_under_the_about_box_then_the_parameter_dialog_with_chinese_text(game):
    game.command(ID_APP_ABOUT)
    about = game.wait_dialog()
    game.post(game.frame, WM_DISPLAYCHANGE, 32, 0x0B9B0C41)
    game.post(game.frame, WM_SYSCOMMAND, SC_CLOSE)
    game.post(about, WM_COMMAND, IDOK)
    # The close waited for the About box; a dialog asked for meanwhile may
    # still open before the program ends.
    game.command(ID_SIM_OPTIONS)
    game.probe.ask(f"send {game.frame} {WM_SETTINGCHANGE} 0 0")
    if game.process.poll() is None and game.state()["exists"]:
        dialog = dialog_with(game, IDC_GAME_SPEED)
        game.set_text(dialog, IDC_GAME_SPEED, CHINESE)
        game.post(dialog, WM_COMMAND, IDOK)
        box = dialog_with(game, MESSAGE_TEXT)
        game.post(box, WM_COMMAND, IDOK)
        game.post(dialog, WM_COMMAND, IDCANCEL)
        game.post(game.view, WM_TIMER, 0, 0)
        alive_and_answering(game)
        close_ends_with_code_0(game)
    else:
        assert game.wait_exit() == 0


@pytest.mark.parametrize("message, wparam", [
    (WM_SYSCOMMAND, SC_MOVE),
    (WM_SYSCOMMAND, SC_SIZE),
    (WM_NCLBUTTONDOWN, HTCAPTION),
    (WM_NCLBUTTONDOWN, HTBOTTOMRIGHT),
], ids=["move", "size", "caption-press", "corner-press"])
def test_a_move_or_size_asked_for_under_the_context_menu_then_a_close(game, message, wparam):
    left, top, right, bottom = game.view_rect()
    game.x.click((left + right) // 2, (top + bottom) // 2, button=3)
    wait_for(game.popup_menus, 5, "the context menu")
    game.post(game.view, WM_SYSCOMMAND, SC_MINIMIZE)
    game.probe.ask(f"send {game.frame} {WM_SETTINGCHANGE} 0 0")
    game.post(game.frame, message, wparam)
    alive_and_answering(game)
    close_ends_with_code_0(game)
    assert game.popup_menus() == []
