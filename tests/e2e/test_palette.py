"""The field after start-up, then buying and placing with real mouse input:
a peep, a work building dragged and copied (Alt in the software run, Ctrl in
the OpenGL one), a road between their doors; then, zoomed in, the view moved
by the arrows and the middle button within the field, Home, a purchase from
the moved view, and the help card."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, GameSession, binary_from_argv, fail  # noqa: E402
from gameplay import (  # noqa: E402
    BAR_ROW, PARK, PEEP, PLAY_AREA, WORK, FieldShot, Obstacles, buy, drag_smoothly, expect, find_anchor,
    hint_centre, is_bar_fill, is_dark, is_neutral, is_peep_blue, is_road_grey, keep_dir_if_failed, keep_evidence,
    money_fill_end, palette_cell, palette_centre, park_pointer, poll_shots, pointer_path,
)

# No trees: nothing to hide what is bought or to stand in a road's way.
NO_TREES = {"Verlomba.ini": "kStartWithTrees = 0\n"}

# A bought building is made over its palette cell (a 32x32 footprint 16
# inside the cell) and settles 32 units inside the play area's left edge at
# the same height: x about 181..213.
WORK_CELL = palette_cell(WORK)
PROTOTYPE = (86, WORK_CELL[1] + 16, 118, WORK_CELL[1] + 48)
SETTLED = (181, WORK_CELL[1] + 16, 213, WORK_CELL[1] + 48)
# A point always inside room 0, which is stretched over the switch corner.
GRIP = (SETTLED[2] - 10, SETTLED[3] - 14)
SETTLED_CENTRE = ((SETTLED[0] + SETTLED[2]) // 2, (SETTLED[1] + SETTLED[3]) // 2)
# Enough room pixels to tell a building from stray greys (the ground
# marker's ring, smoke): a work building's rooms cover 600 to 1000.
PRESENT = 250
# The key held for a free copy: Ctrl in the OpenGL run, Alt in the other.
COPY_KEY = "ctrl" if os.environ.get("VERLOMBA_RENDERER") == "gl" else "alt"


def box_around(footprint, margin):
    x0, y0, x1, y1 = footprint
    return (x0 - margin, y0 - margin, x1 + margin, y1 + margin)


def moved(footprint, d):
    x0, y0, x1, y1 = footprint
    return (x0 + d[0], y0 + d[1], x1 + d[0], y1 + d[1])


def building_pixels(shot, box):
    """A work building's rooms: greys from the outline (0.5) to the fill (0.75)."""
    return len(shot.find(box, lambda rgb: is_neutral(rgb, 12) and 100 <= rgb[0] <= 215))


def choose_pair(obstacles):
    """Two free places, the second up and right of the first, so a road runs
    from the first's right door to the second's bottom door."""
    for dx, dy in [(200, -90), (180, -70), (220, -110), (160, -90)]:
        for y in range(210, 600, 30):
            for x in range(220, 620 - dx, 30):
                a, b = (x, y), (x + dx, y + dy)
                if all(obstacles.free(box_around(p + p, 40)) for p in (a, b)) and obstacles.free_line(a, b, 14):
                    return a, b
    return None


