#!/usr/bin/env python3
"""Measures the browser build in headless Chromium against its targets,
beside the desktop's figures (make measure-web).

    scripts/measure_web.py BUILD_WEB BUILD_EMSCRIPTEN BUILD_BENCH [--runs N]

- the page's files together (at most 2 MB);
- the first frame: from the page starting to load (served as make
  serve-web serves it) to the first picture put on its canvas, the about
  box (at most 1.5 s); the median of N fresh browsers;
- frames a second of the start world (30) and of the 1,000-tree world with
  96 peeps (29-30), a host's Verlomba.ini beside the page setting them: the
  median and the fewest of the seconds sampled, as window.verlomba.fps()
  and the HUD give them (the HUD leaves out the frame that opens a second),
  the frames put on the canvas a second; with the mean milliseconds a frame took in the page
  (tick, drawing, showing);
- a frame's CPU time of the 1,000-tree world, drawn by the software
  renderer and ticked, by the replay tool built for the desktop (as the
  game ships, in BUILD_BENCH) and by the one Emscripten built, under Node;
  interleaved rounds, their medians and the ratio (at most 1.5).
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "web"))
import chromium  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CROWDED = {"kStartWithTrees": "1000", "kStartWithAgents": "96"}


def crowded_ini():
    with open(os.path.join(ROOT, "Verlomba.ini")) as f:
        text = f.read()
    for name, value in CROWDED.items():
        text = re.sub(r"^%s\s*=\s*\S+" % name, "%s = %s" % (name, value), text, flags=re.M)
    return text


def first_frame_ms(url):
    browser = chromium.Browser()
    try:
        browser.open(url)
        return browser.wait_for("window.verlomba && window.verlomba.firstFrame")
    finally:
        browser.close()


def frame_rates(url, seconds):
    browser = chromium.Browser()
    try:
        browser.open(url)
        browser.wait_for("window.verlomba && window.verlomba.firstFrame")
        browser.key("Enter", text="\r", vk=13)
        time.sleep(3)
        fps, ms = [], []
        put, start = browser.evaluate("window.verlomba.framesPut"), time.monotonic()
        for _ in range(seconds):
            time.sleep(1)
            fps.append(browser.evaluate("window.verlomba.fps()"))
            ms.append(browser.evaluate("window.verlomba.frameMilliseconds()"))
        shown = (browser.evaluate("window.verlomba.framesPut") - put) / (time.monotonic() - start)
        return fps, ms, shown
    finally:
        browser.close()


def replay_frame_ms(command, script, frames):
    # The tool times frames by the clock on the wall: on one thread, as the
    # browser build draws, that is the frame's CPU time (the desktop's tile
    # threads would hide part of its cost).
    env = dict(os.environ, NODE_PATH="/usr/share/nodejs", VERLOMBA_THREADS="1")
    out = subprocess.run([*command, "--ticks", "30", "--time-frames", str(frames), script], check=True,
                         capture_output=True, text=True, env=env)
    return float(re.search(r"frame ([0-9.]+) ms", out.stdout).group(1))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("web")
    parser.add_argument("emscripten")
    parser.add_argument("bench")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()

    files = sum(os.path.getsize(os.path.join(args.web, n)) for n in os.listdir(args.web))
    print("page files: %.2f MB (target at most 2 MB)" % (files / 1e6))

    with tempfile.TemporaryDirectory() as folder:
        start = os.path.join(folder, "start")
        crowded = os.path.join(folder, "crowded")
        shutil.copytree(args.web, start)
        shutil.copytree(args.web, crowded)
        with open(os.path.join(crowded, "Verlomba.ini"), "w") as f:
            f.write(crowded_ini())
        start_url, crowded_url = chromium.serve(start), chromium.serve(crowded)

        firsts = [first_frame_ms(start_url) for _ in range(args.runs)]
        print("first frame: median %.0f ms, slowest %.0f ms of %d loads (target at most 1500 ms)"
              % (statistics.median(firsts), max(firsts), len(firsts)))
        for name, url, target in (("start world", start_url, "30"),
                                  ("1,000 trees, 96 peeps", crowded_url, "29-30")):
            fps, ms, shown = frame_rates(url, 8)
            print("%s: HUD median %s fps, fewest %s (target %s); %.2f frames put a second;"
                  " a frame %.1f ms in the page"
                  % (name, statistics.median(fps), min(fps), target, shown, statistics.median(ms)))

        script = os.path.join(folder, "crowded.script")
        with open(script, "w") as f:
            f.write("".join("tune %s %s\n" % item for item in CROWDED.items()))
        desktop_tool = [os.path.join(args.bench, "verlomba-replay")]
        web_tool = ["/usr/bin/node", os.path.join(args.emscripten, "tools", "verlomba-replay.js")]
        desktop, web = [], []
        for _ in range(3):
            desktop.append(replay_frame_ms(desktop_tool, script, 150))
            web.append(replay_frame_ms(web_tool, script, 150))
        d, w = statistics.median(desktop), statistics.median(web)
        print("frame CPU, 1,000 trees (tick and software drawing, one thread): desktop %.2f ms, WebAssembly %.2f ms,"
              " ratio %.2f (target at most 1.5)" % (d, w, w / d))


if __name__ == "__main__":
    main()
