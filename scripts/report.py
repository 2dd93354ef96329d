"""Counts one suite's tests for scripts/test.sh from its runner's report:
JUnit XML (ctest --output-junit, pytest --junitxml) or GoogleTest XML, which
both list a <testcase> per test with a <failure> or <error> inside when it
failed. A suite without a report counts as one test, passed or failed by its
exit code; a suite that failed with no failing test in its report (a build
error, a crash after the tests) counts one failure more.

Usage: report.py NAME REPORT EXIT_CODE
Prints "PASSED FAILED", then the name of each failing test on a line."""

import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path


def outcomes(report):
    """(test name, "passed" | "failed" | "skipped") for each test case."""
    for case in ElementTree.parse(report).iter("testcase"):
        name = case.get("name", "")
        # ctest repeats the name as the class; pytest and GoogleTest do not.
        if case.get("classname") and case.get("classname") != name:
            name = f"{case.get('classname')}.{name}"
        children = {child.tag for child in case}
        if children & {"failure", "error"} or case.get("status") == "fail":
            yield name, "failed"
        elif "skipped" in children or case.get("status") in ("notrun", "disabled") \
                or case.get("result") == "skipped":
            yield name, "skipped"
        else:
            yield name, "passed"


def main():
    name, report, code = sys.argv[1], Path(sys.argv[2]), int(sys.argv[3])
    if report.exists():
        results = list(outcomes(report))
    else:
        results = [(name, "passed" if code == 0 else "failed")]
    failing = [test for test, outcome in results if outcome == "failed"]
    if code != 0 and not failing:
        failing.append(f"{name} (exit code {code})")
    passed = sum(1 for _, outcome in results if outcome == "passed")
    print(passed, len(failing))
    for test in failing:
        print(test)


if __name__ == "__main__":
    main()
