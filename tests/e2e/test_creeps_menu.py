"""The keyboard and the "Game" menu: creeps, Draw Roads, Debug View, pause,
saving and loading a city."""

import math
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import CheckFailed, Checks, GameSession, binary_from_argv, fail, wait_until  # noqa: E402
from gameplay import (  # noqa: E402
    PLAY_AREA, FieldShot, Obstacles, clusters, drag_smoothly, expect, fraction_near, is_dark, is_magenta,
    is_neutral,
    keep_dir_if_failed, keep_evidence, park_pointer, pick_menu_entry, pointer_path, poll_shots, samples,
)


def edge_band(x, y, width=30):
    x0, y0, x1, y1 = PLAY_AREA
    inside_outer = x0 - width <= x <= x1 + width and y0 - width <= y <= y1 + width
    inside_inner = x0 + width < x < x1 - width and y0 + width < y < y1 - width
    return inside_outer and not inside_inner


def edge_magenta(shot):
    x0, y0, x1, y1 = PLAY_AREA
    return [(x, y) for x, y in shot.find((x0 - 30, y0 - 30, x1 + 30, y1 + 30), is_magenta, step=2)
            if edge_band(x, y)]


def check_creeps(session, window, checks):
    park_pointer(session, window)
    time.sleep(0.3)
    already = len(edge_magenta(FieldShot(session.screenshot(window))))
    session.key(window, "a", typed=True)
    park_pointer(session, window)

    def arrived(shot):
        found = edge_magenta(shot)
        return len(found) - already >= 60 and found
    found, shot = poll_shots(session, window, arrived, 3.0, interval=0.05)
    # Each creep is a triangle of about 100 pixels (25 at every other pixel).
    groups = [g for g in clusters(found or [], reach=4) if len(g) >= 8]
    expect(checks, session, found and len(groups) >= 2,
           f'"a" brought no magenta creeps to the play area\'s edge ({len(groups)} groups, '
           f"{already} magenta pixels there before)", shot, "creeps")


def is_path_grey(rgb):
    """The drawn path: a thin grey 0.5 line, lighter where it is smoothed."""
    return is_neutral(rgb, 16) and 90 <= rgb[0] <= 200


def check_drawn_path(session, window, checks):
    pick_menu_entry(session, window, "Draw Roads")
    shot = FieldShot(session.screenshot(window))
    obstacles = Obstacles(shot)
    candidates = [((x, y), (x + 200, y + 15)) for y in range(190, 600, 15) for x in (190, 270, 350, 420)]
    path = next((c for c in candidates if obstacles.free_line(c[0], c[1], 10)), None)
    if not path:
        fail(f"no open ground for a path ({keep_evidence(session, shot, 'no-path-ground')})")
    line = samples(path[0], path[1], 30, 0.05, 0.95)
    grey_before = fraction_near(shot, line, is_path_grey, 1)
    drag_smoothly(session, window, path[0], path[1], steps=24, pause=0.05)
    park_pointer(session, window)
    ok, shot = poll_shots(session, window, lambda s: fraction_near(s, line, is_path_grey, 2) >= 0.8, 3.0)
    expect(checks, session, ok and grey_before < 0.3,
           f"no grey path from {path[0]} to {path[1]}: {fraction_near(shot, line, is_path_grey, 2):.0%} "
           f"of it is grey ({grey_before:.0%} before)", shot, "drawn-path")


def check_debug_view(session, window, checks):
    # With the pointer in the play area, Debug View draws a probe peep there
    # with its steering terms (blue) and their sum (red). Near the left edge
    # the zone pulls it straight inward: a line along the probe's row, to
    # x = 190.
    obstacles = Obstacles(FieldShot(session.screenshot(window)))
    marker = obstacles.marker or (-1000, -1000)
    ys = [y for y in range(200, 600, 10) if math.dist((160, y), marker) >= 110
          and obstacles.free((152, y - 10, 200, y + 10), margin=0)]
    x, y = probe = (160, min(ys or [400], key=lambda y: abs(y - 400)))
    approach = [(x + d, y) for d in (30, 20, 10, 0)]

    def pull_line(shot):
        # Columns right of the probe with a coloured line on its row.
        return [c for c in range(x + 10, x + 30)
                if any(max(rgb) - min(rgb) >= 40 for rgb in (shot.pixel(c, r) for r in range(y - 1, y + 2)))]

    pointer_path(session, window, approach, 0.05)
    # Nothing there yet; a passing (angry) peep moves on.
    _, before = poll_shots(session, window, lambda s: len(pull_line(s)) <= 3, 4.0, interval=0.3)
    pick_menu_entry(session, window, "Debug View")
    pointer_path(session, window, approach, 0.05)
    ok, shot = poll_shots(session, window, lambda s: len(pull_line(s)) >= 15, 3.0)
    expect(checks, session, ok and len(pull_line(before)) <= 3,
           f"Debug View drew its probe's pull over {len(pull_line(shot))} of 20 columns right of the "
           f"pointer at {probe} ({len(pull_line(before))} before)", shot, "debug-view")
    park_pointer(session, window)


def moved_pixels(a, b):
    # Between the frame counter and the notices, which go by the real clock.
    return [(x, y) for y in range(100, 651, 2) for x in range(0, 800, 2) if a.pixel(x, y) != b.pixel(x, y)]


def check_pause_and_city(session, window, checks):
    def dark_centre(image):
        return len(FieldShot(image).find((340, 380, 460, 405), lambda rgb: is_dark(rgb, 60)))
    park_pointer(session, window)
    before = dark_centre(session.screenshot(window))
    session.key(window, "p", typed=True)
    try:
        wait_until(lambda: dark_centre(session.screenshot(window)) > before + 20, 5.0, interval=0.2,
                   what='"Paused" in the field')
    except CheckFailed as failure:
        checks.check(False, str(failure))
    # The menu still works while paused; saving moves nothing either.
    pick_menu_entry(session, window, "Save City")
    paused = session.screenshot(window)
    time.sleep(3.0)
    still = session.screenshot(window)
    moved = moved_pixels(paused, still)
    expect(checks, session, not moved, f"{len(moved)} pixels moved over 3 s of pause, from {moved[:1]} to "
           f"{moved[-1:]}", FieldShot(still), "paused")
    city = os.path.join(session.workdir, "Verlomba-city.txt")
    checks.check(os.path.exists(city), '"Save City" wrote no Verlomba-city.txt')

    pick_menu_entry(session, window, "Pause")  # "Turn Pause Off"
    going, shot = poll_shots(session, window, lambda s: len(moved_pixels(still, s.image)) > 50, 3.0)
    expect(checks, session, going, "nothing moved once the pause was off", shot, "unpaused")
    # Saved paused, the city comes back paused.
    pick_menu_entry(session, window, "Load City")
    checks.check(dark_centre(session.screenshot(window)) > before + 20, 'the city loaded is not paused')


def check_commands(binary, checks):
    failures = len(checks.failures)
    # No trees: the path and the probe need open ground.
    with GameSession(binary, files={"Verlomba.ini": "kStartWithTrees = 0\n"}) as session:
        window = session.open_game()
        check_creeps(session, window, checks)
        check_drawn_path(session, window, checks)
        check_debug_view(session, window, checks)
        check_pause_and_city(session, window, checks)
        session.check_running()
        keep_dir_if_failed(session, checks, failures)


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run('commands: "a" sends creeps, a path drawn with Draw Roads on, Debug View; p pauses, Save City '
               "and Load City", lambda: check_commands(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
