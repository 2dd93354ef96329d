"""The font dialog opens on the title's own font, Tahoma at 26 points; OK on
the untouched dialog leaves the title as it was (the same size, in the same
place), and OK on another size draws the title again in it at once."""

from game import WM_COMMAND, wait_for
from watch import PREVIEW_PROMPT

IDOK = 1
ID_FONT = 32773
CB_SETCURSEL = 0x014E
CBN_SELCHANGE = 1
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


def choose_font(game, smallest=False):
    """Opens the font dialog, checks that it shows the title's font, picks
    the first size of the list if asked, as a click on it would, and
    presses OK."""
    game.command(ID_FONT)
    dialog = game.wait_dialog()
    game.screenshot("font-dialog")
    assert game.text(dialog, FACE_BOX) == "Tahoma"
    assert game.text(dialog, SIZE_BOX) == "26"
    if smallest:
        sizes = int(game.probe.ask(f"child {dialog} {SIZE_BOX}"))
        game.probe.ask(f"send {sizes} {CB_SETCURSEL} 0 0")
        game.post(dialog, WM_COMMAND, (CBN_SELCHANGE << 16) | SIZE_BOX, sizes)
    game.post(dialog, WM_COMMAND, IDOK)
    game.wait_no_dialog()
    wait_for(lambda: game.state()["enabled"], 5, "the main window to be enabled again")


def drawn(game):
    return game.wait_picture(lambda i: i.pixel(93, 69) == (0, 0, 0), what="the board drawn")


def test_ok_on_the_untouched_font_dialog_keeps_the_title(game):
    before = title_box(drawn(game))
    choose_font(game)
    # v repaints the whole view after the dialog's end has been handled: the
    # first picture with the new preview prompt shows the title as it is now.
    prompt = game.grab().crop(*PREVIEW_PROMPT)
    game.key("v")
    after = game.wait_picture(lambda i: i.crop(*PREVIEW_PROMPT) != prompt, timeout=5,
                              what="the preview prompt to change")
    game.screenshot("title-after-ok")
    assert title_box(after) == before


def test_ok_on_another_size_draws_the_title_in_it(game):
    before = title_box(drawn(game))
    choose_font(game, smallest=True)
    after = game.wait_picture(lambda i: title_box(i) != before, timeout=5,
                              what="the title drawn again in the smallest size")
    game.screenshot("title-smallest")
    left, top, right, bottom = title_box(after)
    assert right - left < before[2] - before[0] and bottom - top < before[3] - before[1], \
        f"the title in the smallest size is not smaller: {before} -> {title_box(after)}"
