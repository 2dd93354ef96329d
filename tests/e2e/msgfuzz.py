"""Message fuzzer: sends the real program, under Wine with heap checking and
a crash ending the process, a seeded random mix of window messages from
another process for a number of minutes, in runs of a few hundred steps:

- the game's keys with their scan codes, in every state, and bursts of
  drops that reach game over;
- WM_COMMAND with the program's real command ids and random ones;
- WM_TIMER with the gravity timer's id and random ones;
- mouse messages (a right click opens the context menu);
- window-state and broadcast messages: WM_SIZE, WM_ACTIVATE, focus,
  WM_SYSCOMMAND minimise, restore and key menu, WM_SETTINGCHANGE,
  WM_DISPLAYCHANGE, WM_THEMECHANGED, WM_SYSCOLORCHANGE, WM_FONTCHANGE,
  WM_CANCELMODE;
- random message numbers whose parameters are plain numbers.

It never sends a message whose parameter is a pointer or a memory handle:
a random address proves nothing. Left out for that reason: WM_CREATE,
WM_NCCREATE, WM_SETTEXT, WM_GETTEXT, WM_GETMINMAXINFO, WM_NCCALCSIZE,
WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_STYLECHANGING,
WM_STYLECHANGED, WM_DRAWITEM, WM_MEASUREITEM, WM_DELETEITEM,
WM_COMPAREITEM, WM_COPYDATA, WM_NOTIFY, WM_HELP, WM_DPICHANGED (under
Wine 8 it arrives with the sender's raw address), WM_WININICHANGE and
WM_DEVMODECHANGE with a string, WM_SETFONT, WM_SETICON, WM_GETICON,
WM_PRINT, WM_PRINTCLIENT, WM_ERASEBKGND, WM_CTLCOLOR*, WM_NCPAINT,
WM_MDI*, WM_DROPFILES, WM_INPUT, WM_GETOBJECT, WM_SETTINGCHANGE with a
string (sent here with 0); WM_TIMER goes with a zero lParam (no timer
procedure). WM_DESTROY, WM_NCDESTROY and WM_QUIT are left out too: they
tear the window down behind its back rather than ask.

Dialogs that open are answered: the parameter dialog with hostile entries
(-1, 0, 99999999999, letters, empty, 5,000 characters, random Unicode with
combining marks, right-to-left runs and controls and unassigned code
points), the font dialog with Cancel or OK and odd sizes (the same Unicode
among them), message boxes with OK. While a dialog or a menu is open, now
and then a close is requested (WM_CLOSE or SC_CLOSE, sometimes followed by
another dialog asked for), another dialog is asked for, the display or
the settings change, or a move or size of the window starts. After every
step: the process is alive, answers WM_NULL within 2 s, shows no invariant
box and leaves no popup menu on screen without a menu loop; at each run's
end WM_CLOSE ends it with code 0. An exception that Wine drops after a
window procedure raised it ends the run as a fault: the program's frames it
unwound had no cleanup. A crash (an access violation, or Wine's debugger
taking a report), or such a dropped exception, within a few actions after
text with a right-to-left combining mark was typed is Wine's own text
shaping fault, counted apart.
Every 500 steps it samples GDI objects and memory. A faulty run's steps
are written to build/msgfuzz/fault-<run>.log, which --replay plays again,
and its error output is kept in run<run>.err.

Run through scripts/msgfuzz.sh, which builds the program and the probe.
"""

import argparse
import json
import random
import re
import subprocess
import sys
import time

from game import WM_CLOSE, WM_COMMAND, WM_SYSCOMMAND, Game, wait_for
from wine import BUILD, PROBE_EXE, PROGRAM_EXE, ProbeError, private_desktop

PREFIX = BUILD / "msgfuzz-prefix"
OUT = BUILD / "msgfuzz"
SAMPLE_EVERY = 500
RUN_STEPS = (200, 800)

