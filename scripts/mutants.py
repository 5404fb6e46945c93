#!/usr/bin/env python3
"""Runs single-line mutants of the core against its tests and prints the kill rate.

Each mutant in the list names a source file by its base name (found anywhere under src/),
an exact piece of source text that occurs once in that file, and its replacement. The
mutant is applied, only the test binaries named for it are rebuilt and run (stopping at the
first failure), and the source is restored before the next mutant, on error or interrupt too
(only a hard kill can leave a mutant behind: `git diff src` shows it).

    python3 scripts/mutants.py [--build build] [--list scripts/mutants.txt] [--only TEXT] [--jobs 2]
"""

import argparse
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


class Mutant:
    def __init__(self, line_no, file_name, find, replace, tests):
        self.line_no = line_no
        self.file_name = file_name
        self.find = find
        self.replace = replace
        self.tests = tests
        self.path = None

    def label(self):
        return f"{self.file_name}: {self.find} => {self.replace}"


def parse_list(list_path):
    """Lines `tests: test_a test_b` set the binaries for the mutants below them;
    mutant lines read `FILE: FIND => REPLACE` (REPLACE may be empty); `#` starts a comment line."""
    mutants, tests = [], []
    for number, raw in enumerate(list_path.read_text().splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("tests:"):
            tests = line[len("tests:"):].split()
            continue
        head, sep, rest = line.partition(": ")
        find, arrow, replace = rest.partition(" =>")
        find, replace = find.strip(), replace.strip()
        if not sep or not arrow or not find:
            sys.exit(f"{list_path}:{number}: expected 'FILE: FIND => REPLACE'")
        if not tests:
            sys.exit(f"{list_path}:{number}: no 'tests:' line before this mutant")
        mutants.append(Mutant(number, head.strip(), find, replace, list(tests)))
    return mutants


def locate(mutants):
    """Finds each mutant's file and checks that its text occurs exactly once."""
    sources = {}
    for pattern in ("*.cpp", "*.h"):
        for path in (ROOT / "src").rglob(pattern):
            sources.setdefault(path.name, []).append(path)
    errors = []
    for m in mutants:
        paths = sources.get(m.file_name, [])
        if len(paths) != 1:
            errors.append(f"line {m.line_no}: {len(paths)} files named {m.file_name} under src/")
            continue
        m.path = paths[0]
        count = m.path.read_text().count(m.find)
        if count != 1:
            errors.append(f"line {m.line_no}: text found {count} times in {m.file_name}: {m.find}")
    if errors:
        sys.exit("mutant list does not match the sources:\n  " + "\n  ".join(errors))


def build(build_dir, tests, jobs):
    # Tests in several binaries start vantrel-cli, so it always carries the mutant too.
    targets = list(tests) + ["vantrel-cli"]
    result = subprocess.run(["cmake", "--build", str(build_dir), "-j", str(jobs), "--target", *targets],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode == 0, result.stdout


def run_tests(build_dir, tests, timeout):
    """Runs each binary as ctest would; returns the name of the first that fails, or None."""
    test_dir = build_dir / "tests"
    env = dict(os.environ, VANTREL_CLI=str(build_dir / "app" / "cli" / "vantrel-cli"))
    for name in tests:
        try:
            result = subprocess.run([str(test_dir / name), "--gtest_fail_fast", "--gtest_brief=1"],
                                    cwd=test_dir, env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, timeout=timeout)
        except subprocess.TimeoutExpired:
            return f"{name} (timed out)"
        if result.returncode != 0:
            return name
    return None


def on_terminate(signum, frame):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=str(ROOT / "build"), help="configured build folder (default: build)")
    parser.add_argument("--list", default=str(ROOT / "scripts" / "mutants.txt"), help="mutant list")
    parser.add_argument("--only", default="", help="run only mutants whose line contains this text")
    parser.add_argument("--jobs", type=int, default=2, help="build jobs (default: 2)")
    parser.add_argument("--timeout", type=float, default=300, help="seconds per test binary (default: 300)")
    args = parser.parse_args()
    build_dir = Path(args.build).resolve()

    mutants = [m for m in parse_list(Path(args.list)) if args.only in m.label()]
    locate(mutants)
    all_tests = sorted({t for m in mutants for t in m.tests})
    ok, log = build(build_dir, all_tests, args.jobs)
    if not ok:
        sys.exit("the unmutated tree does not build:\n" + log[-3000:])
    failing = run_tests(build_dir, all_tests, args.timeout)
    if failing:
        sys.exit(f"the unmutated tree fails {failing}: fix that first")

    # SIGTERM ends the run as Ctrl-C does, so the finally clause below restores the source;
    # SIGINT is set too, as a shell starts background jobs with it ignored.
    signal.signal(signal.SIGTERM, on_terminate)
    signal.signal(signal.SIGINT, on_terminate)
    killed, survived, broken = [], [], []
    start = time.monotonic()
    for index, m in enumerate(mutants, 1):
        original = m.path.read_bytes()
        try:
            m.path.write_bytes(original.replace(m.find.encode(), m.replace.encode(), 1))
            built, log = build(build_dir, m.tests, args.jobs)
            if not built:
                broken.append(m)
                verdict = "does not build"
            else:
                failed = run_tests(build_dir, m.tests, args.timeout)
                (killed if failed else survived).append(m)
                verdict = f"killed by {failed}" if failed else "SURVIVED"
        finally:
            m.path.write_bytes(original)
        print(f"[{index}/{len(mutants)}] {verdict}: {m.label()}", flush=True)

    # Leave the build matching the restored sources.
    build(build_dir, all_tests, args.jobs)
    tried = len(killed) + len(survived)
    rate = 100.0 * len(killed) / tried if tried else 0.0
    print(f"\nkilled {len(killed)} of {tried} mutants: {rate:.1f}%"
          f" ({len(broken)} did not build; {time.monotonic() - start:.0f} s)")
    for m in survived:
        print(f"  survived: {m.label()}")
    for m in broken:
        print(f"  did not build: {m.label()}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit("interrupted; the source was restored")
