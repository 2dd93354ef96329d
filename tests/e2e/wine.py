"""The Wine side of the tests: a prefix made once and reused, a wineserver
kept alive for the session, and the probe program that reads windows and
pixels from inside the prefix."""

import contextlib
import os
import select
import shutil
import subprocess
import time
from pathlib import Path

from xserver import XServer

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build"
# The shipped program and the probe that reads its windows; either can be
# replaced through the environment.
PROGRAM_EXE = Path(os.environ.get("BRIKFALL_EXE", BUILD / "program/shell/brikfall_SDI.exe"))
PROBE_EXE = Path(os.environ.get("BRIKFALL_PROBE", BUILD / "windows/tests/e2e/e2e_probe.exe"))
READY_STAMP = ".brikfall-ready"


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
        "LC_ALL": "zh_TW.UTF-8",
        "DISPLAY": display_name,
    })
    return env


def windows_path(path):
    """The prefix's Z: drive maps the Linux root."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def prepare_prefix(prefix, display_name, template=None):
    """Makes the prefix with the project's setup (unmanaged windows, fonts),
    which returns at once when the prefix is ready and up to date; a ready
    template, when given, is copied first instead of starting from nothing."""
    prefix = Path(prefix)
    if template is not None and not prefix.exists() and (Path(template) / READY_STAMP).exists():
        shutil.copytree(template, prefix, symlinks=True)
    env = wine_environment(prefix, display_name)
    subprocess.run(
        ["bash", "-c", 'source scripts/wine_env.sh && wine_prefix "$1"', "bash", str(prefix)],
        cwd=REPO, env=env, check=True, stdout=subprocess.DEVNULL, timeout=300)


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


@contextlib.contextmanager
def private_desktop(prefix, probe_exe, width=1920, height=1080):
    """A private X screen with the prefix made ready for it, a wineserver and
    a probe, as (xserver, env, probe); all stopped again on the way out."""
    xserver = XServer(width, height)
    try:
        prepare_prefix(prefix, xserver.name)
        env = wine_environment(prefix, xserver.name)
        server = WineServer(env)
        try:
            probe = Probe(probe_exe, env)
            try:
                yield xserver, env, probe
            finally:
                probe.stop()
        finally:
            server.stop()
    finally:
        xserver.stop()