WM_NULL, WM_SIZE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS = 0x0000, 0x0005, 0x0006, 0x0007, 0x0008
WM_SETTINGCHANGE, WM_FONTCHANGE, WM_CANCELMODE, WM_SYSCOLORCHANGE = 0x001A, 0x001D, 0x001F, 0x0015
WM_DISPLAYCHANGE, WM_THEMECHANGED, WM_KEYDOWN, WM_KEYUP, WM_CHAR = 0x007E, 0x031A, 0x0100, 0x0101, 0x0102
WM_TIMER, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP = 0x0113, 0x0200, 0x0201, 0x0202
WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEWHEEL, WM_CONTEXTMENU = 0x0204, 0x0205, 0x020A, 0x007B
SC_MINIMIZE, SC_RESTORE, SC_KEYMENU, SC_CLOSE = 0xF020, 0xF120, 0xF100, 0xF060
SC_SIZE, SC_MOVE, SC_MOUSEMENU = 0xF000, 0xF010, 0xF090
WM_NCLBUTTONDOWN, HTCAPTION, HTSYSMENU, HTBOTTOMRIGHT = 0x00A1, 2, 3, 17
IDOK, IDCANCEL = 1, 2
SPI_SETWORKAREA, SPI_SETNONCLIENTMETRICS = 0x002F, 0x002A
VK_ESCAPE = 0x1B

GRAVITY_TIMER = 2001
COMMANDS = [57665, 32773, 32774, 57664]  # exit, font, parameters, about
IDC_GAME_SPEED = 1000
FONT_FACE, FONT_SIZE = 0x470, 0x472
MESSAGE_TEXT = 0xFFFF

# (virtual key, scan code) of the game's keys; q and Esc end the program in
# some states, which ends a run early (and must end it with code 0).
GAME_KEYS = [(0x25, 0x4B), (0x27, 0x4D), (0x26, 0x48), (0x28, 0x50), (0x64, 0x4B), (0x66, 0x4D),
             (0x68, 0x48), (0x65, 0x4C), (0x62, 0x50), (0x34, 0x05), (0x36, 0x07), (0x38, 0x09),
             (0x35, 0x06), (0x47, 0x22), (0x50, 0x19), (0x49, 0x17), (0x44, 0x20), (0x56, 0x2F),
             (0x52, 0x13)]
QUIT_KEYS = [(0x51, 0x10), (VK_ESCAPE, 0x01)]
START, DROP = (0x47, 0x22), (0x28, 0x50)

# System messages whose parameters are plain numbers, for the random mix.
# Besides these, private numbers (WM_USER and WM_APP ranges, registered
# ones) are drawn at random.
PLAIN = [0x0003, 0x0005, 0x0006, 0x0007, 0x0008, 0x000A, 0x000B, 0x0010, 0x0011, 0x0013, 0x0015,
         0x0016, 0x0018, 0x001C, 0x001D, 0x001F, 0x0020, 0x0021, 0x0022, 0x0031, 0x0037, 0x0050,
         0x0051, 0x007E, 0x0084, 0x0088, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x0100, 0x0101, 0x0102,
         0x0103, 0x0104, 0x0105, 0x0106, 0x0109, 0x0112, 0x0200, 0x0201, 0x0202, 0x0203, 0x0204,
         0x0205, 0x0206, 0x0207, 0x0208, 0x020A, 0x020B, 0x020E, 0x0211, 0x0212, 0x0231, 0x0232,
         0x02A1, 0x02A3, 0x031A, 0x0400, 0x0401, 0x8001, 0x8002, 0x8003]

# Text no number box expects: combining marks (also one that opens a run of
# its own script), right-to-left runs and controls, unassigned code points.
HOSTILE_UNICODE = ["\u74f4\u9601\u9dcd\u8e9a\u05b0\u06e6\u4f6d", "\u05b0", "1\u0301\u0302", "\u202e123",
                   "\u0661\u0662\u0663", "\u05e9\u05b8\u05dc", "\u0378\u0379\u0380", "\U000E01EF4"]
HOSTILE_ENTRIES = ["-1", "0", "99999999999", "abc", "", "9" * 5000, "-99999999999", "1e3", " 42 ",
                   "0x10"] + HOSTILE_UNICODE
