"""Running the Windows programs under Wine: one prefix in the build
directory, made on first use (about 15 s) and kept, and a game session that
starts the program through wine."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))

from harness import GameSession, fail  # noqa: E402


def wine_env(build_dir):
    env = dict(os.environ)
    env.update({"WINEPREFIX": os.path.join(os.path.abspath(build_dir), "wine"), "WINEDEBUG": "-all",
                # No Mono or Gecko installer dialogs in a fresh prefix.
                "WINEDLLOVERRIDES": "mscoree,mshtml=", "LANG": "C.UTF-8"})
    return env


def ensure_prefix(build_dir):
    env = wine_env(build_dir)
    if not os.path.exists(os.path.join(env["WINEPREFIX"], "system.reg")):
        result = subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                timeout=300)
        if result.returncode != 0:
            fail(f"wineboot -i failed: {result.stdout.decode(errors='replace')}")
        subprocess.run(["wineserver", "-w"], env=env, timeout=120)
    return env


def run(build_dir, args, cwd=None, timeout=120):
    """(status, standard output, standard error) of a program under Wine,
    line ends as Unix writes them."""
    result = subprocess.run(["wine"] + list(args), env=ensure_prefix(build_dir), cwd=cwd, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=timeout)
    text = [s.decode("utf-8", errors="replace").replace("\r\n", "\n") for s in (result.stdout, result.stderr)]
    return result.returncode, text[0], text[1]


class WineSession(GameSession):
    """A game session on Xvfb, managed by openbox, with verlomba.exe under Wine."""

    def __init__(self, build_dir, args=(), **kwargs):
        self.exe = os.path.join(os.path.abspath(build_dir), "verlomba.exe")
        env = {k: v for k, v in ensure_prefix(build_dir).items() if k.startswith("WINE") or k == "LANG"}
        super().__init__("/usr/bin/wine", args=[self.exe] + list(args), env=env, launch=False, **kwargs)

    def __enter__(self):
        super().__enter__()
        try:
            self.start_window_manager()
            self.start_game()
        except BaseException:
            self._failed = True
            self.stop()
            raise
        return self

    def click(self, window, x, y, button=1):
        # Held as a hand holds it: Wine, taking the mouse capture at the
        # press, now and then misses a release that follows at once, and
        # then takes the button for held.
        self.mouse_down(window, x, y, button)
        time.sleep(0.08)
        self.xdotool("mouseup", button)

    def open_game(self, size=(800, 800)):
        about = self.wait_for_window("^Verlomba$", timeout=60)
        self.close_window_with_key(about, "Return")
        window = self.wait_for_window("^Verlomba City$", timeout=30)
        # The window manager may leave the focus where the about box was;
        # Wine sends the wheel to the focused window and closes a menu whose
        # window has no focus. A player's first click gives it the focus.
        self.xdotool("windowactivate", "--sync", window, check=False)
        return window
