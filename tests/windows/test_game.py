"""verlomba.exe under Wine on Xvfb, played with real input: the command
line, the about box, buying from the palette, the wheel, F11's fullscreen,
the native pop-up menu (the game going on while it is open), and a saved
city brought back by --city from a path that is not ASCII, in the per-user
directory."""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wine import WineSession, run  # noqa: E402
from harness import CheckFailed, Checks, wait_until  # noqa: E402
from gameplay import (  # noqa: E402
    PEEP, FieldShot, buy, is_dark, keep_dir_if_failed, money_fill_end, park_pointer, poll_shots,
)

# Down presses from the "Game" sub-menu's first entry to each command, over
# the separators, which the keyboard skips.
MENU_STEPS = {"Save City": 6, "Pause": 8}
# A city's own name: the path reaches the game in UTF-16.
CITY_NAME = "Città nuova.txt"


def check_command_line(build_dir, checks):
    exe = os.path.join(build_dir, "verlomba.exe")
    status, out, _ = run(build_dir, [exe, "--version"])
    checks.check(status == 0 and out.startswith("verlomba ") and out.count("\n") == 1,
                 f"--version: status {status}, {out!r}")
    status, _, err = run(build_dir, [exe, "--no-such-option"])
    checks.check(status == 2 and "unknown option '--no-such-option'" in err, f"bad option: status {status}, {err!r}")
    status, _, err = run(build_dir, [exe, "--city", "missing-city.txt"])
    checks.check(status == 1 and "missing-city.txt" in err, f"missing city: status {status}, {err!r}")


def pick(session, window, entry, ticking=False):
    """Opens the menu with the right button and picks entry by keyboard;
    if ticking, first sees the game go on while the menu is open."""
    def opened(known):
        return lambda: [w for w in session.top_level_windows() if w not in known] or None

    def attempt():
        session.click(window, 400, 400, button=3)
        root = wait_until(opened(before), 3.0, what="the pop-up menu")
        time.sleep(0.5)  # keys are the menu's once its loop runs
        if ticking:
            # Up and left of the menu, which opens down and right.
            def field():
                return list(session.screenshot(window).region(40, 40, 380, 380, step=2))
            first = field()
            wait_until(lambda: field() != first, 3.0, what="the game to go on while the menu is open")
        session.xdotool("key", "--delay", "100", "Down", "Right")
        wait_until(opened(before | set(root)), 3.0, what='the "Game" sub-menu')
        session.xdotool("key", "--delay", "100", *["Down"] * MENU_STEPS[entry], "Return")
        wait_until(lambda: not opened(before)(), 3.0, what="the menu to close")

    before = set(session.top_level_windows())
    for tries_left in (2, 1, 0):
        try:
            attempt()
            break
        except CheckFailed:
            # Under load Wine now and then drops a click or a key sent the
            # moment a window appears: close what is open and go again.
            if not tries_left:
                raise
            session.xdotool("key", "Escape", "Escape", check=False)
            time.sleep(0.5)
            wait_until(lambda: not opened(before)(), 3.0, what="the menu to close")
    park_pointer(session, window)


def field_edge(shot):
    """Pixels of the play area's bluish left edge on its column (of 480)."""
    return sum(1 for y in range(160, 640) if (lambda r, g, b: b - r >= 30 and r >= 150)(*shot.image.pixel(150, y)))


def paused_mark(image):
    # "Paused" in large dark letters in the middle of the field.
    return len(FieldShot(image).find((340, 380, 460, 405), lambda rgb: is_dark(rgb, 60)))


