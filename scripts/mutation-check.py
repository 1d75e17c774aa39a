#!/usr/bin/env python3
"""Measures what the test suite catches: applies each fault of a list to the
product code, one at a time, rebuilds incrementally, runs the suite until its
first failure, restores the file and prints which faults survived.

    scripts/mutation-check.py [--build DIR] [--list FILE] [--only N[,N...]]
                              [--ctest-args "..."] [--hints LOG]

The list (default tests/mutations.txt) holds one fault per line:

    path | text as it stands | text that replaces it

A "\\n" in a text stands for a line break. The text must occur exactly
once in the file; a line whose text is gone is reported as stale instead of
being run. Lines starting with # are comments.
A fault that does not compile is reported and not counted. The build folder
must already be configured and built (scripts/test.sh does that); the files
are restored whatever happens, and the build is brought back at the end.

--hints takes the output of an earlier run: a fault that a test killed there
is tried against that test first, then against the rest of the suite. The
verdict is the same; a run over a suite that mostly kills takes minutes
instead of an hour. Where the hint also names the test function
("tst_widget:rendererDies", as this script reports a kill), only that
binary is rebuilt and only that function run first, with the test's own
command and environment; a QtTest failure there is the kill, anything else
goes on to the whole suite.
"""
import argparse
import json
import os
import re
import subprocess
import sys
import time
from pathlib import Path

root = Path(__file__).resolve().parent.parent


def parse_list(path):
    faults = []
    for number, line in enumerate(path.read_text().splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        parts = [p.strip() for p in re.split(r" \|(?: |$)", line)]
        if len(parts) != 3:
            sys.exit(f"{path}:{number}: expected 'path | text | replacement'")
        # "\\n" stands for a line break inside a text.
        faults.append((number, parts[0], *(p.replace("\\n", "\n") for p in parts[1:])))
    return faults


def run(command, cwd, timeout=None):
    return subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, timeout=timeout)


def first_failed_test(output):
    for line in output.splitlines():
        if "***Failed" in line or "***Timeout" in line or "***Exception" in line \
                or "Subprocess aborted" in line or "(Failed)" in line:
            return line.split(":", 1)[-1].split()[0] if ":" in line else line.strip()
    return "?"


def read_hints(path):
    """Maps a list line number to the test that killed it in an earlier run."""
    hints = {}
    for line in Path(path).read_text().splitlines():
        found = re.match(r"line +(\d+): killed .* (\S+) \(\d+ s\)$", line)
        if found:
            hints[int(found.group(1))] = found.group(2)
    return hints


def failed_function(output):
    """The first QtTest function that failed in a test's output, or None."""
    found = re.search(r"^FAIL!  : \w+::(\w+)\(", output, re.MULTILINE)
    return found.group(1) if found else None


def ctest_commands(build):
    """Each test's command line, environment and folder, as CTest runs it."""
    shown = json.loads(run(["ctest", "--show-only=json-v1"], build).stdout)
    commands = {}
    for test in shown.get("tests", []):
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        environment = dict(os.environ)
        for setting in properties.get("ENVIRONMENT", []):
            name, _, value = setting.partition("=")
            environment[name] = value
        commands[test["name"]] = (test.get("command", []), environment,
                                  properties.get("WORKING_DIRECTORY", str(build)))
    return commands


def run_function(build, commands, test, function):
    """Builds only `test` and runs only its `function`: the function when it
    failed a check, else None."""
    if test not in commands or not commands[test][0]:
        return None
    # A test entry named other than its binary gets the whole build.
    if (run(["cmake", "--build", str(build), "--target", test], root).returncode != 0 and
            run(["cmake", "--build", str(build)], root).returncode != 0):
        return None
    command, environment, folder = commands[test]
    try:
        ran = subprocess.run(command + [function], cwd=folder, env=environment,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                             timeout=300)
    except subprocess.TimeoutExpired:
        return None
    return failed_function(ran.stdout) if ran.returncode != 0 else None


def run_suite(build, ctest_args, hint):
    """Returns the first test that fails, or None when the whole suite passes."""
    rounds = [[]]
    if hint:
        only = f"^{re.escape(hint)}$"
        rounds = [["-R", only], ["-E", only]]
    for selection in rounds:
        # The tree's habits (layout, layers, catalogues) are no verdict on
        # behaviour: a planted fault is not laid out as the tree is.
        tests = run(["ctest", "--stop-on-failure", "--output-on-failure", "--timeout", "300",
                     "-LE", "^tree$", *ctest_args, *selection], build)
        if tests.returncode != 0:
            test = first_failed_test(tests.stdout)
            function = failed_function(tests.stdout)
            return f"{test}:{function}" if function else test
    return None


def check(fault, build, ctest_args, hint=None, commands=None):
    number, relative, original, replacement = fault
    source = root / relative
    text = source.read_text()
    if text.count(original) != 1:
        return "stale", f"text found {text.count(original)} times"
    source.write_text(text.replace(original, replacement))
    try:
        test, _, function = (hint or "").partition(":")
        if function and run_function(build, commands or {}, test, function):
            return "killed", hint
        built = run(["cmake", "--build", str(build)], root)
        if built.returncode != 0:
            return "no-build", ""
        failed = run_suite(build, ctest_args, test or None)
        return ("survived", "") if failed is None else ("killed", failed)
    finally:
        source.write_text(text)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(root / "build"))
    parser.add_argument("--list", default=str(root / "tests/mutations.txt"))
    parser.add_argument("--only", default="")
    parser.add_argument("--ctest-args", default="")
    parser.add_argument("--hints", default="")
    options = parser.parse_args()
    hints = read_hints(options.hints) if options.hints else {}
    build = Path(options.build)
    faults = parse_list(Path(options.list))
    if options.only:
        wanted = {int(n) for n in options.only.split(",")}
        faults = [f for f in faults if f[0] in wanted]

    # A function run would go round the tests that --ctest-args narrows to:
    # with those, a hint names its test only.
    if options.ctest_args:
        hints = {n: h.partition(":")[0] for n, h in hints.items()}
    commands = ctest_commands(build) if hints else {}
    # A function that fails alone on the tree as it stands (one that needs
    # the functions before it) proves nothing under a fault: its hint is
    # then its test's only.
    for hint in sorted({hints[f[0]] for f in faults if ":" in hints.get(f[0], "")}):
        test, _, function = hint.partition(":")
        if run_function(build, commands, test, function):
            print(f"hint {hint} fails without a fault: its test is tried first instead",
                  flush=True)
            hints = {n: test if h == hint else h for n, h in hints.items()}
    results = {}
    for fault in faults:
        started = time.monotonic()
        verdict, detail = check(fault, build, options.ctest_args.split(), hints.get(fault[0]),
                                commands)
        results.setdefault(verdict, []).append(fault)
        print(f"line {fault[0]:3}: {verdict:8} {fault[1]}: {fault[2]!r} -> {fault[3]!r}"
              f" {detail} ({time.monotonic() - started:.0f} s)", flush=True)
    run(["cmake", "--build", str(build)], root)

    killed = len(results.get("killed", []))
    survived = results.get("survived", [])
    counted = killed + len(survived)
    print(f"\nkilled {killed} of {counted} faults that compiled"
          f" ({len(results.get('no-build', []))} did not compile,"
          f" {len(results.get('stale', []))} stale)")
    for fault in survived:
        print(f"SURVIVED line {fault[0]}: {fault[1]}: {fault[2]!r} -> {fault[3]!r}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
