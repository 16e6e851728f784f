"""The about box at start-up, then the fixed-size white game window."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import Checks, GameSession, binary_from_argv, fail, project_settings, wait_until  # noqa: E402
from gameplay import poll_shots  # noqa: E402

ABOUT_TITLE = "^Verlomba$"
GAME_SIZE = (800, 800)
# Background points outside the play area, away from the palette, the money
# bar and the text: white under the veil (a touch bluish as dusk comes).
WHITE_POINTS = [(790, 790), (790, 10), (30, 790), (400, 60), (700, 400)]
# The frame-rate text is drawn from world (7, 16), its baseline, in grey 0.5.
FPS_BOX = (7, 7, 40, 17)
CUSTOM_ABOUT = "Verlomba end-to-end test\nA custom about text\nWWWWWWWWWWWWWWWWWWWWWWWWWWWW\n"


def is_grey(rgb):
    r, g, b = rgb
    return max(rgb) - min(rgb) <= 12 and all(100 <= c <= 160 for c in (r, g, b))


def check_window_identity(session, checks, window, name, title):
    """The class a dock matches to the desktop entry's StartupWMClass, an
    icon and an icon name."""
    wm_class = f'WM_CLASS = "verlomba", "{project_settings()["app_id"]}"'
    line = session.window_property(window, "WM_CLASS").strip()
    checks.check(line == wm_class, f"{name}: {line}, expected {wm_class}")
    for prop in ("WM_ICON_NAME", "_NET_WM_NAME"):
        line = session.window_property(window, prop).strip()
        checks.check(line == f'{prop} = "{title}"', f"{name}: {line}")
    sizes = icon_sizes(session, window)
    checks.check(sizes == [16, 32, 48, 64, 128], f"{name}: icon sizes {sizes}")


def check_game_window(binary, checks):
    failures_before = len(checks.failures)
    with GameSession(binary) as session:
        about = session.wait_for_window(ABOUT_TITLE)
        check_window_identity(session, checks, about, "about box", "Verlomba")
        # Destroyed by another client, the box counts as closed.
        session.xdotool("windowclose", about)
        window = session.wait_for_game_window(exclude={about}, size=GAME_SIZE)
        check_window_identity(session, checks, window, "game window", "Verlomba City")
        size = session.geometry(window)[2:]
        if size != GAME_SIZE:
            fail(f"game window is {size[0]}x{size[1]}, expected 800x800")

        session.xdotool("windowsize", window, 600, 500)
        time.sleep(1.0)
        deadline = time.monotonic() + 3.0
        while session.geometry(window)[2:] != GAME_SIZE and time.monotonic() < deadline:
            time.sleep(0.1)
        size = session.geometry(window)[2:]
        checks.check(size == GAME_SIZE, f"after a resize to 600x500 the window is {size[0]}x{size[1]}, not 800x800")
        session.check_running()

        # Once the first frames, and their text, are drawn.
        shot = poll_shots(session, window, lambda s: any(is_grey(rgb) for _, _, rgb in s.region(*FPS_BOX)),
                          10.0, 0.2)[1].image
        shot_path = session.artifact_path("game-window.ppm")
        shot.save_ppm(shot_path)
        if not checks.check((shot.width, shot.height) == GAME_SIZE,
                            f"screenshot of the game window is {shot.width}x{shot.height}"):
            fail(f"screenshot kept at {shot_path}")
        for x, y in WHITE_POINTS:
            rgb = shot.pixel(x, y)
            checks.check(min(rgb) >= 235, f"background at ({x}, {y}) is {rgb}, expected white (see {shot_path})")
        grey = [rgb for _, _, rgb in shot.region(*FPS_BOX) if is_grey(rgb)]
        checks.check(len(grey) >= 5,
                     f"only {len(grey)} grey pixels of the fps text in x {FPS_BOX[0]}..{FPS_BOX[2]}, "
                     f"y {FPS_BOX[1]}..{FPS_BOX[3]} (see {shot_path})")
        if len(checks.failures) > failures_before:
            fail(f"screenshot kept at {shot_path}")

        # Destroyed by another client, the window ends the game as its close
        # button does.
        session.xdotool("windowclose", window)
        code = wait_until(lambda: session.game.poll() is not None and [session.game.returncode], 5.0,
                          what="the game to end once its window was destroyed")[0]
        checks.check(code == 0 and "error" not in session.game_output().lower(),
                     f"with its window destroyed the game ended with {code}: {session.game_output()}")
        checks.check(os.path.isfile(os.path.join(session.workdir, "Verlomba-autosave.txt")),
                     "the city was not saved as the window was destroyed")


def about_box_image(binary, files, key):
    """Screenshot of the about box, which the key must close."""
    with GameSession(binary, files=files) as session:
        about = session.wait_for_window(ABOUT_TITLE)
        time.sleep(0.5)  # let it draw its text
        image = session.screenshot(about)
        session.close_window_with_key(about, key)
        session.wait_for_game_window(exclude={about}, size=GAME_SIZE)
        session.check_running()
        return image


def check_about_text_file(binary, checks):
    built_in = about_box_image(binary, {}, "Return")
    custom = about_box_image(binary, {"copyright.txt": CUSTOM_ABOUT}, "Escape")
    changed = custom.differs_from(built_in)
    checks.check(changed > 0, "the about box looks the same with and without copyright.txt")


def icon_sizes(session, window):
    """Sizes in _NET_WM_ICON, each whole, square and not all transparent."""
    line = session.window_property(window, "_NET_WM_ICON", "32c")
    if "=" not in line:
        fail(f"window {window:#x} has no _NET_WM_ICON")
    values = [int(v) for v in line.split("=", 1)[1].replace(",", " ").split()]
    sizes = []
    while values:
        width, height, values = values[0], values[1], values[2:]
        pixels, values = values[:width * height], values[width * height:]
        if width != height or len(pixels) != width * height or not any(p >> 24 for p in pixels):
            fail(f"window {window:#x}: broken {width}x{height} icon in _NET_WM_ICON")
        sizes.append(width)
    return sizes


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("both windows carry the desktop identity; the about box destroyed, the game starts; its "
               "window: 800x800, not resizable, white around the field, fps text; destroyed, it ends the game",
               lambda: check_game_window(binary, checks))
    checks.run("about box shows copyright.txt; Return and Escape close it",
               lambda: check_about_text_file(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
