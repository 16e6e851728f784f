"""The files the game reads and writes, when they are not what they should
be: a FIFO "Verlomba.ini" and "copyright.txt" (no writer ever comes) neither
stop the start nor a reload; "Save Tuning" replaces a symbolic link in its way
instead of writing through it, and says so under the field; when it cannot
save (a directory in the way stops even root) it says that there in red, for
a few seconds, and leaves the directory alone."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, GameSession, binary_from_argv, fail, wait_until  # noqa: E402
from test_window import open_game  # noqa: E402
from test_creeps_menu import expected_saved_tuning  # noqa: E402
from gameplay import (  # noqa: E402
    FieldShot, expect, is_neutral, is_red, keep_dir_if_failed, park_pointer, pick_menu_entry, poll_shots,
)

NOTES = "my own notes, not a tuning file\n"
FILES = {
    "Verlomba.ini": os.mkfifo,
    "copyright.txt": os.mkfifo,
    "notes.txt": NOTES,
    "Verlomba-saved.ini": lambda path: os.symlink("notes.txt", path),
}
# The notice stands on the population line's baseline (y 666), right-aligned
# with the field's right edge (x 650), in 10-point text.
NOTICE_BOX = (330, 655, 652, 670)


def notice_pixels(shot, test):
    return shot.find(NOTICE_BOX, test)


def is_text_grey(rgb):
    return is_neutral(rgb) and rgb[0] <= 180


def check_fifos(session, window, checks):
    out = session.game_output()
    for name in ("copyright.txt", "Verlomba.ini"):
        checks.check(f"ignoring {name}: it is a FIFO" in out,
                     f"the game did not say that it passed over the FIFO {name}; its output:\n{out}")

    # A reload reads the FIFO again; the game must go on drawing.
    pick_menu_entry(session, window, "Reload Tuning File")
    first = session.screenshot(window)
    moved, shot = poll_shots(session, window, lambda s: s.image.differs_from(first) > 0, 3.0, interval=0.3)
    expect(checks, session, moved, "the game stopped drawing after reloading a FIFO Verlomba.ini", shot,
           "after-reload")


def check_save_over_link(session, window, checks):
    saved = os.path.join(session.workdir, "Verlomba-saved.ini")
    before = len(notice_pixels(FieldShot(session.screenshot(window)), is_text_grey))
    pick_menu_entry(session, window, "Save Tuning")
    wait_until(lambda: not os.path.islink(saved), 5.0, what="the link to be replaced by the saved file")
    with open(saved, "rb") as f:
        content = f.read()
    checks.check(content == expected_saved_tuning().encode(),
                 f"Verlomba-saved.ini is not the built-in template: {content!r}")
    with open(os.path.join(session.workdir, "notes.txt")) as f:
        notes = f.read()
    checks.check(notes == NOTES, f"the link's target notes.txt was changed to {notes!r}")
    said, shot = poll_shots(session, window, lambda s: len(notice_pixels(s, is_text_grey)) >= before + 20, 3.0)
    expect(checks, session, said, f"no confirmation of the save under the field ({before} grey pixels there "
           "before)", shot, "saved-notice")


def check_failed_save(session, window, checks):
    saved = os.path.join(session.workdir, "Verlomba-saved.ini")
    os.unlink(saved)
    os.makedirs(os.path.join(saved, "kept"))
    before = len(notice_pixels(FieldShot(session.screenshot(window)), is_red))
    pick_menu_entry(session, window, "Save Tuning")
    said, shot = poll_shots(session, window, lambda s: len(notice_pixels(s, is_red)) >= 20, 3.0)
    expect(checks, session, said and before < 5,
           f"no red notice under the field when saving failed ({before} red pixels there before)", shot,
           "failed-notice")
    checks.check(os.path.isdir(os.path.join(saved, "kept")), "the directory in the way was touched")
    out = session.game_output()
    checks.check("could not save Verlomba-saved.ini: Is a directory" in out,
                 f"standard error does not say why the save failed:\n{out}")
    # A few seconds later the notice is gone.
    park_pointer(session, window)
    gone, shot = poll_shots(session, window, lambda s: len(notice_pixels(s, is_red)) < 5, 8.0, interval=0.5)
    expect(checks, session, gone, "the failure notice is still there after 8 seconds", shot, "notice-stays")


def check_files(binary, checks):
    failures = len(checks.failures)
    with GameSession(binary, files=FILES) as session:
        _, window = open_game(session)
        check_fifos(session, window, checks)
        check_save_over_link(session, window, checks)
        check_failed_save(session, window, checks)
        session.check_running()
        keep_dir_if_failed(session, checks, failures)


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("files: FIFOs read as missing at start and on reload; Save Tuning replaces a link and "
               "tells of a failure under the field", lambda: check_files(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
