#!/usr/bin/env python3
"""Fails a test run that skipped what it was not expected to skip.

Reads the JUnit file CTest wrote (ctest --output-junit) and collects every skip: a test CTest did not
run, and every Qt Test function or row that said SKIP. Each is matched against the allow-list
(tests/expected-skips.txt: lines "TEST-NAME-REGEX<TAB>MESSAGE-REGEX", # for comments). All skips are
printed at the end of the run; an unexpected one fails it.
   check-skips.py JUNIT.xml ALLOW-LIST
"""
import re
import sys
import xml.etree.ElementTree as ET


def main():
    junit, allow_list = sys.argv[1], sys.argv[2]
    allowed = []
    with open(allow_list, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.strip() and not line.startswith("#"):
                test, _, message = line.partition("\t")
                allowed.append((re.compile(test), re.compile(message)))

    skips = []  # (ctest test name, what was skipped)
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name", "")
        if case.get("status") in ("notrun", "disabled") or case.find("skipped") is not None:
            skips.append((name, "not run by CTest"))
        out = case.findtext("system-out") or ""
        for line in out.splitlines():
            if line.startswith("SKIP   :"):
                skips.append((name, line[len("SKIP   :"):].strip()))

    unexpected = [s for s in skips if not any(t.search(s[0]) and m.search(s[1]) for t, m in allowed)]
    print(f"Skipped: {len(skips)} ({len(skips) - len(unexpected)} expected)")
    for test, what in skips:
        mark = "UNEXPECTED " if (test, what) in unexpected else ""
        print(f"  {mark}{test}: {what}")
    if unexpected:
        print(f"{len(unexpected)} unexpected skip(s): install what they name or fix the test; "
              "a skip that is right here belongs in tests/expected-skips.txt", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