def door_probe(session, window, footprint, side):
    """(door centre, outward normal) of the door on that side, found by
    hovering outside it until the anchor hint shows, or None. Room 0 is
    stretched to the bottom right, so those doors sit on the footprint's edge."""
    x0, y0, x1, y1 = footprint
    if side == "right":
        normal = (1, 0)
        probes = [(x1 + 5, (y0 + y1) // 2 + d) for d in (0, -10, 10, -20, 20)]
        box = (x1 - 4, y0 - 14, x1 + 16, y1 + 14)
    else:
        normal = (0, 1)
        probes = [((x0 + x1) // 2 + d, y1 + 5) for d in (0, -10, 10, -20, 20)]
        box = (x0 - 14, y1 - 4, x1 + 14, y1 + 16)
    found = find_anchor(session, window, probes, box, normal)
    return found and (hint_centre(found[1], normal), normal)


def fill_end_near(target, tolerance):
    def check(shot):
        end = money_fill_end(shot)
        return end is not None and abs(end - target) <= tolerance and end
    return check


def appears(box, before):
    def check(shot):
        n = building_pixels(shot, box)
        return n - before >= PRESENT and n
    return check


def check_buying(binary, checks):
    failures = len(checks.failures)
    with GameSession(binary, files=NO_TREES) as session:
        window = session.open_game()
        park_pointer(session, window)
        obstacles = Obstacles(FieldShot(session.screenshot(window)))
        # Away from where the building settles, which must be empty again
        # after the drag.
        obstacles.cells |= {((SETTLED_CENTRE[0] + dx) // 6, (SETTLED_CENTRE[1] + dy) // 6)
                            for dx in range(-70, 71, 6) for dy in range(-70, 71, 6)}
        spots = choose_pair(obstacles)
        if not spots:
            fail("no free ground to drag the building to")
        move = (spots[0][0] - SETTLED_CENTRE[0], spots[0][1] - SETTLED_CENTRE[1])
        copy_move = (spots[1][0] - spots[0][0], spots[1][1] - spots[0][1])

        # Start money 0.25: the display climbs to it, the fill ends near 300.
        end, shot = poll_shots(session, window, fill_end_near(300, 4), 8.0)
        if not end:
            path = keep_evidence(session, shot, "money-at-start")
            fail(f"the money bar's fill ends at {money_fill_end(shot)}, not near 300 ({path})")
        # The peeps in the play area and none above it, the zone's faint blue
        # frame along its left edge (a peep may stand on it here and there),
        # the population text under it.
        x0, y0, x1, y1 = PLAY_AREA
        blue = shot.find(PLAY_AREA, is_peep_blue)
        expect(checks, session, len(blue) >= 40 and not shot.find((200, 0, 799, 140), is_peep_blue),
               f"{len(blue)} light-blue peep pixels in the play area, or some above it", shot, "field-peeps")
        frame = [shot.image.pixel(x0, y) for y in range(200, 600, 20)]
        expect(checks, session, sum(rgb[2] > rgb[0] + 20 for rgb in frame) >= 15,
               f"no zone frame at x = {x0}: {frame}", shot, "field-zone")
        text = shot.find((x0, y1 + 7, x0 + 82, y1 + 18), lambda rgb: is_dark(rgb, 110))
        expect(checks, session, len(text) >= 20, f"no dark population text under the play area "
               f"({len(text)} pixels)", shot, "field-population")

        # A peep costs 0.05: the display drains 0.01 a tick to 0.20, x = 280.
        buy(session, window, PEEP)
        end, shot = poll_shots(session, window, fill_end_near(280, 3), 4.0)
        expect(checks, session, end, f"after buying a peep the money bar's fill ends at "
               f"{money_fill_end(shot)}, not near 280", shot, "money-after-peep")
        time.sleep(0.3)

        # A work building (0.1) glides out of its cell into the play area.
        settled_box = box_around(SETTLED, 6)
        empty = building_pixels(FieldShot(session.screenshot(window)), settled_box)
        buy(session, window, WORK)
        n, shot = poll_shots(session, window, appears(settled_box, empty), 5.0)
        if not n:
            path = keep_evidence(session, shot, "work-building-glide")
            fail(f"no work building arrived at x {SETTLED[0]}..{SETTLED[2]}, y {SETTLED[1]}..{SETTLED[3]} "
                 f"({building_pixels(shot, settled_box)} building pixels, {empty} before; {path})")
        end, shot = poll_shots(session, window, fill_end_near(240, 3), 4.0)
        expect(checks, session, end, f"after the work building the fill ends at {money_fill_end(shot)}, "
               f"not near 240", shot, "money-after-building")
        time.sleep(0.5)  # the last, shortest steps of the glide
        shot = FieldShot(session.screenshot(window))
        in_cell = building_pixels(shot, box_around(PROTOTYPE, 4))
        expect(checks, session, in_cell >= PRESENT,
               f"the palette cell lost its work building ({in_cell} pixels)", shot, "palette-after-buy")

        # Drag it with the left button to another spot.
        target = moved(SETTLED, move)
        target_box = box_around(target, 14)
        before_target = building_pixels(shot, target_box)
        grip = (GRIP[0] + move[0], GRIP[1] + move[1])
        drag_smoothly(session, window, GRIP, grip)
        park_pointer(session, window)
        n, shot = poll_shots(session, window, appears(target_box, before_target), 3.0)
        expect(checks, session, n, f"no building at x {target[0]}..{target[2]}, y {target[1]}..{target[3]} "
               f"after dragging it there ({building_pixels(shot, target_box)} pixels)", shot, "after-drag")
        left = building_pixels(shot, settled_box)
        expect(checks, session, left <= empty + 40, f"{left} building pixels are left where the building "
               f"stood before the drag ({empty} before it came)", shot, "after-drag-old-spot")

        # Alt-drag from the new spot: a copy moves, the original stays. The
        # OpenGL run copies with Ctrl instead, so that both ways are played.
        copy = moved(target, copy_move)
        copy_box = box_around(copy, 14)
        before_copy = building_pixels(shot, copy_box)
        session.xdotool("keydown", COPY_KEY)
        try:
            drag_smoothly(session, window, grip, (grip[0] + copy_move[0], grip[1] + copy_move[1]))
        finally:
            session.xdotool("keyup", COPY_KEY)
        park_pointer(session, window)
        n, shot = poll_shots(session, window, appears(copy_box, before_copy), 3.0)
        expect(checks, session, n, f"no copy at x {copy[0]}..{copy[2]}, y {copy[1]}..{copy[3]} after the "
               f"{COPY_KEY}-drag ({building_pixels(shot, copy_box)} pixels)", shot, f"after-{COPY_KEY}-drag")
        stayed = building_pixels(shot, target_box)
        expect(checks, session, stayed - before_target >= PRESENT,
               f"the original left x {target[0]}..{target[2]}, y {target[1]}..{target[3]} on the {COPY_KEY}-drag "
               f"({stayed} pixels)", shot, f"after-{COPY_KEY}-drag-original")
        end = money_fill_end(shot)
        expect(checks, session, end is not None and abs(end - 240) <= 3,
               f"the {COPY_KEY}-copy was paid for: the fill ends at {end}, not near 240", shot, "money-after-copy")

        # A road from the original's right door to the copy's bottom door: it
        # lies right of the one and below the other, where nothing else is grey.
        door_a = door_probe(session, window, target, "right")
        door_b = door_probe(session, window, copy, "bottom")
        park_pointer(session, window)
        if not door_a or not door_b:
            shot = FieldShot(session.screenshot(window))
            fail(f"no anchor hint found at the right door of the building at {target} ({door_a}) or the "
                 f"bottom door of the one at {copy} ({door_b}) ({keep_evidence(session, shot, 'doors')})")
        (door_a, normal_a), (door_b, normal_b) = door_a, door_b
        between = (door_a[0] + 4, door_b[1] + 4, door_b[0] + 30, door_a[1] + 30)

        def road_pixels(shot):
            return len(shot.find(between, is_road_grey))
        grey_before = road_pixels(FieldShot(session.screenshot(window)))
        # Press just outside one door, release just outside the other.
        press = (round(door_a[0] + 3 * normal_a[0]), round(door_a[1] + 3 * normal_a[1]))
        release = (round(door_b[0] + 3 * normal_b[0]), round(door_b[1] + 3 * normal_b[1]))
        # A peep walking through the door takes the press, as it should, and
        # is carried instead: wait for the doors to be clear, and try again
        # if one stepped in just as the button went down.
        near = [(x - 9, y - 9, x + 9, y + 9) for x, y in (press, release)]
        for _ in range(3):
            poll_shots(session, window, lambda s: not any(s.find(b, is_peep_blue) for b in near), 3.0)
            drag_smoothly(session, window, press, release, steps=10)
            park_pointer(session, window)
            ok, shot = poll_shots(session, window, lambda s: road_pixels(s) >= grey_before + 600, 3.0)
            if ok:
                break
        expect(checks, session, ok, f"no grey road from the door at {door_a} to the door at {door_b}: "
               f"{road_pixels(shot)} grey pixels between them ({grey_before} before)", shot, "road")
        session.check_running()
        check_view_and_help(session, window, checks)
        keep_dir_if_failed(session, checks, failures)


# Three wheel steps in: 1.2^3 of a unit a pixel. At the view's top-left
# bound its centre is 400 / ZOOM from the field's corner.
ZOOM = 1.2 ** 3
BOUND = 400 / ZOOM


def to_window(world, centre):
    return tuple(round((w - c) * ZOOM + 400) for w, c in zip(world, centre))


def differing(a, b, step=3):
    return sum(a.image.pixel(x, y) != b.image.pixel(x, y) for y in range(0, 800, step) for x in range(0, 800, step))


def fill_end_at(shot, row):
    green = [x for x in range(800) if is_bar_fill(shot.image.pixel(x, row))]
    return max(green) if green else None


def dark_pixels(shot):
    return len([p for p in shot.image.region(180, 260, 620, 540) if is_dark(p[2], 90)])


def keys(session, window, name, count=1):
    for _ in range(count):
        session.key(window, name, typed=True)
        time.sleep(0.05)
    time.sleep(0.4)


def check_view_and_help(session, window, checks):
    park_pointer(session, window)
    for _ in range(3):
        session.click(window, *PARK, button=4)
        time.sleep(0.1)
    park_pointer(session, window)
    time.sleep(1.0)  # the zoom eases to its step
    keys(session, window, "p")
    home = FieldShot(session.screenshot(window))

    # Far more presses than the way to the corner: the view stops at the field's edge.
    keys(session, window, "Left", 12)
    keys(session, window, "Up", 12)
    corner = FieldShot(session.screenshot(window))
    expect(checks, session, differing(home, corner) > 2000, "the arrows did not move the zoomed view",
           corner, "view-arrows")
    keys(session, window, "Left", 3)
    keys(session, window, "Up", 3)
    again = FieldShot(session.screenshot(window))
    expect(checks, session, differing(corner, again) < 50, "the view moved past the field's corner",
           again, "view-bound")
    # The palette's peep cell, three times as large, where the view puts it.
    cell = palette_cell(PEEP)
    x0, y0 = to_window(cell[:2], (BOUND, BOUND))
    x1, y1 = to_window(cell[2:], (BOUND, BOUND))
    outline = corner.find((x0 - 3, y0 - 3, x1 + 3, y0 + 3), lambda rgb: rgb[2] > rgb[0] + 15)
    expect(checks, session, len(outline) >= 40, f"no palette cell outline near ({x0}, {y0})..({x1}, {y0})",
           corner, "view-palette")

    # A middle-button drag carries the world with the pointer.
    session.mouse_down(window, 500, 500, button=2)
    pointer_path(session, window, [(500 - 25 * i, 500 - 12 * i) for i in range(1, 9)])
    session.mouse_up(window, 300, 404, button=2)
    park_pointer(session, window)
    time.sleep(0.4)
    dragged = FieldShot(session.screenshot(window))
    def close(a, b):
        return max(abs(p - q) for p, q in zip(a, b)) <= 48

    # Where something was drawn (not the plain ground), the same, give or
    # take the edges, 200 and 96 pixels up and left.
    drawn = [(x, y) for y in range(100, 600, 3) for x in range(100, 500, 3)
             if min(corner.image.pixel(x + 200, y + 96)) < 200]
    same = sum(close(dragged.image.pixel(x, y), corner.image.pixel(x + 200, y + 96)) for x, y in drawn)
    expect(checks, session, len(drawn) >= 100 and same >= 0.8 * len(drawn),
           f"after a middle drag by (-200, -96) only {same} of {len(drawn)} drawn pixels show what was under "
           f"the pointer", dragged, "view-middle-drag")

    # Home: back to the picture of the start, but for the edges of still
    # pictures kept from the moved views; a single step away differs far more.
    keys(session, window, "Home")
    centred = FieldShot(session.screenshot(window))
    keys(session, window, "Right")
    stepped = FieldShot(session.screenshot(window))
    keys(session, window, "Home")
    off = differing(home, centred)
    expect(checks, session, 3 * off < differing(home, stepped), f"Home did not bring the view to the middle: "
           f"{off} samples differ from the start's", centred, "view-home")

    # Bought from the moved view: the fill's end, also in view, moves left
    # by the peep's price, 0.05 of the 400-unit bar.
    keys(session, window, "Left", 12)
    keys(session, window, "Up", 12)
    keys(session, window, "p")
    row = to_window((0, BAR_ROW), (BOUND, BOUND))[1]
    before = fill_end_at(FieldShot(session.screenshot(window)), row)
    peep = to_window(palette_centre(PEEP), (BOUND, BOUND))
    buy(session, window, PEEP, point=peep)
    want = before is not None and before - 0.05 * 400 * ZOOM

    def drained(shot):
        end = fill_end_at(shot, row)
        return end is not None and abs(end - want) <= 6 and end
    end, shot = poll_shots(session, window, drained, 4.0)
    expect(checks, session, end, f"a purchase from the moved view: the fill's end went from {before} to "
           f"{fill_end_at(shot, row)}, not near {want}", shot, "view-purchase")

    # F1 shows the help card over the field and pauses; any key closes it.
    keys(session, window, "Home")
    base = dark_pixels(FieldShot(session.screenshot(window)))
    keys(session, window, "F1")
    card = FieldShot(session.screenshot(window))
    white = [p for p in card.image.region(170, 250, 630, 550, step=4) if min(p[2]) >= 235]
    expect(checks, session, dark_pixels(card) >= base + 800 and len(white) >= 6000,
           f"no help card: {dark_pixels(card)} text pixels ({base} before) and {len(white)} white", card,
           "help-card")
    time.sleep(0.5)
    still = FieldShot(session.screenshot(window))
    expect(checks, session, differing(card, still) < 50, "the game ran on under the help card", still,
           "help-paused")
    keys(session, window, "x")
    gone = FieldShot(session.screenshot(window))
    expect(checks, session, dark_pixels(gone) < base + 300, "a key did not close the help card", gone,
           "help-closed")


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run(f"palette: the start-up field, a peep paid from the money bar, a work building glides in, is "
               f"dragged and {COPY_KEY}-copied, a road between their doors", lambda: check_buying(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
