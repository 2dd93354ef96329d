"""The font dialog opens on the title's own font, Tahoma at 26 points, and
OK on the untouched dialog leaves the title as it was: the same size, in the
same place."""

from game import WM_COMMAND, wait_for

IDOK = 1
ID_FONT = 32773
# The font dialog's face and size boxes.
FACE_BOX, SIZE_BOX = 1136, 1138
TITLE_BAND = 60


def title_box(image):
    """The bounding box of the title's dark pixels in the title band."""
    dark = [(x, y) for y in range(TITLE_BAND) for x in range(image.width)
            if sum(image.pixel(x, y)) < 3 * 128]
    assert dark, "no title in the title band"
    xs = [x for x, _ in dark]
    ys = [y for _, y in dark]
    return min(xs), min(ys), max(xs), max(ys)


def test_ok_on_the_untouched_font_dialog_keeps_the_title(game):
    before = title_box(game.wait_picture(lambda i: i.pixel(93, 69) == (0, 0, 0), what="the board drawn"))
    game.command(ID_FONT)
    dialog = game.wait_dialog()
    game.screenshot("font-dialog")
    assert game.text(dialog, FACE_BOX) == "Tahoma"
    assert game.text(dialog, SIZE_BOX) == "26"
    game.post(dialog, WM_COMMAND, IDOK)
    game.wait_no_dialog()
    wait_for(lambda: game.state()["enabled"], 5, "the main window to be enabled again")
    after = game.wait_picture(lambda i: title_box(i) == before, timeout=5,
                              what=f"the title back at {before}")
    game.screenshot("title-after-ok")
    assert title_box(after) == before
