#!/usr/bin/env python3
"""Plays a short game and saves a screenshot of the city for the README.

    scripts/screenshot.py build/verlomba docs/screenshot.png

The game runs on a private Xvfb display through the end-to-end harness
(tests/e2e/harness.py) and is played with real pointer and key input: buy
buildings, scenery and peeps from the palette, drag them into place, lay a
road and a wall, arm the military building, let the peeps work and sleep,
call a creep attack, and take the picture in broad daylight.

A tuning file gives the city more start money and no random trees, so that
there is enough to buy and the presses on doors and posts hit nothing else.
"""

import math
import os
import shutil
import struct
import sys
import tempfile
import time
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from harness import GameSession, fail, wait_until  # noqa: E402

# The city below costs 0.92 at these prices; a full bar (1.0) is the most
# money there can be.
TUNING = ("kStartWithMoney = 1\nkStartWithAgents = 20\nkStartWithTrees = 0\n"
          "kPeepCost = 0.02\nkSleepBuildingCost = 0.04\nkWorkBuildingCost = 0.04\n"
          "kCapitalBuildingCost = 0.04\nkMilitaryBuildingCost = 0.04\n")

# Palette slots, in the order the palette shows them.
PEEP, SLEEP, WORK, CAPITAL, MILITARY, SMALL_TREE, BIG_TREE, FOUNTAIN, TOWER = range(9)
PLAY = (150.0, 650.0, 150.0, 650.0)  # min x, max x, min y, max y
SETTLE = (PLAY[0] + 32, PLAY[1] - 32, PLAY[2] + 32, PLAY[3] - 32)
TOWER_RADIUS = 12.0
SETTLE_WAIT = float(os.environ.get("VERLOMBA_SETTLE_WAIT", "2.0"))


def cell(slot):
    """The palette cell of a slot: min x, max x, min y, max y."""
    y = PLAY[2] + 72 * slot
    return (PLAY[0] - 80, PLAY[0] - 16, y, y + 64)


def cell_centre(slot):
    c = cell(slot)
    return ((c[0] + c[1]) / 2, (c[2] + c[3]) / 2)


def settled(bounds):
    """Where a bought object with these bounds comes to rest: it glides by a
    fifth of the way into the play area each tick until less than 2 units
    are left."""
    x0, x1, y0, y1 = bounds
    while True:
        dx = (SETTLE[0] - x0 if x0 < SETTLE[0] else 0) - (x1 - SETTLE[1] if x1 > SETTLE[1] else 0)
        dy = (SETTLE[2] - y0 if y0 < SETTLE[2] else 0) - (y1 - SETTLE[3] if y1 > SETTLE[3] else 0)
        if math.hypot(dx, dy) < 2:
            return (x0, x1, y0, y1)
        x0, x1, y0, y1 = x0 + 0.2 * dx, x1 + 0.2 * dx, y0 + 0.2 * dy, y1 + 0.2 * dy


class City:
    def __init__(self, session, window):
        self.s = session
        self.w = window

    def click(self, x, y):
        self.s.mouse_move(self.w, round(x), round(y))
        time.sleep(0.2)
        self.s.xdotool("click", 1)
        time.sleep(0.2)

    def drag(self, start, end, steps=12):
        # The game moves a held object by the pointer's motion between
        # frames, so the pointer rests for a few frames before the press and
        # before the release: no jump to the start counts as dragging, and
        # the last step is not lost.
        (x0, y0), (x1, y1) = start, end
        self.s.mouse_move(self.w, round(x0), round(y0))
        time.sleep(0.2)
        self.s.xdotool("mousedown", 1)
        for i in range(1, steps + 1):
            t = i / steps
            self.s.mouse_move(self.w, round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t))
            time.sleep(0.04)
        time.sleep(0.2)
        self.s.xdotool("mouseup", 1)
        time.sleep(0.2)

    def buy(self, slot):
        self.click(*cell_centre(slot))
        time.sleep(SETTLE_WAIT)  # it glides out of the palette (about 20 ticks)

    def building(self, slot, x, y):
        """Buys a building and drags it so that its footprint's top left
        corner is at (x, y); returns the footprint."""
        c = cell(slot)
        x0, x1, y0, y1 = settled((c[0] + 16, c[1] - 16, c[2] + 16, c[3] - 16))
        self.buy(slot)
        # The first room always covers this point, clear of the switch.
        grip = (x1 - 18, y1 - 26)
        self.drag(grip, (grip[0] + x - x0, grip[1] + y - y0))
        return (x, x + 32, y, y + 32)

    def disc(self, slot, radius, x, y):
        """Buys a round thing (tree, fountain, tower) and drags its centre to (x, y)."""
        cx, cy = cell_centre(slot)
        x0, x1, y0, y1 = settled((cx - radius, cx + radius, cy - radius, cy + radius))
        self.buy(slot)
        self.drag(((x0 + x1) / 2, (y0 + y1) / 2), (x, y))
        return (x, y)

    def bottom_door(self, footprint):
        """A point just below the bottom door of a building whose doors are
        shut, found on the screen: the lowest dark line under the footprint."""
        shot = self.s.screenshot(self.w)
        x0, x1, y0, y1 = (round(v) for v in footprint)
        for y in range(y1 + 8, y1 - 2, -1):
            dark = [x for x in range(x0 - 8, x1 + 9) if max(shot.pixel(x, y)) < 70]
            if len(dark) >= 4:
                return (sum(dark) / len(dark), y + 3)
        shot.save_ppm(self.s.artifact_path("no-door.ppm"))
        fail(f"no door found under the building at {footprint}")

    def road(self, start, end):
        self.drag(start, end)


