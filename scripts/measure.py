#!/usr/bin/env python3
"""Measures the running game under Xvfb against its targets.

    scripts/measure.py BUILD_DIR [--runs N] [--cpu-seconds S] [--no-gl]

BUILD_DIR holds verlomba, verlomba_big_city, verlomba_empty_window and
libverlomba_probe.so (make measure builds them in build-bench). These
figures for each renderer:
the one the game picks by itself (the software renderer where OpenGL is
Mesa's software rasterizer, as under Xvfb), and OpenGL, forced with
VERLOMBA_RENDERER=gl:

- start-up: from the Return that closes the about box reaching the game to
  the first frame shown in the game window (a buffer swap or an X image);
  the probe preloaded into the game logs both, so the game runs unchanged.
- resident memory of the game at the start world, against an empty freeglut
  window with the same display mode under the same renderer.
- CPU share of the game at the start world over 10 seconds, all threads
  (Mesa's rasteriser threads included), with the empty window's for scale.
- frames a second the game window shows with 1,000 start trees and 96
  peeps, and in the big city of the benchmarks (verlomba_big_city: 200
  buildings, 300 trees, 20 walled towers, 10 drawn paths); a tick a frame,
  so this is the game's speed. Steady, then while the view zooms (rounds of
  8 wheel notches in and 8 out, a notch every 100 ms, each counted until
  half a second after its last notch: the median of the rounds, and the
  fewest frames shown in any second of them, as the HUD would show), and
  while a tree is dragged across the 1,000-tree world.
- with the renderer the game picks: the CPU share paused, at the start world
  and in the big city, against 1.2 times the empty window's; the longest
  gap between two frames shown within half a second before and a fifth
  after each autosave of the big city (kAutosaveMinutes = 0.05, a save
  every 3 s of play), beside the longest elsewhere; the frames a second of
  the 1,000-tree world at the deepest zoom while the arrow keys move the
  view back and forth.
- with the renderer the game picks, at the window scales of a 200 % desktop
  (2) and of a 1366x768 screen (0.9, VERLOMBA_SCALE): the CPU share at the
  start world and the frames a second of the 1,000-tree world; at 1 and 2
  the start world's CPU share against the empty window's at that scale.
- the 1,000-tree world fullscreen (F11) on a 3840x2160 screen at 200 %
  (Xft.dpi 192): its frames a second.
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from harness import GameSession, fail, wait_until  # noqa: E402

TARGET_STARTUP_MS = 300.0
TARGET_EXTRA_MEMORY_MB = 15.0
TARGET_CPU_PERCENT = 10.0
# At a window scale of 2 the picture has four times the pixels.
TARGET_CPU_PERCENT_AT_2 = 12.0
# The HUD shows 29 or 30: the game keeps its 30 ticks a second.
TARGET_FPS = 29.0
# While the view zooms: the median round, and the worst second of any.
TARGET_ZOOM_FPS = 28.0
TARGET_ZOOM_FLOOR_FPS = 27.0
# The start world's CPU share at most this many times the empty window's,
# by window scale.
TARGET_CPU_RATIO = {"1": 1.3, "2": 2.0}
# Paused, against the empty window's share; an autosave's longest frame.
TARGET_PAUSED_CPU_RATIO = 1.2
TARGET_AUTOSAVE_FRAME_MS = 50.0
ZOOM_ROUNDS = 5
THOUSAND_TREES = "kStartWithTrees = 1000\nkStartWithAgents = 96\n"
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class ProbedSession(GameSession):
    """A session whose program runs with the swap and input probe preloaded."""

    def __init__(self, binary, probe, renderer=None, files=None, scale=None, screen=None, dpi=None):
        # A screen the window fits at its scale unlowered.
        side = max(1024, round(800 * float(scale or 1)) + 100)
        super().__init__(binary, files=files, screen=screen or (side, side))
        self.probe = probe
        self.renderer = renderer
        self.scale = scale
        self.dpi = dpi
        self.log = None

    def start_game(self):
        if self.dpi:
            subprocess.run(["xrdb", "-merge"], input=f"Xft.dpi: {self.dpi}\n".encode(), env=self.env(), check=True)
        self.workdir = tempfile.mkdtemp(prefix="verlomba-measure-")
        for name, text in self.files.items():
            with open(os.path.join(self.workdir, name), "w") as f:
                f.write(text)
        self.log = os.path.join(self.workdir, "probe.log")
        env = self.env()
        env["LD_PRELOAD"] = self.probe
        env["VERLOMBA_PROBE_LOG"] = self.log
        env.pop("VERLOMBA_RENDERER", None)
        if self.renderer:
            env["VERLOMBA_RENDERER"] = self.renderer
        env.pop("VERLOMBA_SCALE", None)
        if self.scale:
            env["VERLOMBA_SCALE"] = self.scale
        self._game_out = open(os.path.join(self.workdir, "game-output.txt"), "wb")
        self.game = subprocess.Popen(
            [self.binary], cwd=self.workdir, env=env, stdin=subprocess.DEVNULL,
            stdout=self._game_out, stderr=subprocess.STDOUT)

    def events(self):
        try:
            with open(self.log) as f:
                return [line.split() for line in f if line.strip()]
        except OSError:
            return []


def first_game_frame(session, about):
    """(input ns, swap ns) of the key that closed the about box and of the
    first swap of any other window after it."""
    def found():
        events = session.events()
        inputs = [int(e[1]) for e in events if e[0] == "input"]
        if not inputs:
            return None
        pressed = inputs[-1]
        swaps = [int(e[1]) for e in events if e[0] == "swap" and int(e[1]) > pressed and int(e[2]) != about]
        return (pressed, swaps[0]) if swaps else None
    return wait_until(found, 20.0, interval=0.02, what="the first game frame")


def memory_kb(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    rss = int(fields["VmRSS"].split()[0])
    pss = None
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith("Pss:"):
                    pss = int(line.split()[1])
    except OSError:
        pass
    return rss, pss


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime (fields 14 and 15), summed over every thread
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def cpu_share(pid, seconds):
    start_cpu, start = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    return 100.0 * (cpu_seconds(pid) - start_cpu) / (time.monotonic() - start)


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def renderer_seen(session, about):
    """Which renderer showed the game window's frames. OpenGL on Mesa's
    software rasterizer shows its buffer swaps through X images too, so a
    buffer swap of the game window is what tells OpenGL apart."""
    ways = {e[3] for e in session.events() if e[0] == "swap" and len(e) > 3 and int(e[2]) != about}
    if "gl" in ways:
        return "OpenGL"
    if ways:
        return "software renderer, " + " and ".join({"shm": "MIT-SHM", "put": "XPutImage"}[w] for w in sorted(ways))
    return "nothing"


def measure_game(build, probe, runs, cpu_window, renderer):
    startups, sent_startups = [], []
    rss = pss = cpu = None
    shown = None
    for run in range(runs):
        with ProbedSession(os.path.join(build, "verlomba"), probe, renderer) as session:
            about = session.wait_for_window("^Verlomba$")
            time.sleep(0.5)  # let the box settle, as a reader would
            sent = time.monotonic_ns()
            session.close_window_with_key(about, "Return")
            pressed, swapped = first_game_frame(session, about)
            startups.append((swapped - pressed) / 1e6)
            sent_startups.append((swapped - sent) / 1e6)
            if run == 0:
                time.sleep(3.0)
                session.check_running()
                cpu = cpu_share(session.game.pid, cpu_window)
                rss, pss = memory_kb(session.game.pid)
                session.check_running()
                shown = renderer_seen(session, about)
    return startups, sent_startups, rss, pss, cpu, shown


def measure_baseline(build, probe, cpu_window, scale=None):
    with ProbedSession(os.path.join(build, "verlomba_empty_window"), probe, scale=scale) as session:
        wait_until(lambda: any(e[0] == "swap" for e in session.events()), 20.0, what="the empty window")
        time.sleep(3.0)
        cpu = cpu_share(session.game.pid, cpu_window)
        rss, pss = memory_kb(session.game.pid)
        return rss, pss, cpu


def shown_frames(session, about):
    """When the game window showed its frames (monotonic ns)."""
    events = [e for e in session.events() if e[0] == "swap" and len(e) > 3 and int(e[2]) != about]
    # OpenGL on Mesa's software rasterizer shows a swap as an X image too.
    kind = "gl" if any(e[3] == "gl" for e in events) else None
    return [int(e[1]) for e in events if kind is None or e[3] == kind]


def rate(times, start, end):
    return sum(1 for t in times if start <= t < end) / ((end - start) / 1e9)


def frames_per_second(session, about, seconds):
    """Frames the game window showed a second, over the last seconds."""
    start = time.monotonic_ns()
    time.sleep(seconds)
    return rate(shown_frames(session, about), start, time.monotonic_ns())


def zoom_rounds(session, window, rounds):
    """(start, end) ns of each round of 8 wheel notches in and 8 out, to half
    a second after its last notch."""
    session.move_pointer_to(window)
    spans = []
    for _ in range(rounds):
        start = time.monotonic_ns()
        for button in (4, 5):  # up zooms in, down out
            session.xdotool("click", "--repeat", 8, "--delay", 100, button)
        time.sleep(0.5)
        spans.append((start, time.monotonic_ns()))
    return spans


def drag_across(session, window, seconds):
    """(start, end) ns of a drag from near the top left of the field to near
    the bottom right and back, a pointer step every 20 ms, whatever lies at
    the start (the 1,000-tree world has a tree nearly everywhere)."""
    path = [(220, 220), (580, 580)]
    session.mouse_down(window, *path[0])
    start = time.monotonic_ns()
    steps = int(seconds / 0.02)
    for i in range(steps + 1):
        t = i / steps
        f = 2 * t if t <= 0.5 else 2 - 2 * t
        x = path[0][0] + (path[1][0] - path[0][0]) * f
        y = path[0][1] + (path[1][1] - path[0][1]) * f
        session.xdotool("mousemove", "--window", window, int(x), int(y))
        time.sleep(0.02)
    end = time.monotonic_ns()
    session.mouse_up(window, *path[0])
    return start, end


def measure_at_scale(build, probe, scale, cpu_window):
    """The CPU share at the start world and the 1,000-tree world's frames a
    second at a window scale."""
    with ProbedSession(os.path.join(build, "verlomba"), probe, scale=scale) as session:
        about = session.wait_for_window("^Verlomba$")
        session.close_window_with_key(about, "Return")
        first_game_frame(session, about)
        time.sleep(3.0)
        cpu = cpu_share(session.game.pid, cpu_window)
        session.check_running()
    fps = measure_world_fps(os.path.join(build, "verlomba"), probe, None, {"Verlomba.ini": THOUSAND_TREES},
                            cpu_window, scale=scale)
    return cpu, fps


def measure_fullscreen(build, probe, seconds):
    """Frames a second of the 1,000-tree world fullscreen on a 3840x2160
    screen at Xft.dpi 192."""
    with ProbedSession(os.path.join(build, "verlomba"), probe, files={"Verlomba.ini": THOUSAND_TREES},
                       screen=(3840, 2160), dpi=192) as session:
        about = session.wait_for_window("^Verlomba$")
        session.close_window_with_key(about, "Return")
        first_game_frame(session, about)
        window = session.wait_for_game_window(exclude=(about,), size=(1600, 1600))
        session.key(window, "F11")
        wait_until(lambda: session.geometry(window)[2:] == (3840, 2160), 5.0, what="fullscreen")
        time.sleep(3.0)
        session.check_running()
        fps = frames_per_second(session, about, seconds)
        session.check_running()
        return fps


def measure_world_fps(binary, probe, renderer, files, seconds, moving=False, scale=None):
    """Frames a second steady, and if moving, also during zoom rounds
    (median of rounds, fewest in any whole second of them) and a drag."""
    with ProbedSession(binary, probe, renderer, files, scale) as session:
        about = session.wait_for_window("^Verlomba$")
        session.close_window_with_key(about, "Return")
        first_game_frame(session, about)
        time.sleep(3.0)  # the world settles and the pictures are kept
        session.check_running()
        fps = frames_per_second(session, about, seconds)
        session.check_running()
        if not moving:
            return fps
        window = session.wait_for_game_window(exclude=(about,))
        spans = zoom_rounds(session, window, ZOOM_ROUNDS)
        time.sleep(1.0)
        drag = drag_across(session, window, seconds / 2)
        time.sleep(0.5)
        session.check_running()
        times = shown_frames(session, about)
        rounds = [rate(times, start, end) for start, end in spans]
        seconds_of_rounds = [rate(times, t, t + 10**9) for start, end in spans
                             for t in range(start, end - 10**9 + 1, 10**9)]
        return fps, rounds, min(seconds_of_rounds), rate(times, *drag)


def started_game(session):
    about = session.wait_for_window("^Verlomba$")
    session.close_window_with_key(about, "Return")
    first_game_frame(session, about)
    time.sleep(3.0)  # the world settles and the pictures are kept
    session.check_running()
    return about, session.wait_for_game_window(exclude=(about,))


def measure_paused_cpu(binary, probe, cpu_window):
    """The CPU share with the game paused by its key, the pointer still."""
    with ProbedSession(binary, probe) as session:
        _, window = started_game(session)
        session.key(window, "p", typed=True)
        session.mouse_move(window, 790, 790)
        time.sleep(8.0)  # past the first start's hint, which is drawn as it fades
        cpu = cpu_share(session.game.pid, cpu_window)
        session.check_running()
        return cpu


def measure_autosave_frames(build, probe, seconds):
    """(longest gap ms near an autosave, longest elsewhere, saves seen) in
    the big city saving every 3 s of play."""
    files = {"Verlomba.ini": "kAutosaveMinutes = 0.05\n"}
    with ProbedSession(os.path.join(build, "verlomba_big_city"), probe, files=files) as session:
        about, _ = started_game(session)
        path = os.path.join(session.workdir, "Verlomba-autosave.txt")
        offset = time.time_ns() - time.monotonic_ns()
        start = time.monotonic_ns()
        saves, last = [], None
        while time.monotonic_ns() - start < seconds * 1e9:
            try:
                mtime = os.stat(path).st_mtime_ns
            except OSError:
                mtime = None
            if mtime is not None and mtime != last:
                saves.append(mtime - offset)
                last = mtime
            time.sleep(0.02)
        session.check_running()
        times = [t for t in shown_frames(session, about) if t >= start]
    near = lambda t: any(s - 5 * 10**8 <= t <= s + 2 * 10**8 for s in saves)  # noqa: E731
    gaps = [(b - a, near(b)) for a, b in zip(times, times[1:])]
    worst_near = max((g for g, n in gaps if n), default=0) / 1e6
    worst_else = max((g for g, n in gaps if not n), default=0) / 1e6
    return worst_near, worst_else, len(saves)


def measure_view_moving(binary, probe, seconds):
    """Frames a second of the 1,000-tree world at the deepest zoom while the
    arrow keys move the view to and fro, and before, with the view still."""
    with ProbedSession(binary, probe, files={"Verlomba.ini": THOUSAND_TREES}) as session:
        about, window = started_game(session)
        session.move_pointer_to(window)
        session.xdotool("click", "--repeat", 8, "--delay", 100, 4)
        time.sleep(1.0)
        still = frames_per_second(session, about, seconds / 2)
        start = time.monotonic_ns()
        presses = max(1, int(seconds / 0.05 / 4))
        while time.monotonic_ns() - start < seconds * 1e9:
            for key in ("Left", "Up", "Right", "Down"):
                session.xdotool("key", "--repeat", presses // 4 + 1, "--delay", 50, key)
        end = time.monotonic_ns()
        session.check_running()
        return rate(shown_frames(session, about), start, end), still


def row(name, value, target, ok, note=""):
    verdict = "ok" if ok else "MISSED"
    print(f"{name:<34} {value:>14} {target:>12}  {verdict:<6} {note}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", help="build directory with verlomba, verlomba_empty_window and the probe")
    parser.add_argument("--runs", type=int, default=5, help="start-ups to take the median of")
    parser.add_argument("--cpu-seconds", type=float, default=10.0)
    parser.add_argument("--no-gl", action="store_true", help="leave out OpenGL, forced for comparison")
    args = parser.parse_args()
    probe = os.path.abspath(os.path.join(args.build, "libverlomba_probe.so"))
    for needed in ("verlomba", "verlomba_big_city", "verlomba_empty_window"):
        if not os.access(os.path.join(args.build, needed), os.X_OK):
            fail(f"{needed} is missing from {args.build}")
    if not os.path.exists(probe):
        fail(f"{probe} is missing")

    load_before = load_average()
    base_rss, base_pss, base_cpu = measure_baseline(args.build, probe, args.cpu_seconds)
    renderers = (("picked by the game", None),
                 ("OpenGL, forced with VERLOMBA_RENDERER=gl for comparison", "gl"))[:1 if args.no_gl else 2]
    results = [(name, renderer) + measure_game(args.build, probe, args.runs, args.cpu_seconds, renderer)
               for name, renderer in renderers]

    print(f"\nRunning game under Xvfb (load average {load_before} before, {load_average()} after)")
    for name, renderer, startups, sent_startups, rss, pss, cpu, shown in results:
        print(f"\nRenderer {name}: frames shown by {shown}")
        print(f"{'figure':<34} {'measured':>14} {'target':>12}  verdict")
        extra_mb = (rss - base_rss) / 1024.0
        startup = statistics.median(startups)
        row("start-up, OK to first frame", f"{startup:.0f} ms", f"< {TARGET_STARTUP_MS:.0f} ms",
            startup < TARGET_STARTUP_MS,
            f"median of {len(startups)}: " + ", ".join(f"{s:.0f}" for s in startups)
            + f"; from the key being sent {statistics.median(sent_startups):.0f} ms")
        row("resident memory above empty window", f"{extra_mb:.1f} MB", f"<= {TARGET_EXTRA_MEMORY_MB:.0f} MB",
            extra_mb <= TARGET_EXTRA_MEMORY_MB,
            f"game {rss / 1024:.1f} MB (PSS {pss / 1024:.1f}), empty window {base_rss / 1024:.1f} MB "
            f"(PSS {base_pss / 1024:.1f})" if pss and base_pss else "")
        row("CPU share at the start world", f"{cpu:.1f} %", f"< {TARGET_CPU_PERCENT:.0f} %", cpu < TARGET_CPU_PERCENT,
            f"of one core over {args.cpu_seconds:.0f} s; the empty window alone: {base_cpu:.1f} %")
        worlds = (("1,000 trees", "verlomba", {"Verlomba.ini": THOUSAND_TREES},
                   "96 peeps; kStartWithTrees = 1000 in Verlomba.ini"),
                  ("big city", "verlomba_big_city", {},
                   "200 buildings, 300 trees, 20 towers with walls, 10 drawn paths, 96 peeps"))
        for world, binary, files, note in worlds:
            fps, rounds, floor, drag = measure_world_fps(os.path.join(args.build, binary), probe, renderer, files,
                                                         args.cpu_seconds, moving=True)
            row(f"frames a second, {world}", f"{fps:.1f}", f">= {TARGET_FPS:.0f}", fps >= TARGET_FPS, note)
            zoom = statistics.median(rounds)
            row(f"  while zooming, median round", f"{zoom:.1f}", f">= {TARGET_ZOOM_FPS:.0f}",
                zoom >= TARGET_ZOOM_FPS, f"{len(rounds)} rounds of 8 notches in and 8 out: "
                + ", ".join(f"{r:.1f}" for r in rounds))
            row(f"  while zooming, worst second", f"{floor:.0f}", f">= {TARGET_ZOOM_FLOOR_FPS:.0f}",
                floor >= TARGET_ZOOM_FLOOR_FPS, "frames shown in any whole second of the rounds")
            if world == "1,000 trees":
                row("  dragging a tree across", f"{drag:.1f}", f">= {TARGET_FPS:.0f}", drag >= TARGET_FPS,
                    "pressed near the field's top left, dragged to its bottom right and back")

    print("\nRenderer picked by the game: paused, autosaving and moving the view")
    print(f"{'figure':<34} {'measured':>14} {'target':>12}  verdict")
    limit = base_cpu * TARGET_PAUSED_CPU_RATIO
    for world, binary in (("start world", "verlomba"), ("big city", "verlomba_big_city")):
        cpu = measure_paused_cpu(os.path.join(args.build, binary), probe, args.cpu_seconds)
        row(f"CPU share paused, {world}", f"{cpu:.1f} %", f"<= {limit:.1f} %", cpu <= limit,
            f"1.2 times the empty window's {base_cpu:.1f} %")
    near, elsewhere, saves = measure_autosave_frames(args.build, probe, 2 * args.cpu_seconds)
    row("longest frame, big city autosave", f"{near:.0f} ms", f"<= {TARGET_AUTOSAVE_FRAME_MS:.0f} ms",
        saves > 0 and near <= TARGET_AUTOSAVE_FRAME_MS,
        f"gap between frames shown around {saves} saves; elsewhere at most {elsewhere:.0f} ms")
    fps, still = measure_view_moving(os.path.join(args.build, "verlomba"), probe, args.cpu_seconds)
    row("frames a second, view moving", f"{fps:.1f}", f">= {TARGET_FPS:.0f}", fps >= TARGET_FPS,
        f"1,000 trees at the deepest zoom, the arrow keys held in turn; {still:.1f} with the view still")
    print(f"(load average {load_average()} after)")

    print("\nRenderer picked by the game, at other window scales (VERLOMBA_SCALE)")
    print(f"{'figure':<34} {'measured':>14} {'target':>12}  verdict")
    start_cpu = results[0][6]
    ratio = start_cpu / base_cpu if base_cpu else float("inf")
    row("start world CPU / empty window, 1", f"{ratio:.2f} x", f"<= {TARGET_CPU_RATIO['1']:.1f} x",
        ratio <= TARGET_CPU_RATIO["1"], f"{start_cpu:.1f} % against {base_cpu:.1f} %")
    for scale, cpu_target in (("2", TARGET_CPU_PERCENT_AT_2), ("0.9", start_cpu)):
        cpu, fps = measure_at_scale(args.build, probe, scale, args.cpu_seconds)
        # No slower at 0.9 than at 1, give or take the noise of a shared machine.
        slack = 0.0 if scale == "2" else 1.0
        row(f"CPU share at the start world, {scale}", f"{cpu:.1f} %", f"< {cpu_target + slack:.1f} %",
            cpu < cpu_target + slack, "at 1: " + f"{start_cpu:.1f} %")
        if scale in TARGET_CPU_RATIO:
            empty_cpu = measure_baseline(args.build, probe, args.cpu_seconds, scale)[2]
            ratio = cpu / empty_cpu if empty_cpu else float("inf")
            row(f"start world CPU / empty window, {scale}", f"{ratio:.2f} x",
                f"<= {TARGET_CPU_RATIO[scale]:.1f} x", ratio <= TARGET_CPU_RATIO[scale],
                f"the empty window at {scale}: {empty_cpu:.1f} %")
        row(f"frames a second, 1,000 trees, {scale}", f"{fps:.1f}", f">= {TARGET_FPS:.0f}", fps >= TARGET_FPS)
    fps = measure_fullscreen(args.build, probe, args.cpu_seconds)
    row("1,000 trees fullscreen, 3840x2160", f"{fps:.1f}", f">= {TARGET_FPS:.0f}", fps >= TARGET_FPS,
        "F11 at Xft.dpi 192, a window scale of 2.7")
    return 0


if __name__ == "__main__":
    sys.exit(main())
