"""Keys pressed as a person would, through the X server: starting, moving,
rotating and dropping the shape with the keypad (Num Lock on and off), the
arrows and the main-row digits, pausing, the preview and the speed keys."""

import pytest

from picture import BLACK, SHAPE_FILLS, WHITE, cell_rect
from watch import (FLOOR, PAUSE_PROMPT, PREVIEW_PROMPT, falling_cells, pause, pause_prompt,
                   shape_of, start, wait_dropped, wait_falls, wait_moved, wait_turned)

@pytest.mark.parametrize("keysym, modifiers, caps_lock", [
    ("g", (), False),
    ("g", ("Shift_L",), False),
    ("g", (), True),
    ("g", ("Shift_L",), True),
])
def test_g_starts_in_any_case(game, keysym, modifiers, caps_lock):
    game.x.set_lock("Caps_Lock", caps_lock)
    try:
        image = start(game, keysym, modifiers)
        game.screenshot("started")
        cells = falling_cells(image)
        fills = set(cells.values())
        assert len(fills) == 1 and fills <= set(SHAPE_FILLS), f"shape fills {fills}"
        # Every cell is outlined in white.
        for column, row in cells:
            left, top, right, bottom = cell_rect(column, row)
            assert image.pixel(left, top) == WHITE and image.pixel(right - 1, bottom - 1) == WHITE
        # It appears at the top, around column 6, and falls.
        assert min(r for _, r in cells) <= 1
        assert {c for c, _ in cells} <= {5, 6, 7}
        wait_falls(game, image)
    finally:
        game.x.set_lock("Caps_Lock", False)


MOVES = [
    # keysym, Num Lock, columns moved
    ("KP_4", True, -1),
    ("KP_4", False, -1),
    ("KP_6", True, +1),
    ("KP_6", False, +1),
    ("Left", False, -1),
    ("Right", False, +1),
    ("4", False, -1),
    ("6", False, +1),
]


@pytest.mark.parametrize("keysym, num_lock, delta", MOVES)
def test_keys_move_the_shape_sideways(game, keysym, num_lock, delta):
    game.x.set_lock("Num_Lock", num_lock)
    try:
        before = shape_of(start(game))
        game.key(keysym)
        wait_moved(game, before, delta)
    finally:
        game.x.set_lock("Num_Lock", False)


ROTATIONS = [
    ("KP_5", True), ("KP_5", False), ("KP_8", True), ("KP_8", False),
    ("Up", False), ("5", False), ("8", False),
]


@pytest.mark.parametrize("keysym, num_lock", ROTATIONS)
def test_keys_rotate_the_shape(game, keysym, num_lock):
    game.x.set_lock("Num_Lock", num_lock)
    try:
        before = shape_of(start(game))
        game.key(keysym)
        wait_turned(game, before)
    finally:
        game.x.set_lock("Num_Lock", False)


@pytest.mark.parametrize("keysym, num_lock", [("KP_2", True), ("KP_2", False), ("Down", False)])
def test_keys_drop_the_shape_to_the_floor(game, keysym, num_lock):
    game.x.set_lock("Num_Lock", num_lock)
    try:
        start(game)
        wait_dropped(game, lambda: game.key(keysym))
        game.screenshot("dropped")
    finally:
        game.x.set_lock("Num_Lock", False)


def test_keys_outside_the_table_do_nothing(game):
    image = start(game)
    before = shape_of(image)
    # Main-row 2 and the space bar are no game keys; p then pauses, and the
    # still picture must show the same shape in the same columns, only
    # lower by gravity and not dropped, and the panel as it was but the
    # pause prompt.
    for keysym in ["2", "space"]:
        game.key(keysym)
    still = pause(game)
    after = shape_of(still)
    assert after is not None, "the shape left the well"
    fall = min(r for _, r in after) - min(r for _, r in before)
    assert after == {(c, r + fall) for c, r in before}, f"{sorted(before)} -> {sorted(after)}"
    assert max(r for _, r in after) < FLOOR, "the shape was dropped"
    panel = (PAUSE_PROMPT[0], 0, image.width, image.height)
    above = (panel[0], 0, panel[2], PAUSE_PROMPT[1])
    below = (panel[0], PAUSE_PROMPT[3], panel[2], panel[3])
    for part in (above, below):
        assert still.crop(*part) == image.crop(*part), f"the panel changed in {part}"


def test_p_pauses_and_continues(game):
    image = start(game)
    running = pause_prompt(image)
    wait_falls(game, image)
    paused = pause(game)
    game.screenshot("paused")
    game.key("p")
    wait_falls(game, paused)
    assert pause_prompt(game.grab()) == running, "the prompt did not come back to pausing"


SPEED_NUMBER = (456 + 120, 192, 456 + 150, 216)


def speed_picture(image):
    return image.crop(*SPEED_NUMBER)


def after_speed_change(game, keysyms, marker):
    """Presses the keys, then the speed key `marker`, and returns the first
    picture that shows the new speed: every key before it has been handled
    and painted."""
    number = speed_picture(game.grab())
    for keysym, modifiers in keysyms:
        game.key(keysym, modifiers)
    game.key(marker)
    return game.wait_picture(lambda i: speed_picture(i) != number, what="the speed marker")


def preview_on(image):
    return bool(image.colours(0, 72, 72, 168) & set(SHAPE_FILLS))


def test_v_toggles_the_preview_and_ctrl_v_does_not(game):
    game.wait_picture(lambda i: i.pixel(93, 69) == BLACK, what="the board drawn")
    assert not preview_on(game.grab())
    cases = [
        # keys, preview afterwards
        ([("v", ())], True),
        ([("v", ("Control_L",))], True),
        ([("v", ())], False),
        ([("v", ("Control_L",))], False),
        ([("V", ("Shift_L",)), ("v", ("Control_L",))], True),
    ]
    for n, (keys, expected) in enumerate(cases):
        # Alternate markers keep the speed at 3 or 4.
        image = after_speed_change(game, keys, "i" if n % 2 == 0 else "d")
        assert preview_on(image) == expected, f"after {keys} the preview should be {expected}"
        if expected:
            assert image.colours(0, 72, 72, 168) <= set(SHAPE_FILLS) | {WHITE}
    game.screenshot("preview")


def test_i_and_d_change_the_speed_number(game):
    image = game.wait_picture(lambda i: i.pixel(93, 69) == BLACK, what="the board drawn")
    initial = speed_picture(image)

    def after(keysym, count=1):
        """Presses the key, then v as a marker, whose prompt changes only
        with the full repaint that also shows the speed."""
        prompt = game.grab().crop(*PREVIEW_PROMPT)
        for _ in range(count):
            game.key(keysym)
        game.key("v")
        shown = game.wait_picture(lambda i: i.crop(*PREVIEW_PROMPT) != prompt,
                                  what="the preview prompt to change")
        return speed_picture(shown)

    faster = after("i")
    assert faster != initial, "i did not change the speed number"
    assert after("d") == initial, "d did not bring the speed back"
    top = after("i", 7)
    assert after("i") == top, "the speed went past its highest level"
    bottom = after("d", 12)
    assert bottom not in (initial, top)
    assert after("d") == bottom, "the speed went below its lowest level"
