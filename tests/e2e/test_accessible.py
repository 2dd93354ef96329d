"""The game as a screen reader and a magnifier meet it, from another process
(the probe): the view's client object tells the state, the speed and the
score; each change raises one event, heard with the new text already in
place; untouched play raises none; and the hidden caret lies on the falling
shape and moves down with it. Reading many times leaves no GDI object
behind."""

from game import wait_for
from watch import start

VK_G, VK_P, VK_I = 0x47, 0x50, 0x49
ROLE_SYSTEM_CLIENT = 0x0A
STATE_SYSTEM_FOCUSED = 0x4
STATE_SYSTEM_FOCUSABLE = 0x100000
OBJID_CLIENT = -4
CHILDID_SELF = 0
# The well at 96 DPI, in view pixels.
WELL = (96, 72, 408, 552)
CELL = 24


def read(game):
    """(role, state, name, value, description) of the view's client object."""
    head, name, value, description = game.probe.ask(f"accread {game.view}").split("\t")
    role, state = (int(word) for word in head.split())
    return role, state, name, value, description


def heard(game, vk, ms):
    """The name and value changes heard while key vk (0: none) is pressed and
    for ms after: (kind, object, child, name read on hearing it) each."""
    answer = game.probe.ask(f"accevents {game.view} {vk} {ms}", timeout=ms / 1000 + 10)
    events = []
    for field in answer.split("\t")[1:]:
        kind, obj, child, name = field.split(" ", 3)
        events.append((kind, int(obj), int(child), name))
    return events


def caret(game):
    """(caret window, (l, t, r, b)) of the game's thread."""
    words = game.probe.numbers(f"caret {game.view}")
    return words[0], tuple(words[1:5])


def test_a_screen_reader_reads_state_speed_and_score(game):
    role, state, name, value, description = read(game)
    assert role == ROLE_SYSTEM_CLIENT
    assert state == STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED
    assert name == "Press g to start the game"
    assert value == "Current speed is 3; Current score is 0"
    assert description.startswith("Use numeric keypad to play:: / ← ( 4 ) : left")
    assert description.endswith("Press q or <ESC> to exit the program")

    assert heard(game, VK_G, 1500) == [("name", OBJID_CLIENT, CHILDID_SELF, "Press p to pause")]
    _, _, name, value, _ = read(game)
    assert (name, value) == ("Press p to pause", "Current speed is 3; Current score is 0")

    assert heard(game, VK_I, 1500) == [("value", OBJID_CLIENT, CHILDID_SELF, "Press p to pause")]
    assert read(game)[3] == "Current speed is 4; Current score is 0"
    assert heard(game, VK_P, 1500) == [("name", OBJID_CLIENT, CHILDID_SELF, "Press p to continue")]
    assert read(game)[2] == "Press p to continue"


def test_untouched_play_is_not_told(game):
    start(game)
    assert heard(game, 0, 3000) == [], "gravity steps raised events"


def test_the_caret_lies_on_the_falling_shape(game):
    start(game)
    window, (left, top, right, bottom) = caret(game)
    assert window == game.view
    assert WELL[0] <= left < right <= WELL[2] and WELL[1] <= top < bottom <= WELL[3], (left, top, right, bottom)
    assert (right - left) % CELL == 0 and (bottom - top) % CELL == 0
    lower = wait_for(lambda: caret(game)[1][1] > top and caret(game)[1], timeout=5, what="the caret to fall")
    assert lower[0] == left and lower[2] == right, "the caret moved sideways on its own"
    assert (lower[1] - top) % CELL == 0


def test_reads_from_outside_leave_nothing_behind(game):
    """Each read makes an object with its standard partner and marshals it
    to the probe; released, nothing of it stays."""
    pid = game.probe.numbers(f"state {game.frame}")[4]

    def gdi_objects():
        return int(game.probe.ask(f"gdi {pid}").split()[0])

    for _ in range(10):
        read(game)
    before = gdi_objects()
    for _ in range(60):
        assert read(game)[2] == "Press g to start the game"
    assert gdi_objects() == before
