"""The game screen for the end-to-end tests: layout, colours through the
night tint, the pop-up menu and road anchors. Coordinates are pixels of the
800x800 window, equal to world units at the start-up zoom."""

import math
import os
import sys
import time
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import fail, wait_until  # noqa: E402

PLAY_AREA = (150, 150, 650, 650)  # x0, y0, x1, y1
MONEY_BAR = (200, 114, 600, 138)
BAR_ROW = 126  # a row through the middle of the money bar

PEEP, SLEEP, WORK, CAPITAL, MILITARY, SMALL_TREE, BIG_TREE, FOUNTAIN, TOWER = range(9)

NIGHT_BLUE = (0.0, 0.0, 0.7 * 255)

# Parking the pointer here keeps hover marks and hints out of screenshots.
PARK = (760, 760)


def palette_cell(slot):
    top = 150 + 72 * slot
    return (70, top, 134, top + 64)


def palette_centre(slot):
    x0, y0, x1, y1 = palette_cell(slot)
    return ((x0 + x1) // 2, (y0 + y1) // 2)


# --- colours through the night tint --------------------------------------------

def tint_alpha(shot):
    """The night tint's alpha, from the play area's commonest colour: with
    daylight d its red is 255 * (0.9 + 0.1 d) * (1 - a), a = (1 - d) / 2."""
    x0, y0, x1, y1 = PLAY_AREA
    counts = Counter(rgb for _, _, rgb in shot.region(x0 + 2, y0 + 2, x1 - 2, y1 - 2, step=9))
    red = counts.most_common(1)[0][0][0] / 255.0
    # 0.05 d^2 + 0.5 d + 0.45 = red
    disc = 0.25 - 0.2 * (0.45 - red)
    d = (-0.5 + math.sqrt(max(disc, 0.0))) / 0.1
    d = min(max(d, 0.0), 1.0)
    return (1.0 - d) * 0.5


def untint(rgb, alpha):
    if alpha <= 0.0:
        return rgb
    keep = 1.0 - alpha
    return tuple(min(255, max(0, round((c - n * alpha) / keep))) for c, n in zip(rgb, NIGHT_BLUE))


class FieldShot:
    """A screenshot with the night tint taken out of the play area."""

    def __init__(self, image):
        self.image = image
        self.width = image.width
        self.height = image.height
        self.alpha = tint_alpha(image)
        self._red_green = [untint((c, 0, 0), self.alpha)[0] for c in range(256)]
        self._blue = [untint((0, 0, c), self.alpha)[2] for c in range(256)]

    def pixel(self, x, y):
        r, g, b = self.image.pixel(x, y)
        x0, y0, x1, y1 = PLAY_AREA
        if self.alpha > 0 and x0 < x < x1 and y0 < y < y1:
            return (self._red_green[r], self._red_green[g], self._blue[b])
        return (r, g, b)

    def region(self, x0, y0, x1, y1, step=1):
        for x, y, _ in self.image.region(x0, y0, x1, y1, step):
            yield x, y, self.pixel(x, y)

    def find(self, box, test, step=1):
        x0, y0, x1, y1 = (int(v) for v in box)
        x0, y0 = max(x0, 0), max(y0, 0)
        x1, y1 = min(x1, self.width - 1), min(y1, self.height - 1)
        return [(x, y) for x, y, rgb in self.region(x0, y0, x1, y1, step=step) if test(rgb)]


def is_peep_blue(rgb):
    """A rested peep's body or legs."""
    r, g, b = rgb
    return b >= 180 and b - r >= 40 and b - g >= 40 and abs(r - g) <= 30


def is_magenta(rgb):
    """A hunting creep."""
    r, g, b = rgb
    return r >= 170 and b >= 170 and r - g >= 90 and b - g >= 90 and abs(r - b) <= 60


def is_red(rgb):
    r, g, b = rgb
    return r >= 170 and r - g >= 90 and r - b >= 90


def is_neutral(rgb, tolerance=14):
    return max(rgb) - min(rgb) <= tolerance


def is_road_grey(rgb):
    """A building road: grey 0.8, darker than the field."""
    return is_neutral(rgb) and 175 <= rgb[0] <= 222


def is_dark(rgb, limit=90):
    return max(rgb) <= limit


def is_bar_fill(rgb):
    """The money bar's fill or its shimmer."""
    r, g, b = rgb
    return g >= 200 and g - r >= 50 and g - b >= 50


def money_fill_end(shot):
    """x of the last green pixel on the money bar's middle row, or None."""
    x0, _, x1, _ = MONEY_BAR
    green = [x for x in range(x0, x1 + 60) if x < shot.width and is_bar_fill(shot.pixel(x, BAR_ROW))]
    return max(green) if green else None


def fraction_near(shot, points, test, reach):
    return sum(any(test(rgb) for _, _, rgb in shot.region(round(x) - reach, round(y) - reach, round(x) + reach,
                                                           round(y) + reach)) for x, y in points) / len(points)


def samples(a, b, count, start=0.0, end=1.0):
    return [(a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t)
            for t in (start + (end - start) * i / (count - 1) for i in range(count))]


class Obstacles:
    """The ground marker on a coarse grid: a press on it would pick it up, and
    it draws agents near it. (Games looking for open ground have no trees.)"""

    CELL = 6

    def __init__(self, shot):
        x0, y0, x1, y1 = PLAY_AREA
        # Its middle (0.5, 0.5, 1) is bluer than a peep's pale blue.
        marker = shot.find((x0 + 2, y0 + 2, x1 - 2, y1 - 2),
                           lambda rgb: rgb[2] >= 235 and rgb[0] <= 150 and rgb[1] <= 150, step=2)
        self.cells = {(x // self.CELL, y // self.CELL) for x, y in marker}
        groups = [g for g in clusters(marker, reach=3) if len(g) >= 25]
        biggest = max(groups, key=len) if groups else None
        self.marker = biggest and (sum(p[0] for p in biggest) / len(biggest), sum(p[1] for p in biggest) / len(biggest))

    def free(self, box, margin=20):
        x0, y0, x1, y1 = box
        if not (PLAY_AREA[0] + margin <= x0 and x1 <= PLAY_AREA[2] - margin and PLAY_AREA[1] + margin <= y0
                and y1 <= PLAY_AREA[3] - margin):
            return False
        c = self.CELL
        return not any((cx, cy) in self.cells for cx in range(int(x0) // c, int(x1) // c + 1)
                       for cy in range(int(y0) // c, int(y1) // c + 1))

    def free_line(self, a, b, half_width):
        return all(self.free((x - half_width, y - half_width, x + half_width, y + half_width))
                   for x, y in samples(a, b, 12))


# --- waiting and evidence ----------------------------------------------------------

def poll_shots(session, window, predicate, timeout, interval=0.15):
    """(predicate's truthy value or None at timeout, last FieldShot)."""
    deadline = time.monotonic() + timeout
    while True:
        session.check_running()
        shot = FieldShot(session.screenshot(window))
        value = predicate(shot)
        if value or time.monotonic() >= deadline:
            return value, shot
        time.sleep(interval)


def keep_evidence(session, shot, name):
    image = shot.image if isinstance(shot, FieldShot) else shot
    return image.save_ppm(session.artifact_path(name + ".ppm"))


def expect(checks, session, condition, message, shot, name):
    """checks.check, keeping the screenshot when it fails."""
    if condition:
        return checks.check(True, message)
    path = keep_evidence(session, shot, name) if shot is not None else "no screenshot"
    return checks.check(False, f"{message} ({path})")


def keep_dir_if_failed(session, checks, failures_before):
    # Failed checks do not raise; raising keeps the working directory.
    if len(checks.failures) > failures_before:
        fail(f"screenshots kept in {session.workdir}")


def park_pointer(session, window):
    session.mouse_move(window, *PARK)


def clusters(points, reach=6):
    remaining = set(points)
    groups = []
    while remaining:
        seed = remaining.pop()
        group = [seed]
        frontier = [seed]
        while frontier:
            px, py = frontier.pop()
            near = [q for q in remaining if abs(q[0] - px) <= reach and abs(q[1] - py) <= reach]
            for q in near:
                remaining.discard(q)
                group.append(q)
                frontier.append(q)
        groups.append(group)
    return groups


# --- buying and moving ------------------------------------------------------------

def buy(session, window, slot, point=None):
    point = point or palette_centre(slot)
    session.mouse_move(window, *point)
    time.sleep(0.1)
    session.click(window, *point)
    time.sleep(0.1)
    park_pointer(session, window)


def pointer_path(session, window, points, pause=0.03):
    # One xdotool call: one per point is too slow for a smooth drag.
    wx, wy, _, _ = session.geometry(window)
    args = []
    for x, y in points:
        args += ["mousemove", wx + int(x), wy + int(y), "sleep", pause]
    if args:
        session.xdotool(*args)


def drag_smoothly(session, window, start, end, steps=8, pause=0.06):
    # The game moves a held object by the motion between frames, so the
    # pointer rests on the start first and each step gets time for a frame.
    session.mouse_move(window, *start)
    time.sleep(0.15)
    session.mouse_down(window, *start)
    time.sleep(0.1)
    pointer_path(session, window, [(start[0] + (end[0] - start[0]) * i // steps,
                                    start[1] + (end[1] - start[1]) * i // steps)
                                   for i in range(1, steps + 1)], pause)
    time.sleep(0.15)
    session.mouse_up(window, *end)
    time.sleep(0.1)


# --- the pop-up menu -----------------------------------------------------------------

GAME_MENU_ENTRIES = ["Creep Attack", "---", "Slow", "Debug View", "Draw Roads", "---",
                     "Save Tuning", "Reload Tuning File", "Save City", "Load City", "Pause", "Load Autosave",
                     "Fast"]


def wait_for_whole_menu(session, menu):
    """Waits, pointer still, for the menu's top third to be painted (a first
    paint once came out black, or far too low)."""
    def whole():
        shot = session.screenshot(menu)
        top = list(shot.region(0, 0, shot.width - 1, shot.height // 3))
        return sum(max(rgb) < 40 for _, _, rgb in top) < 0.5 * len(top)
    wait_until(whole, 3.0, what=f"menu window {menu:#x} to be painted whole without the pointer moving")


def pick_menu_entry(session, window, entry, at=(400, 400)):
    """Right-clicks at `at` and picks the entry from the "Game" sub-menu; the
    menus are the top-level windows that appear."""
    index = GAME_MENU_ENTRIES.index(entry)
    before = set(session.top_level_windows())
    session.click(window, at[0], at[1], button=3)

    def new_windows(known):
        def found():
            fresh = [w for w in session.top_level_windows() if w not in known]
            return fresh or None
        return found

    root = wait_until(new_windows(before), 5.0, what="the pop-up menu")[-1]
    wait_for_whole_menu(session, root)
    rx, ry, rw, rh = session.geometry(root)
    opened = set(session.top_level_windows())
    session.xdotool("mousemove", "--sync", rx + rw // 3, ry + rh // 2)
    sub = wait_until(new_windows(opened), 5.0, what='the "Game" sub-menu')[-1]
    wait_for_whole_menu(session, sub)
    sx, sy, sw, sh = session.geometry(sub)
    rows = len(GAME_MENU_ENTRIES)
    x = sx + sw // 3
    y = sy + int((index + 0.5) * sh / rows)
    session.xdotool("mousemove", "--sync", x, y)
    time.sleep(0.2)
    session.xdotool("click", 1)
    wait_until(lambda: not session.is_viewable(sub) and not session.is_viewable(root), 5.0,
               what="the menu to close")
    park_pointer(session, window)
    time.sleep(0.3)  # a few frames to paint over where the menu was


# --- road anchors ---------------------------------------------------------------------

def hint_arc(shot, box, normal):
    """Pixels of the red anchor hint in box, a half circle of radius 7 bulging
    along normal (an angry peep is a red blob), or None."""
    red = shot.find(box, is_red)
    for group in clusters(red, reach=2):
        xs = [p[0] for p in group]
        ys = [p[1] for p in group]
        across, along = (max(ys) - min(ys), max(xs) - min(xs)) if normal[0] else \
            (max(xs) - min(xs), max(ys) - min(ys))
        thin = len(group) <= 0.55 * (across + 1) * (along + 1)
        if 11 <= across <= 18 and 4 <= along <= 10 and len(group) >= 10 and thin:
            return group
    return None


def find_anchor(session, window, probes, box, normal, settle=0.1):
    """(first probe whose hover shows the hint in box, its pixels) or None."""
    for probe in probes:
        session.mouse_move(window, *probe)
        time.sleep(settle)
        arc = hint_arc(FieldShot(session.screenshot(window)), box, normal)
        if arc:
            return probe, arc
    return None


def hint_centre(red, normal):
    """Centre of the hint: its ends lie on the line across the normal."""
    xs = [p[0] for p in red]
    ys = [p[1] for p in red]
    nx, ny = normal
    if nx:
        cx = min(xs) if nx > 0 else max(xs)
        return cx, (min(ys) + max(ys)) / 2
    cy = min(ys) if ny > 0 else max(ys)
    return (min(xs) + max(xs)) / 2, cy
