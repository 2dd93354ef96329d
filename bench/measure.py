"""Measures the program side by side with the bare reference window under
Wine on a private desktop and prints one table: every figure as
min / median / max over the runs, and where the bare window has the same
figure, the ratio of the medians with the range of the per-run ratios.

CPU, memory, loaded DLLs and wake-ups are read from Linux (/proc of the Wine
process); the probe (tests/e2e/probe.cpp) finds windows, reads pixels and
drives repaints from inside the prefix. Usage: measure.py RUNS [PROGRAM.exe], the
program by default the one built in build/program."""

import os
import re
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests/e2e"))

from wine import PROBE_EXE, private_desktop, wine_command  # noqa: E402

BUILD = REPO / "build/program"
GAME = BUILD / "shell/brikfall_SDI.exe"
BARE = BUILD / "bench/bare_window.exe"
PREFIX = REPO / "build/measure-prefix"

GAME_CAPTION = "落磚樂"
BARE_CAPTION = "bare window"
VK_DOWN, VK_G, VK_P = 0x28, 0x47, 0x50
VIEW_ID = 0xE900
WM_CLOSE = 0x0010
GRAVITY_MS = 370
WELL_PIXEL = (200, 300)  # black in every state of both windows
REPAINTS = 300
FLASH_REPAINTS = 1000
RELAY_REPAINTS = 20
RELAY_SECONDS = 10


# --- the Wine process seen from Linux ------------------------------------------

def tasks(pid):
    return [f"/proc/{pid}/task/{t}" for t in os.listdir(f"/proc/{pid}/task")]


def cpu_seconds(pid):
    """CPU time of the live threads, in nanoseconds' precision."""
    total = 0
    for task in tasks(pid):
        try:
            total += int(Path(task, "schedstat").read_text().split()[0])
        except (OSError, IndexError, ValueError):
            pass
    return total / 1e9


def context_switches(pid):
    total = 0
    for task in tasks(pid):
        try:
            for line in Path(task, "status").read_text().splitlines():
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
        except OSError:
            pass
    return total


def memory_mb(pid):
    status = Path(f"/proc/{pid}/status").read_text()
    rss = int(re.search(r"VmRSS:\s+(\d+)", status).group(1))
    rollup = Path(f"/proc/{pid}/smaps_rollup").read_text()
    private = sum(int(v) for v in re.findall(r"Private_(?:Clean|Dirty):\s+(\d+)", rollup))
    return rss / 1024, private / 1024


def loaded_dlls(pid):
    names = set()
    for line in Path(f"/proc/{pid}/maps").read_text().splitlines():
        path = line.split(maxsplit=5)[-1] if len(line.split()) >= 6 else ""
        if path.lower().endswith(".dll"):
            names.add(os.path.basename(path).lower())
    return len(names)


def wakeups_per_second(pid, seconds):
    before = context_switches(pid)
    time.sleep(seconds)
    return (context_switches(pid) - before) / seconds


def cpu_during(pid, seconds):
    before = cpu_seconds(pid)
    time.sleep(seconds)
    return cpu_seconds(pid) - before


# --- one program under measurement -----------------------------------------------

class Program:
    def __init__(self, meter, env, exe, caption, done_region, args=(), stderr=subprocess.DEVNULL):
        """Starts the program and waits for its first complete picture: the
        well pixel black and the last item painted (done_region: l t r b
        colour) present."""
        self.meter = meter
        start = time.monotonic()
        self.process = subprocess.Popen([wine_command(), str(exe), *args], env=env,
                                        stdout=subprocess.DEVNULL, stderr=stderr)
        self.pid = self.process.pid
        deadline = start + 120
        while True:
            if self.process.poll() is not None:
                raise RuntimeError(f"{exe.name} ended early with code {self.process.returncode}")
            self.frame, self.view = self.find(caption)
            if self.view and self.count(*WELL_PIXEL, WELL_PIXEL[0] + 4, WELL_PIXEL[1] + 4, "000000") == 16 \
                    and self.count(*done_region) > 0:
                break
            if time.monotonic() > deadline:
                raise RuntimeError(f"{exe.name} showed no complete picture in time")
            time.sleep(0.005)
        self.start_wall = time.monotonic() - start
        # What runs after the first paint is no longer start-up: let it settle.
        time.sleep(0.5)
        self.start_cpu = cpu_seconds(self.pid)

    def find(self, caption):
        """The frame with that caption and its view, 0 0 while absent."""
        found = self.meter.numbers(f"find {caption}")
        if not found[0]:
            return 0, 0
        return found[1], int(self.meter.ask(f"child {found[1]} {VIEW_ID}"))

    def count(self, left, top, right, bottom, colour):
        return int(self.meter.ask(f"count {self.view} {left} {top} {right} {bottom} {colour}"))

    def key(self, vk):
        self.meter.ask(f"key {self.view} {vk}")

    def cpu_per_repaint(self, command, n):
        before = cpu_seconds(self.pid)
        self.meter.ask(f"{command} {self.view} {n}", timeout=600)
        return (cpu_seconds(self.pid) - before) / n

    def white_share(self):
        samples, white = (int(w) for w in self.meter.ask(
            f"flash {self.view} {WELL_PIXEL[0]} {WELL_PIXEL[1]} {FLASH_REPAINTS}", timeout=600).split())
        return white / max(samples, 1), samples

    def close(self):
        if self.process.poll() is None:
            self.meter.ask(f"post {self.frame} {WM_CLOSE} 0 0")
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


