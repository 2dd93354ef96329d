#!/usr/bin/env python3
"""Checks, without building anything, that every fault the two planters
(scripts/plant_faults.py and scripts/plant_program_faults.py) would plant
still has its place: the text each one changes stands exactly once in its
file of the checkout. A rename or a reformat of that code would otherwise
disarm the fault silently until a planter is run by hand. Names the planter,
the fault, the file and the text of each one that is lost, and writes a JUnit
report with a test case per fault where BRIKFALL_REPORT says.

Usage: scripts/check_planters.py"""

import os
import sys
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # no byte code of the planters in the checkout
import plant_faults  # noqa: E402
import plant_program_faults  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def faults():
    """(planter, fault, file, text as written) for every fault of both planters."""
    for what, path, written, _ in plant_faults.FAULTS:
        yield "scripts/plant_faults.py", what, path, written
    for name, (what, path, written, _, _) in plant_program_faults.FAULTS.items():
        yield "scripts/plant_program_faults.py", f"{name}: {what}", path, written


def problem(path, written):
    """Why the fault cannot be planted, or None when it can."""
    try:
        with open(os.path.join(ROOT, path), encoding="utf-8") as file:
            found = file.read().count(written)
    except OSError as error:
        return f"{path} cannot be read: {error.strerror}"
    if found == 1:
        return None
    where = "does not hold" if found == 0 else f"holds {found} times"
    return f"{path} {where} the text the fault changes:\n{written}"


def main():
    suite = ElementTree.Element("testsuite", name="planters")
    lost = 0
    total = 0
    for planter, what, path, written in faults():
        total += 1
        case = ElementTree.SubElement(suite, "testcase", classname=planter, name=what)
        why = problem(path, written)
        if why is None:
            continue
        lost += 1
        message = f"{planter}: cannot plant \"{what}\": {why}"
        ElementTree.SubElement(case, "failure", message=message).text = message
        print(message, end="\n\n")
    suite.set("tests", str(total))
    suite.set("failures", str(lost))
    report = os.environ.get("BRIKFALL_REPORT")
    if report:
        ElementTree.ElementTree(suite).write(report, encoding="utf-8", xml_declaration=True)
    print(f"planters: {total - lost} of {total} faults have their text in place")
    sys.exit(1 if lost else 0)


if __name__ == "__main__":
    main()
