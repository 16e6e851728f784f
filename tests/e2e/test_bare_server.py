"""Twenty starts in a row, each reaching the about box, on an X server that
resets whenever its last client leaves, as a bare one does."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import CheckFailed, Checks, GameSession, binary_from_argv, fail  # noqa: E402

STARTS = 20


def check_starts(binary):
    with GameSession(binary, launch=False, reset=True) as session:
        for start in range(1, STARTS + 1):
            session.start_game()
            try:
                session.wait_for_window("^Verlomba$")
            except CheckFailed as e:
                fail(f"start {start} of {STARTS}: {e}")
            session.stop_game()


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run(f"{STARTS} starts on an X server that resets when its last client leaves",
               lambda: check_starts(binary))
    checks.finish()


if __name__ == "__main__":
    main()
