"""A game that ends because a shape no longer fits: the window stays open,
the prompts go blank, and q still ends the program with code 0."""

from picture import WHITE
from watch import STILL_FOR, start, wait_still

PROMPTS = (456, 264, 830, 360)


def test_game_over_leaves_the_window_open(game):
    start(game)
    # Dropping every shape at once piles them up in the middle of the well
    # until a new one does not fit; then the gravity timer stops and the
    # picture stays still.
    over = None
    for _ in range(40):
        game.key("Down")
        try:
            over = wait_still(game, timeout=STILL_FOR + 0.5)
            break
        except AssertionError:
            continue  # a new shape is falling
    assert over is not None, "the game did not end"
    game.screenshot("over")
    assert over.colours(*PROMPTS) == {WHITE}, "prompts are not blank when the game is over"
    settled_rows = {row for _, row in over.occupied_cells()}
    assert min(settled_rows) <= 2, f"the pile does not reach the top: rows {sorted(settled_rows)}"
    assert game.main_windows() == [game.frame]
    game.key("q")
    assert game.wait_exit() == 0
