"""The one place that assembles a private desktop for the Windows program:
a private X screen, a Wine prefix set up for it (environment, registry, fonts),
a wineserver kept alive while it is used and the probe that reads windows and
pixels from inside the prefix. Every suite and script uses it: the
end-to-end tests and the DPI tests (conftest.py, test_dpi.py), the soak, the
measurement, the Windows tests and play.sh, the last two through the command
line below.

Usage: wine.py [--prefix PATH] [--screen WxH] [--dpi N] [--no-heap-check]
               [--on-display] PROGRAM.exe [ARGS...]
runs a Windows program on a private desktop and exits with its exit code;
--on-display runs it on the desktop of $DISPLAY instead, for a person to
play, with its windows managed by that desktop's window manager."""

import argparse
import contextlib
import os
import select
import shutil
import subprocess
import sys
import time
from pathlib import Path

from xserver import XServer

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build"
# The shipped program and the probe that reads its windows, both from the
# program's build; either can be replaced through the environment.
PROGRAM_EXE = Path(os.environ.get("BRIKFALL_EXE", BUILD / "program/shell/brikfall_SDI.exe"))
PROBE_EXE = Path(os.environ.get("BRIKFALL_PROBE", BUILD / "program/tests/e2e/e2e_probe.exe"))
READY_STAMP = ".brikfall-ready"
# Made once with wineboot; every prefix starts as a copy of it.
BASE_PREFIX = BUILD / "wine-base"
# Bump when the set-up below changes, so older prefixes are made anew.
SETUP_VERSION = 7

# Tahoma (the title font, installed below) has neither the title's Chinese
# glyphs nor the panel's arrows: link it to WenQuanYi, which has both. The
# system font (the panel's) reaches WenQuanYi through the links of
# Microsoft Sans Serif, which Wine adds to every font under code page 950.
_WENQUANYI = "wqy-microhei.ttc,WenQuanYi Micro Hei"
_FONT_LINKS = (r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink",
               {"Tahoma": ("multi", _WENQUANYI), "Microsoft Sans Serif": ("multi", _WENQUANYI)})
# Wine's own fonts (package fonts-wine): caption buttons draw their glyphs
# from Marlett; with Tahoma the font dialog can select the title's face.
_WINE_FONTS = ("marlett.ttf", "tahoma.ttf", "tahomabd.ttf")
_WINE_FONT_DIRS = (Path("/usr/share/wine/fonts"), Path("/usr/share/fonts/truetype/wine"))


def wine_command():
    return shutil.which("wine64") or shutil.which("wine") or "wine"


def wine_environment(prefix, display_name):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": str(prefix),
        "WINEARCH": "win64",
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        # Code page 950 and locale 0x0404: the Chinese texts render as glyphs.
        # glibc needs no zh_TW locale for this.
        "LC_ALL": "zh_TW.UTF-8",
        "DISPLAY": display_name,
    })
    return env