ODD_SIZES = ["-99999999999", "0", "-1", "99999999999", "abc", "", "7.5", "1638", "9" * 300] + HOSTILE_UNICODE


class Fault(Exception):
    pass


class WineShapingFault(Fault):
    """Wine 8's own text shaping reads out of bounds when an edit box holds
    a combining mark of a right-to-left script that opens a run of its own
    (U+05B0 after Chinese characters, say): an access violation inside
    gdi32.dll. Windows shapes the same text; it is counted apart."""


ACCESS_VIOLATION = 0xC0000005
RTL_MARKS = re.compile("[\u0591-\u05c7\u0610-\u061a\u064b-\u065f\u0670\u06d6-\u06ed]")


def crashed(game):
    """An unhandled exception: the process ended with an access violation,
    or Wine's debugger is taking its report (the process then stops
    answering, and the debugger's box has no text a message box has)."""
    return (game.process.poll() == ACCESS_VIOLATION or
            subprocess.run(["pgrep", "-f", "winedbg"], stdout=subprocess.DEVNULL).returncode == 0)


# Wine writes this when a window procedure called back from the system
# raised an exception, which it then drops. The frames between, the
# program's own among them, are gone without their cleanup (a dialog's loop,
# say, while its window stays), so nothing after it says anything.
DROP_REPORT = "KiUserCallbackDispatcher ignoring exception"
DROPPED = "Wine dropped an exception raised in a window procedure"


def wine_shaping_fault(game, run):
    """A crash, or an exception Wine dropped, within a few actions after
    text with such a mark was typed."""
    end = len(run.log) if run.dropped_at is None else run.dropped_at
    recent = [a["text"] for a in run.log[max(0, end - 12):end] if a["do"] == "settext"]
    return (crashed(game) or run.dropped_at is not None) and any(RTL_MARKS.search(text) for text in recent)


class Run:
    """One start of the program and the steps sent to it."""

    def __init__(self, game, rng, steps, errors):
        self.game = game
        # The program's error output, with Wine's exception reports, and
        # the number of actions sent when the first dropped one showed.
        self.errors = errors
        self.dropped_at = None
        self.rng = rng
        self.steps = steps
        self.log = []
        self.ended_early = False

    def send(self, hwnd_name, message, wparam=0, lparam=0, how="post"):
        self.act({"do": how, "to": hwnd_name, "msg": message, "w": wparam, "l": lparam})

    def act(self, action):
        self.log.append(action)
        perform(self.game, action)
        self.exception_dropped()

    def exception_dropped(self):
        """Whether Wine has dropped an exception in this run; the first time
        it shows, notes how many actions had been sent."""
        if self.dropped_at is None and DROP_REPORT in self.errors.read_text(errors="replace"):
            self.dropped_at = len(self.log)
        return self.dropped_at is not None


def window(game, name):
    return game.frame if name == "frame" else game.view


def dialog_kind(game, dialog):
    """What an open dialog is, by the controls it has."""
    try:
        for kind, control in (("message", MESSAGE_TEXT), ("parameters", IDC_GAME_SPEED), ("font", FONT_FACE)):
            if int(game.probe.ask(f"child {dialog} {control}")):
                return kind
    except ProbeError:
        return None  # closed meanwhile
    return "other"


def find_dialog(game, kind):
    return next((d for d in game.dialogs() if dialog_kind(game, d) == kind), None)


def perform(game, action):
    """Carries out one logged action; a window gone by then is no fault."""
    kind = action["do"]
    try:
        if kind in ("post", "send"):
            try:
                game.probe.ask(f"{kind} {window(game, action['to'])} {action['msg']} {action['w']} {action['l']}")
            except ProbeError as refused:
                # The system posts no message it counts as taking a pointer.
                if "PostMessage failed" not in str(refused):
                    raise
        elif kind in ("settext", "answer"):
            # Dialogs are named by kind: their handles differ from run to run.
            try:
                dialog = wait_for(lambda: find_dialog(game, action["kind"]), 2, f"the {action['kind']} dialog")
            except AssertionError:
                return  # closed by an earlier message
            try:
                if kind == "settext":
                    game.probe.ask(f"settext {dialog} {action['id']} {action['text']}")
                else:
                    game.probe.ask(f"post {dialog} {WM_COMMAND} {action['button']} 0")
            except ProbeError:
                # A dialog on its way out takes no text; it is answered next.
                if kind == "answer" and game.state(dialog)["exists"]:
                    raise
    except ProbeError:
        if game.process.poll() is None and game.state()["exists"]:
            raise