GAME_DONE = (456 + 60, 408, 456 + 300, 408 + 120, "0000fa")  # the score, painted last
BARE_DONE = (456, 192, 456 + 200, 192 + 16, "000000")         # the sixth text line
QUIT_PROMPT = (456, 312, 456 + 300, 312 + 16, "000000")       # blank only when the game is over


def common_figures(program, figures):
    figures["start CPU (ms)"] = program.start_cpu * 1e3
    figures["start wall (ms)"] = program.start_wall * 1e3
    rss, private = memory_mb(program.pid)
    figures["resident memory in Ready (MB)"] = rss
    figures["private memory in Ready (MB)"] = private
    figures["DLLs loaded at start"] = loaded_dlls(program.pid)
    figures["wake-ups/s in Ready"] = wakeups_per_second(program.pid, 3)
    figures["full repaint CPU (µs)"] = program.cpu_per_repaint("repaint", REPAINTS) * 1e6
    figures["repaint of an uncovered view, CPU (µs)"] = program.cpu_per_repaint("uncover", REPAINTS) * 1e6
    share, _ = program.white_share()
    figures["white samples at a well pixel (%)"] = share * 100


RUNNING = "CPU per minute running (ms), bare window stepping a shape"
RUNNING_IDLE_TIMER = "CPU per minute running (ms), bare window with a do-nothing timer"


def measure_game(meter, env):
    figures = {}
    game = Program(meter, env, GAME, GAME_CAPTION, GAME_DONE)
    try:
        common_figures(game, figures)
        game.key(VK_G)
        time.sleep(0.3)
        before = context_switches(game.pid)
        figures[RUNNING] = cpu_during(game.pid, 10) * 6 * 1e3
        figures[RUNNING_IDLE_TIMER] = figures[RUNNING]
        figures["wake-ups/s running"] = (context_switches(game.pid) - before) / 10
        game.key(VK_P)
        time.sleep(0.3)
        figures["wake-ups/s in Paused"] = wakeups_per_second(game.pid, 3)
        game.key(VK_P)
        deadline = time.monotonic() + 120
        while game.count(*QUIT_PROMPT) > 0:
            if time.monotonic() > deadline:
                raise RuntimeError("the game did not end in time")
            game.key(VK_DOWN)
            time.sleep(GRAVITY_MS / 1000 + 0.05)
        time.sleep(0.5)
        figures["wake-ups/s in Over"] = wakeups_per_second(game.pid, 3)
    finally:
        game.close()
    return figures


def measure_bare(meter, env):
    figures = {}
    bare = Program(meter, env, BARE, BARE_CAPTION, BARE_DONE)
    try:
        common_figures(bare, figures)
        idle = wakeups_per_second(bare.pid, 3)
        for state in ("Paused", "Over"):
            figures[f"wake-ups/s in {state}"] = idle
    finally:
        bare.close()
    # The running reference draws a shape each step; the do-nothing timer is
    # kept as the floor it was measured against before.
    for option, figure in (("--step", RUNNING), ("--timer", RUNNING_IDLE_TIMER)):
        ticking = Program(meter, env, BARE, BARE_CAPTION, BARE_DONE, args=(option, str(GRAVITY_MS)))
        try:
            before = context_switches(ticking.pid)
            figures[figure] = cpu_during(ticking.pid, 10) * 6 * 1e3
            if option == "--step":
                figures["wake-ups/s running"] = (context_switches(ticking.pid) - before) / 10
        finally:
            ticking.close()
    return figures


def gdi_calls_per_paint(meter, env, exe, caption, done):
    """gdi32 calls per full repaint, counted in Wine's relay trace."""
    return gdi_calls(meter, env, exe, caption, done, (), RELAY_REPAINTS,
                     lambda program: meter.ask(f"repaint {program.view} {RELAY_REPAINTS}", timeout=600))


