"""Counts one suite's tests for scripts/test.sh from its runner's report:
JUnit XML (ctest --output-junit, pytest --junitxml) or GoogleTest XML, which
both list a <testcase> per test with a <failure> or <error> inside when it
failed and a <skipped> (or a skipped status) when it did not run. A suite
without a report counts as one test, passed or failed by its exit code; a
report that lists no test case counts as one failure, whatever the exit code
(a filter that matched nothing, a suite that lost its tests); a suite that
failed with no failing test in its report (a build error, a crash after the
tests) counts one failure more.

Usage: report.py NAME REPORT EXIT_CODE
Prints "PASSED FAILED SKIPPED", then "failed: TEST" for each failing test
and "skipped: TEST" for each skipped one, a line each."""

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


def count(name, report, code):
    """(passed, failing test names, skipped test names) of one suite."""
    if not report.exists():
        return (1, [], []) if code == 0 else (0, [f"{name} (exit code {code})"], [])
    try:
        results = list(outcomes(report))
    except ElementTree.ParseError as error:
        return 0, [f"{name} (unreadable report {report}: {error})"], []
    failing = [test for test, outcome in results if outcome == "failed"]
    skipped = [test for test, outcome in results if outcome == "skipped"]
    if not results:
        failing.append(f"{name} (no test case in {report})")
    elif code != 0 and not failing:
        failing.append(f"{name} (exit code {code})")
    passed = sum(1 for _, outcome in results if outcome == "passed")
    return passed, failing, skipped


def main():
    name, report, code = sys.argv[1], Path(sys.argv[2]), int(sys.argv[3])
    passed, failing, skipped = count(name, report, code)
    print(passed, len(failing), len(skipped))
    for test in failing:
        print("failed:", test)
    for test in skipped:
        print("skipped:", test)


if __name__ == "__main__":
    main()
