#!/usr/bin/env python3
"""tools/wine-test-results.py on a table of sample results, laid out as a run
under Wine leaves them: ctest's JUnit file, ctest's test list and one
GoogleTest result file per test, all in a folder whose path holds a blank
(as a checkout's may). Each row says whether the test failed, whether it is
run once more (only a test that died at its start: printed nothing at once,
or whose only failure is Wine refusing to create a process) and what the run
says about its first attempt."""
import json
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
from pathlib import Path
from xml.sax.saxutils import quoteattr

ROOT = Path(__file__).resolve().parents[2]
SCRIPT = ROOT / "tools" / "wine-test-results.py"

REFUSED = ('C++ exception with description "cannot start C:\\Program Files\\Orvantis\\TiqoraDesk.exe '
           '(error 1359)" thrown in the test body.')


def printed(name, *lines):
    """What a GoogleTest program prints for one test, as ctest keeps it."""
    return "\n".join(["Running main() from /usr/src/googletest/googletest/src/gtest_main.cc",
                      "Note: Google Test filter = " + name, "[ RUN      ] " + name, *lines]) + "\n"


def assertion(source):
    return (source, "Expected equality of these values:\n  sent\n    Which is: 1\n  0")


def refused():
    return ("unknown file", REFUSED)


# (test, what ctest recorded: status, seconds, printed text, its own verdict;
#  the failures GoogleTest wrote as (location, text), None when it wrote no
#  file; expected: failed, run once more, words of the reason)
ROWS = [
    ("Passes.AtOnce", ("run", 0.3, printed("Passes.AtOnce", "[       OK ] Passes.AtOnce (12 ms)"), None),
     [], (False, False, None)),
    ("Assertion.Fails", ("fail", 2.1, printed("Assertion.Fails", "/work/main/tests/e2e/a_test.cpp:40: Failure"), "Failed"),
     [assertion("/work/main/tests/e2e/a_test.cpp:40")], (True, False, "Expected equality of these values")),
    ("Exception.Escapes", ("fail", 1.2, printed("Exception.Escapes", "unknown file: Failure"), "Failed"),
     [("unknown file", 'C++ exception with description "no such window" thrown in the test body.')],
     (True, False, "no such window")),
    ("TimesOut.Waiting", ("fail", 60.0, printed("TimesOut.Waiting"), "Timeout"),
     None, (True, False, "timed out after 60.00 s")),
    ("Silent.Death", ("fail", 0.12, "", "Failed"),
     None, (True, True, "died at start after 0.12 s, printing nothing")),
    ("DiesAfter.ItsStart", ("fail", 0.2, printed("DiesAfter.ItsStart"), "Failed"),
     None, (True, False, "before GoogleTest wrote its results")),
    ("Refused.Alone", ("fail", 0.4, printed("Refused.Alone", "unknown file: Failure", REFUSED), "Failed"),
     [refused()], (True, True, "Wine could not create one of its processes (error 1359)")),
    ("Refused.AfterAFailure",
     ("fail", 3.0, printed("Refused.AfterAFailure", "/work/main/tests/e2e/b_test.cpp:77: Failure",
                           "unknown file: Failure", REFUSED), "Failed"),
     [assertion("/work/main/tests/e2e/b_test.cpp:77"), refused()], (True, False, "Expected equality")),
    ("BlankPath.FailureThenRefused",
     ("fail", 3.0, printed("BlankPath.FailureThenRefused", "/work/wt with blank/tests/e2e/b_test.cpp:77: Failure",
                           "unknown file: Failure", REFUSED), "Failed"),
     [assertion("/work/wt with blank/tests/e2e/b_test.cpp:77"), refused()], (True, False, "Expected equality")),
]


def gtest_file(name, failures):
    """A result file as GoogleTest writes it for a run filtered to one test."""
    suite, test = name.split(".", 1)
    body = "".join('      <failure message=%s type=""><![CDATA[%s\n%s]]></failure>\n'
                   % (quoteattr(location + "\n" + text), location, text)
                   for location, text in failures)
    case = ('    <testcase name="%s" file="t.cpp" line="1" status="run" result="completed" time="0.1" '
            'timestamp="2026-01-01T00:00:00" classname="%s"' % (test, suite))
    case += (">\n" + body + "    </testcase>\n") if failures else " />\n"
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<testsuites tests="1" failures="%d" disabled="0" errors="0" '
            'time="0.1" timestamp="2026-01-01T00:00:00" name="AllTests">\n  <testsuite name="%s" tests="1" '
            'failures="%d" disabled="0" skipped="0" errors="0" time="0.1" timestamp="2026-01-01T00:00:00">\n'
            '%s  </testsuite>\n</testsuites>\n' % (bool(failures), suite, bool(failures), case))


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def lay_out(folder):
    """The run's JUnit file and test list in `folder`; GoogleTest's files in
    a folder of it. Returns the paths of the two."""
    results = folder / "gtest results"
    results.mkdir()
    junit = ElementTree.Element("testsuite", name="(empty)", tests=str(len(ROWS)))
    listing = {"kind": "ctestInfo", "version": {"major": 1, "minor": 0}, "tests": []}
    for name, (status, seconds, text, verdict), failures, _ in ROWS:
        case = ElementTree.SubElement(junit, "testcase", name=name, classname=name, time=str(seconds), status=status)
        if verdict:
            ElementTree.SubElement(case, "failure", message=verdict)
        ElementTree.SubElement(case, "system-out").text = text
        xml_file = results / (name + ".xml")
        if failures is not None:
            xml_file.write_text(gtest_file(name, failures), encoding="utf-8")
        listing["tests"].append({"name": name, "command": [
            "/usr/bin/wine", str(folder / "bin" / "e2e_tests.exe"), "--gtest_filter=" + name,
            "--gtest_also_run_disabled_tests", "--gtest_output=xml:" + windows_path(xml_file)]})
    junit_path, tests_path = folder / "win-tests.xml", folder / "win-tests.json"
    ElementTree.ElementTree(junit).write(junit_path, encoding="UTF-8", xml_declaration=True)
    tests_path.write_text(json.dumps(listing), encoding="utf-8")
    return junit_path, tests_path


def run(*arguments):
    result = subprocess.run([sys.executable, str(SCRIPT), *map(str, arguments)], capture_output=True, text=True)
    if result.returncode != 0:
        raise AssertionError("wine-test-results.py %s: exit %d: %s" % (arguments[0], result.returncode, result.stderr))
    return result.stdout.splitlines()


class WineTestResults(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="run with blank ")
        self.junit, self.tests = lay_out(Path(self.folder.name))

    def tearDown(self):
        self.folder.cleanup()

    def test_each_sample_is_read_exactly(self):
        failed = set(run("failed", self.junit, self.tests))
        retried = set(run("retry", self.junit, self.tests))
        for name, _, _, (fails, retries, reason) in ROWS:
            with self.subTest(test=name):
                self.assertEqual(name in failed, fails)
                self.assertEqual(name in retried, retries)
                if reason:
                    self.assertIn(reason, run("reason", self.junit, self.tests, name)[0])


if __name__ == "__main__":
    unittest.main()