def gdi_calls_per_step(meter, env, exe, caption, done, args=(), start=None):
    """gdi32 calls per gravity step while running, counted in Wine's relay
    trace over RELAY_SECONDS and divided by the steps due in that time (a
    step that the slowed program misses makes the figure a little low, alike
    for both programs)."""
    def run(program):
        if start:
            start(program)
        time.sleep(RELAY_SECONDS)
    return gdi_calls(meter, env, exe, caption, done, args, RELAY_SECONDS * 1000 / GRAVITY_MS, run)


def gdi_calls(meter, env, exe, caption, done, args, per, drive):
    """gdi32 calls while drive(program) runs, divided by per, with the four
    most frequent functions."""
    log = PREFIX.parent / f"relay-{exe.stem}.log"
    relay_env = dict(env, WINEDEBUG="+relay")
    with open(log, "wb") as out:
        program = Program(meter, relay_env, exe, caption, done, args=args, stderr=out)
        try:
            offset = log.stat().st_size
            drive(program)
            time.sleep(1)
            end = log.stat().st_size
        finally:
            program.close()
    calls = {}
    with open(log, "rb") as trace:
        trace.seek(offset)
        for line in trace.read(end - offset).splitlines():
            found = re.search(rb":Call gdi32\.(\w+)", line)
            if found:
                name = found.group(1).decode()
                calls[name] = calls.get(name, 0) + 1
    log.unlink()
    total = sum(calls.values()) / per
    top = sorted(calls.items(), key=lambda item: -item[1])[:4]
    return total, ", ".join(f"{n / per:.3g} {name}" for name, n in top)


def enable_relay_for_gdi(env):
    reg = PREFIX / "relay.reg"
    reg.write_text('REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Debug]\n"RelayInclude"="gdi32.*"\n')
    subprocess.run([wine_command(), "regedit", "/S", str(reg)], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def stripped_size(exe):
    copy = PREFIX.parent / f"stripped-{exe.name}"
    subprocess.run(["x86_64-w64-mingw32-strip", "-o", str(copy), str(exe)], check=True)
    size = copy.stat().st_size
    copy.unlink()
    return size


# --- the table -------------------------------------------------------------------------

def spread(values):
    return f"{statistics.median(values):.4g} ({min(values):.4g}–{max(values):.4g})"


def ratio(game, bare):
    pairs = [g / b for g, b in zip(game, bare) if b]
    if not pairs or not statistics.median(bare):
        return "–"
    return f"{statistics.median(game) / statistics.median(bare):.2f} ({min(pairs):.2f}–{max(pairs):.2f})"


def main():
    global GAME
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    if len(sys.argv) > 2:
        GAME = Path(sys.argv[2]).resolve()
    with private_desktop(PREFIX, PROBE_EXE, heap_check=False) as (_, env, meter):
        game_runs, bare_runs = [], []
        for run in range(runs):
            print(f"run {run + 1} of {runs}", file=sys.stderr, flush=True)
            # Alternating, so a busy moment of the machine hits both.
            game_runs.append(measure_game(meter, env))
            bare_runs.append(measure_bare(meter, env))
        enable_relay_for_gdi(env)
        game_calls = gdi_calls_per_paint(meter, env, GAME, GAME_CAPTION, GAME_DONE)
        bare_calls = gdi_calls_per_paint(meter, env, BARE, BARE_CAPTION, BARE_DONE)
        game_step_calls = gdi_calls_per_step(meter, env, GAME, GAME_CAPTION, GAME_DONE,
                                             start=lambda program: program.key(VK_G))
        bare_step_calls = gdi_calls_per_step(meter, env, BARE, BARE_CAPTION, BARE_DONE,
                                             args=("--step", str(GRAVITY_MS)))

    print(f"Median (min–max) over {runs} runs; ratio = game / bare window, median of each "
          f"(range of the per-run ratios).\n")
    print("| figure | game | bare window | ratio |")
    print("|---|---|---|---|")
    for name in game_runs[0]:
        game = [r[name] for r in game_runs]
        bare = [r[name] for r in bare_runs]
        print(f"| {name} | {spread(game)} | {spread(bare)} | {ratio(game, bare)} |")
    for label, (game, bare) in (("gdi32 calls per full repaint", (game_calls, bare_calls)),
                                ("gdi32 calls per gravity step", (game_step_calls, bare_step_calls))):
        print(f"| {label} | {game[0]:.3g} ({game[1]}) | {bare[0]:.3g} ({bare[1]}) | "
              f"{game[0] / max(bare[0], 1):.1f} |")
    for label, size in (("executable as built (B)", lambda p: p.stat().st_size),
                        ("executable stripped (B)", stripped_size)):
        g, b = size(GAME), size(BARE)
        print(f"| {label} | {g:,} | {b:,} | {g / b:.1f} |")


if __name__ == "__main__":
    main()
