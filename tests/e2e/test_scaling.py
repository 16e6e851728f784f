"""Screens and scaling: a 1366x768 screen, fullscreen with F11 and under
openbox, and a 3840x2160 desktop at 200 % (Xft.dpi 192); clicks land where
things are drawn."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import CheckFailed, Checks, GameSession, binary_from_argv, wait_until  # noqa: E402
from test_window import FPS_BOX, is_grey  # noqa: E402
from gameplay import BAR_ROW, MONEY_BAR, PEEP, FOUNTAIN, is_bar_fill, palette_cell, palette_centre  # noqa: E402

# The frame-rate text's ink ("29 fps": ascender to descender) at a scale of 1.
FPS_INK_HEIGHT = 10


def scaled(point, scale, left=0, top=0):
    return (round(left + point[0] * scale), round(top + point[1] * scale))


def fill_end(shot, scale, left=0, top=0):
    """Last green pixel of the money bar's middle row, in units, or None."""
    y = scaled((0, BAR_ROW), scale, left, top)[1]
    x0, x1 = (scaled((x, 0), scale, left)[0] for x in (MONEY_BAR[0], MONEY_BAR[2] + 60))
    green = [x for x in range(x0, min(x1, shot.width)) if is_bar_fill(shot.pixel(x, y))]
    return (max(green) - left) / scale if green else None


def buys_a_peep(session, window, scale, checks, left=0, top=0):
    """A click on the peep's cell, once the bar settled, moves its end 40 units back."""
    def end():
        return fill_end(session.screenshot(window), scale, left, top)

    def settled():
        first = end()
        time.sleep(0.4)
        return first is not None and first == end() and first

    start = wait_until(settled, 20.0, what=f"the money bar to settle at scale {scale}")
    session.click(window, *scaled(palette_centre(PEEP), scale, left, top))
    try:
        wait_until(lambda: end() is not None and abs(end() - (start - 40)) <= 4, 5.0)
    except CheckFailed:
        checks.check(False, f"at scale {scale} a click on the peep's cell moved the money bar's end from "
                     f"{start} to {end()}, not 40 back")


def check_laptop_screen(binary, checks):
    with GameSession(binary, screen=(1366, 768)) as session:
        window = session.open_game((720, 720))
        checks.check(session.geometry(window)[2:] == (720, 720), "the window is not 720x720 at 1366x768")
        hints = session.window_property(window, "WM_NORMAL_HINTS")
        checks.check("minimum size: 720 by 720" in hints and "maximum size: 720 by 720" in hints,
                     f"the size hints do not fix the window at 720x720: {hints}")
        buys_a_peep(session, window, 0.9, checks)

        # The field at 768 / 800, centred: white beside it, the bar inside;
        # the same on a second time, in an image the first may have left.
        for time_in in ("first", "second"):
            session.key(window, "F11")
            wait_until(lambda: session.geometry(window)[2:] == (1366, 768), 5.0, what="fullscreen")
            checks.check(margins_are_background(session, window),
                         f"fullscreen the {time_in} time the margins are not the background")
            if time_in == "first":
                buys_a_peep(session, window, 0.96, checks, FULLSCREEN_LEFT)
            session.key(window, "F11")
            wait_until(lambda: session.geometry(window)[2:] == (720, 720), 5.0, what="the window back")
        session.check_running()


# Fullscreen on 1366x768 the field is 768 wide, centred.
FULLSCREEN_LEFT = (1366 - 768) // 2


def margins_are_background(session, window):
    time.sleep(1.0)
    shot = session.screenshot(window)
    left = FULLSCREEN_LEFT
    margin = [shot.pixel(x, y) for x in (5, left - 3, 1366 - left + 3) for y in range(0, 768, 16)]
    return all(rgb == (255, 255, 255) for rgb in margin)


def check_under_openbox(binary, checks):
    with GameSession(binary, screen=(1366, 768), launch=False) as session:
        session.start_window_manager()
        session.start_game()
        session.close_window_with_key(session.wait_for_window("^Verlomba$"), "Return")
        window = session.wait_for_window("^Verlomba City$")

        def size():
            return session.geometry(window)[2:]

        def ask(*state):
            session.x_command(["wmctrl", "-i", "-r", hex(window), "-b", ",".join(state)])

        wait_until(lambda: size() == (720, 720), 5.0, what="the 720x720 window")
        ask("add", "maximized_vert", "maximized_horz")
        time.sleep(1.0)
        checks.check(size() == (720, 720), f"openbox maximized the window to {size()}")
        ask("remove", "maximized_vert", "maximized_horz")
        # In through openbox and out with F11, then in and out with F11,
        # which asks openbox.
        for enter, leave in ((lambda: ask("add", "fullscreen"), lambda: session.key(window, "F11")),
                             (lambda: session.key(window, "F11"), lambda: session.key(window, "F11"))):
            enter()
            wait_until(lambda: size() == (1366, 768), 5.0, what="fullscreen under openbox")
            checks.check(margins_are_background(session, window),
                         "fullscreen under openbox the margins are not the background")
            leave()
            wait_until(lambda: size() == (720, 720), 5.0, what="the window back from fullscreen")
        buys_a_peep(session, window, 0.9, checks)
        session.check_running()


def non_uniform_blocks(shot, box):
    """Aligned 2x2 blocks of several colours: none in a picture enlarged twice."""
    x0, y0, x1, y1 = box
    return sum(len({shot.pixel(x + dx, y + dy) for dx in (0, 1) for dy in (0, 1)}) > 1
               for y in range(y0 - y0 % 2, y1, 2) for x in range(x0 - x0 % 2, x1, 2))


def check_big_screen(binary, checks):
    with GameSession(binary, screen=(3840, 2160), launch=False) as session:
        subprocess.run(["xrdb", "-merge"], input=b"Xft.dpi: 192\n", env=session.env(), check=True)
        session.start_game()
        window = session.open_game((1600, 1600))
        buys_a_peep(session, window, 2.0, checks)
        shot = session.screenshot(window)
        box = [2 * v for v in FPS_BOX]
        box[3] += 2 * 4  # the descender
        rows = [y for x, y, rgb in shot.region(*box) if is_grey(rgb)]
        height = max(rows) - min(rows) + 1 if rows else 0
        checks.check(abs(height - 2 * FPS_INK_HEIGHT) <= 3, f"the frame-rate text is {height} pixels tall at 2")
        checks.check(non_uniform_blocks(shot, box) >= 10, "the frame-rate text is enlarged, not drawn at 2")
        cell = [2 * v for v in palette_cell(FOUNTAIN)]
        checks.check(non_uniform_blocks(shot, cell) >= 50, "the fountain's picture is enlarged, not drawn at 2")


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("on a 1366x768 screen the window is 720 and fits; F11 goes fullscreen and back",
               lambda: check_laptop_screen(binary, checks))
    checks.run("at Xft.dpi 192 the window is 1600, text and pictures drawn at twice the size",
               lambda: check_big_screen(binary, checks))
    checks.run("openbox keeps the window's size and shows its fullscreen as F11 does",
               lambda: check_under_openbox(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
