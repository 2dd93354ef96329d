"""Watching the game's picture: the falling shape's cells, whether it
falls, and a picture that stays still."""

import time

# Gravity steps at the default speed come every 370 ms; a picture that stays
# the same for three of them means the shape is not falling.
TICK = 0.37
STILL_FOR = 3 * TICK


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
