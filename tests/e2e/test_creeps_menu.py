"""The keyboard and the "Game" menu, and the military building: "a" drops
creeps on the play area's edge; "Save Tuning" writes the template of the
built-in values; "Reload Tuning File" reads a changed file while playing; a
click on a military building's switch arms it (lever up, doors swung open
and lit, the soldier bar under it); "Debug View" draws the steering terms in
red and blue."""

import math
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import CheckFailed, Checks, GameSession, binary_from_argv, wait_until  # noqa: E402
from test_window import open_game  # noqa: E402
from gameplay import (  # noqa: E402
    MILITARY, PLAY_AREA, FieldShot, Obstacles, buy, clear_trees, clusters, drag_smoothly, expect, is_dark,
    is_magenta, is_neutral, is_red, keep_dir_if_failed, palette_cell, park_pointer, pick_menu_entry,
    pointer_path, poll_shots,
)

# The built-in tuning values by section, as the game saves them: floats with
# six decimals, ints plain.
BUILT_IN_TUNING = [
    ("Cost of things", [("kPeepCost", 0.05), ("kTreeCost", 0.01), ("kSleepBuildingCost", 0.1),
                        ("kWorkBuildingCost", 0.1), ("kCapitalBuildingCost", 0.1),
                        ("kMilitaryBuildingCost", 0.1)]),
    ("Payouts", [("kWorkBuildingPayout", 0.05)]),
    ("Peeps", [("kPeepAngerGrowthWhenTired", 0.0025)]),
    ("Buildings", [("kSleepBuildingCapacity", 2), ("kWorkBuildingCapacity", 5)]),
    ("Initial Conditions", [("kStartWithMoney", 0.25), ("kStartWithAgents", 10), ("kStartWithTrees", 10)]),
    ("Layout/Graphics", [("kFountainRadius", 24.0), ("kGuardTowerRadius", 12.0)]),
]

# A richer payout, read back while the game runs.
CHANGED_TUNING = "# more money per shift\nkWorkBuildingPayout = 0.2\n"

# The military building settles 32 inside the play area's left edge (its
# footprint's left side ends up between 180 and 182), at the height of its
# palette cell.
MILITARY_CELL = palette_cell(MILITARY)
SETTLED = (181, MILITARY_CELL[1] + 16, 213, MILITARY_CELL[1] + 48)
# Night has to be deep enough for the door lights (their alpha is half the
# darkness) to show.
DOOR_LIGHT_TINT = 0.2


