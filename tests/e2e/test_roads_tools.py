"""Roads and walls with real mouse input: a road laid from one work
building's door to another's, a wall between two guard towers' posts."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, GameSession, binary_from_argv, fail  # noqa: E402
from test_window import open_game  # noqa: E402
from gameplay import (  # noqa: E402
    TOWER, WORK, FieldShot, Obstacles, buy, clear_trees, drag_smoothly, expect, find_anchor, fraction_near,
    hint_centre, is_dark, is_neutral, is_road_grey, keep_dir_if_failed, keep_evidence, palette_cell,
    park_pointer, poll_shots, samples,
)

# Enough money for two work buildings and two guard towers.
RICH = {"Verlomba.ini": "kStartWithMoney = 1.0\n"}

WORK_CELL = palette_cell(WORK)
# Where a bought work building settles: 32 inside the play area's left edge.
WORK_SETTLED = (181, WORK_CELL[1] + 16, 213, WORK_CELL[1] + 48)
WORK_SETTLED_CENTRE = ((WORK_SETTLED[0] + WORK_SETTLED[2]) // 2, (WORK_SETTLED[1] + WORK_SETTLED[3]) // 2)
# Room 0 always covers this point (it is stretched over the switch corner).
WORK_GRIP = (WORK_SETTLED[2] - 10, WORK_SETTLED[3] - 14)
# A bought guard tower (radius 12) glides from its cell's centre (102, 758)
# by a fifth of the way each tick until within 2 of the area 32 inside the
# play area: it stops at about (193.2, 607.4).
TOWER_SETTLED = (193, 607)

# Offsets of the second building from the first, in order of preference: up
# and to the right, so that a road leaves the first by its right door and
# enters the second by its bottom door. The towers stand side by side, joined
# from the right post of one to the left post of the other.
BUILDING_GAPS = [(200, -90), (180, -70), (220, -110), (160, -90)]
TOWER_GAPS = [(160, 10), (160, -10), (120, 0), (200, 0)]


def is_tower_orange(rgb):
    r, g, b = rgb
    return r >= 180 and 90 <= g <= 170 and b <= 115 and r - b >= 100


def choose_pair(obstacles, half_size, gaps):
    """Two places (the second away from the first by one of the gaps) with
    room for objects of half_size around them and nothing on the line
    between them."""
    for dx, dy in gaps:
        for y in range(210, 600, 30):
            for x in range(220, 620 - dx, 30):
                a, b = (x, y), (x + dx, y + dy)
                box_a = (x - half_size, y - half_size, x + half_size, y + half_size)
                box_b = (b[0] - half_size, b[1] - half_size, b[0] + half_size, b[1] + half_size)
                if obstacles.free(box_a) and obstacles.free(box_b) and obstacles.free_line(a, b, 14):
                    return a, b
    return None


# --- roads and walls --------------------------------------------------------------------

def door_probe(session, window, footprint, side):
    """Finds the door on the "right" or "bottom" side of a building by
    hovering just outside that side until the red anchor hint shows; returns
    (door centre, outward normal), the centre read from the hint, or None.
    Those two doors always sit on the footprint's edge, since room 0 is
    stretched to its bottom right corner (the left and top doors may lie well
    inside); rooms stick out by at most 3.5 units, and a hover within about 6
    units of a door's middle finds it."""
    x0, y0, x1, y1 = footprint
    if side == "right":
        normal = (1, 0)
        middle = (y0 + y1) // 2
        probes = [(x1 + 5, middle + d) for d in (0, -10, 10, -20, 20)]
        box = (x1 - 4, y0 - 14, x1 + 16, y1 + 14)
    else:
        normal = (0, 1)
        middle = (x0 + x1) // 2
        probes = [(middle + d, y1 + 5) for d in (0, -10, 10, -20, 20)]
        box = (x0 - 14, y1 - 4, x1 + 14, y1 + 16)
    found = find_anchor(session, window, probes, box, normal)
    if not found:
        return None
    return hint_centre(found[1], normal), normal


def footprint_at(centre):
    return (centre[0] - 16, centre[1] - 16, centre[0] + 16, centre[1] + 16)


def place_work_building(session, window, centre):
    """Buys a work building and drags it from where it settles so that its
    footprint is centred on centre; returns the expected footprint."""
    box = (WORK_SETTLED[0] - 6, WORK_SETTLED[1] - 6, WORK_SETTLED[2] + 6, WORK_SETTLED[3] + 6)
    before = building_pixels(FieldShot(session.screenshot(window)), box)
    buy(session, window, WORK)

    def arrived(shot):
        return building_pixels(shot, box) - before >= 250
    ok, shot = poll_shots(session, window, arrived, 4.0)
    if not ok:
        fail(f"no work building settled at {WORK_SETTLED} ({keep_evidence(session, shot, 'work-settle')})")
    time.sleep(0.3)  # the last short steps of the glide
    dx, dy = centre[0] - WORK_SETTLED_CENTRE[0], centre[1] - WORK_SETTLED_CENTRE[1]
    drag_smoothly(session, window, WORK_GRIP, (WORK_GRIP[0] + dx, WORK_GRIP[1] + dy))
    park_pointer(session, window)
    return footprint_at((WORK_SETTLED_CENTRE[0] + dx, WORK_SETTLED_CENTRE[1] + dy))


def building_pixels(shot, box):
    """Room pixels of a work building: greys from the outline to the fill."""
    return len(shot.find(box, lambda rgb: is_neutral(rgb, 12) and 100 <= rgb[0] <= 215, step=2)) * 4


