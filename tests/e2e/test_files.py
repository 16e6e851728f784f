"""Files that are not what they should be: FIFOs read at start and reload, a
link where Save Tuning writes (a failed save's notice is a unit test); the
autosave every fraction of a minute, its failure said under the field and
tried again, and the save as the window manager closes the window."""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, GameSession, binary_from_argv, wait_until  # noqa: E402
from gameplay import (  # noqa: E402
    FieldShot, expect, is_neutral, is_red, keep_dir_if_failed, pick_menu_entry, poll_shots,
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
        check_autosave(session, window, checks)
        keep_dir_if_failed(session, checks, failures)


def is_city(path):
    try:
        with open(path) as f:
            return f.read().startswith("verlomba-city 2\n")
    except OSError:
        return False


def check_autosave(session, window, checks):
    def tune(minutes):
        ini = os.path.join(session.workdir, "Verlomba.ini")
        os.unlink(ini)
        with open(ini, "w") as f:
            f.write(f"kAutosaveMinutes = {minutes}\n")
        pick_menu_entry(session, window, "Reload Tuning File")

    autosave = os.path.join(session.workdir, "Verlomba-autosave.txt")
    tune(0.05)  # every three seconds of play
    wait_until(lambda: is_city(autosave), 10.0, what="an autosave three seconds into play")

    # A directory in its way: said under the field in red, and the game goes on.
    os.unlink(autosave)
    os.makedirs(os.path.join(autosave, "kept"))
    def red_notice(shot):
        return len(shot.find(NOTICE_BOX, is_red)) >= 20
    said, shot = poll_shots(session, window, red_notice, 10.0)
    expect(checks, session, said, "no word under the field of a failed autosave", shot, "autosave-failed")
    checks.check("Verlomba-autosave.txt" in session.game_output(), "the failed autosave was not named on "
                 f"standard error: {session.game_output()}")
    shutil.rmtree(autosave)
    wait_until(lambda: is_city(autosave), 10.0, what="the autosave tried again at the next interval")
    checks.check(not os.path.exists(os.path.join(session.workdir, "Verlomba-city.txt")),
                 "the autosave wrote Verlomba-city.txt")

    # An hour apart, so that what the close leaves is the close's own save.
    tune(60)
    time.sleep(0.5)
    os.unlink(autosave)
    session.start_window_manager()  # it takes the window over as it starts
    session.x_command(["wmctrl", "-i", "-c", hex(window)])
    code = wait_until(lambda: session.game.poll() is not None and [session.game.returncode], 10.0,
                      what="the game to end as the window manager closed its window")[0]
    checks.check(code == 0, f"closed by the window manager the game ended with {code}")
    checks.check(is_city(autosave), "no autosave as the window manager closed the window")


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("files: FIFOs read as missing at start and on reload; Save Tuning replaces a link and "
               "says so under the field; autosaves on an interval, through a failure and on close",
               lambda: check_files(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
