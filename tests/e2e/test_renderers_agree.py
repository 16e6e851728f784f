"""The same frames drawn by OpenGL and by the software renderer agree.

    test_renderers_agree.py COMPARISON_BINARY PICTURE_DIR

Runs the comparison program on a private Xvfb display (Mesa's OpenGL);
when a frame differs by more than the bounds, its two pictures and their
difference are left in PICTURE_DIR.
"""

import os
import subprocess
import sys

from harness import GameSession, fail


def main():
    binary, pictures = sys.argv[1], sys.argv[2]
    os.makedirs(pictures, exist_ok=True)
    display = GameSession(binary)  # only its display is used
    try:
        display.start_display()
        result = subprocess.run([binary, pictures], env=display.env(), stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True, timeout=240)
    finally:
        display.stop()
    print(result.stdout, end="")
    if result.returncode != 0:
        fail(f"the renderers' pictures differ too much; see {pictures}")
    print("PASS renderers agree")


if __name__ == "__main__":
    main()
