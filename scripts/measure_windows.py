#!/usr/bin/env python3
"""Measures verlomba.exe under Wine on Xvfb beside the Linux game's software
renderer, the same way for both:

    scripts/measure_windows.py WINDOWS_BUILD_DIR LINUX_BINARY [--seconds S]

Both under openbox, on the same Xvfb screen.

- start-up: from the Return that closes the about box to the game window
  showing its first frame (its money bar drawn), polled by screenshots, so
  both figures carry the same few tens of milliseconds of polling;
- CPU share of the game at the start world over S seconds (the Wine figure
  counts wineserver too, which carries the window system's messages);
- frames a second with 1,000 start trees and 96 peeps: the HUD's count,
  read from the screen with the built-in bitmap font's digits.
"""

import argparse
import os
import statistics
import struct
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tests", "windows"))

from harness import GameSession, wait_until  # noqa: E402
from gameplay import money_fill_end  # noqa: E402
from wine import WineSession  # noqa: E402

THOUSAND_TREES = "kStartWithTrees = 1000\nkStartWithAgents = 96\n"
TICKS = os.sysconf("SC_CLK_TCK")
TARGET_CPU_RATIO = 1.5
TARGET_FPS = 29.0
TARGET_STARTUP_MS = 300.0


def digit_shapes():
    """The lit pixels of '0'..'9' of Helvetica 10, the HUD's font, as rows
    top to bottom, from data/fonts/bitmap-fonts.bin."""
    data = open(os.path.join(ROOT, "data", "fonts", "bitmap-fonts.bin"), "rb").read()
    at, shapes = 5, {}
    for _ in range(data[4]):
        font = data[at]
        at += 1
        for code in range(256):
            _, _, _, width, height = struct.unpack_from("<hhhhh", data, at)
            at += 10
            bits = data[at:at + (width * height + 7) // 8]
            at += (width * height + 7) // 8
            if font == 0 and 48 <= code <= 57:
                lit = [[bits[(r * width + c) // 8] >> (7 - (r * width + c) % 8) & 1 for c in range(width)]
                       for r in range(height)]
                shapes[chr(code)] = trim(lit[::-1])
    return shapes


def trim(rows):
    rows = [r for r in rows if any(r)]
    columns = [c for c in range(len(rows[0])) if any(r[c] for r in rows)] if rows else []
    return tuple(tuple(r[columns[0]:columns[-1] + 1]) for r in rows) if columns else ()


def hud_fps(image, shapes):
    """The number before " fps" at the window's top left, or None."""
    lit = [[1 if max(image.pixel(x, y)) < 200 else 0 for x in range(60)] for y in range(2, 20)]
    runs, start = [], None
    for x in range(61):
        on = x < 60 and any(row[x] for row in lit)
        if on and start is None:
            start = x
        elif not on and start is not None:
            runs.append((start, x))
            start = None
    digits = ""
    for i, (a, b) in enumerate(runs):
        if i and a - runs[i - 1][1] > 2:
            break  # the space before "fps"
        shape = trim([row[a:b] for row in lit])
        match = [d for d, s in shapes.items() if s == shape]
        if not match:
            break
        digits += match[0]
    return int(digits) if digits else None


def cpu_seconds(pids):
    total = 0
    for pid in pids:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        total += int(fields[11]) + int(fields[12])
    return total / TICKS


def wineserver_pids():
    pids = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/comm") as f:
                    if f.read().strip() == "wineserver":
                        pids.append(int(entry))
            except OSError:
                pass
    return pids


def open_game(session):
    """(the game window, ms from the Return to its first frame)."""
    about = session.wait_for_window("^Verlomba$", timeout=60)
    session.move_pointer_to(about)
    sent = time.monotonic()
    session.xdotool("key", "Return")
    window = session.wait_for_window("^Verlomba City$", timeout=30)
    wait_until(lambda: money_fill_end(session.screenshot(window)) is not None, 10.0, interval=0.01,
               what="the first frame")
    return window, (time.monotonic() - sent) * 1000.0


def measure(make_session, seconds, wine):
    shapes = digit_shapes()
    with make_session({}) as session:
        _, startup = open_game(session)
        time.sleep(2.0)
        pids = [session.game.pid] + (wineserver_pids() if wine else [])
        before, start = cpu_seconds(pids), time.monotonic()
        time.sleep(seconds)
        cpu = 100.0 * (cpu_seconds(pids) - before) / (time.monotonic() - start)
    with make_session({"Verlomba.ini": THOUSAND_TREES}) as session:
        window, _ = open_game(session)
        time.sleep(3.0)
        readings = []
        for _ in range(int(seconds)):
            readings.append(hud_fps(session.screenshot(window), shapes))
            time.sleep(1.0)
        known = [r for r in readings if r is not None]
    return startup, cpu, statistics.median(known) if known else float("nan")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("windows_build")
    parser.add_argument("linux_binary")
    parser.add_argument("--seconds", type=float, default=10.0)
    args = parser.parse_args()

    class ManagedSession(GameSession):
        """The Linux game under openbox too, as Wine's windows are."""

        def __enter__(self):
            self.launch = False
            super().__enter__()
            self.start_window_manager()
            self.start_game()
            return self

    def linux(files):
        return ManagedSession(args.linux_binary, files=files, env={"VERLOMBA_RENDERER": "software"})

    def windows(files):
        return WineSession(args.windows_build, files=files)

    linux_figures = measure(linux, args.seconds, wine=False)
    windows_figures = measure(windows, args.seconds, wine=True)
    (l_start, l_cpu, l_fps), (w_start, w_cpu, w_fps) = linux_figures, windows_figures
    rows = [("start-up, OK to first frame", f"{l_start:.0f} ms", f"{w_start:.0f} ms",
             f"< {TARGET_STARTUP_MS:.0f} ms", w_start < TARGET_STARTUP_MS),
            ("CPU share at the start world", f"{l_cpu:.1f} %", f"{w_cpu:.1f} %",
             f"<= {TARGET_CPU_RATIO} x Linux", w_cpu <= TARGET_CPU_RATIO * l_cpu),
            ("1,000-tree world", f"{l_fps:.0f} fps", f"{w_fps:.0f} fps", f">= {TARGET_FPS:.0f} fps",
             w_fps >= TARGET_FPS)]
    print(f"{'':32} {'Linux':>10} {'Windows':>10}  target")
    for name, linux_value, windows_value, target, ok in rows:
        print(f"{name:32} {linux_value:>10} {windows_value:>10}  {target} {'ok' if ok else 'MISSED'}")


if __name__ == "__main__":
    main()
