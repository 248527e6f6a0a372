#!/usr/bin/env python3
"""Runs the report tests of a test program (test_viewmodel and the module
model programs), which copy every report they write into a folder, and
parses each copy with html5lib in strict mode: any HTML5 parse error fails
the test. The report tests are those whose fixture begins with "Report",
or those the optional GoogleTest filter names."""

import os
import shutil
import subprocess
import sys

import html5lib


def main():
    if len(sys.argv) not in (3, 4):
        print("usage: check_html5.py TEST_PROGRAM SAMPLE_FOLDER [GTEST_FILTER]", file=sys.stderr)
        return 2
    program, samples = sys.argv[1], sys.argv[2]
    selection = sys.argv[3] if len(sys.argv) == 4 else "Report*"
    shutil.rmtree(samples, ignore_errors=True)
    os.makedirs(samples)
    env = dict(os.environ, ZOR_REPORT_SAMPLES_DIR=samples)
    run = subprocess.run([program, "--gtest_filter=" + selection], env=env)
    if run.returncode != 0:
        print("the report tests failed", file=sys.stderr)
        return 1
    names = sorted(n for n in os.listdir(samples) if n.endswith(".htm"))
    if not names:
        print("the report tests wrote no report", file=sys.stderr)
        return 1
    failures = 0
    for name in names:
        path = os.path.join(samples, name)
        with open(path, "rb") as f:
            data = f.read()
        parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
        try:
            parser.parse(data, transport_encoding="utf-8")
        except Exception as error:  # html5lib raises ParseError on the first error
            failures += 1
            print("%s: %s" % (name, error), file=sys.stderr)
    print("%d reports parsed, %d with errors" % (len(names), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
