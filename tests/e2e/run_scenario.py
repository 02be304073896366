#!/usr/bin/env python3
"""Runs one end-to-end scenario of the desktop program on a real X display:

    run_scenario.py --tools BUILD/tools --work DIR SCENARIO
    run_scenario.py --list

Starts Xvfb and openbox, writes a demo store into DIR/SCENARIO, starts the
program on it, runs the scenario, and tears everything down, also when the
scenario fails. Exit status 0 passed, 1 failed, 77 skipped. Screenshots and
the program's output stay in DIR/SCENARIO.
"""

import argparse
import os
import shutil
import signal
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from clerk import Clerk  # noqa: E402
from desktop import (Display, E2eError, Program, Store, private_executable,  # noqa: E402
                     remove_private_executable)
from scenarios import SCENARIOS, SKIPPED, STARTS_ITSELF, prepare  # noqa: E402

SKIP_STATUS = 77


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tools")
    parser.add_argument("--work")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("scenario", nargs="?")
    args = parser.parse_args()
    if args.list:
        print("\n".join(SCENARIOS))
        return 0
    if args.scenario not in SCENARIOS or not args.tools or not args.work:
        parser.error("a scenario of --list, --tools and --work are needed")
    if args.scenario in SKIPPED:
        print("SKIPPED: %s" % SKIPPED[args.scenario])
        return SKIP_STATUS
    for tool in ("Xvfb", "openbox", "xdotool", "xprop", "import"):
        if shutil.which(tool) is None:
            print("FAILED: %s is not installed (scripts/install-deps.sh installs it)" % tool)
            return 1

    # ctest's timeout ends the runner with SIGTERM: tear down as on failure.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAILED: %s: ended by a signal" % args.scenario))
    workdir = os.path.abspath(os.path.join(args.work, args.scenario))
    shutil.rmtree(workdir, ignore_errors=True)
    os.makedirs(workdir)
    started = time.monotonic()
    display = Display(workdir)
    program = None
    clerk = None
    executable = None
    try:
        store = Store(os.path.abspath(args.tools), os.path.join(workdir, "store"))
        prepare(args.scenario, store)
        executable = private_executable(os.path.abspath(args.tools), os.path.abspath(args.work))
        display.start()
        program = Program(display, store, executable, workdir)
        if args.scenario in STARTS_ITSELF:
            program.launch()
        else:
            program.start()
        clerk = Clerk(program)
        SCENARIOS[args.scenario](clerk)
    except (E2eError, Exception) as error:  # noqa: B014 - report any failure
        if clerk is not None or program is not None:
            try:
                display.screenshot(os.path.join(workdir, "failure.png"))
                focus = display.focused()
                print("focused window at the failure: %s" % (focus[1] if focus else "none"))
            except Exception:  # noqa: BLE001 - the display may be gone
                pass
        traceback.print_exc()
        print("FAILED: %s: %s (see %s)" % (args.scenario, error, workdir))
        return 1
    finally:
        if program is not None:
            program.stop()
        display.stop()
        if executable is not None:
            remove_private_executable(executable)
    print("PASSED: %s in %.1f s" % (args.scenario, time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
