"""The menu bar and the context menu, clicked with the real mouse, and the
dialogs they open: the font dialog, the parameter dialog and the About box."""

import pytest

from game import MESSAGE_TEXT_ID, WM_COMMAND, wait_for
from picture import WELL_COLUMNS, WELL_ROWS, cell_rect
from watch import start

IDOK, IDCANCEL = 1, 2
ID_FONT, ID_SIM_OPTIONS = 32773, 32774
IDC_GAME_SPEED = 1000
# Controls of the common font dialog: face, style and size boxes.
FONT_DIALOG_BOXES = {1136, 1137, 1138}

MENU_BAR = ["檔案(&F)", "字型", "模擬選項", "關於 brikfall_SDI(&A)..."]
FONT, SIM_OPTIONS, ABOUT = 1, 2, 3


def open_dialog(game, action):
    action()
    dialog = game.wait_dialog()
    # A modal dialog disables its owner, the main window.
    wait_for(lambda: not game.state()["enabled"], 5, "the main window to be disabled")
    return dialog


def wait_closed(game):
    game.wait_no_dialog()
    wait_for(lambda: game.state()["enabled"], 5, "the main window to be enabled again")
    # Without a window manager, Wine takes the first click after a dialog as
    # the one that brings the main window back: click it, as a person would.
    game.focus()


def close_dialog(game, dialog, button=IDCANCEL):
    game.post(dialog, WM_COMMAND, button)
    wait_closed(game)


def check_font_dialog(game, dialog):
    ids = {control_id for control_id, _, _ in game.controls(dialog)}
    assert FONT_DIALOG_BOXES <= ids, f"font dialog controls: {sorted(ids)}"


def check_parameter_dialog(game, dialog, value="400"):
    assert game.text(dialog) == "遊戲參數設定"
    assert game.text(dialog, IDC_GAME_SPEED) == value


def test_menu_bar_has_four_items(game):
    items, _ = game.menu_bar_items()
    assert len(items) == len(MENU_BAR), f"menu bar items at {items}"
    game.screenshot("menu-bar")


@pytest.mark.parametrize("item, check", [
    (FONT, check_font_dialog),
    (SIM_OPTIONS, check_parameter_dialog),
], ids=["font", "simulation-options"])
def test_menu_bar_commands_open_their_dialogs(game, item, check):
    dialog = open_dialog(game, lambda: game.click_menu_bar(item))
    game.screenshot("dialog")
    check(game, dialog)
    close_dialog(game, dialog)


@pytest.mark.parametrize("index, check", [
    (0, check_font_dialog),
    (1, check_parameter_dialog),
], ids=["font", "simulation-options"])
def test_context_menu_offers_font_then_options(game, index, check):
    left, top, right, bottom = game.view_rect()
    game.x.click((left + right) // 2, (top + bottom) // 2, button=3)
    popup = wait_for(game.popup_menus, 5, "the context menu")[0]
    game.screenshot("context-menu")
    pl, pt, _, _ = game.window_rect(popup)
    assert pl >= (left + right) // 2 - 1 and pt >= (top + bottom) // 2 - 1, "menu not at the mouse"
    dialog = open_dialog(game, lambda: game.click_popup_item(index, 2))
    check(game, dialog)
    close_dialog(game, dialog)


def test_about_box(game):
    dialog = open_dialog(game, lambda: game.click_menu_bar(ABOUT))
    game.screenshot("about")
    assert game.text(dialog) == "關於 brikfall_SDI"
    controls = game.controls(dialog)
    texts = [text for _, cls, text in controls if cls.lower() == "static"]
    assert "brikfall_SDI, 1.0 版" in texts, f"static texts: {texts}"
    buttons = [control_id for control_id, cls, _ in controls if cls.lower() == "button"]
    assert buttons == [IDOK], f"buttons: {buttons}"
    close_dialog(game, dialog, IDOK)


def type_into_parameter_dialog(game, text):
    """Opens the dialog from the menu bar, types `text` over the selected
    value and presses Enter."""
    dialog = open_dialog(game, lambda: game.click_menu_bar(SIM_OPTIONS))
    for char in text:
        game.key(char)
    wait_for(lambda: game.text(dialog, IDC_GAME_SPEED) == text, 5, f"the entry {text}")
    game.key("Return")
    return dialog


def test_parameter_dialog_keeps_an_accepted_value(game):
    type_into_parameter_dialog(game, "250")
    wait_closed(game)
    again = open_dialog(game, lambda: game.click_menu_bar(SIM_OPTIONS))
    check_parameter_dialog(game, again, "250")
    close_dialog(game, again)


def test_parameter_dialog_rejects_a_word(game):
    dialog = type_into_parameter_dialog(game, "abc")

    def message_box():
        for hwnd in game.dialogs():
            if hwnd != dialog:
                return hwnd
        return None
    box = wait_for(message_box, 5, "the message box")
    game.screenshot("message-box")
    assert game.text(box, MESSAGE_TEXT_ID) == "輸入整數。"
    assert game.text(box) == "brikfall_SDI"
    game.key("Return")
    wait_for(lambda: game.dialogs() == [dialog], 5, "the message box to close")
    close_dialog(game, dialog)
    again = open_dialog(game, lambda: game.click_menu_bar(SIM_OPTIONS))
    check_parameter_dialog(game, again, "400")
    close_dialog(game, again)


@pytest.mark.parametrize("item", [FONT, SIM_OPTIONS, ABOUT], ids=["font", "simulation-options", "about"])
def test_game_goes_on_behind_a_dialog(game, item):
    start(game)
    dialog = open_dialog(game, lambda: game.click_menu_bar(item))
    # The dialog may cover the top of the well: watch the well below row 4,
    # where it does not reach, change as the shape falls through it. Should
    # the first shape have landed meanwhile, the next one falls through it.
    left, top, _, _ = cell_rect(0, 5)
    _, _, right, bottom = cell_rect(WELL_COLUMNS - 1, WELL_ROWS - 1)
    opened = game.grab().crop(left, top, right, bottom)
    game.wait_picture(lambda i: i.crop(left, top, right, bottom) != opened, timeout=10,
                      what="the shape to fall behind the dialog")
    game.screenshot("behind-dialog")
    close_dialog(game, dialog)
