"""Odd sizes typed into the font dialog, then OK or Cancel: no message box
of the program comes up (its boxes always name what went wrong, so an empty
one would be a fault), the dialog closes, the title's band is drawn again
and the program answers and ends with code 0."""

import pytest

from game import WM_COMMAND, wait_for

IDOK, IDCANCEL = 1, 2
ID_FONT = 32773
SIZE_BOX = 1138
MESSAGE_TEXT = 0xFFFF


@pytest.mark.parametrize("button", [IDCANCEL, IDOK], ids=["cancel", "ok"])
@pytest.mark.parametrize("size", ["-99999999999", "99999999999", "0", "abc"])
def test_odd_size_in_the_font_dialog_shows_no_box(game, size, button):
    game.command(ID_FONT)
    dialog = game.wait_dialog()
    game.set_text(dialog, SIZE_BOX, size)
    game.post(dialog, WM_COMMAND, button)
    # A box would open over the dialog, or after it, before the frame is
    # enabled again.
    wait_for(lambda: game.state()["enabled"] or len(game.dialogs()) > 1, 5, "the dialog's end")
    boxes = [d for d in game.dialogs() if int(game.probe.ask(f"child {d} {MESSAGE_TEXT}"))]
    assert [(game.text(b), game.text(b, MESSAGE_TEXT)) for b in boxes] == []
    game.wait_no_dialog()
    assert int(game.probe.ask(f"ping {game.frame}")) >= 0
