#!/usr/bin/env python3
"""Checks that the fuzz target finds real faults in the game: plants one
fault at a time in a copy of the sources (build/plant-faults/), builds the
fuzz target there and runs it from the seed corpus alone for up to SECONDS
(default 60). Prints, for each fault, how long it took to be caught and the
failure reported, and exits non-zero when one was not caught.

Usage: scripts/plant_faults.py [SECONDS]"""

import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WORK = os.path.join(ROOT, "build", "plant-faults")
SOURCE = os.path.join(WORK, "src")
TARGET = os.path.join(SOURCE, "build", "fuzz", "fuzz", "board_fuzzer")

# (what goes wrong, file, text as written, text with the fault)
FAULTS = [
    ("an invariant fails when a shape lands on the bottom row", "model/blockary.cpp",
     "((shape.m_centerY+shape.m_shapeOffsets[i][1])<m_height)",
     "((shape.m_centerY+shape.m_shapeOffsets[i][1])<m_height-1)"),
    ("a landed shape writes the next kind", "model/blockary.cpp",
     "m_cells[index(x, y)] = shape.m_kind;",
     "m_cells[index(x, y)] = shape.m_kind + 1;"),
    ("removing two rows leaves a stale row above an empty one", "model/blockary.cpp",
     "std::fill(m_cells.get() + index(0, emptyRow), m_cells.get()",
     "std::fill(m_cells.get() + index(0, emptyRow + n - 1), m_cells.get()"),
    ("shapes pass through settled cells below row 5", "model/blockary.cpp",
     "if (occupied(x, y)) {",
     "if (occupied(x, y) && y < 5) {"),
    ("several rows at once score one extra", "control/gameboard.cpp",
     "m_score += n;",
     "m_score += n > 1 ? n + 1 : n;"),
    ("the timer stays stopped after a pause", "control/gameboard.cpp",
     "        m_state = GameState::Running;\n        m_view->startGameTimer();",
     "        m_state = GameState::Running;"),
    ("a faster speed is not passed to the view", "control/gameboard.cpp",
     "    m_view->setSpeedLevel(m_speed);",
     "    if (delta < 0) {\n        m_view->setSpeedLevel(m_speed);\n    }"),
    ("a gravity step leaves a shape in the top rows where it is", "control/gameboard.cpp",
     "    if (m_current->move(dc, ShapeMove::Down) != 0) {",
     "    if (m_current->centerY() < 4 || m_current->move(dc, ShapeMove::Down) != 0) {"),
    ("a gravity step moves the shape two rows where it can", "control/gameboard.cpp",
     "    if (m_current->move(dc, ShapeMove::Down) != 0) {",
     "    if (m_current->move(dc, ShapeMove::Down) != 0 && m_current->move(dc, ShapeMove::Down) >= 0) {"),
    ("a shape lands one row above the floor", "model/blockary.cpp",
     "        if (y < 0 || y >= m_height) {",
     "        if (y < 0 || y >= m_height - 1) {"),
]


def run(args, **kwargs):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kwargs)


def copy_sources():
    """The checkout's files as they stand now, edits included."""
    listed = run(["git", "-C", ROOT, "ls-files", "-z"], check=True).stdout
    shutil.rmtree(SOURCE, ignore_errors=True)
    for name in filter(None, listed.split("\0")):
        source = os.path.join(ROOT, name)
        if os.path.isfile(source):
            os.makedirs(os.path.dirname(os.path.join(SOURCE, name)), exist_ok=True)
            shutil.copy2(source, os.path.join(SOURCE, name))


def build():
    for step in (["cmake", "--preset", "fuzz"], ["cmake", "--build", "--preset", "fuzz"]):
        result = run(step, cwd=SOURCE)
        if result.returncode != 0:
            sys.exit(result.stdout[-3000:] + "\nThe fuzz target did not build.")


def hunt(seconds):
    """Runs the target from the seeds alone; returns (caught, seconds, report)."""
    corpus = os.path.join(WORK, "corpus")
    shutil.rmtree(corpus, ignore_errors=True)
    os.makedirs(corpus)
    start = time.monotonic()
    result = run([TARGET, "-max_total_time=%d" % seconds, "-seed=1", "-timeout=30",
                  "-artifact_prefix=%s/" % WORK, corpus, os.path.join(SOURCE, "fuzz", "corpus")])
    took = time.monotonic() - start
    caught = result.returncode != 0
    if caught:
        pattern = r"^(?:Board check failed: .*|==\d+==ERROR: .*|.*runtime error: .*)$"
    else:
        pattern = r"^#\d+\s+DONE.*$"
    reports = re.findall(pattern, result.stdout, re.M)
    return caught, took, reports[0] if reports else result.stdout[-300:]


def main():
    seconds = int(sys.argv[1]) if len(sys.argv) > 1 else 60
    run([os.path.join(ROOT, "scripts", "deps.sh"), "fuzz"], check=True)
    copy_sources()
    missed = 0
    for what, name, written, faulty in FAULTS:
        path = os.path.join(SOURCE, name)
        with open(path) as file:
            text = file.read()
        if text.count(written) != 1:
            sys.exit("%s: the text to change is not there once: %r" % (name, written))
        with open(path, "w") as file:
            file.write(text.replace(written, faulty))
        build()
        caught, took, report = hunt(seconds)
        with open(path, "w") as file:
            file.write(text)
        missed += not caught
        print("%s %s after %.1f s\n    %s" % ("caught:" if caught else "MISSED:", what, took,
                                            report[:300]), flush=True)
    print("%d of %d planted faults caught" % (len(FAULTS) - missed, len(FAULTS)))
    sys.exit(1 if missed else 0)


if __name__ == "__main__":
    main()