def key_lparam(scan, up=False):
    return 1 | (scan << 16) | ((0xC0000000) if up else 0)


def random_step(run):
    rng, game = run.rng, run.game
    left, top, right, bottom = game.view_rect()
    width, height = right - left, bottom - top
    kind = rng.choices(["key", "burst", "command", "timer", "mouse", "state", "random", "quit key"],
                       weights=[40, 3, 8, 10, 10, 12, 16, 0.3])[0]
    if kind in ("key", "quit key"):
        vk, scan = rng.choice(GAME_KEYS if kind == "key" else QUIT_KEYS)
        run.send("view", WM_KEYDOWN, vk, key_lparam(scan))
        if rng.random() < 0.5:
            run.send("view", WM_KEYUP, vk, key_lparam(scan, up=True))
    elif kind == "burst":
        # Start, then drop shapes until the well fills: game over.
        run.send("view", WM_KEYDOWN, START[0], key_lparam(START[1]))
        for _ in range(rng.randint(10, 40)):
            run.send("view", WM_KEYDOWN, DROP[0], key_lparam(DROP[1]))
            run.send("view", WM_TIMER, GRAVITY_TIMER, 0)
    elif kind == "command":
        command = rng.choice(COMMANDS[1:] * 6 + [COMMANDS[0]] + [rng.randrange(0x10000)] * 4)
        run.send(rng.choice(["frame", "view"]), WM_COMMAND, command, 0)
    elif kind == "timer":
        run.send("view", WM_TIMER, rng.choice([GRAVITY_TIMER] * 3 + [rng.randrange(1 << 31)]), 0)
    elif kind == "mouse":
        x, y = rng.randrange(max(width, 1)), rng.randrange(max(height, 1))
        message = rng.choice([WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
                              WM_MOUSEWHEEL, WM_CONTEXTMENU])
        if message == WM_CONTEXTMENU:
            run.send("view", message, game.view, ((top + y) << 16) | (left + x))
        else:
            run.send("view", message, rng.choice([0, 1, 2, 0x780000]), (y << 16) | x)
    elif kind == "state":
        message, wparam, lparam = rng.choice([
            (WM_SIZE, rng.choice([0, 1, 2]), (rng.randrange(2000) << 16) | rng.randrange(2000)),
            (WM_ACTIVATE, rng.choice([0, 1, 2, 0x10001]), 0),
            (WM_SETFOCUS, 0, 0), (WM_KILLFOCUS, 0, 0),
            (WM_SYSCOMMAND, SC_MINIMIZE, 0), (WM_SYSCOMMAND, SC_RESTORE, 0),
            (WM_SYSCOMMAND, SC_KEYMENU, rng.choice([0, 0x20, ord("f")])),
            (WM_SYSCOMMAND, rng.choice([SC_MOVE, SC_SIZE, SC_MOUSEMENU]), 0),
            (WM_NCLBUTTONDOWN, rng.choice([HTCAPTION, HTSYSMENU, HTBOTTOMRIGHT]), 0),
            (WM_DISPLAYCHANGE, 32, (1080 << 16) | 1920),
            (WM_THEMECHANGED, 0, 0), (WM_SYSCOLORCHANGE, 0, 0), (WM_FONTCHANGE, 0, 0), (WM_CANCELMODE, 0, 0),
        ])
        run.send(rng.choice(["frame", "view"]), message, wparam, lparam)
        if rng.random() < 0.2:
            # Sent, not posted: the system refuses to post it.
            run.send("frame", WM_SETTINGCHANGE, rng.randrange(0x100), 0, how="send")
    else:
        message = rng.choice(PLAIN + [rng.randrange(0x400, 0x8000), rng.randrange(0x8000, 0xC000)])
        run.send(rng.choice(["frame", "view"]), message, rng.randrange(1 << 32), rng.randrange(1 << 31))
    return kind