def windows_path(path):
    """The prefix's Z: drive maps the Linux root."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def prefix_path(prefix):
    """A prefix named without a folder lives in build/."""
    prefix = Path(prefix).expanduser()
    return prefix if prefix.is_absolute() else BUILD / prefix


# --- the registry ----------------------------------------------------------------

def _reg_value(value):
    kind, data = value
    if kind == "dword":
        return f"dword:{data:08x}"
    if kind == "multi":
        # REG_MULTI_SZ: a REGEDIT4 file holds it in the ANSI code page, one
        # byte a character (UTF-16 would end the string after its first
        # letter), with two terminating zeros.
        encoded = (data + "\0\0").encode("ascii")
        return "hex(7):" + ",".join(f"{byte:02x}" for byte in encoded)
    return '"' + data + '"'


def registry_file(keys):
    """A REGEDIT4 file setting {key: {name: (kind, data)}}."""
    lines = ["REGEDIT4", ""]
    for key, values in keys:
        lines.append(f"[{key}]")
        lines += [f'"{name}"={_reg_value(value)}' for name, value in values.items()]
        lines.append("")
    return "\n".join(lines) + "\n"


def desktop_settings(dpi, heap_check, managed):
    """The registry of a prefix with these settings."""
    keys = [(r"HKEY_CURRENT_USER\Control Panel\Desktop", {"LogPixels": ("dword", dpi)})]
    if not managed:
        # No window manager: windows unmanaged, so a hide never waits for one;
        # a fault ends the program without a crash dialog nobody would answer.
        keys += [
            (r"HKEY_CURRENT_USER\Software\Wine\X11 Driver", {"Managed": ("string", "N")}),
            (r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug",
             {"Auto": ("string", "1")}),
            (r"HKEY_CURRENT_USER\Software\Wine\WineDbg", {"ShowCrashDialog": ("dword", 0)}),
        ]
    if heap_check:
        # Wine's heap fills freed blocks: a use of a freed object faults at once.
        keys.append((r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager",
                     {"GlobalFlag": ("dword", 0x70)}))
    return keys


def apply_registry(prefix, display_name, keys):
    env = wine_environment(prefix, display_name)
    reg = Path(prefix) / "brikfall.reg"
    reg.write_text(registry_file(keys))
    subprocess.run([wine_command(), "regedit", "/S", str(reg)], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    # Registry changes take effect once the server has written them and ended.
    subprocess.run(["wineserver", "-w"], env=env, timeout=300)


# --- prefixes ----------------------------------------------------------------------

def _link_or_copy(source, target):
    """The registry, which Wine rewrites, and the prefix's own files are
    copied; every other file is only read and is shared through a hard link."""
    if source.endswith(".reg") or os.path.basename(source).startswith("."):
        return shutil.copy2(source, target)
    try:
        os.link(source, target)
    except OSError:
        shutil.copy2(source, target)
    return target


def _make_base(display_name):
    """wineboot once, with the fonts and their links that every prefix needs."""
    stamp = BASE_PREFIX / READY_STAMP
    wanted = f"brikfall-base {SETUP_VERSION}"
    if stamp.exists() and stamp.read_text() == wanted:
        return
    print(f"Setting up the Wine prefix in {BASE_PREFIX} ...", file=sys.stderr, flush=True)
    shutil.rmtree(BASE_PREFIX, ignore_errors=True)
    BASE_PREFIX.parent.mkdir(parents=True, exist_ok=True)
    env = wine_environment(BASE_PREFIX, display_name)
    subprocess.run([wine_command(), "wineboot", "--init"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=600)
    subprocess.run(["wineserver", "-w"], env=env, timeout=600)
    apply_registry(BASE_PREFIX, display_name, [_FONT_LINKS])
    fonts = BASE_PREFIX / "drive_c/windows/Fonts"
    for font in _WINE_FONTS:
        for folder in _WINE_FONT_DIRS:
            if (folder / font).exists():
                shutil.copy2(folder / font, fonts / font)
                break
    stamp.write_text(wanted)


def set_windows_version(prefix, display_name, windows):
    """Has the prefix report that Windows version ("win7", "win10", ...), as
    winecfg sets it: the version numbers and the registry's product texts."""
    env = wine_environment(prefix, display_name)
    subprocess.run([wine_command(), "winecfg", "-v", windows], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    subprocess.run(["wineserver", "-w"], env=env, timeout=300)


def prepare_prefix(prefix, display_name, dpi=96, heap_check=True, managed=False, windows=None):
    """Makes the prefix ready with these settings, Wine running on the X
    display of that name meanwhile: returns at once when it is, and otherwise
    copies it anew from the base prefix. windows names the Windows version
    the prefix reports (winecfg -v); None keeps Wine's own."""
    prefix = prefix_path(prefix)
    stamp = prefix / READY_STAMP
    wanted = (f"brikfall-prefix {SETUP_VERSION} dpi {dpi} heap-check {int(heap_check)} managed {int(managed)}"
              f" windows {windows or 'default'}")
    if stamp.exists() and stamp.read_text() == wanted:
        return prefix
    _make_base(display_name)
    shutil.rmtree(prefix, ignore_errors=True)
    prefix.parent.mkdir(parents=True, exist_ok=True)
    shutil.copytree(BASE_PREFIX, prefix, symlinks=True, copy_function=_link_or_copy)
    apply_registry(prefix, display_name, desktop_settings(dpi, heap_check, managed))
    if windows:
        set_windows_version(prefix, display_name, windows)
    stamp.write_text(wanted)
    return prefix


class WineServer:
    """A persistent wineserver, so program starts stay quick."""

    def __init__(self, env):
        self.env = env
        # Lingers a minute after the last program, should the tests be killed;
        # a server that runs already for this prefix serves as well.
        subprocess.run(["wineserver", "-p60"], env=env, timeout=60)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=60)


class ProbeError(RuntimeError):
    pass


