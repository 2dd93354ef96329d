"""The real program at 144 and 192 DPI on a 2560 x 1440 screen: the well, its
border, the title and every line of the status panel where the layout puts
them, and the window within the screen. Each resolution runs on a private
desktop of its own (build/e2e-prefix-144 and -192), because Wine reads the
resolution only when its server starts."""

import pytest

from conftest import EXE, PREFIX, PROBE
from game import Game
from picture import BLACK, WHITE
from wine import private_desktop

SCREEN = (2560, 1440)


class Layout:
    """The picture's places at a resolution, written out as a person
    measured them from the lengths at 96 DPI (cell 24, title band 60, border
    3 pixels left and above the well, 2 right and below, lines 1 wide),
    scaled and rounded half up."""

    def __init__(self, dpi, cell, line, well, border, title_band, lengths):
        self.dpi = dpi
        self.cell = cell
        self.line = line
        self.well = well
        self.border = border
        self.title_band = title_band
        self.panel_left = 19 * cell
        self._lengths = lengths  # 96-DPI length: its length at this resolution

    def scale(self, length):
        return self._lengths[length]

    def panel_line(self, index):
        return (3 + index) * self.cell


LAYOUTS = {
    144: Layout(144, cell=36, line=2, well=(144, 108, 612, 828), border=(139, 103, 616, 832),
                title_band=90, lengths={20: 30, 50: 75}),
    192: Layout(192, cell=48, line=2, well=(192, 144, 816, 1104), border=(186, 138, 821, 1109),
                title_band=120, lengths={20: 40, 50: 100}),
}


@pytest.fixture(scope="module", params=[144, 192], ids=lambda dpi: f"{dpi}dpi")
def scaled(request, shots_dir):
    """The program started at one resolution, with its layout."""
    dpi = request.param
    with private_desktop(PREFIX.parent / f"{PREFIX.name}-{dpi}", PROBE, *SCREEN, dpi=dpi) as (screen, env, probe):
        run = Game(EXE, env, probe, screen, shots_dir, f"dpi{dpi}")
        try:
            run.focus()
            image = run.wait_picture(lambda i: i.pixel(*LAYOUTS[dpi].border[:2]) == BLACK,
                                     what="the board drawn at the scale")
            run.screenshot("ready")
            yield run, LAYOUTS[dpi], image
            run.post(run.frame, 0x0010)
            assert run.wait_exit() == 0
        finally:
            run.close()


def test_window_fits_the_screen_and_shows_the_whole_game(scaled):
    run, layout, image = scaled
    (left, top, right, bottom), _ = run.rect()
    assert left >= 0 and top >= 0 and right <= SCREEN[0] and bottom <= SCREEN[1], \
        f"window {(left, top, right, bottom)} leaves the screen"
    assert image.width > layout.border[2] and image.height > layout.border[3], \
        f"client {image.width}x{image.height} cuts off the well's border"


def test_well_is_one_black_rectangle_inside_its_border(scaled):
    _, layout, image = scaled
    left, top, right, bottom = layout.well
    assert image.colours(left, top, right, bottom) == {BLACK}
    b_left, b_top, b_right, b_bottom = layout.border
    line = layout.line
    sides = {
        "left": (b_left, b_top, b_left + line, b_bottom + 1),
        "right": (b_right - line + 1, b_top, b_right + 1, b_bottom + 1),
        "top": (b_left, b_top, b_right + 1, b_top + line),
        "bottom": (b_left, b_bottom - line + 1, b_right + 1, b_bottom + 1),
    }
    for side, rect in sides.items():
        assert image.colours(*rect) == {BLACK}, f"{side} border line"
    gaps = {
        "left": (b_left + line, top, left, bottom),
        "right": (right, top, b_right - line + 1, bottom),
        "top": (left, b_top + line, right, top),
        "bottom": (left, bottom, right, b_bottom - line + 1),
    }
    for side, rect in gaps.items():
        assert image.colours(*rect) == {WHITE}, f"{side} gap between border and well"
    assert image.pixel(b_left - 1, (top + bottom) // 2) == WHITE
    assert image.pixel(b_right + 1, (top + bottom) // 2) == WHITE


def is_ink(colour):
    return colour != WHITE


def test_title_sits_inside_its_band(scaled):
    _, layout, image = scaled
    ink = [y for y in range(0, layout.border[1]) for x in range(0, image.width, 2)
           if is_ink(image.pixel(x, y))]
    assert ink, "no title"
    assert max(ink) < layout.title_band, f"title reaches row {max(ink)}"
    assert layout.title_band <= layout.border[1], "the band overlaps the border"


def test_every_panel_line_lies_within_its_row(scaled):
    _, layout, image = scaled
    right = image.width
    left = layout.panel_left
    # Lines 0 to 11 (key help, speed, prompts) and 13 (score caption); line
    # 8, the pause prompt, is blank while the game waits to start.
    for index in [0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 13]:
        top = layout.panel_line(index)
        bottom = layout.panel_line(index + 1)
        rows = [y for y in range(top, bottom) if any(is_ink(c) for c in image.colours(left, y, right, y + 1))]
        assert rows, f"no text on line {index}"
        # The last quarter of each row stays clear: the text ends inside it.
        assert max(rows) < bottom - layout.cell // 4, \
            f"line {index} reaches pixel row {max(rows)}, its row ends at {bottom}"
    # Nothing of the panel strays between the border and the panel's edge.
    assert image.colours(layout.border[2] + 1, layout.well[1], left, layout.well[3]) == {WHITE}


def test_score_fits_beside_the_well(scaled):
    _, layout, image = scaled
    top = layout.panel_line(14)
    blue = [y for y in range(top, image.height)
            for x in range(layout.panel_left, min(image.width, layout.panel_left + 8 * layout.cell), 2)
            if image.pixel(x, y)[2] >= 200 and image.pixel(x, y)[0] <= 80]
    assert blue, "no score"
    assert max(blue) < layout.well[3], f"score reaches row {max(blue)} below the well"
    # Its digit keeps 80 points: about 2/3 of an inch tall in the font's cell.
    assert max(blue) - min(blue) >= layout.scale(50)


def test_parameter_dialog_grows_with_the_system_font(scaled):
    run, layout, _ = scaled
    run.command(32774)  # the Simulation-options command
    dialog = run.wait_dialog("遊戲參數設定")
    try:
        run.screenshot("parameters")
        left, top, right, bottom = run.window_rect(dialog)
        assert left >= 0 and top >= 0 and right <= SCREEN[0] and bottom <= SCREEN[1]
        client = run.probe.numbers(f"rect {dialog}")[4:8]
        for control_id in (1000, 1, 2):  # the interval's box, OK, Cancel
            hwnd = int(run.probe.ask(f"child {dialog} {control_id}"))
            c_left, c_top, c_right, c_bottom = run.window_rect(hwnd)
            assert client[0] <= c_left and c_right <= client[2] and client[1] <= c_top and c_bottom <= client[3], \
                f"control {control_id} sticks out of the dialog"
            # 13 and 14 dialog units: over 20 pixels at 96 DPI, scaled alike.
            assert c_bottom - c_top >= layout.scale(20), f"control {control_id} only {c_bottom - c_top} high"
    finally:
        run.post(dialog, 0x0111, 2)  # IDCANCEL
        run.wait_no_dialog()
