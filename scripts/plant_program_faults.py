#!/usr/bin/env python3
"""Checks that the suites which run the real program catch real faults:
plants one fault at a time in a copy of the sources
(build/plant-program-faults/src, whose build trees and Wine prefixes are kept
between faults, so each fault rebuilds only what it touched), runs there the
tests that claim the behaviour, and prints for each fault whether they
failed and how long they took. Exits non-zero when a fault was not caught.

Usage: scripts/plant_program_faults.py [NAME...]   (default: every fault)"""

import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, "build", "plant-program-faults", "src")

# name: (what goes wrong, file, text as written, text with the fault, the
# command that must fail, run in the copy)
FAULTS = {
    "drop": ("the drop key does nothing", "control/controller.cpp",
             "            m_handler->moveShape(dc, ShapeMove::Drop);\n", "",
             ["scripts/e2e.sh", "-k", "drop_the_shape"]),
    "pause": ("the pause key does nothing", "control/controller.cpp",
              "            m_handler->togglePause();\n", "",
              ["scripts/e2e.sh", "-k", "p_pauses_and_continues"]),
    "invariant": ("an invariant box at every landing", "model/blockary.cpp",
                  "int BlockArray::removeFullRows()\n{\n",
                  "int BlockArray::removeFullRows()\n{\n    GAME_INVARIANT(m_height < 0);\n",
                  ["scripts/e2e.sh", "-k", "KP_2-True"]),
    "move-rotates": ("a move left also turns the shape", "control/controller.cpp",
                     "            m_handler->moveShape(dc, ShapeMove::Left);\n",
                     "            m_handler->moveShape(dc, ShapeMove::Left);\n"
                     "            m_handler->rotateShape(dc);\n",
                     ["scripts/e2e.sh", "-k", "move_the_shape_sideways and Left"]),
    "title-font": ("the title is not drawn again after the font dialog", "shell/childview.cpp",
                   "    fdlg.DoModal();\n    Invalidate(TRUE);\n", "    fdlg.DoModal();\n",
                   ["scripts/e2e.sh", "-k", "test_title_font"]),
    "cancel-keeps": ("the parameter dialog's Cancel keeps a changed interval", "shell/childview.cpp",
                     "    if (simParamDlg.DoModal() == IDOK)\n        m_timerBase = simParamDlg.m_gameSpeed;\n",
                     "    simParamDlg.DoModal();\n    m_timerBase = simParamDlg.m_gameSpeed;\n",
                     ["scripts/wine_tests.sh", "--gtest_filter=*FrameSimOptionsTest*:*SimParam*"]),
    "untold": ("screen readers are told of no change of state", "framework/accessible.cpp",
               "    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);\n",
               "    static_cast<void>(hwnd);\n",
               ["scripts/wine_tests.sh", "--gtest_filter=*AccessibleViewTest.EachChange*"]),
    "told-early": ("a key's change is told before the board changes", "shell/childview.cpp",
                   "        translateKey(*dc, nChar, nFlags & 0xFF);\n        TellChanges();\n",
                   "        TellChanges();\n        translateKey(*dc, nChar, nFlags & 0xFF);\n",
                   ["scripts/wine_tests.sh", "--gtest_filter=*AccessibleViewTest.EachChange*"]),
    "caret-behind": ("the caret stays behind when the shape falls", "shell/childview.cpp",
                     "        tick(*dc);\n        TellChanges();\n        PlaceCaret();\n",
                     "        tick(*dc);\n        TellChanges();\n",
                     ["scripts/wine_tests.sh", "--gtest_filter=*CaretTest*"]),
}


def run(args, **kwargs):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kwargs)


def copy_sources():
    """The checkout's files as they stand now, edits included; the copy's
    build/ stays."""
    listed = run(["git", "-C", ROOT, "ls-files", "-z"], check=True).stdout
    for name in filter(None, listed.split("\0")):
        source = os.path.join(ROOT, name)
        if os.path.isfile(source):
            target = os.path.join(SOURCE, name)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy2(source, target)


def plant(path, written, faulty):
    """Puts the fault into the copy's file; the checkout's file is the
    pristine one."""
    with open(os.path.join(ROOT, path), encoding="utf-8") as file:
        text = file.read()
    if text.count(written) != 1:
        sys.exit(f"{path} does not hold the text to change exactly once: {written!r}")
    with open(os.path.join(SOURCE, path), "w", encoding="utf-8") as file:
        file.write(text.replace(written, faulty))


def restore(path):
    shutil.copy2(os.path.join(ROOT, path), os.path.join(SOURCE, path))


def main():
    names = sys.argv[1:] or list(FAULTS)
    unknown = [name for name in names if name not in FAULTS]
    if unknown:
        sys.exit(f"no fault named {unknown}; the faults are {list(FAULTS)}")
    copy_sources()
    rows = []
    for name in names:
        what, path, written, faulty, command = FAULTS[name]
        plant(path, written, faulty)
        start = time.monotonic()
        try:
            result = run(command, cwd=SOURCE)
        finally:
            restore(path)
        took = time.monotonic() - start
        last = result.stdout.strip().splitlines()[-2:] if result.stdout.strip() else [""]
        caught = result.returncode != 0
        rows.append((what, " ".join(command), caught, took))
        print(f"{what}: {'caught' if caught else 'MISSED'} by {' '.join(command)} in {took:.0f} s"
              f" ({' / '.join(last)})", flush=True)
    print("\nfault | suite | caught | seconds")
    for what, command, caught, took in rows:
        print(f"{what} | {command} | {'yes' if caught else 'NO'} | {took:.0f}")
    sys.exit(0 if all(caught for _, _, caught, _ in rows) else 1)


if __name__ == "__main__":
    main()