class Probe:
    """The probe program, asked one line at a time."""

    def __init__(self, exe, env):
        self.process = subprocess.Popen(
            [wine_command(), str(exe)], env=env, stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.buffer = b""
        self.ask("metrics", timeout=60)  # the first start of a program may be slow

    def _read_line(self, timeout):
        deadline = time.monotonic() + timeout
        fd = self.process.stdout.fileno()
        while b"\n" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise ProbeError("the probe did not answer in time")
            chunk = os.read(fd, 65536)
            if not chunk:
                raise ProbeError(f"the probe ended with code {self.process.wait()}")
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.decode("utf-8").rstrip("\r")

    def ask(self, command, timeout=10):
        """Sends a command and returns the words after "ok"."""
        self.process.stdin.write(command.encode("utf-8") + b"\n")
        self.process.stdin.flush()
        answer = self._read_line(timeout)
        if not answer.startswith("ok"):
            raise ProbeError(f"{command!r}: {answer}")
        return answer[3:]

    def numbers(self, command):
        return [int(word) for word in self.ask(command).split()]

    def stop(self):
        try:
            self.process.stdin.write(b"quit\n")
            self.process.stdin.close()
            self.process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()


HEAP_CHECK_FLAGS = 0x70  # tail and free checking (GlobalFlag)


def check_heap_flags(probe, env):
    """Fails unless a process of the prefix runs with the heap checks its
    registry asks for; with no probe of the desktop, starts one for it."""
    own = probe or Probe(PROBE_EXE, env)
    try:
        flags = own.numbers("globalflag")[0]
    finally:
        if probe is None:
            own.stop()
    if flags & HEAP_CHECK_FLAGS != HEAP_CHECK_FLAGS:
        raise RuntimeError(f"heap checking did not take effect in {env['WINEPREFIX']}: "
                           f"GlobalFlag {flags:#x}, wanted {HEAP_CHECK_FLAGS:#x}")


@contextlib.contextmanager
def private_desktop(prefix, probe_exe=PROBE_EXE, width=1920, height=1080, dpi=96, heap_check=True,
                    windows=None):
    """A private X screen of that size with the prefix (a path, or a name
    under build/) made ready for it at that resolution and Windows version
    (prepare_prefix), a wineserver and,
    unless probe_exe is None, a probe: (xserver, env, probe), all stopped
    again on the way out, in reverse order."""
    if probe_exe is not None and not Path(probe_exe).exists():
        raise FileNotFoundError(f"{probe_exe} is missing: build it first")
    xserver = XServer(width, height)
    try:
        env = wine_environment(prepare_prefix(prefix, xserver.name, dpi, heap_check, windows=windows),
                               xserver.name)
        server = WineServer(env)
        try:
            probe = None if probe_exe is None else Probe(probe_exe, env)
            try:
                if heap_check:
                    check_heap_flags(probe, env)
                yield xserver, env, probe
            finally:
                if probe is not None:
                    probe.stop()
        finally:
            server.stop()
    finally:
        xserver.stop()


# --- the command line ------------------------------------------------------------

def run_on_display(prefix, command):
    """Runs on the desktop of $DISPLAY, whose window manager manages the
    windows; no heap checking, as a player runs it."""
    if not os.environ.get("DISPLAY"):
        raise SystemExit("No display: the game needs a graphical desktop (an X server). "
                         "Run this from a desktop session, or set DISPLAY.")
    display_name = os.environ["DISPLAY"]
    env = wine_environment(prepare_prefix(prefix, display_name, heap_check=False, managed=True), display_name)
    return subprocess.run([wine_command(), *command], env=env).returncode


def run_privately(prefix, width, height, dpi, heap_check, command):
    with private_desktop(prefix, None, width, height, dpi, heap_check) as (_, env, _probe):
        return subprocess.run([wine_command(), *command], env=env).returncode


def screen_size(text):
    """WxH as (width, height), for the command line."""
    try:
        width, height = (int(n) for n in text.split("x"))
    except ValueError:
        raise argparse.ArgumentTypeError(f"{text!r} is no screen size such as 1920x1080") from None
    if width <= 0 or height <= 0:
        raise argparse.ArgumentTypeError(f"{text!r} is no screen size such as 1920x1080")
    return width, height


def main():
    parser = argparse.ArgumentParser(description="Runs a Windows program under Wine on a private desktop.")
    parser.add_argument("--prefix", default="wineprefix", help="the Wine prefix: a path, or a name under build/")
    parser.add_argument("--screen", type=screen_size, default=(1920, 1080), help="the private X screen's size, WxH")
    parser.add_argument("--dpi", type=int, default=96, help="the display resolution Wine reports")
    parser.add_argument("--no-heap-check", dest="heap_check", action="store_false",
                        help="run without Wine's checks of freed heap blocks")
    parser.add_argument("--on-display", action="store_true",
                        help="run on the desktop of $DISPLAY, for a person to play")
    parser.add_argument("command", nargs=argparse.REMAINDER, help="PROGRAM.exe [ARGS...]")
    options = parser.parse_args()
    if not options.command:
        parser.error("no program to run")
    if options.on_display:
        return run_on_display(options.prefix, options.command)
    return run_privately(options.prefix, *options.screen, options.dpi, options.heap_check, options.command)


if __name__ == "__main__":
    sys.exit(main())
