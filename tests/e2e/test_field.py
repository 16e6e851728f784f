"""The living field after start-up: the zone, the peeps, the money bar and
the population line."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, GameSession, binary_from_argv  # noqa: E402
from test_window import GAME_SIZE, open_game  # noqa: E402

PLAY_AREA = (150, 150, 650, 650)


def is_peep_blue(rgb):
    """The body of a rested peep: light blue, blue clearly above red and green."""
    r, g, b = rgb
    return b >= 180 and b - r >= 60 and b - g >= 60 and abs(r - g) <= 30


def is_bar_green(rgb):
    r, g, b = rgb
    return g >= 200 and g - r >= 80 and g - b >= 80


def is_dark(rgb):
    return max(rgb) <= 110


def check_field(binary, checks):
    with GameSession(binary) as session:
        _, window = open_game(session)
        time.sleep(4.0)  # the zone opens and the money display catches up
        shot = session.screenshot(window)
        path = session.artifact_path("field.ppm")
        shot.save_ppm(path)

        x0, y0, x1, y1 = PLAY_AREA
        blue = [(x, y) for x, y, rgb in shot.region(x0, y0, x1, y1) if is_peep_blue(rgb)]
        checks.check(len(blue) >= 40, f"only {len(blue)} light-blue peep pixels in the play area ({path})")
        outside = [(x, y) for x, y, rgb in shot.region(200, 0, 799, 140) if is_peep_blue(rgb)]
        checks.check(not outside, f"peep-blue pixels above the play area: {outside[:5]} ({path})")

        # The zone's frame: a faint blue line along the left edge of the play area.
        # A tree or a peep may stand on it here and there.
        frame = [shot.pixel(150, y) for y in range(200, 600, 20)]
        bluish = sum(1 for rgb in frame if rgb[2] > rgb[0] + 20)
        checks.check(bluish >= 15, f"no zone frame at x = 150: {frame} ({path})")

        # Money bar (200..600, 114..138): the fill is green and ends near 300.
        row = [(x, shot.pixel(x, 126)) for x in range(200, 600)]
        green = [x for x, rgb in row if is_bar_green(rgb)]
        checks.check(bool(green), f"no green fill in the money bar ({path})")
        if green:
            checks.check(290 <= max(green) <= 306, f"the money bar's fill ends at x = {max(green)}, not near 300 ({path})")

        text = [rgb for _, _, rgb in shot.region(150, 657, 232, 668) if is_dark(rgb)]
        checks.check(len(text) >= 20, f"no dark population text under the play area ({len(text)} pixels, {path})")
        session.check_running()


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("start-up field: zone, peeps, money bar, population", lambda: check_field(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
