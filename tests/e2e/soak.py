"""Soak: plays the real program under Wine for a number of minutes with
seeded random input as a person would give it (keys, the menu bar, the
context menu, the dialogs, minimise and restore), alternating long games
(base interval 400 ms) with runs of short ones (base interval 0, restarted
with g). Every 30 s it samples the program's resident memory, its window
count and its live GDI objects; at the end it says whether they stayed flat,
the longest answer to a WM_NULL ping and the program's exit code.

Run through scripts/soak.sh, which builds the program and the probe first.
"""

import argparse
import random
import statistics
import sys
import time

from game import SW_MINIMIZE, SW_RESTORE, WM_CLOSE, WM_COMMAND, Game, wait_for
from picture import WHITE
from wine import BUILD, PROBE_EXE, PROGRAM_EXE, private_desktop

EXE = PROGRAM_EXE
PROBE = PROBE_EXE
PREFIX = BUILD / "soak-prefix"
SHOTS = BUILD / "soak"

SAMPLE_EVERY = 30.0
WARM_UP = 1.0  # minutes
HANG = 2000  # ms: the probe gives up waiting for an answer after this
IDOK, IDCANCEL = 1, 2
MENU_FONT, MENU_OPTIONS, MENU_ABOUT = 1, 2, 3
IDC_GAME_SPEED = 1000
LONG_BASE, SHORT_BASE = "400", "0"

# The status panel's prompt lines: all blank once a game is over; the first
# line names the pause key while a game runs or is paused, the fourth the
# start key while the game waits for it.
PROMPTS = (456, 264, 830, 360)
PAUSE_LINE = (456, 264, 830, 288)
START_LINE = (456, 336, 830, 360)

# Keys of the game, weighted towards moving and dropping; q and Esc, which
# end the program, are kept for the end.
GAME_KEYS = (["Left", "Right", "KP_4", "KP_6", "4", "6"] * 4 + ["Up", "KP_8", "KP_5", "8", "5"] * 2
             + ["Down", "KP_2", "2"] * 2 + ["p", "i", "d", "v", "r", "g"])
OTHER_KEYS = ["a", "z", "x", "space", "Return", "Tab", "BackSpace", "F2", "Home", "KP_0"]
# The accelerator table's combinations: none of them has a handler.
ACCELERATORS = [("c", "Control_L"), ("v", "Control_L"), ("x", "Control_L"), ("z", "Control_L"),
                ("Insert", "Control_L"), ("Insert", "Shift_L"), ("Delete", "Shift_L"),
                ("F6", None), ("F6", "Shift_L")]


