"""Watching the game's picture: the falling shape's cells, whether it
falls, moves, turns or lands, and the pause shown by the panel's prompt and
a picture that stays still."""

import time

# Gravity steps at the default speed come every 370 ms; a picture that stays
# the same for three of them means the shape is not falling.
TICK = 0.37
STILL_FOR = 3 * TICK
FLOOR = 19
# The panel's line that reads "Press p to pause" while the game runs and
# "Press p to continue" while it is paused (view pixels at 96 DPI).
PAUSE_PROMPT = (456, 264, 456 + 250, 288)
# The line below it, "Press v to preview objects" or "... to disable preview".
PREVIEW_PROMPT = (456, 288, 456 + 250, 312)
SQUARE = frozenset({(0, 0), (1, 0), (0, 1), (1, 1)})


def falling_cells(image):
    return image.occupied_cells()


def shape_of(image):
    """The falling shape's cells; the well holds nothing else in these tests."""
    cells = falling_cells(image)
    return set(cells) if len(cells) == 4 else None


def pattern(cells):
    """The shape's form without its place."""
    min_column = min(c for c, _ in cells)
    min_row = min(r for _, r in cells)
    return frozenset((c - min_column, r - min_row) for c, r in cells)


def start(game, keysym="g", modifiers=()):
    game.key(keysym, modifiers)
    image = game.wait_picture(lambda i: shape_of(i) is not None, what="the first shape")
    return image


def wait_still(game, timeout=5 * STILL_FOR):
    """Polls until the view has not changed for STILL_FOR seconds."""
    deadline = time.monotonic() + timeout
    last = game.grab()
    since = time.monotonic()
    while time.monotonic() < deadline:
        image = game.grab()
        if image != last:
            last, since = image, time.monotonic()
        elif time.monotonic() - since >= STILL_FOR:
            return image
        time.sleep(0.05)
    raise AssertionError(f"the picture kept changing for {timeout:.1f} s")


def wait_falls(game, image):
    """Waits until the shape is lower than in `image`."""
    top = min(r for _, r in shape_of(image))
    return game.wait_picture(
        lambda i: shape_of(i) is not None and min(r for _, r in shape_of(i)) > top,
        what="the shape to fall")


def left_column(cells):
    return min(c for c, _ in cells)


def wait_changed(game, before, what):
    """The first picture whose shape is in other columns or of another form
    than `before`'s; a fall alone changes neither."""
    def changed(image):
        cells = shape_of(image)
        return cells is not None and (
            {c for c, _ in cells} != {c for c, _ in before} or pattern(cells) != pattern(before))
    return shape_of(game.wait_picture(changed, what=what))


def wait_moved(game, before, delta):
    """Waits for a sideways move of `before` by delta columns: the same
    form, its columns shifted."""
    after = wait_changed(game, before, f"the shape to move {delta:+d}")
    assert pattern(after) == pattern(before), f"a move changed the form: {sorted(before)} -> {sorted(after)}"
    assert left_column(after) == left_column(before) + delta, f"moved {sorted(before)} -> {sorted(after)}"
    return after


def wait_turned(game, before):
    """Waits for a turn of `before`: any form but the square takes another
    form; the square keeps its form and steps one column left."""
    after = wait_changed(game, before, "the shape to turn")
    if pattern(before) == SQUARE:
        assert pattern(after) == SQUARE and left_column(after) == left_column(before) - 1, \
            f"the square turned {sorted(before)} -> {sorted(after)}"
    else:
        assert pattern(after) != pattern(before), f"a turn kept the form: {sorted(after)}"
    return after


def wait_dropped(game, press):
    """Calls press() (the drop key) and waits for the shape on the floor. It
    must get there before gravity takes it more than two rows below where it
    was just before the key: one step may come between that picture and the
    key, one more in the gravity interval that follows it."""
    top = min(r for _, r in shape_of(game.grab()))
    press()

    def landed(image):
        cells = falling_cells(image)
        if any(r == FLOOR for _, r in cells):
            return image
        shape = shape_of(image)
        if shape is not None:
            assert min(r for _, r in shape) <= top + 2, \
                f"the shape fell from row {top} to {min(r for _, r in shape)} without reaching the floor"
        return None
    return game.wait_picture(landed, what="the shape on the floor")


def pause_prompt(image):
    return image.crop(*PAUSE_PROMPT)


def pause(game):
    """Presses p on a running game; waits until the panel's prompt changes
    and the picture stays still; returns the still picture."""
    running = pause_prompt(game.grab())
    game.key("p")
    game.wait_picture(lambda i: pause_prompt(i) != running, what="the pause prompt")
    return wait_still(game)
