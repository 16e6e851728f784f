"""A DISPLAY that names no reachable X server: the game stops at once with
status 1 and one line that names it, the display and what to do. (No
DISPLAY at all is a case of test_command_line.)"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, binary_from_argv, environment_without_display  # noqa: E402

UNREACHABLE = ":4093"


def check_unreachable_display(binary, checks):
    env = environment_without_display()
    env["DISPLAY"] = UNREACHABLE
    result = subprocess.run([binary], env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                            timeout=20)
    lines = result.stderr.splitlines()
    checks.check(result.returncode == 1, f"exit status {result.returncode}, not 1")
    checks.check(len(lines) == 1 and lines[0].startswith("verlomba: cannot open the X display")
                 and UNREACHABLE in lines[0] and "DISPLAY" in lines[0],
                 f"standard error is not one line naming the game, {UNREACHABLE} and DISPLAY:\n{result.stderr}")


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("an unreachable display: exit status 1 and one clear line",
               lambda: check_unreachable_display(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