class Soak:
    def __init__(self, game, rng, minutes):
        self.game = game
        self.rng = rng
        self.minutes = minutes
        self.pid = None
        self.counts = dict.fromkeys(
            ["keys", "dialogs", "context menus", "minimised", "games over", "short games", "long games",
             "restarts refused", "stuck"], 0)
        self.pings = 0
        self.longest_ping = 0
        self.hangs = 0
        self.samples = []
        self.pause_edges = {}
        self.last_state = "Ready"

    # --- reading the program ----------------------------------------------------------

    def ping(self):
        ms = int(self.game.probe.ask(f"ping {self.game.frame}", timeout=HANG / 1000 + 5))
        self.pings += 1
        if ms < 0:
            self.hangs += 1
            ms = HANG
        self.longest_ping = max(self.longest_ping, ms)

    def resident_mb(self):
        # Wine runs the program in the process it was started as.
        with open(f"/proc/{self.game.process.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
        return 0.0

    def sample(self, started):
        probe = self.game.probe
        self.samples.append((
            (time.monotonic() - started) / 60,
            self.resident_mb(),
            int(probe.ask(f"windows {self.pid}")),
            int(probe.ask(f"gdi {self.pid}").split()[0]),
        ))
        minute, mb, windows, gdi = self.samples[-1]
        print(f"  {minute:5.1f} min  {mb:6.1f} MB  {windows:3d} windows  {gdi:4d} GDI objects"
              f"  ({self.counts['keys']} keys, {self.counts['dialogs']} dialogs,"
              f" {self.counts['games over']} games over)", flush=True)

    def state(self):
        """Over, Ready, Paused or Running, read from the prompt lines."""
        image = self.game.grab()
        if image.colours(*PROMPTS) == {WHITE}:
            return "Over"
        if image.colours(*PAUSE_LINE) == {WHITE}:
            return "Ready"
        if not self.pause_edges:
            return "Running"
        # "Press p to continue" reaches further right than "Press p to pause".
        edge = self.pause_edge(image)
        return min(self.pause_edges, key=lambda name: abs(self.pause_edges[name] - edge))

    def pause_edge(self, image=None):
        """The right end of the text on the pause prompt's line."""
        image = image or self.game.grab()
        left, top, right, bottom = PAUSE_LINE
        return max((x for x in range(left, right) if image.colours(x, top, x + 1, bottom) != {WHITE}),
                   default=0)

    # --- acting ------------------------------------------------------------------------------

    def key(self, keysym, modifier=None):
        self.game.key(keysym, (modifier,) if modifier else ())
        self.counts["keys"] += 1

    def type(self, text):
        for char in text:
            self.key({"-": "minus"}.get(char, char))

    def keys(self, choices, count):
        for _ in range(count):
            self.key(self.rng.choice(choices))
            time.sleep(self.rng.uniform(0, 0.06))

    def wait_closed(self):
        self.game.wait_no_dialog()
        wait_for(lambda: self.game.state()["enabled"], 5, "the main window enabled again")
        # Without a window manager the first click after a dialog brings the
        # main window back, as it would for a person.
        self.game.focus()

    def open_dialog(self, action):
        action()
        dialog = self.game.wait_dialog()
        # Keys typed before the dialog is active would go to the game.
        wait_for(lambda: self.game.state(dialog)["foreground"], 5, "the dialog to be active")
        self.counts["dialogs"] += 1
        return dialog

    def from_menu_bar(self, item):
        return lambda: self.game.click_menu_bar(item)

    def from_context_menu(self, index):
        def open_menu():
            left, top, right, bottom = self.game.view_rect()
            self.game.x.click(self.rng.randrange(left + 10, right - 10),
                              self.rng.randrange(top + 70, bottom - 10), button=3)
            self.counts["context menus"] += 1
            self.game.click_popup_item(index, 2)
        return open_menu

    def set_base(self, value):
        """Types the base interval into the parameter dialog; a running game
        takes it when its timer starts again, after p twice."""
        self.open_dialog(self.from_menu_bar(MENU_OPTIONS))
        self.type(value)
        self.key("Return")
        self.wait_closed()
        if self.state() == "Running":
            self.key("p")
            self.key("p")

    def some_dialog(self, base):
        dialog = self.open_dialog(self.rng.choice([
            self.from_menu_bar(MENU_FONT), self.from_menu_bar(MENU_OPTIONS), self.from_menu_bar(MENU_ABOUT),
            self.from_context_menu(0), self.from_context_menu(1)]))
        time.sleep(self.rng.uniform(0, 1.0))
        button = self.rng.choice([IDOK, IDCANCEL])
        if self.game.text(dialog) == "遊戲參數設定":
            if self.rng.random() < 0.5:
                # A word or an interval out of range: the check's message box.
                self.type(self.rng.choice(["abc", "5000", "-1"]))
                self.key("Return")
                box = wait_for(lambda: [h for h in self.game.dialogs() if h != dialog], 5,
                               "the message box")[0]
                self.counts["dialogs"] += 1
                self.game.post(box, WM_COMMAND, IDOK)
                wait_for(lambda: self.game.dialogs() == [dialog], 5, "the message box to close")
                button = IDCANCEL
            elif button == IDOK:
                self.type(base)
        self.game.post(dialog, WM_COMMAND, button)
        self.wait_closed()

    def minimise(self):
        self.game.show(SW_MINIMIZE)
        wait_for(lambda: self.game.state()["iconic"], 5, "the window minimised")
        time.sleep(self.rng.uniform(0, 1.0))
        self.game.show(SW_RESTORE)
        wait_for(lambda: not self.game.state()["iconic"], 5, "the window restored")
        self.game.focus()
        self.counts["minimised"] += 1

    def learn_pause_prompts(self):
        """The right edges of both pause prompts, to tell Running from Paused."""
        self.key("g")
        wait_for(lambda: self.state() == "Running", 10, "the first game to start")
        running = self.pause_edge()
        self.key("p")
        wait_for(lambda: self.pause_edge() != running, 5, "the pause prompt")
        self.pause_edges = {"Running": running, "Paused": self.pause_edge()}
        self.key("p")

    def keep_playing(self, short):
        """Starts a new game after one ended and resumes a paused short game."""
        state = self.state()
        if state == "Over":
            if self.last_state != "Over":
                self.counts["games over"] += 1
                self.counts["short games" if short else "long games"] += 1
            self.key("g")
            try:
                wait_for(lambda: self.state() != "Over", 3, "a new game")
                state = "Running"
            except AssertionError:
                self.counts["restarts refused"] += 1
        elif state == "Ready" or (state == "Paused" and short):
            self.key("g")
        self.last_state = state

    # --- the run ---------------------------------------------------------------------------

    def run(self):
        self.pid = self.game.probe.numbers(f"state {self.game.frame}")[4]
        started = time.monotonic()
        deadline = started + self.minutes * 60
        next_sample = started
        print("Samples:", flush=True)
        self.learn_pause_prompts()
        short = False
        next_switch = started
        while time.monotonic() < deadline:
            now = time.monotonic()
            if now >= next_sample:
                self.sample(started)
                next_sample += SAMPLE_EVERY
            if now >= next_switch:
                short = not short
                self.set_base(SHORT_BASE if short else LONG_BASE)
                next_switch = now + self.rng.uniform(90, 180)
            base = SHORT_BASE if short else LONG_BASE
            action = self.rng.choices(["keys", "other", "accelerator", "num lock", "dialog", "minimise"],
                                      weights=[70, 6, 4, 3, 12, 5])[0]
            try:
                self.act(action, base)
                self.ping()
                self.keep_playing(short)
            except AssertionError as error:
                self.recover(error)
        self.sample(started)

    def act(self, action, base):
        if action == "keys":
            self.keys(GAME_KEYS, self.rng.randint(1, 15))
        elif action == "other":
            self.keys(OTHER_KEYS, self.rng.randint(1, 3))
        elif action == "accelerator":
            self.key(*self.rng.choice(ACCELERATORS))
        elif action == "num lock":
            self.key("Num_Lock")
        elif action == "dialog":
            self.some_dialog(base)
        else:
            self.minimise()

    def recover(self, error):
        """An action whose outcome did not show: noted with a screenshot,
        then whatever it left open is closed and play goes on."""
        self.counts["stuck"] += 1
        shot = self.game.screenshot("stuck")
        print(f"  stuck: {error} ({shot.name})", flush=True)
        if self.game.process.poll() is not None:
            raise error
        for dialog in self.game.dialogs():
            self.game.post(dialog, WM_COMMAND, IDCANCEL)
        if self.game.state()["iconic"]:
            self.game.show(SW_RESTORE)
        self.game.focus()

    def finish(self):
        """Ends the program as a person would, with q, and returns its exit code."""
        for dialog in self.game.dialogs():
            self.game.post(dialog, WM_COMMAND, IDCANCEL)
        self.game.wait_no_dialog()
        self.game.focus()
        self.key("q")
        try:
            return self.game.wait_exit(timeout=10)
        except AssertionError:
            self.game.post(self.game.frame, WM_CLOSE)
            return self.game.wait_exit(timeout=10)


def flat(values, slack):
    """No growth from the first third of the samples to the last beyond the slack."""
    third = max(len(values) // 3, 1)
    return statistics.mean(values[-third:]) - statistics.mean(values[:third]) <= slack


def report(soak, seed, exit_code):
    c = soak.counts
    print(f"Soak of {soak.minutes:g} min, seed {seed}: {c['games over']} games over"
          f" ({c['short games']} short, {c['long games']} long),"
          f" {c['keys']} keys, {c['dialogs']} dialogs and message boxes,"
          f" {c['context menus']} context menus, {c['minimised']} minimise and restore")
    if c["restarts refused"]:
        print(f"g after game over did nothing {c['restarts refused']} times of {c['games over']}")
    if c["stuck"]:
        print(f"{c['stuck']} actions did not show their outcome (screenshots in {SHOTS})")
    ok = True
    # The first minute, while the program paints and loads its fonts, is
    # left out of the judgement.
    settled = [s for s in soak.samples if s[0] >= WARM_UP] or soak.samples
    series = list(zip(*settled))
    for name, values, slack in [("Resident memory (MB)", series[1], max(2.0, 0.05 * series[1][0])),
                                ("Windows", series[2], 1),
                                ("GDI objects", series[3], max(5, 0.05 * series[3][0]))]:
        steady = flat(list(values), slack)
        ok = ok and steady
        print(f"{name} after the first minute: {min(values):.1f} to {max(values):.1f},"
              f" last {values[-1]:.1f}: {'flat' if steady else 'GROWING'}")
    print(f"Longest answer to WM_NULL: {soak.longest_ping} ms over {soak.pings} pings;"
          f" {soak.hangs} without an answer in {HANG // 1000} s")
    print(f"Exit code {exit_code}")
    return ok and soak.hangs == 0 and exit_code == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("minutes", type=float)
    parser.add_argument("--seed", type=int, default=None, help="random seed (default: from the clock)")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else int(time.time()) % 100000
    print(f"Seed {seed} (scripts/soak.sh {args.minutes:g} {seed} repeats the input)", flush=True)
    rng = random.Random(seed)

    SHOTS.mkdir(parents=True, exist_ok=True)
    with private_desktop(PREFIX, PROBE) as (xserver, env, probe):
        game = Game(EXE, env, probe, xserver, SHOTS, "soak")
        try:
            game.focus()
            soak = Soak(game, rng, args.minutes)
            try:
                soak.run()
            finally:
                game.screenshot("end")
            exit_code = soak.finish()
        finally:
            game.close()
    return 0 if report(soak, seed, exit_code) else 1


if __name__ == "__main__":
    sys.exit(main())
