"""Roads, walls and the cursor tools with real mouse input: a road laid from
one work building's door to another's, a wall between two guard towers'
posts, peeps swept into a selection and ordered to a point, and a path drawn
with "Draw Roads" turned on through the menu."""

import math
import os
import sys
import time
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, GameSession, binary_from_argv, fail  # noqa: E402
from test_window import open_game  # noqa: E402
from gameplay import (  # noqa: E402
    PLAY_AREA, TOWER, WORK, FieldShot, Obstacles, buy, centroid, clear_trees, clusters, drag_smoothly,
    expect, find_anchor, hint_centre, is_dark, is_magenta, is_neutral, is_peep_blue, is_road_grey,
    is_yellow, keep_dir_if_failed, keep_evidence, palette_cell, park_pointer, pick_menu_entry,
    pointer_path, poll_shots, press_still, samples,
)

# Enough money for two work buildings and two guard towers.
RICH = {"Verlomba.ini": "kStartWithMoney = 1.0\n"}
# No start trees: the sweep needs open ground among the peeps.
BARE = {"Verlomba.ini": "kStartWithTrees = 0\n"}

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


def near(shot, point, test, reach):
    x, y = int(round(point[0])), int(round(point[1]))
    return any(test(rgb) for _, _, rgb in shot.region(x - reach, y - reach, x + reach, y + reach))


def fraction_near(shot, points, test, reach):
    hits = sum(1 for p in points if near(shot, p, test, reach))
    return hits / len(points)


# --- roads and walls --------------------------------------------------------------------

def catmull_rom_road(pa, da, pb, db):
    """The road's curve as the game draws it: ten control points leaving each
    anchor along its direction, then uniform Catmull-Rom segments."""
    d = math.dist(pa, pb)
    k1, k2 = min(0.1 * d, 4.0), min(0.1 * d, 12.0)
    qa = (pa[0] + 1.5 * k2 * da[0], pa[1] + 1.5 * k2 * da[1])
    qb = (pb[0] + 1.5 * k2 * db[0], pb[1] + 1.5 * k2 * db[1])

    def lerp(p, q, t):
        return (p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t)

    ctrl = [(pa[0] - k1 * da[0], pa[1] - k1 * da[1]), pa, (pa[0] + k2 * da[0], pa[1] + k2 * da[1]),
            lerp(qa, pb, 0.05), lerp(qa, pb, 0.2), lerp(qb, pa, 0.2), lerp(qb, pa, 0.05),
            (pb[0] + k2 * db[0], pb[1] + k2 * db[1]), pb, (pb[0] - k1 * db[0], pb[1] - k1 * db[1])]
    points = []
    for w in range(len(ctrl) - 3):
        p0, p1, p2, p3 = ctrl[w:w + 4]
        for i in range(10):
            t = i / 9
            points.append(tuple(0.5 * (2 * p1[c] + t * (-p0[c] + p2[c])
                                       + t * t * (2 * p0[c] - 5 * p1[c] + 4 * p2[c] - p3[c])
                                       + t ** 3 * (-p0[c] + 3 * p1[c] - 3 * p2[c] + p3[c]))
                                for c in (0, 1)))
    return points


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
        road = catmull_rom_road(door_a, normal_a, door_b, normal_b)
        middle = road[10:60]  # away from the buildings' own greys
        before = FieldShot(session.screenshot(window))
        grey_before = fraction_near(before, middle, is_road_grey, 1)

        # Press just outside one door, release just outside the other.
        lay_road(session, window, (door_a[0] + 3 * normal_a[0], door_a[1] + 3 * normal_a[1]),
                 (door_b[0] + 3 * normal_b[0], door_b[1] + 3 * normal_b[1]))

        def road_drawn(shot):
            return fraction_near(shot, middle, is_road_grey, 2) >= 0.8
        ok, shot = poll_shots(session, window, road_drawn, 3.0)
        expect(checks, session, ok and grey_before < 0.3,
               f"no grey road from the door at {door_a} to the door at {door_b}: "
               f"{fraction_near(shot, middle, is_road_grey, 2):.0%} of its curve is grey "
               f"({grey_before:.0%} before)", shot, "road")

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


