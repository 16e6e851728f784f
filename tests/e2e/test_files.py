"""Files that are not what they should be: FIFOs read at start and reload, a
link where Save Tuning writes. (A failed save's notice is a unit test.)"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, GameSession, binary_from_argv, wait_until  # noqa: E402
from gameplay import (  # noqa: E402
    FieldShot, expect, is_neutral, keep_dir_if_failed, pick_menu_entry, poll_shots,
)

NOTES = "my own notes, not a tuning file\n"
FILES = {"Verlomba.ini": os.mkfifo, "copyright.txt": os.mkfifo, "notes.txt": NOTES,
         "Verlomba-saved.ini": lambda path: os.symlink("notes.txt", path)}
# The notice stands on the population line's baseline (y 666), right-aligned
# with the field's right edge (x 650), in 10-point text.
NOTICE_BOX = (330, 655, 652, 670)


def check_files(binary, checks):
    failures = len(checks.failures)
    with GameSession(binary, files=FILES) as session:
        window = session.open_game()
        out = session.game_output()
        for name in ("copyright.txt", "Verlomba.ini"):
            checks.check(f"ignoring {name}: it is a FIFO" in out, f"nothing said of the FIFO {name}:\n{out}")
        # A reload reads the FIFO again; the game must go on drawing.
        pick_menu_entry(session, window, "Reload Tuning File")
        first = session.screenshot(window)
        moved, shot = poll_shots(session, window, lambda s: s.image.differs_from(first), 3.0, interval=0.3)
        expect(checks, session, moved, "the game stopped drawing after a reload", shot, "after-reload")

        saved = os.path.join(session.workdir, "Verlomba-saved.ini")
        def notice(shot):
            return len(shot.find(NOTICE_BOX, lambda rgb: is_neutral(rgb) and rgb[0] <= 180))  # text grey
        before = notice(FieldShot(session.screenshot(window)))
        pick_menu_entry(session, window, "Save Tuning")
        said, shot = poll_shots(session, window, lambda s: notice(s) >= before + 20, 3.0)
        expect(checks, session, said, "no confirmation of the save under the field", shot, "saved-notice")
        wait_until(lambda: not os.path.islink(saved), 5.0, what="the link to be replaced by the saved file")
        with open(os.path.join(session.workdir, "notes.txt")) as f:
            checks.check(f.read() == NOTES, "the link's target notes.txt was changed")
        session.check_running()
        keep_dir_if_failed(session, checks, failures)


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("files: FIFOs read as missing at start and on reload; Save Tuning replaces a link and "
               "says so under the field", lambda: check_files(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