def tower_centre(shot, around, reach=30):
    x, y = around
    orange = shot.find((x - reach, y - reach, x + reach, y + reach), is_tower_orange)
    if len(orange) < 200:  # of about 450
        return None
    xs = [p[0] for p in orange]
    ys = [p[1] for p in orange]
    return ((min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2)


def place_tower(session, window, target):
    buy(session, window, TOWER)

    def settled(shot):
        return tower_centre(shot, TOWER_SETTLED)
    centre, shot = poll_shots(session, window, settled, 4.0)
    if not centre:
        fail(f"no guard tower settled near {TOWER_SETTLED} ({keep_evidence(session, shot, 'tower-settle')})")
    time.sleep(0.3)  # the last short steps of the glide
    drag_smoothly(session, window, TOWER_SETTLED, target)
    park_pointer(session, window)
    time.sleep(0.3)
    shot = FieldShot(session.screenshot(window))
    placed = tower_centre(shot, target)
    if not placed:
        fail(f"the guard tower did not follow the drag to {target} "
             f"({keep_evidence(session, shot, 'tower-drag')})")
    return placed


def lay_road(session, window, start, end):
    drag_smoothly(session, window, (round(start[0]), round(start[1])), (round(end[0]), round(end[1])),
                  steps=10)
    park_pointer(session, window)


def check_roads_and_walls(binary, checks):
    failures = len(checks.failures)
    with GameSession(binary, files=RICH) as session:
        _, window = open_game(session)
        park_pointer(session, window)
        # Nothing may hide what is bought where it settles.
        clear_trees(session, window, WORK_SETTLED_CENTRE, 30)
        clear_trees(session, window, TOWER_SETTLED, 24)
        shot = FieldShot(session.screenshot(window))
        obstacles = Obstacles(shot)
        spots = choose_pair(obstacles, 40, BUILDING_GAPS)
        if spots:
            # Keep the towers away from the buildings' places too.
            for centre in spots:
                obstacles.cells |= {((centre[0] + dx) // 6, (centre[1] + dy) // 6)
                                    for dx in range(-60, 61, 6) for dy in range(-60, 61, 6)}
            obstacles.cells |= {(int(x) // 6, int(y) // 6) for x, y in samples(spots[0], spots[1], 40)}
        towers = choose_pair(obstacles, 24, TOWER_GAPS)
        if not spots or not towers:
            fail(f"trees in the way of every planned layout ({keep_evidence(session, shot, 'layout')})")

        # Two work buildings, dragged apart to known places.
        fa = place_work_building(session, window, spots[0])
        fb = place_work_building(session, window, spots[1])
        door_a = door_probe(session, window, fa, "right")
        door_b = door_probe(session, window, fb, "bottom")
        park_pointer(session, window)
        if not door_a or not door_b:
            shot = FieldShot(session.screenshot(window))
            fail(f"no anchor hint found at the right door of the building at {fa} ({door_a}) or the bottom "
                 f"door of the one at {fb} ({door_b}) ({keep_evidence(session, shot, 'doors')})")
        (door_a, normal_a), (door_b, normal_b) = door_a, door_b
        # The road leaves A to the right and enters B from below: it lies
        # right of A and below B, where nothing else is grey.
        between = (door_a[0] + 4, door_b[1] + 4, door_b[0] + 30, door_a[1] + 30)

        def road_pixels(shot):
            return len(shot.find(between, is_road_grey))
        grey_before = road_pixels(FieldShot(session.screenshot(window)))

        # Press just outside one door, release just outside the other.
        lay_road(session, window, (door_a[0] + 3 * normal_a[0], door_a[1] + 3 * normal_a[1]),
                 (door_b[0] + 3 * normal_b[0], door_b[1] + 3 * normal_b[1]))
        ok, shot = poll_shots(session, window, lambda s: road_pixels(s) >= grey_before + 600, 3.0)
        expect(checks, session, ok, f"no grey road from the door at {door_a} to the door at {door_b}: "
               f"{road_pixels(shot)} grey pixels between them ({grey_before} before)", shot, "road")

        # Two guard towers; a road between two posts is a wall, drawn dark.
        ta = place_tower(session, window, towers[0])
        tb = place_tower(session, window, towers[1])
        post_a = (ta[0] + 12, ta[1])  # post 0 points along +x
        post_b = (tb[0] - 12, tb[1])  # post 3 along -x
        line = samples(post_a, post_b, 30, 0.1, 0.9)
        before = FieldShot(session.screenshot(window))
        dark_before = fraction_near(before, line, is_dark, 1)
        lay_road(session, window, (post_a[0] + 3, post_a[1]), (post_b[0] - 3, post_b[1]))

        def wall_drawn(shot):
            return fraction_near(shot, line, lambda rgb: is_dark(rgb, 70), 2) >= 0.8
        ok, shot = poll_shots(session, window, wall_drawn, 3.0)
        expect(checks, session, ok and dark_before < 0.3,
               f"no dark wall between the posts at {post_a} and {post_b}: "
               f"{fraction_near(shot, line, lambda rgb: is_dark(rgb, 70), 2):.0%} of the line is dark "
               f"({dark_before:.0%} before)", shot, "wall")
        session.check_running()
        keep_dir_if_failed(session, checks, failures)


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("roads: a grey road between two building doors, a dark wall between two tower posts",
               lambda: check_roads_and_walls(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
