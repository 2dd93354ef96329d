"""The real program on small screens at a high resolution, 1366 x 768 at 144
DPI and 1280 x 720 at 120 DPI, where the picture at the display's scale is
taller than the screen: the whole picture shrinks until the window fits, so
the well with its border lies inside the view, every line of the status
panel stands apart from the next, and the window stays on the screen. The
cell size is read from the picture itself: the well is the one black
rectangle of 13 x 20 cells, 4 cells from the left and 3 from the top."""

import pytest

from conftest import EXE, PREFIX, PROBE
from game import Game
from picture import BLACK, WHITE
from test_dpi import is_ink
from wine import private_desktop

SCREENS = [(1366, 768, 144), (1280, 720, 120)]


def black_run(pixels, start):
    """The first and one past the last index of the black run around start."""
    first = start
    while first > 0 and pixels(first - 1) == BLACK:
        first -= 1
    last = start
    while last < len(pixels) and pixels(last) == BLACK:
        last += 1
    return first, last


class Row:
    """One row or column of an image as a sequence of colours."""

    def __init__(self, image, fixed, horizontal):
        self.image, self.fixed, self.horizontal = image, fixed, horizontal

    def __len__(self):
        return self.image.width if self.horizontal else self.image.height

    def __call__(self, index):
        return self.image.pixel(index, self.fixed) if self.horizontal else self.image.pixel(self.fixed, index)


class FoundWell:
    """The well as drawn: its cells, and its size in cells checked."""

    def __init__(self, image):
        middle_y = image.height // 2
        across = Row(image, middle_y, True)
        # The widest black run on the middle row is the well (the border's
        # lines are thin and stand apart from it).
        runs, x = [], 0
        while x < image.width:
            if across(x) == BLACK:
                run = black_run(across, x)
                runs.append(run)
                x = run[1]
            else:
                x += 1
        assert runs, "no black on the view's middle row"
        self.left, self.right = max(runs, key=lambda run: run[1] - run[0])
        self.top, self.bottom = black_run(Row(image, (self.left + self.right) // 2, False), middle_y)
        self.cell = (self.right - self.left) // 13

    def panel_line(self, index):
        return (3 + index) * self.cell


def border_line_beyond(image, start, step, fixed, horizontal):
    """From the well's edge outwards: the white gap, the border's black line
    and the white beyond it, all inside the image; the line's position."""
    line = Row(image, fixed, horizontal)
    position = start
    while 0 <= position < len(line) and line(position) == WHITE:
        position += step
    assert 0 <= position < len(line), "the border's line lies outside the view"
    assert line(position) == BLACK, f"not the border's black at {position}"
    while 0 <= position < len(line) and line(position) == BLACK:
        position += step
    assert 0 <= position < len(line), "the view ends on the border's line"
    assert line(position) == WHITE, f"no white beyond the border at {position}"
    return position


@pytest.fixture(scope="module", params=SCREENS, ids=lambda screen: f"{screen[0]}x{screen[1]}-{screen[2]}dpi")
def fitted(request, shots_dir):
    """The program started on a small screen at a high resolution."""
    width, height, dpi = request.param
    with private_desktop(PREFIX.parent / f"{PREFIX.name}-{dpi}", PROBE, width, height, dpi=dpi) as (screen, env, probe):
        run = Game(EXE, env, probe, screen, shots_dir, f"fit{width}x{height}-{dpi}dpi")
        try:
            run.focus()
            image = run.wait_picture(lambda i: BLACK in i.colours(0, i.height // 2, i.width, i.height // 2 + 1),
                                     what="the well drawn")
            run.screenshot("ready")
            yield run, (width, height), image
            run.post(run.frame, 0x0010)
            assert run.wait_exit() == 0
        finally:
            run.close()

def test_window_and_view_lie_on_the_screen(fitted):
    run, (width, height), image = fitted
    (left, top, right, bottom), _ = run.rect()
    assert left >= 0 and top >= 0 and right <= width and bottom <= height, \
        f"window {(left, top, right, bottom)} leaves the {width}x{height} screen"
    v_left, v_top, v_right, v_bottom = run.view_rect()
    assert (v_right - v_left, v_bottom - v_top) == (image.width, image.height)


def test_whole_well_and_its_border_lie_inside_the_view(fitted):
    _, _, image = fitted
    well = FoundWell(image)
    assert well.cell >= 12, f"cells of {well.cell} pixels"
    assert (well.left, well.top) == (4 * well.cell, 3 * well.cell), "the well's origin"
    assert (well.right - well.left, well.bottom - well.top) == (13 * well.cell, 20 * well.cell), \
        f"well {well.right - well.left}x{well.bottom - well.top} for cells of {well.cell}"
    assert image.colours(well.left, well.top, well.right, well.bottom) == {BLACK}
    middle_x, middle_y = (well.left + well.right) // 2, (well.top + well.bottom) // 2
    border_line_beyond(image, well.left - 1, -1, middle_y, True)
    border_line_beyond(image, well.right, 1, middle_y, True)
    border_line_beyond(image, well.top - 1, -1, middle_x, False)
    border_line_beyond(image, well.bottom, 1, middle_x, False)


def test_every_panel_line_stands_apart(fitted):
    _, _, image = fitted
    well = FoundWell(image)
    left = 19 * well.cell
    # Lines 0 to 11 (key help, speed, prompts) and 13 (score caption); line
    # 8, the pause prompt, is blank while the game waits to start.
    for index in [0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 13]:
        top, bottom = well.panel_line(index), well.panel_line(index + 1)
        rows = [y for y in range(top, bottom) if any(is_ink(c) for c in image.colours(left, y, image.width, y + 1))]
        assert rows, f"no text on line {index}"
        assert max(rows) < bottom - well.cell // 4, \
            f"line {index} reaches pixel row {max(rows)}, its row ends at {bottom}"
    # The texts end before the view does.
    assert not any(is_ink(c) for c in image.colours(image.width - 1, 0, image.width, image.height)), \
        "the panel's texts reach the view's right edge"