def random_unicode(rng):
    ranges = [(0x20, 0xD800), (0xE000, 0xFFFE), (0x0300, 0x0370), (0x0591, 0x05C8), (0x05D0, 0x05EB),
              (0x0610, 0x06FF), (0x202A, 0x202F), (0x0378, 0x0380), (0x10000, 0x10FFFE)]
    return "".join(chr(rng.randrange(*rng.choice(ranges))) for _ in range(rng.randint(1, 40))).replace("\n", " ")


def message_box_text(game, box):
    """A box's text and caption; one caught while it is being made has none
    yet, so an empty text is read again for a while."""
    deadline = time.monotonic() + 2
    while True:
        text, caption = game.text(box, MESSAGE_TEXT), game.text(box)
        if text.strip() or time.monotonic() > deadline:
            return text, caption
        time.sleep(0.05)


def check_popups_have_a_loop(game):
    """A popup menu on screen while the thread runs no menu loop is left
    behind: nothing ever hides it, and a close waits for it."""
    try:
        wait_for(lambda: not game.popup_menus() or game.probe.ask(f"menumode {game.frame}") == "1", 2,
                 "the popup menu's loop or its end")
    except AssertionError:
        raise Fault("a popup menu stays on screen without a menu loop") from None


def disturb(run):
    """While a dialog or a menu is open: a close request, another dialog
    asked for, a change of the display or of the settings, a move or size."""
    rng = run.rng
    what = rng.choice(["close", "system close", "dialog", "display", "settings", "move"])
    if what == "close":
        run.send("frame", WM_CLOSE)
    elif what == "system close":
        run.send("frame", WM_SYSCOMMAND, SC_CLOSE)
    elif what == "dialog":
        run.send("frame", WM_COMMAND, rng.choice(COMMANDS[1:]))
    elif what == "display":
        run.send("frame", WM_DISPLAYCHANGE, 32, (rng.choice([768, 1080, 1440]) << 16) | rng.choice([1024, 1920]))
    elif what == "move":
        # A move or a size of the window, by the window menu or by a press
        # on the caption or a corner.
        if rng.random() < 0.5:
            run.send("frame", WM_SYSCOMMAND, rng.choice([SC_MOVE, SC_SIZE]))
        else:
            run.send("frame", WM_NCLBUTTONDOWN, rng.choice([HTCAPTION, HTBOTTOMRIGHT]))
    else:
        run.send("frame", WM_SETTINGCHANGE, rng.choice([0, SPI_SETWORKAREA, SPI_SETNONCLIENTMETRICS]), 0,
                 how="send")
    if what in ("close", "system close") and rng.random() < 0.5:
        # Another dialog asked for after the close.
        run.send("frame", WM_COMMAND, rng.choice(COMMANDS[1:]))


