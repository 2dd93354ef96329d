"""One run of the real program: start it, find its windows, read its
picture, drive it as a person would and see how it ends."""

import subprocess
import tempfile
import time
from pathlib import Path

from picture import read_ppm
from wine import wine_command, windows_path

TITLE = "落磚樂"
VIEW_ID = 0xE900
WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060
SW_MINIMIZE = 6
SW_RESTORE = 9
MESSAGE_TEXT_ID = 0xFFFF  # the static text of a message box


def wait_for(condition, timeout=10.0, what="condition"):
    """Polls until condition() returns something true and returns it."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.02)


class Game:
    def __init__(self, exe, env, probe, xserver, shots_dir, name, stderr=None):
        """stderr: a file the program's error output goes to (by default
        it is dropped)."""
        self.probe = probe
        self.x = xserver
        self.shots_dir = Path(shots_dir)
        self.name = name
        self.shot_count = 0
        # The dialogs the test waited for; any other box open at the end is a
        # fault it did not expect (an invariant box, an error message).
        self.opened = set()
        self._grab_dir = tempfile.TemporaryDirectory(prefix="brikfall-e2e-")
        self.process = subprocess.Popen([wine_command(), str(exe)], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL if stderr is None else stderr)
        self.frame = wait_for(self._find_frame, timeout=30, what="the main window")
        self.view = int(self.probe.ask(f"child {self.frame} {VIEW_ID}"))
        if not self.view:
            raise AssertionError("the main window has no view with id 0xE900")

    def _find_frame(self):
        if self.process.poll() is not None:
            raise AssertionError(f"the program ended early with code {self.process.returncode}")
        words = self.probe.numbers(f"find {TITLE}")
        return words[1] if words[0] >= 1 else None

    # --- reading ----------------------------------------------------------------

    def main_windows(self):
        words = self.probe.numbers(f"find {TITLE}")
        return words[1::2]

    def rect(self):
        """Window and client rectangles in screen pixels, each (l, t, r, b)."""
        n = self.probe.numbers(f"rect {self.frame}")
        return tuple(n[0:4]), tuple(n[4:8])

    def view_rect(self):
        return tuple(self.probe.numbers(f"rect {self.view}")[4:8])

    def state(self, hwnd=None):
        exists, visible, iconic, enabled, _, foreground = self.probe.numbers(
            f"state {hwnd or self.frame}")
        return {"exists": exists, "visible": visible, "iconic": iconic, "enabled": enabled,
                "foreground": foreground}

    def grab(self):
        """The view's client area, exact pixels."""
        path = Path(self._grab_dir.name) / "view.ppm"
        self.probe.ask(f"grab {self.view} {windows_path(path)}")
        return read_ppm(path)

    def wait_picture(self, condition, timeout=10.0, what="picture"):
        """Polls the view until condition(image) holds; returns that image."""
        def check():
            image = self.grab()
            return image if condition(image) else None
        return wait_for(check, timeout, what)

    def dialogs(self):
        words = self.probe.numbers("dialogs")
        return words[1:]

    def text(self, hwnd, control_id=None):
        suffix = "" if control_id is None else f" {control_id}"
        return self.probe.ask(f"text {hwnd}{suffix}")

    def controls(self, hwnd):
        """The children of a window as a list of (id, class, text)."""
        fields = self.probe.ask(f"controls {hwnd}").split("\t")[1:]
        return [(int(fields[i]), fields[i + 1], fields[i + 2]) for i in range(0, len(fields), 3)]

    def wait_dialog(self, caption=None, timeout=10.0):
        def find():
            for hwnd in self.dialogs():
                if caption is None or self.text(hwnd) == caption:
                    return hwnd
            return None
        dialog = wait_for(find, timeout, f"a dialog {caption or ''}")
        self.opened.add(dialog)
        return dialog

    def unexpected_boxes(self):
        """(caption, message) of each open dialog the test did not wait for."""
        return [(self.text(hwnd), self.text(hwnd, MESSAGE_TEXT_ID))
                for hwnd in self.dialogs() if hwnd not in self.opened]

    def wait_no_dialog(self, timeout=10.0):
        wait_for(lambda: not self.dialogs(), timeout, "the dialogs to close")

    def metrics(self):
        caption, menu, _, _, button = self.probe.numbers("metrics")
        return {"caption": caption, "menu": menu, "button": button}

    def menu_bar_items(self):
        """Screen x ranges of the menu bar's items, left to right, and the y of
        the bar's middle: found from the dark text pixels on the bar."""
        _, (left, top, right, _) = self.rect()
        height = self.metrics()["menu"]
        band = self.x.screenshot(left, top - height, right, top)
        dark = [any(sum(band.pixel(x, y)) < 300 for y in range(2, band.height - 2))
                for x in range(band.width)]
        items = []
        gap_limit = 8  # wider than a space inside an item, narrower than between items
        for x, is_dark in enumerate(dark):
            if not is_dark:
                continue
            if items and x - items[-1][1] <= gap_limit:
                items[-1][1] = x
            else:
                items.append([x, x])
        return [(left + a, left + b) for a, b in items], top - height // 2

    def click_menu_bar(self, index):
        items, y = self.menu_bar_items()
        a, b = items[index]
        self.x.click((a + b) // 2, y)

    def popup_menus(self):
        return self.probe.numbers("popups")[1:]

    def window_rect(self, hwnd):
        return tuple(self.probe.numbers(f"rect {hwnd}")[0:4])

    def click_popup_item(self, index, count):
        """Clicks item `index` of an open popup menu of `count` items of equal height."""
        popup = wait_for(self.popup_menus, 5, "a popup menu")[0]
        left, top, right, bottom = self.window_rect(popup)
        item_height = (bottom - top) / count
        self.x.click(left + 24, int(top + item_height * (index + 0.5)))

    # --- acting -------------------------------------------------------------------

    def focus(self):
        """Clicks the title band, as a person would before typing."""
        left, top, right, _ = self.view_rect()
        self.x.click((left + right) // 2, top + 5)

    def key(self, keysym, modifiers=()):
        self.x.tap(keysym, modifiers)

    def post(self, hwnd, message, wparam=0, lparam=0):
        self.probe.ask(f"post {hwnd} {message} {wparam} {lparam}")

    def set_text(self, hwnd, control_id, text):
        self.probe.ask(f"settext {hwnd} {control_id} {text}")

    def command(self, command_id, hwnd=None):
        self.post(hwnd or self.frame, WM_COMMAND, command_id)

    def show(self, how):
        self.probe.ask(f"show {self.frame} {how}")

    # --- ending ---------------------------------------------------------------------

    def wait_exit(self, timeout=10.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {timeout} s") from None

    def screenshot(self, label):
        """Saves the window's screen area as a PNG for a person to look at."""
        (left, top, right, bottom), _ = self.rect()
        self.shot_count += 1
        path = self.shots_dir / f"{self.name}-{self.shot_count:02d}-{label}.png"
        self.x.screenshot(left, top, right, bottom).write_png(path)
        return path

    def close(self):
        """Ends a program that a test left running and tidies up."""
        if self.process.poll() is None:
            try:
                if self.state()["exists"]:
                    for dialog in self.dialogs():
                        self.post(dialog, WM_CLOSE)
                    self.post(self.frame, WM_CLOSE)
                self.process.wait(timeout=5)
            except Exception:
                self.process.kill()
                self.process.wait()
        self._grab_dir.cleanup()
