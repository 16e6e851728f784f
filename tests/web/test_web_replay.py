#!/usr/bin/env python3
"""The browser build's simulation and pictures against the desktop's: the
golden replays give their digests with the replay tool built by
Emscripten and run under Node, and a scripted game's last frame, drawn by
the software renderer, is the desktop's pixel for pixel.

    test_web_replay.py WEB_REPLAY_JS DESKTOP_REPLAY
"""
import glob
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WEB_TOOL = DESKTOP_TOOL = None


def web(*args):
    # Debian's node, with the modules Emscripten's output may ask for.
    env = dict(os.environ, NODE_PATH="/usr/share/nodejs")
    return subprocess.run(["/usr/bin/node", WEB_TOOL, *args], check=True, capture_output=True, text=True,
                          env=env, timeout=300).stdout


class WebReplayTest(unittest.TestCase):
    def test_golden_replays_give_the_desktop_digests(self):
        scripts = sorted(glob.glob(os.path.join(ROOT, "tests/golden/*.script")))
        self.assertTrue(scripts)
        for script in scripts:
            name = os.path.basename(script)[:-len(".script")]
            with self.subTest(name):
                with open(script[:-len(".script")] + ".digest") as f:
                    self.assertEqual(web("--golden", name, script), f.read())

    def test_a_scripted_frame_is_the_desktops_pixel_for_pixel(self):
        script = os.path.join(ROOT, "tests/golden/battle.script")
        with tempfile.TemporaryDirectory() as folder:
            frames = [os.path.join(folder, n) for n in ("web.ppm", "desktop.ppm")]
            web("--ticks", "900", "--frame", frames[0], script)
            subprocess.run([DESKTOP_TOOL, "--ticks", "900", "--frame", frames[1], script], check=True,
                           capture_output=True, timeout=300)
            pictures = []
            for path in frames:
                with open(path, "rb") as f:
                    pictures.append(f.read())
        self.assertTrue(pictures[0].startswith(b"P6\n800 800\n255\n"))
        # Something was drawn: more than the white background.
        self.assertGreater(len(set(pictures[0][15:])), 10)
        self.assertEqual(pictures[0], pictures[1], "the browser's frame differs from the desktop's")


if __name__ == "__main__":
    WEB_TOOL, DESKTOP_TOOL = sys.argv[1], os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
