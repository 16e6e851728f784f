"""Without an X display the game stops at once with status 1 and one line
that names it and says what to do."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, binary_from_argv  # noqa: E402


def run_without(binary, display):
    env = dict(os.environ)
    env.pop("WAYLAND_DISPLAY", None)
    if display is None:
        env.pop("DISPLAY", None)
    else:
        env["DISPLAY"] = display
    return subprocess.run([binary], env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=20)


def check_no_display(binary, checks):
    # Unset, and set to a display that is not there.
    for display in (None, ":4093"):
        result = run_without(binary, display)
        err = result.stderr.decode(errors="replace")
        lines = err.splitlines()
        checks.check(result.returncode == 1, f"DISPLAY={display}: exit status {result.returncode}, not 1")
        checks.check(len(lines) == 1 and lines[0].startswith("verlomba: cannot open the X display")
                     and "DISPLAY" in lines[0],
                     f"DISPLAY={display}: standard error is not one line naming the game and DISPLAY:\n{err}")


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("no display: exit status 1 and one clear line", lambda: check_no_display(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