def tower_post(centre, angle_degrees):
    """A point just outside a guard tower's post: on a post, not on the tower."""
    a = math.radians(angle_degrees)
    return (centre[0] + (TOWER_RADIUS + 4) * math.cos(a), centre[1] + (TOWER_RADIUS + 4) * math.sin(a))


def daylight_level(shot):
    """The median red level of the field's background: 255 at noon, lower as
    the night's blue tint comes."""
    reds = sorted(shot.pixel(x, y)[0] for x in range(170, 631, 23) for y in range(170, 631, 23))
    return reds[len(reds) // 2]


def write_png(ppm_path, png_path):
    with open(ppm_path, "rb") as f:
        data = f.read()
    magic, width, height, maximum, pixels = data.split(maxsplit=4)
    if magic != b"P6" or maximum != b"255":
        fail("unexpected PPM from the harness")
    width, height = int(width), int(height)
    stride = width * 3
    raw = b"".join(b"\0" + pixels[y * stride:(y + 1) * stride] for y in range(height))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(png_path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def play(city):
    # Homes to the left, workshops to the top right, the capital and the
    # military building in the middle, where the peeps pass.
    for x, y in ((195, 330), (250, 385), (195, 440), (260, 500), (200, 560), (300, 590)):
        city.building(SLEEP, x, y)
    for x, y in ((430, 210), (490, 240), (550, 205)):
        city.building(WORK, x, y)
    capital = city.building(CAPITAL, 370, 330)
    military = city.building(MILITARY, 420, 450)

    city.disc(FOUNTAIN, 24.0, 320, 260)
    for slot, size, x, y in ((BIG_TREE, 17.6, 215, 215), (SMALL_TREE, 8.0, 262, 190),
                             (BIG_TREE, 17.6, 610, 612), (SMALL_TREE, 8.0, 565, 622),
                             (SMALL_TREE, 8.0, 395, 615), (BIG_TREE, 17.6, 612, 330)):
        city.disc(slot, size, x, y)
    west = city.disc(TOWER, TOWER_RADIUS, 470, 590)
    east = city.disc(TOWER, TOWER_RADIUS, 560, 545)

    # A road between two shut doors, and a wall between the towers.
    city.road(city.bottom_door(capital), city.bottom_door(military))
    angle = math.degrees(math.atan2(east[1] - west[1], east[0] - west[0]))
    city.road(tower_post(west, round(angle / 60) * 60), tower_post(east, round(angle / 60) * 60 + 180))

    # Arm the military building with a click on its switch.
    _, x1, _, y1 = military
    city.click(x1 - 10, y1 - 14)

    for _ in range(6):
        city.click(*cell_centre(PEEP))


def take_screenshot(binary, out_path):
    with GameSession(binary, files={"Verlomba.ini": TUNING}) as session:
        about = session.wait_for_window("^Verlomba$")
        session.close_window_with_key(about, "Return")
        window = session.wait_for_game_window(exclude={about}, size=(800, 800))
        time.sleep(2.0)  # the field opens

        city = City(session, window)
        play(city)
        session.mouse_move(window, 790, 400)  # out of the way: no hover marks
        time.sleep(20.0)  # the peeps go to work and the first shift ends

        # Wait for the morning, call the creeps, and take the picture at noon.
        wait_for_morning(session, window)
        session.key(window, "a", typed=True)
        session.mouse_move(window, 790, 400)
        best, best_level = None, -1
        deadline = time.monotonic() + 8.0
        while best_level < 254 and time.monotonic() < deadline:
            shot = session.screenshot(window)
            if daylight_level(shot) >= best_level:
                best, best_level = shot, daylight_level(shot)
            time.sleep(0.2)
        session.check_running()

        with tempfile.TemporaryDirectory() as tmp:
            ppm = os.path.join(tmp, "shot.ppm")
            best.save_ppm(ppm)
            write_png(ppm, out_path)
    print(f"wrote {out_path} (daylight level {best_level})")


def wait_for_morning(session, window, timeout=60.0):
    """Returns once the light rises through dawn."""
    last = [None]

    def rising():
        level = daylight_level(session.screenshot(window))
        before, last[0] = last[0], level
        return before is not None and before < 240 <= level

    wait_until(rising, timeout, interval=0.3, what="the morning")


def main():
    if len(sys.argv) != 3:
        print(f"usage: {sys.argv[0]} <verlomba binary> <output.png>", file=sys.stderr)
        sys.exit(2)
    binary, out_path = sys.argv[1], sys.argv[2]
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    # The session's files go to a private directory, safe from whatever else
    # tidies /tmp; it is kept when something fails.
    tempfile.tempdir = tempfile.mkdtemp(prefix="verlomba-screenshot-")
    take_screenshot(binary, out_path)
    shutil.rmtree(tempfile.tempdir, ignore_errors=True)


if __name__ == "__main__":
    main()
