#!/usr/bin/env python3
"""Reads the JUnit file of a ctest run under Wine and tells which failed tests
may be run once more.

    wine-test-results.py failed RESULTS.xml     names of the failed tests, one a line
    wine-test-results.py retry RESULTS.xml      those of them to run once more
    wine-test-results.py reason RESULTS.xml NAME
                                                 why NAME failed, on one line
    wine-test-results.py regex NAME             a ctest -R expression for NAME alone

Under Wine a process now and then dies at its start (CreateProcessW fails
with error 1359, ERROR_INTERNAL_ERROR, or the child ends at once printing
nothing). That case, and only that one, is worth a second run: a test that
failed, timed out or threw after it started has told us something about the
program, and fails the run. A test counts as dead at start when it failed
within START_DEATH_SECONDS and printed nothing at all (not even gtest's first
line), or when its only failure is the test driver's report that Wine could not
create one of the test's processes (PROCESS_CREATION_FAULT).
"""
import re
import sys
import xml.etree.ElementTree as ElementTree

START_DEATH_SECONDS = 0.5
# What tests/harness/ui_driver.cpp throws when CreateProcessW fails with 1359.
PROCESS_CREATION_FAULT = re.compile(r'^C\+\+ exception with description "cannot start .* \(error 1359\)" thrown in the test body\.$')


def test_cases(path):
    return ElementTree.parse(path).getroot().iter("testcase")


def failed(case):
    # ctest marks a test that passed "run"; "fail" and "notrun" (it could not
    # be started at all) are failures.
    return case.get("status") not in ("run", "disabled") or case.find("failure") is not None


def output_of(case):
    out = case.find("system-out")
    return (out.text or "") if out is not None else ""


def process_creation_failed(case):
    """The test failed once, and only because Wine refused to create a process."""
    failures = [line for line in output_of(case).splitlines() if line.startswith("unknown file: Failure")
                or re.match(r"^\S+:\d+: Failure", line)]
    reports = [line for line in output_of(case).splitlines() if PROCESS_CREATION_FAULT.match(line.strip())]
    return len(failures) == 1 and len(reports) == 1


def died_at_start(case):
    seconds = float(case.get("time", "0") or 0)
    return (seconds < START_DEATH_SECONDS and output_of(case).strip() == "") or process_creation_failed(case)


def reason(case):
    """The first attempt's failure in one line."""
    seconds = float(case.get("time", "0") or 0)
    text = output_of(case)
    if process_creation_failed(case):
        return "Wine could not create one of its processes (error 1359) after %.2f s" % seconds
    if died_at_start(case):
        return "died at start after %.2f s, printing nothing" % seconds
    for marker in ("timed out", "Timeout", "Exception", "C++ exception", "Failure"):
        for line in text.splitlines():
            if marker in line:
                return "%s (after %.2f s)" % (line.strip()[:160], seconds)
    return "failed after %.2f s" % seconds


def main(argv):
    if len(argv) >= 3 and argv[1] in ("failed", "retry"):
        for case in test_cases(argv[2]):
            if failed(case) and (argv[1] == "failed" or died_at_start(case)):
                print(case.get("name"))
        return 0
    if len(argv) >= 3 and argv[1] == "regex":
        print("^" + re.escape(argv[2]) + "$")
        return 0
    if len(argv) >= 4 and argv[1] == "reason":
        for case in test_cases(argv[2]):
            if case.get("name") == argv[3]:
                print(reason(case))
                return 0
        print("no result")
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
