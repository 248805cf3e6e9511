#!/usr/bin/env python3
"""Reads the results of a ctest run under Wine and tells which failed tests
may be run once more.

    wine-test-results.py failed RESULTS.xml TESTS.json
                                      names of the failed tests, one a line
    wine-test-results.py retry RESULTS.xml TESTS.json
                                      those of them to run once more
    wine-test-results.py reason RESULTS.xml TESTS.json NAME
                                      why NAME failed, on one line
    wine-test-results.py regex NAME   a ctest -R expression for NAME alone

RESULTS.xml is ctest's JUnit file (--output-junit): whether each test passed,
how long it ran and what it printed. TESTS.json is the same build's test list
(ctest --show-only=json-v1): each test's command, whose --gtest_output names
the XML file in which GoogleTest wrote that test's own results. The failures
are counted from that file, one <failure> element each, never from the
printed text, whose lines hold the source paths (and with them any blank in
the checkout's path).

Under Wine a process now and then dies at its start (CreateProcessW fails
with error 1359, ERROR_INTERNAL_ERROR, or the child ends at once printing
nothing). That case, and only that one, is worth a second run: a test that
failed, timed out or threw after it started has told us something about the
program, and fails the run. A test counts as dead at start when it failed
within START_DEATH_SECONDS and printed nothing at all (not even GoogleTest's
first line), or when GoogleTest recorded exactly one failure for it and that
failure is the test driver's report that Wine could not create one of the
test's processes (PROCESS_CREATION_FAULT).
"""
import json
import re
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

START_DEATH_SECONDS = 0.5
# What tests/harness/ui_driver.cpp throws when CreateProcessW fails with 1359,
# as GoogleTest words an exception that escaped the test body.
PROCESS_CREATION_FAULT = re.compile(r'^C\+\+ exception with description "cannot start .* \(error 1359\)" thrown in the test body\.$')
GTEST_OUTPUT = "--gtest_output=xml:"


def test_cases(path):
    return ElementTree.parse(path).getroot().iter("testcase")


def failed(case):
    # ctest marks a test that passed "run"; "fail" and "notrun" (it could not
    # be started at all) are failures.
    return case.get("status") not in ("run", "disabled") or case.find("failure") is not None


def output_of(case):
    out = case.find("system-out")
    return (out.text or "") if out is not None else ""


def seconds_of(case):
    return float(case.get("time", "0") or 0)


def unix_path(windows_path):
    """The Linux path of a file the test program was told to write: the Wine
    machine's drive Z: is the Linux root."""
    if re.match(r"^[Zz]:", windows_path):
        return windows_path[2:].replace("\\", "/")
    return windows_path


def gtest_files(tests_json):
    """Each test's GoogleTest result file, by the test's ctest name."""
    with open(tests_json, encoding="utf-8") as listing:
        tests = json.load(listing).get("tests", [])
    files = {}
    for test in tests:
        for argument in test.get("command", []):
            if argument.startswith(GTEST_OUTPUT):
                files[test["name"]] = Path(unix_path(argument[len(GTEST_OUTPUT):]))
    return files


def gtest_failures(path):
    """The failures GoogleTest recorded, each as the text after its location
    line; None when GoogleTest wrote no complete result file (the program
    ended before the end of its run)."""
    if path is None or not path.is_file():
        return None
    try:
        root = ElementTree.parse(path).getroot()
    except ElementTree.ParseError:
        return None
    failures = []
    for failure in root.iter("failure"):
        summary = failure.get("message", "")
        failures.append(summary.split("\n", 1)[1] if "\n" in summary else summary)
    return failures


class Results:
    def __init__(self, junit, tests_json):
        self.cases = list(test_cases(junit))
        self.files = gtest_files(tests_json)

    def failures_of(self, case):
        return gtest_failures(self.files.get(case.get("name")))

    def process_creation_failed(self, case):
        """The test failed once, and only because Wine refused to create a process."""
        failures = self.failures_of(case)
        return failures is not None and len(failures) == 1 and PROCESS_CREATION_FAULT.match(failures[0].strip())

    def died_at_start(self, case):
        silent = seconds_of(case) < START_DEATH_SECONDS and output_of(case).strip() == ""
        return silent or bool(self.process_creation_failed(case))

    def reason(self, case):
        """The first attempt's failure in one line."""
        seconds = seconds_of(case)
        if self.process_creation_failed(case):
            return "Wine could not create one of its processes (error 1359) after %.2f s" % seconds
        if self.died_at_start(case):
            return "died at start after %.2f s, printing nothing" % seconds
        failures = self.failures_of(case)
        if failures:
            first = " ".join(failures[0].split())
            return "%s (after %.2f s)" % (first[:160], seconds)
        verdict = case.find("failure")
        verdict = verdict.get("message", "") if verdict is not None else ""
        if verdict == "Timeout":
            return "timed out after %.2f s" % seconds
        return "ended after %.2f s before GoogleTest wrote its results%s" % (seconds, " (%s)" % verdict if verdict else "")


def main(argv):
    if len(argv) >= 4 and argv[1] in ("failed", "retry"):
        results = Results(argv[2], argv[3])
        for case in results.cases:
            if failed(case) and (argv[1] == "failed" or results.died_at_start(case)):
                print(case.get("name"))
        return 0
    if len(argv) >= 3 and argv[1] == "regex":
        print("^" + re.escape(argv[2]) + "$")
        return 0
    if len(argv) >= 5 and argv[1] == "reason":
        results = Results(argv[2], argv[3])
        for case in results.cases:
            if case.get("name") == argv[4]:
                print(results.reason(case))
                return 0
        print("no result")
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