# --- the command tool and drawn paths ----------------------------------------------------

def peeps(shot, margin=40):
    """Centres of the light-blue peeps in the play area."""
    x0, y0, x1, y1 = PLAY_AREA
    blue = shot.find((x0 + margin, y0 + margin, x1 - margin, y1 - margin), is_peep_blue, step=2)
    return [centroid(group) for group in clusters(blue, reach=4) if len(group) >= 4]


def ringed(shot, centre, reach=90):
    """Yellow selection rings near centre, one cluster per selected peep."""
    x, y = centre
    yellow = shot.find((x - reach, y - reach, x + reach, y + reach), is_yellow)
    return [g for g in clusters(yellow, reach=3) if len(g) >= 6]


def sweep_radius(shot, centre):
    """Radius of the magenta circle round centre (the sweep circle is 12
    units and grows with each selected agent, up to 64), or None."""
    cx, cy = centre
    magenta = shot.find((cx - 70, cy - 70, cx + 70, cy + 70), is_magenta)
    rings = Counter(round(math.dist(p, centre)) for p in magenta)
    # A drawn circle of radius r has about 2*pi*r pixels within a unit of r.
    found = [r for r in range(10, 67) if rings[r - 1] + rings[r] + rings[r + 1] >= 4 * r]
    return max(found) if found else None


def pick_order_point(obstacles, away_from, others):
    """Open ground some 150 units from the selection, away from the other
    peeps, trees, the marker and the edges (which all move peeps)."""
    marker = obstacles.marker or (-1000, -1000)
    valid = [(x, y) for x in range(220, 581, 20) for y in range(220, 581, 20)
             if math.dist((x, y), away_from) >= 110 and all(math.dist((x, y), p) >= 60 for p in others)
             and math.dist((x, y), marker) >= 110 and obstacles.free((x - 30, y - 30, x + 30, y + 30))]
    return min(valid, key=lambda p: abs(math.dist(p, away_from) - 150)) if valid else None


def zigzag(centre, half, row_gap=16, stride=10):
    """Pointer positions covering a square of side 2*half round centre, row
    by row."""
    cx, cy = centre
    points = []
    for i, y in enumerate(range(cy - half, cy + half + 1, row_gap)):
        xs = list(range(cx - half, cx + half + 1, stride))
        points += [(x, y) for x in (xs if i % 2 == 0 else reversed(xs))]
    return points


def sweep(session, window, obstacles):
    """Presses on open ground in the thick of the peeps and, keeping the
    button down, combs the ground round it so the sweep circle touches the
    peeps nearby (they wander too far in a second to catch them by holding
    still). Then holds still and looks. Returns (point, radius of the sweep
    circle, number of selected peeps, shot); the button is released."""
    shot = FieldShot(session.screenshot(window))
    crowd = peeps(shot)
    if not crowd:
        fail(f"no light-blue peeps to select ({keep_evidence(session, shot, 'no-peeps')})")
    x0, y0, x1, y1 = PLAY_AREA
    half = 36
    # The press must land on open ground: on a tree or the marker it would
    # pick that up instead.
    starts = [(min(max(round(p[0]), x0 + half + 10), x1 - half - 10),
               min(max(round(p[1]), y0 + half + 10), y1 - half - 10))
              for p in sorted(crowd, key=lambda p: -sum(1 for q in crowd if math.dist(p, q) < 60))]
    point = next((p for p in starts if obstacles.free((p[0] - 10, p[1] - 10, p[0] + 10, p[1] + 10), margin=0)),
                 None)
    if not point:
        fail(f"every peep stands by a tree ({keep_evidence(session, shot, 'no-open-peeps')})")
    press_still(session, window, point)
    last = point
    try:
        path = zigzag(point, half)
        last = path[-1]
        pointer_path(session, window, path, 0.04)
        session.mouse_move(window, *point)
        last = point
        time.sleep(0.5)  # the selected peeps walk toward the held pointer
        shot = FieldShot(session.screenshot(window))
        radius = sweep_radius(shot, point)
        selected = len(ringed(shot, point))
    finally:
        session.mouse_up(window, *last)
    return point, radius, selected, shot


