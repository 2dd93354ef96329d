"""A private Xvfb display and a person's input through it: key presses and
mouse clicks sent as XTEST events with raw key codes, so the tests decide the
state of Num Lock, Caps Lock and Shift themselves."""

import ctypes
import os
import select
import signal
import subprocess
import time

from Xlib import X, XK, display
from Xlib.ext import xtest

from picture import Image


def _end_with_parent():
    """Xvfb goes when the tests go, even when they are killed."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class XServer:
    def __init__(self, width=1920, height=1080):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=_end_with_parent)
        os.close(write_end)
        try:
            number = self._read_display_number(read_end, timeout=20)
        finally:
            os.close(read_end)
        self.name = f":{number}"
        self.display = display.Display(self.name)
        # A key held past the repeat delay, as when this process waits for the
        # processor between press and release, must not type twice.
        self.display.change_keyboard_control(auto_repeat_mode=X.AutoRepeatModeOff)
        self.root = self.display.screen().root
        self.width = width
        self.height = height

    def _read_display_number(self, fd, timeout):
        deadline = time.monotonic() + timeout
        text = b""
        while not text.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                self.process.kill()
                raise RuntimeError("Xvfb did not report its display in time")
            chunk = os.read(fd, 64)
            if not chunk:
                raise RuntimeError(f"Xvfb ended with code {self.process.wait()}")
            text += chunk
        return int(text.strip())

    def stop(self):
        self.display.close()
        self.process.terminate()
        self.process.wait(timeout=10)

    # --- keyboard -------------------------------------------------------

    def keycode(self, keysym_name):
        keysym = XK.string_to_keysym(keysym_name)
        code = self.display.keysym_to_keycode(keysym)
        if not keysym or not code:
            raise ValueError(f"no key code for {keysym_name!r}")
        return code

    def _send(self, event, code):
        xtest.fake_input(self.display, event, code)
        self.display.sync()

    def tap(self, keysym_name, modifiers=()):
        """Press and release a key, holding the named modifier keys
        (e.g. "Shift_L", "Control_L") around it."""
        held = [self.keycode(name) for name in modifiers]
        for code in held:
            self._send(X.KeyPress, code)
        code = self.keycode(keysym_name)
        self._send(X.KeyPress, code)
        self._send(X.KeyRelease, code)
        for code in reversed(held):
            self._send(X.KeyRelease, code)

    def _modifier_mask(self, keysym_name):
        code = self.keycode(keysym_name)
        for index, codes in enumerate(self.display.get_modifier_mapping()):
            if code in codes:
                return 1 << index
        raise ValueError(f"{keysym_name} is no modifier")

    def lock_on(self, keysym_name):
        mask = self.root.query_pointer().mask
        return bool(mask & self._modifier_mask(keysym_name))

    def set_lock(self, keysym_name, on):
        """Set Num_Lock or Caps_Lock to the wanted state by tapping it."""
        if self.lock_on(keysym_name) != on:
            self.tap(keysym_name)
        if self.lock_on(keysym_name) != on:
            raise RuntimeError(f"{keysym_name} did not change")

    # --- mouse ------------------------------------------------------------

    def click(self, x, y, button=1):
        xtest.fake_input(self.display, X.MotionNotify, x=x, y=y)
        self._send(X.ButtonPress, button)
        self._send(X.ButtonRelease, button)

    # --- screen -------------------------------------------------------------

    def screenshot(self, left=0, top=0, right=None, bottom=None):
        right = self.width if right is None else min(right, self.width)
        bottom = self.height if bottom is None else min(bottom, self.height)
        left, top = max(left, 0), max(top, 0)
        if right <= left or bottom <= top:
            # Nothing of the area is on the screen (a minimised window): all of it.
            left, top, right, bottom = 0, 0, self.width, self.height
        width, height = right - left, bottom - top
        raw = self.root.get_image(left, top, width, height, X.ZPixmap, 0xFFFFFFFF).data
        # 24-bit visuals come as 32-bit BGRX pixels.
        rgb = bytearray(width * height * 3)
        rgb[0::3] = raw[2::4]
        rgb[1::3] = raw[1::4]
        rgb[2::3] = raw[0::4]
        return Image(width, height, bytes(rgb))
