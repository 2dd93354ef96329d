"""A game that ends because a shape no longer fits: the window stays open,
the prompts go blank, q still ends the program with code 0, and g starts a
new game on an empty well."""

from picture import WHITE
from watch import STILL_FOR, shape_of, start, wait_falls, wait_still

PROMPTS = (456, 264, 830, 360)
# A shape enters the well over rows 0 to 3: the game ends when one of those
# rows is taken where the new shape would stand, whichever shapes came.
SPAWN_ROWS = range(4)


def play_until_over(game):
    """Drops every shape at once: they pile up in the middle of the well
    until a new one does not fit; then the gravity timer stops and the
    picture stays still. Returns that picture."""
    start(game)
    for _ in range(40):
        game.key("Down")
        try:
            return wait_still(game, timeout=STILL_FOR + 0.5)
        except AssertionError:
            continue  # a new shape is falling
    raise AssertionError("the game did not end")


def test_game_over_leaves_the_window_open(game):
    over = play_until_over(game)
    game.screenshot("over")
    assert over.colours(*PROMPTS) == {WHITE}, "prompts are not blank when the game is over"
    settled_rows = {row for _, row in over.occupied_cells()}
    assert min(settled_rows) in SPAWN_ROWS, f"the pile does not reach the top: rows {sorted(settled_rows)}"
    assert game.main_windows() == [game.frame]
    game.key("q")
    assert game.wait_exit() == 0


def test_g_after_game_over_starts_a_new_game(game):
    play_until_over(game)
    game.key("g")
    again = game.wait_picture(lambda i: shape_of(i) is not None, what="a new game with one shape")
    game.screenshot("again")
    assert {row for _, row in shape_of(again)} <= set(SPAWN_ROWS), "the new shape does not start at the top"
    assert again.colours(*PROMPTS) != {WHITE}, "the running game shows no prompts"
    wait_falls(game, again)