def answer_dialogs(run, counts):
    """Answers every open dialog; raises Fault on an invariant box."""
    game, rng = run.game, run.rng
    for _ in range(6):
        popups = game.popup_menus()
        in_menu = game.probe.ask(f"menumode {game.frame}") == "1"
        if popups and not in_menu:
            check_popups_have_a_loop(game)
        if (popups or in_menu) and rng.random() < 0.3:
            disturb(run)
            popups = game.popup_menus()
        if popups or game.probe.ask(f"menumode {game.frame}") == "1":
            run.send("view", WM_KEYDOWN, VK_ESCAPE, key_lparam(0x01))
            counts["menus closed"] += 1
        dialogs = game.dialogs()
        if dialogs and rng.random() < 0.3:
            disturb(run)
            dialogs = game.dialogs()
        if not dialogs and not popups:
            return
        # The last opened first: a message box before the dialog it belongs to.
        for dialog in reversed(dialogs):
            kind = dialog_kind(game, dialog)
            if kind is None:
                continue
            if kind == "message":
                try:
                    text, caption = message_box_text(game, dialog)
                except ProbeError:
                    continue  # closed meanwhile
                if "Invariant" in text:
                    raise Fault(f"an invariant box: {text}")
                if not text.strip():
                    raise Fault(f"a message box without text, captioned {caption}")
                run.act({"do": "answer", "kind": kind, "button": IDOK})
            elif kind == "parameters":
                entry = rng.choice(HOSTILE_ENTRIES + [random_unicode(rng), str(rng.randrange(-10, 2000))])
                run.act({"do": "settext", "kind": kind, "id": IDC_GAME_SPEED, "text": entry})
                run.act({"do": "answer", "kind": kind, "button": rng.choice([IDOK, IDCANCEL])})
            elif kind == "font":
                if rng.random() < 0.3:
                    run.act({"do": "settext", "kind": kind, "id": FONT_FACE,
                             "text": rng.choice(HOSTILE_UNICODE + [random_unicode(rng)])})
                if rng.random() < 0.7:
                    run.act({"do": "settext", "kind": kind, "id": FONT_SIZE, "text": rng.choice(ODD_SIZES)})
                run.act({"do": "answer", "kind": kind, "button": rng.choice([IDOK, IDCANCEL])})
            else:
                run.act({"do": "answer", "kind": kind, "button": IDOK})
            counts["dialogs answered"] += 1
            break
        time.sleep(0.05)


def frame_gone(game):
    """True once the main window has gone (a quit key, Exit, a close), after
    the process has ended too: a process that outlives its window is a fault."""
    frame, view = game.state()["exists"], game.state(game.view)["exists"]
    if frame and view:
        return False
    if frame:
        # The view goes first when the frame is destroyed: wait for that.
        time.sleep(0.5)
        if game.state()["exists"]:
            raise Fault("the view went, the main window stayed")
    try:
        game.wait_exit(timeout=10)
    except AssertionError:
        raise Fault("the process outlived its main window") from None
    return True


def check_alive(game):
    """True while the program runs and answers; False once it has ended
    through its main window's end (a quit key, Exit, a close)."""
    if game.process.poll() is not None:
        raise Fault(f"the program ended with code {game.process.returncode}")
    try:
        answered = int(game.probe.ask(f"ping {game.frame}", timeout=10)) >= 0
    except ProbeError:
        answered = False
    if answered:
        return True
    if frame_gone(game):
        return False
    raise Fault("no answer to WM_NULL within 2 s")


def sample(game, pid, step, samples):
    with open(f"/proc/{game.process.pid}/status") as status:
        rss = next((int(line.split()[1]) / 1024 for line in status if line.startswith("VmRSS:")), 0.0)
    gdi = int(game.probe.ask(f"gdi {pid}").split()[0])
    samples.append((step, gdi, rss))
    print(f"  step {step:6d}: {gdi:4d} GDI objects, {rss:6.1f} MB", flush=True)


def finish(game):
    """WM_CLOSE at the run's end; the exit code."""
    if game.process.poll() is None:
        for dialog in game.dialogs():
            game.post(dialog, WM_COMMAND, IDCANCEL)
        game.post(game.frame, WM_CLOSE)
    try:
        return game.wait_exit(timeout=15)
    except AssertionError:
        # What the thread is in, for the fault's report.
        state = "gone"
        if game.state()["exists"]:
            state = (f"flags, menu owner, move/size window, capture: {game.probe.ask(f'guithread {game.frame}')};"
                     f" popups {game.popup_menus()}; dialogs {game.dialogs()}")
        raise Fault(f"the program did not end within 15 s ({state})") from None