def check_play(build_dir, checks):
    failures = len(checks.failures)
    city = os.path.join(os.path.abspath(build_dir), CITY_NAME)
    with WineSession(build_dir) as session:
        window = session.open_game()
        checks.check(session.geometry(window)[2:] == (800, 800), f"window {session.geometry(window)}")
        park_pointer(session, window)
        # The bar fills to 0.25 (x 300) at start; a peep costs 0.05 (x 280).
        start, shot = poll_shots(session, window, lambda s: (money_fill_end(s) or 0) >= 297, 10.0)
        checks.check(start, f"the money bar's fill ends at {money_fill_end(shot)}, not near 300")
        buy(session, window, PEEP)
        drained, shot = poll_shots(session, window, lambda s: 276 <= (money_fill_end(s) or 0) <= 284, 5.0)
        checks.check(drained, f"a peep bought left the money bar's fill at {money_fill_end(shot)}, not near 280")

        # Three notches of the wheel zoom in until the play area's left edge
        # (x 150) is out of view; three back bring it again.
        session.mouse_move(window, 400, 400)
        for button, gone in ((4, True), (5, False)):
            for _ in range(3):
                # A tick reads the wheel's direction once: a notch a tick.
                session.xdotool("click", button)
                time.sleep(0.1)
            moved, _ = poll_shots(session, window, lambda s: (field_edge(s) < 100) == gone, 5.0)
            checks.check(moved, f"three wheel notches {'in' if gone else 'out'} did not zoom")
        park_pointer(session, window)

        before = paused_mark(session.screenshot(window))
        pick(session, window, "Pause", ticking=True)
        wait_until(lambda: paused_mark(session.screenshot(window)) > before + 20, 5.0,
                   what='"Paused" after "Turn Pause On"')
        pick(session, window, "Save City")
        saved = os.path.join(session.workdir, "Verlomba-city.txt")
        wait_until(lambda: os.path.exists(saved), 5.0, what="Verlomba-city.txt")
        shutil.copy(saved, city)
        # F11: a borderless window over the whole screen, and back; the
        # keys still reach the game ("p" ends the pause).
        # A menu that closes may leave the focus nowhere, and a typed key goes
        # to the focused window: activate the game's first, as a player's
        # click would, and once more if the key went astray all the same.
        for size in ((1024, 1024), (800, 800)):
            for tries_left in (1, 0):
                session.xdotool("windowactivate", "--sync", window, check=False)
                session.key(window, "F11", typed=True)
                try:
                    wait_until(lambda: session.geometry(window)[2:] == size, 5.0,
                               what=f"F11 to make the window {size}")
                    break
                except CheckFailed:
                    if not tries_left:
                        raise
        session.key(window, "p", typed=True)
        wait_until(lambda: paused_mark(session.screenshot(window)) <= before + 5, 5.0, what='"p" to end the pause')
        keep_dir_if_failed(session, checks, failures)

    # In the per-user directory, %APPDATA%\Verlomba, made with a tuning file.
    user_dir = os.path.join(session.env()["WINEPREFIX"], "drive_c", "users", os.environ.get("USER", "root"),
                            "AppData", "Roaming", "Verlomba")
    shutil.rmtree(user_dir, ignore_errors=True)
    try:
        with WineSession(build_dir, args=["--user-dir", "--city", city]) as session:
            window = session.open_game()
            # Saved paused, the city comes back paused.
            back, _ = poll_shots(session, window, lambda s: paused_mark(s.image) > 20, 5.0)
            checks.check(back, "the city brought back by --city is not the one saved paused")
            checks.check(os.path.isfile(os.path.join(user_dir, "Verlomba.ini")),
                         f"--user-dir made no {user_dir}/Verlomba.ini")
            keep_dir_if_failed(session, checks, failures)
    finally:
        os.unlink(city)
        shutil.rmtree(user_dir, ignore_errors=True)


def main():
    build_dir = sys.argv[1]
    checks = Checks()
    checks.run("command line: --version, a bad option, a missing city", lambda: check_command_line(build_dir, checks))
    checks.run("play: about box, a peep bought, the wheel, Turn Pause On, Save City, F11 and back, then --user-dir and --city",
               lambda: check_play(build_dir, checks))
    checks.finish()


if __name__ == "__main__":
    main()