class Military:
    """Where the military building stands and where its parts are drawn."""

    def __init__(self, footprint):
        self.footprint = footprint
        x0, y0, x1, y1 = footprint
        # The switch: 12x20, 4 inside the footprint's bottom right corner.
        self.switch = (x1 - 16, y1 - 24, x1 - 4, y1 - 4)
        # The soldier bar: a 3-wide line 10 under the footprint.
        self.bar_y = y1 + 10
        self.centre = ((x0 + x1) / 2, (y0 + y1) / 2)
        # A grip inside room 0 (stretched over the switch corner) but right
        # of the switch, which would take the press.
        self.grip = (x1 - 2, (y0 + y1) // 2)
        # Where Debug View's probe peep is checked: near the left edge,
        # below and left of the building.
        self.probe = (160, y1 + 16)

    def moved(self, dy):
        x0, y0, x1, y1 = self.footprint
        return Military((x0, y0 + dy, x1, y1 + dy))

    def clear_box(self):
        """The ground the checks look at: the building, its doors' reach, the
        bar and the probe's lines."""
        x0, y0, x1, y1 = self.footprint
        return (152, y0 - 18, x1 + 18, y1 + 28)


def expected_saved_tuning():
    text = ""
    for section, values in BUILT_IN_TUNING:
        text += "\n\n[ %s ]\n" % section
        for name, value in values:
            text += "%s = %f\n" % (name, value) if isinstance(value, float) else "%s = %d\n" % (name, value)
    return text


def edge_band(x, y, width=30):
    """Whether (x, y) lies within width of the play area's border (either side)."""
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
    before = FieldShot(session.screenshot(window))
    already = len(edge_magenta(before))
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


def check_save_tuning(session, window, checks):
    saved = os.path.join(session.workdir, "Verlomba-saved.ini")
    pick_menu_entry(session, window, "Save Tuning")
    try:
        wait_until(lambda: os.path.exists(saved), 5.0, what="Verlomba-saved.ini")
    except CheckFailed as e:
        checks.check(False, f'"Save Tuning" wrote nothing: {e}')
        return
    time.sleep(0.3)  # written and closed within the frame of the pick
    with open(saved, "rb") as f:
        content = f.read()
    expected = expected_saved_tuning().encode()
    checks.check(content == expected, f"Verlomba-saved.ini differs from the built-in template:\n"
                                      f"got      {content!r}\nexpected {expected!r}")


def check_reload(session, window, checks):
    with open(os.path.join(session.workdir, "Verlomba.ini"), "w") as f:
        f.write(CHANGED_TUNING)
    pick_menu_entry(session, window, "Reload Tuning File")
    time.sleep(0.5)
    session.check_running()
    first = FieldShot(session.screenshot(window))

    def moving(shot):
        return shot.image.differs_from(first.image) > 0
    changed, shot = poll_shots(session, window, moving, 3.0, interval=0.3)
    expect(checks, session, changed, "the field stopped changing after the tuning file was reloaded",
           shot, "after-reload")


def switch_state(shot, military):
    """Lever up (armed: the lever, the top 10 of the switch, black or glowing
    green, the bottom white) or down (the top white, the bottom lever grey).
    The barrel lies across the middle of the switch at the start (it points
    along +x from the centre, 8 wide), so look above and below it."""
    x0, y0, x1, y1 = military.switch
    cx = (x0 + x1) // 2
    top = [shot.pixel(x, y0 + 2) for x in range(cx - 2, cx + 3)]
    bottom = [shot.pixel(x, y) for x in range(cx - 2, cx + 3) for y in range(y1 - 5, y1 - 2)]

    def white(rgb):
        return min(rgb) >= 215

    def grey(rgb):
        return is_neutral(rgb) and 100 <= rgb[0] <= 160

    def lever_on(rgb):
        return is_dark(rgb, 80) or (rgb[1] - rgb[0] >= 40 and rgb[1] - rgb[2] >= 40)
    if all(white(p) for p in top) and all(grey(p) for p in bottom):
        return "down"
    if all(lever_on(p) for p in top) and all(white(p) for p in bottom):
        return "up"
    return f"unclear (top {top[2]}, bottom {bottom[7]})"


def ring_pixels(shot, military, test, inner, outer):
    """Pixels passing test between the footprint grown by inner and by outer,
    leaving out the rows of the soldier bar."""
    x0, y0, x1, y1 = military.footprint
    found = []
    for x, y in shot.find((x0 - outer, y0 - outer, x1 + outer, y1 + outer), test):
        if x0 - inner <= x <= x1 + inner and y0 - inner <= y <= y1 + inner:
            continue
        if military.bar_y - 3 <= y <= military.bar_y + 3:
            continue
        found.append((x, y))
    return found


def is_lamplight(rgb):
    """The door light, (1, 1, 0.5) laid thinly over the ground: red and
    green alike, blue clearly lower."""
    r, g, b = rgb
    return abs(r - g) <= 12 and r - b >= 14 and r >= 140


def bar_columns(shot, military):
    """Columns under the footprint where the soldier bar (grey 0.8, black
    for soldiers) is drawn."""
    x0, _, x1, _ = military.footprint
    y = military.bar_y
    return [x for x in range(x0 + 2, x1 - 1)
            if any(is_neutral(shot.pixel(x, row)) and shot.pixel(x, row)[0] <= 215 for row in range(y - 1, y + 2))]


def place_military(session, window, checks):
    """Buys a military building, lets it settle and drags it straight up or
    down to ground with no tree in the way. Returns its Military or None."""
    settled = Military(SETTLED)
    clear_trees(session, window, settled.centre, 30)
    buy(session, window, MILITARY)

    def arrived(shot):
        # The dark green outline of its rooms, inside the play area.
        x0, y0, x1, y1 = SETTLED
        green = shot.find((x0 - 4, y0 - 4, x1 + 4, y1 + 4), lambda rgb: rgb[1] - rgb[0] >= 50 and
                          rgb[1] - rgb[2] >= 50 and rgb[1] <= 140)
        return len(green) >= 40
    ok, shot = poll_shots(session, window, arrived, 5.0)
    if not ok:
        expect(checks, session, False, "no military building settled at the left of the play area", shot,
               "military-settle")
        return None
    time.sleep(0.5)  # the last short steps of the glide
    obstacles = Obstacles(FieldShot(session.screenshot(window)))
    # Nearest clear ground up or down the left edge (staying near the edge,
    # and above the zone's bottom strip, keeps the zone's pull on Debug
    # View's probe straight), away from the ground marker, round which the
    # peeps crowd.
    marker = obstacles.marker or (-1000, -1000)
    for dy in sorted(range(-260, 181, 10), key=abs):
        candidate = settled.moved(dy)
        if (candidate.probe[1] <= PLAY_AREA[3] - 45 and math.dist(candidate.centre, marker) >= 110
                and obstacles.free(candidate.clear_box(), margin=0)):
            break
    else:
        candidate = settled
    if candidate.footprint != settled.footprint:
        drag_smoothly(session, window, settled.grip, candidate.grip)
        park_pointer(session, window)
    return candidate


def check_military(session, window, checks, started):
    military = place_military(session, window, checks)
    if not military:
        return None

    # The door lights show only at night: wait for dusk.
    def dark(shot):
        return shot.alpha >= DOOR_LIGHT_TINT
    night, before = poll_shots(session, window, dark, max(1.0, started + 60.0 - time.monotonic()),
                               interval=1.0)
    expect(checks, session, night, f"night never came (tint alpha {before.alpha:.2f})", before, "no-night")
    lever = switch_state(before, military)
    expect(checks, session, lever == "down", f"the disarmed building's switch lever is {lever}, not down "
           f"(building at {military.footprint})", before, "switch-before")
    leaves_before = ring_pixels(before, military, lambda rgb: is_dark(rgb, 60), 5, 14)
    light_before = ring_pixels(before, military, is_lamplight, 1, 16)
    bar_before = bar_columns(before, military)

    x0, y0, x1, y1 = military.switch
    press = ((x0 + x1) // 2, (y0 + y1) // 2)
    session.mouse_move(window, *press)
    time.sleep(0.15)
    session.click(window, *press)
    park_pointer(session, window)

    # The doors swing open over half a second, and stay open only until two
    # soldiers are in (peeps nearby come at once), so catch them early.
    def door_leaves(shot):
        return ring_pixels(shot, military, lambda rgb: is_dark(rgb, 60), 5, 14)

    def swung_out(shot):
        leaves = door_leaves(shot)
        return len(leaves) >= 12 and leaves
    leaves, opened = poll_shots(session, window, swung_out, 2.5, interval=0.05)
    leaves = leaves or door_leaves(opened)
    expect(checks, session, len(leaves) >= 12 and len(leaves_before) <= 4,
           f"the doors did not swing open: {len(leaves)} black door-leaf pixels round the building "
           f"({len(leaves_before)} before)", opened, "doors-open")

    def armed(shot):
        # Peeps walk up to an armed building to serve; one may hide a part
        # for a moment, so look again until everything shows.
        return (switch_state(shot, military) == "up"
                and len(ring_pixels(shot, military, is_lamplight, 1, 16)) >= 60
                and len(bar_columns(shot, military)) >= 26)
    _, after = poll_shots(session, window, armed, 3.0, interval=0.2)
    lever = switch_state(after, military)
    expect(checks, session, lever == "up", f"after a click on the switch at {press} its lever is {lever}, "
           f"not up", after, "switch-after")
    light = ring_pixels(after, military, is_lamplight, 1, 16)
    expect(checks, session, len(light) >= 60 and len(light_before) <= 10,
           f"no door light at night (tint alpha {after.alpha:.2f}): {len(light)} lamplight pixels in "
           f"front of the doors ({len(light_before)} before)", after, "door-light")
    bar = bar_columns(after, military)
    expect(checks, session, len(bar) >= 26 and len(bar_before) <= 3,
           f"no soldier bar under the armed building: {len(bar)} of 30 columns at y = {military.bar_y} "
           f"({len(bar_before)} before)", after, "soldier-bar")
    return military


def is_line_blue(rgb):
    """A thin blue line at half alpha, smoothed over two rows of pixels."""
    r, g, b = rgb
    return b >= 230 and b - r >= 45 and b - g >= 45 and abs(r - g) <= 14


def check_debug_view(session, window, checks, military):
    # With the pointer in the play area, Debug View draws a probe peep there
    # with its steering terms. Near the left edge the zone pulls it straight
    # inward (a horizontal blue term to x = 190), and the military building
    # next to it pulls it in or, when full, pushes it away as it heads for it:
    # another term, so their red sum leaves the blue line visible.
    centre, probe = military.centre, military.probe
    distance = math.dist(centre, probe)
    heading = ((centre[0] - probe[0]) / distance, (centre[1] - probe[1]) / distance)
    approach = [(round(probe[0] - heading[0] * d), round(probe[1] - heading[1] * d)) for d in (30, 20, 10, 0)]
    region = (probe[0] + 1, probe[1] - 40, probe[0] + 45, probe[1] + 8)

    def overlays(shot):
        red = [p for p in shot.find(region, is_red) if math.dist(p, probe) > 9]
        zone_term = [x for x in range(probe[0] + 10, probe[0] + 29)
                     if any(is_line_blue(shot.pixel(x, y)) for y in range(probe[1] - 1, probe[1] + 2))]
        return red, zone_term

    pointer_path(session, window, approach, 0.05)
    time.sleep(0.3)

    def clean(shot):
        # Nothing red or blue there yet; a passing (angry) peep moves on.
        red, blue = overlays(shot)
        return len(red) <= 3 and len(blue) <= 3
    _, before = poll_shots(session, window, clean, 4.0, interval=0.3)
    red_before, blue_before = overlays(before)
    pick_menu_entry(session, window, "Debug View")
    pointer_path(session, window, approach, 0.05)

    def drawn(shot):
        red, blue = overlays(shot)
        return len(red) >= 10 and len(blue) >= 10
    ok, shot = poll_shots(session, window, drawn, 3.0)
    red, blue = overlays(shot)
    expect(checks, session, ok and len(red_before) <= 3 and len(blue_before) <= 3,
           f"Debug View drew {len(red)} red line pixels and a blue line over {len(blue)} of 19 columns "
           f"by the pointer at {probe} ({len(red_before)} and {len(blue_before)} before)", shot, "debug-view")
    park_pointer(session, window)


def moved_pixels(a, b):
    """Where two shots differ in the field, the palette and the money bar:
    between the frame counter and the notices under the field, which go by
    the real clock."""
    return [(x, y) for y in range(100, 651, 2) for x in range(0, 800, 2) if a.pixel(x, y) != b.pixel(x, y)]


def check_pause_and_city(session, window, checks):
    def dark_centre(image):
        return len(FieldShot(image).find((340, 380, 460, 405), lambda rgb: is_dark(rgb, 60)))
    park_pointer(session, window)
    before = dark_centre(session.screenshot(window))
    session.key(window, "p", typed=True)
    time.sleep(0.5)
    checks.check(dark_centre(session.screenshot(window)) > before + 20, '"Paused" is not shown in the field')
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
    with GameSession(binary) as session:
        started = time.monotonic()
        _, window = open_game(session)
        check_creeps(session, window, checks)
        check_save_tuning(session, window, checks)
        check_reload(session, window, checks)
        military = check_military(session, window, checks, started)
        if military:
            check_debug_view(session, window, checks, military)
        check_pause_and_city(session, window, checks)
        session.check_running()
        keep_dir_if_failed(session, checks, failures)


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run('commands: "a" sends creeps, Save Tuning, Reload Tuning File, a military building '
               "armed by its switch, Debug View; p pauses, Save City and Load City", lambda: check_commands(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
