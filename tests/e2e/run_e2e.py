#!/usr/bin/env python3
"""Runs the end-to-end tests: the built program on a private virtual
desktop, driven with real keys, read back through the accessibility bus and
on disk.

    run_e2e.py --program build/src/cardomo [-v] [-k PATTERN] [--module test_x] [--keep]

Needs Xvfb, xdotool, setxkbmap, dbus-daemon, at-spi2-core and python3-pyatspi
(scripts/deps installs them); openbox is used when present.
"""
import argparse
import os
import shutil
import signal
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from session import session  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, help="the cardomo executable")
    parser.add_argument("-k", dest="patterns", action="append", default=None,
                        help="only tests whose name contains this (may be repeated)")
    parser.add_argument("--module", dest="modules", action="append", default=None,
                        help="only the tests of this file, e.g. test_keys (may be repeated)")
    parser.add_argument("-v", "--verbose", action="store_true")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folder (its path is printed)")
    args = parser.parse_args()
    if not os.access(args.program, os.X_OK):
        parser.error(f"{args.program} is not an executable program")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        parser.error(f"{sys.executable} has no pyatspi: run the system's python3 with python3-pyatspi installed")
    missing = [t for t in ("Xvfb", "xdotool", "setxkbmap", "dbus-daemon", "dbus-send") if not shutil.which(t)]
    if missing:
        parser.error(f"missing on this system: {', '.join(missing)} (scripts/deps installs them)")

    # Ended from outside (a ctest timeout, Ctrl+C): unwind, so that the
    # desktop and the programs are ended and the volumes unmounted.
    def interrupted(signum, _frame):
        raise KeyboardInterrupt(f"signal {signum}")

    for s in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, interrupted)

    session.configure(args.program, keep=args.keep)
    loader = unittest.TestLoader()
    if args.patterns:
        loader.testNamePatterns = [f"*{p}*" for p in args.patterns]
    if args.modules:
        suite = unittest.TestSuite(loader.discover(HERE, pattern=f"{m.removesuffix('.py')}.py", top_level_dir=HERE)
                                   for m in args.modules)
        if suite.countTestCases() == 0:
            parser.error(f"no tests in {', '.join(args.modules)}")
    else:
        suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
    started = time.monotonic()
    try:
        result = unittest.TextTestRunner(verbosity=2 if args.verbose else 1, stream=sys.stderr).run(suite)
    finally:
        session.close()
    print(f"end-to-end tests: {time.monotonic() - started:.1f} s"
          + (f", scratch folder kept in {session.root}" if args.keep else ""), file=sys.stderr)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