def check_command_tool(binary, checks):
    failures = len(checks.failures)
    with GameSession(binary, files=BARE) as session:
        _, window = open_game(session)
        park_pointer(session, window)
        time.sleep(0.6)
        obstacles = Obstacles(FieldShot(session.screenshot(window)))

        # A held press on open ground: a magenta circle at the pointer that
        # takes the peeps it touches (yellow rings) and grows with each.
        point, radius, selected, shot = sweep(session, window, obstacles)
        expect(checks, session, radius is not None and selected >= 1,
               f"the held press near {point} showed no sweep circle ({radius}) with selected peeps "
               f"({selected} yellow rings)", shot, "sweep")
        if radius is None or not selected:
            keep_dir_if_failed(session, checks, failures)
            return
        expect(checks, session, radius >= 12 + 1.75 * selected - 2,
               f"the sweep circle has radius {radius} with {selected} peeps selected, "
               f"not 12 + 1.75 per peep", shot, "sweep-radius")

        # Released, the tool stays armed; the next press orders the selection.
        order = pick_order_point(obstacles, point, peeps(shot, margin=5))
        if not order:
            fail(f"no open ground to order the peeps to ({keep_evidence(session, shot, 'no-ground')})")
        box = (order[0] - 30, order[1] - 30, order[0] + 30, order[1] + 30)
        near_before = FieldShot(session.screenshot(window)).find(box, is_peep_blue)
        session.mouse_move(window, *order)
        time.sleep(0.15)
        session.click(window, *order)
        park_pointer(session, window)

        def gathered(shot):
            # Peeps that touch merge into one blob: count pixels, at least
            # two peeps' worth when two or more were selected.
            blue = shot.find(box, is_peep_blue)
            return len(blue) >= 30 * min(selected, 2) and len(blue)
        n, shot = poll_shots(session, window, gathered, 12.0, interval=0.4)
        expect(checks, session, n and len(near_before) < 10,
               f"the {selected} selected peeps did not gather within 30 of the ordered point {order} "
               f"({len(near_before)} light-blue pixels there before the order)", shot, "ordered")
        rings_left = ringed(shot, (400, 400), reach=250)
        expect(checks, session, not rings_left,
               f"{len(rings_left)} yellow rings remain after the order: the peeps stayed selected",
               shot, "deselected")

        # "Draw Roads" through the menu, then a path drawn on open ground.
        pick_menu_entry(session, window, "Draw Roads")
        shot = FieldShot(session.screenshot(window))
        obstacles = Obstacles(shot)
        candidates = [((x, y), (x + 200, y + 15)) for y in range(190, 600, 15)
                      for x in (190, 270, 350, 420)]
        path = next((c for c in candidates if obstacles.free_line(c[0], c[1], 10)
                     and all(math.dist(p, order) > 50 for p in samples(c[0], c[1], 12))), None)
        if not path:
            fail(f"no open ground for a path ({keep_evidence(session, shot, 'no-path-ground')})")
        line = samples(path[0], path[1], 30, 0.05, 0.95)
        grey_before = fraction_near(shot, line, is_path_grey, 1)
        drag_smoothly(session, window, path[0], path[1], steps=24, pause=0.05)
        park_pointer(session, window)

        def drawn(shot):
            return fraction_near(shot, line, is_path_grey, 2) >= 0.8
        ok, shot = poll_shots(session, window, drawn, 3.0)
        expect(checks, session, ok and grey_before < 0.3,
               f"no grey path from {path[0]} to {path[1]}: "
               f"{fraction_near(shot, line, is_path_grey, 2):.0%} of it is grey ({grey_before:.0%} before)",
               shot, "drawn-path")
        session.check_running()
        keep_dir_if_failed(session, checks, failures)


def is_path_grey(rgb):
    """The drawn path: a thin grey 0.5 line, lighter where it is smoothed."""
    return is_neutral(rgb, 16) and 90 <= rgb[0] <= 200


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("roads: a grey road between two building doors, a dark wall between two tower posts",
               lambda: check_roads_and_walls(binary, checks))
    checks.run("tools: sweep-select peeps, order them to a point; a path drawn with Draw Roads on",
               lambda: check_command_tool(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