def play_run(env, probe, xserver, run_no, rng, counts, samples, total, replay=None):
    errors = OUT / f"run{run_no}.err"
    with open(errors, "w") as stderr:
        game = Game(PROGRAM_EXE, dict(env, WINEDEBUG="-all,err+seh"), probe, xserver, OUT, f"run{run_no}",
                    stderr=stderr)
    run = Run(game, rng, rng.randint(*RUN_STEPS) if replay is None else len(replay), errors)
    pid = probe.numbers(f"state {game.frame}")[4]
    try:
        try:
            for step in range(run.steps):
                if game.process.poll() is not None:
                    break
                try:
                    if replay is None:
                        random_step(run)
                        if not frame_gone(game):
                            answer_dialogs(run, counts)
                    else:
                        run.act(replay[step])
                        time.sleep(0.05)
                        if not frame_gone(game) and game.popup_menus():
                            check_popups_have_a_loop(game)
                except ProbeError:
                    # A window that went meanwhile, with the program after it, is
                    # an end of the run; anything else is a fault.
                    if not frame_gone(game):
                        raise
                if run.exception_dropped():
                    raise Fault(DROPPED)
                if frame_gone(game) or not check_alive(game):
                    break
                total[0] += 1
                if total[0] % SAMPLE_EVERY == 0:
                    sample(game, pid, total[0], samples)
            if game.process.poll() is not None:
                run.ended_early = True
                code = game.wait_exit()
            else:
                code = finish(game)
            if code != 0:
                raise Fault(f"the run ended with code {code:#x}")
        except (Fault, AssertionError, ProbeError) as fault:
            # A check in the same step may have seen the dropped exception's
            # aftermath first.
            if run.exception_dropped() and str(fault) != DROPPED:
                fault = f"{DROPPED}, then: {fault}"
            path = OUT / f"fault-{run_no}.log"
            path.write_text("\n".join(json.dumps(a) for a in run.log) + "\n")
            if game.process.poll() is None and game.state()["exists"]:
                game.screenshot("fault")
            kind = WineShapingFault if wine_shaping_fault(game, run) else Fault
            raise kind(f"run {run_no}: {fault}; its steps are in {path}") from None
    finally:
        game.close()
    errors.unlink()
    return run


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("minutes", type=float)
    parser.add_argument("--seed", type=int, default=None, help="random seed (default: from the clock)")
    parser.add_argument("--replay", help="a fault log to play again")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else int(time.time()) % 100000
    print(f"Seed {seed} (scripts/msgfuzz.sh {args.minutes:g} {seed} repeats the input)", flush=True)
    rng = random.Random(seed)
    OUT.mkdir(parents=True, exist_ok=True)
    counts = {"dialogs answered": 0, "menus closed": 0, "runs": 0, "ended by the game": 0}
    samples, total, faults, wine_faults = [], [0], [], []
    deadline = time.monotonic() + args.minutes * 60
    with private_desktop(PREFIX, PROBE_EXE) as (xserver, env, probe):
        if args.replay:
            replay = [json.loads(line) for line in open(args.replay) if line.strip()]
            try:
                play_run(env, probe, xserver, 0, rng, counts, samples, total, replay)
                print(f"Replayed {len(replay)} steps: no fault")
                return 0
            except WineShapingFault as fault:
                print(f"Replayed: Wine's shaping fault: {fault}")
                return 1
            except Fault as fault:
                print(f"Replayed: {fault}")
                return 1
        while time.monotonic() < deadline:
            counts["runs"] += 1
            try:
                run = play_run(env, probe, xserver, counts["runs"], rng, counts, samples, total)
                counts["ended by the game"] += run.ended_early
            except WineShapingFault as fault:
                wine_faults.append(str(fault))
                print(f"  WINE'S SHAPING FAULT {fault}", flush=True)
            except Fault as fault:
                faults.append(str(fault))
                print(f"  FAULT {fault}", flush=True)
    print(f"Message fuzzing, {args.minutes:g} min, seed {seed}: {total[0]} steps in {counts['runs']} runs"
          f" ({counts['ended by the game']} ended by the game's own quit), {counts['dialogs answered']}"
          f" dialogs answered, {counts['menus closed']} menus closed, {len(faults)} faults"
          f" (and {len(wine_faults)} of Wine's own text shaping)")
    if samples:
        first, last = samples[0], samples[-1]
        print(f"GDI objects: {first[1]} at step {first[0]}, {last[1]} at step {last[0]};"
              f" memory: {first[2]:.1f} MB at step {first[0]}, {last[2]:.1f} MB at step {last[0]}")
    for fault in faults:
        print(f"Fault: {fault}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
