"""Drives the game binary on a private Xvfb display with xdotool, xwd and
xwininfo; a session's scratch directory is kept when a check failed."""

import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SCREEN_SIZE = (1024, 1024)


class CheckFailed(Exception):
    pass


def fail(message):
    raise CheckFailed(message)


def wait_until(predicate, timeout, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            fail(f"timed out after {timeout:.1f}s waiting for {what}")
        time.sleep(interval)


XWD_HEADER_FIELDS = (
    "header_size", "file_version", "pixmap_format", "pixmap_depth",
    "pixmap_width", "pixmap_height", "xoffset", "byte_order", "bitmap_unit",
    "bitmap_bit_order", "bitmap_pad", "bits_per_pixel", "bytes_per_line",
    "visual_class", "red_mask", "green_mask", "blue_mask", "bits_per_rgb",
    "colormap_entries", "ncolors", "window_width", "window_height",
    "window_x", "window_y", "window_bdrwidth",
)


class Image:
    """An RGB image from an XWD dump, one byte string per channel and row."""

    def __init__(self, width, height, planes):
        self.width = width
        self.height = height
        self._planes = planes  # per row: (red bytes, green bytes, blue bytes)

    @classmethod
    def from_xwd(cls, data):
        size = 4 * len(XWD_HEADER_FIELDS)
        # xwd writes its header most significant byte first; accept either
        # order by checking the version field (7).
        for order in (">", "<"):
            h = dict(zip(XWD_HEADER_FIELDS, struct.unpack(order + "25I", data[:size])))
            if h["file_version"] == 7:
                break
        else:
            fail("not an XWD version 7 file")
        step = h["bits_per_pixel"] // 8
        shifts = [(h[m] & -h[m]).bit_length() - 1 for m in ("red_mask", "green_mask", "blue_mask")]
        if h["pixmap_format"] != 2 or step not in (3, 4) or any(
                s % 8 or h[m] >> s != 0xFF for s, m in zip(shifts, ("red_mask", "green_mask", "blue_mask"))):
            fail("the XWD image is not a ZPixmap with 8-bit channels")
        width, height, stride = h["pixmap_width"], h["pixmap_height"], h["bytes_per_line"]
        offset = h["header_size"] + h["ncolors"] * 12  # XWDColor: CARD32 + 3 CARD16 + 2 bytes
        if len(data) < offset + stride * height:
            fail("XWD pixel data is truncated")
        positions = [s // 8 if h["byte_order"] == 0 else step - 1 - s // 8 for s in shifts]
        planes = []
        for y in range(height):
            line = data[offset + y * stride:offset + y * stride + width * step]
            planes.append(tuple(line[p::step] for p in positions))
        return cls(width, height, planes)

    def _row(self, y):
        return list(zip(*self._planes[y]))

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            fail(f"pixel ({x}, {y}) outside a {self.width}x{self.height} image")
        r, g, b = self._planes[y]
        return (r[x], g[x], b[x])

    def region(self, x0, y0, x1, y1, step=1):
        """(x, y, rgb) of every step-th pixel of the inclusive box."""
        for y in range(y0, y1 + 1, step):
            for x in range(x0, x1 + 1, step):
                yield x, y, self.pixel(x, y)

    def differs_from(self, other):
        if (self.width, self.height) != (other.width, other.height):
            return max(self.width * self.height, other.width * other.height)
        return sum(a != b for y in range(self.height) for a, b in zip(self._row(y), other._row(y)))

    def save_ppm(self, path):
        with open(path, "wb") as out:
            out.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            for y in range(self.height):
                out.write(bytes(channel for rgb in self._row(y) for channel in rgb))
        return path


class GameSession:
    """An Xvfb display, a scratch directory holding files (name to contents,
    or to a function making the path, such as os.mkfifo) and the game running
    there; launch=False starts only the display; reset=True lets the server
    reset when its last client leaves, as a bare X server does."""

    def __init__(self, binary, files=None, screen=SCREEN_SIZE,
                 args=(), env=None, launch=True, reset=False):
        self.binary = os.path.abspath(binary)
        self.files = dict(files or {})
        self.args = list(args)
        self.extra_env = dict(env or {})
        self.launch = launch
        self.reset = reset
        self.screen = screen
        self.display = self.workdir = self.xvfb = self.game = self.window_manager = None
        self._failed = False

    def __enter__(self):
        try:
            if not os.access(self.binary, os.X_OK):
                fail(f"game binary {self.binary} is missing or not executable")
            self.start_display()
            if self.launch:
                self.start_game()
        except BaseException:
            self._failed = True
            self.stop()
            raise
        return self

    def __exit__(self, exc_type, exc, tb):
        self._failed = exc_type is not None
        self.stop()
        return False

    def start_display(self):
        # Random start so that parallel runs rarely race for the same number.
        first = random.randint(100, 400)
        for number in list(range(first, 500)) + list(range(100, first)):
            if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
                continue
            xvfb = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", f"{self.screen[0]}x{self.screen[1]}x24",
                 "-nolisten", "tcp"] + ([] if self.reset else ["-noreset"]),
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.display = f":{number}"
            deadline = time.monotonic() + 10.0
            while time.monotonic() < deadline:
                if xvfb.poll() is not None:
                    break  # lost the race for this number; try the next
                if self.x_command(["xdotool", "getdisplaygeometry"], check=False).returncode == 0:
                    self.xvfb = xvfb
                    return
                time.sleep(0.05)
            _stop_process(xvfb)
            self.display = None
        fail("could not start Xvfb on any free display")

    def start_window_manager(self, command=("openbox",), timeout=20.0):
        """Starts a window manager and waits until it manages the screen: a
        window it maps while still starting up may never be mapped. openbox
        also says when its start-up is over, by running a command then."""
        command = list(command)
        started = None
        if os.path.basename(command[0]) == "openbox":
            started = os.path.join(tempfile.gettempdir(), f"verlomba-wm-started-{os.getpid()}-{self.display[1:]}")
            command += ["--startup", f"touch {started}"]
        wm = subprocess.Popen(command, env=self.env(), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        self.window_manager = wm  # stopped with the display

        def ready():
            if wm.poll() is not None:
                fail(f"{command[0]} exited with {wm.returncode} while starting")
            if started and not os.path.exists(started):
                return False
            check = self._supporting_wm_check("-root")
            # The property may outlive a window manager that went away; the
            # check window names itself when it is its manager's.
            return check is not None and self._supporting_wm_check(str(check)) == check

        try:
            wait_until(ready, timeout, interval=0.05, what=f"{command[0]} to manage the screen")
        finally:
            if started and os.path.exists(started):
                os.unlink(started)

    def _supporting_wm_check(self, window):
        where = ["-root"] if window == "-root" else ["-id", window]
        result = self.x_command(["xprop", "-notype", *where, "_NET_SUPPORTING_WM_CHECK"], check=False)
        match = re.search(r"window id # (0x[0-9a-fA-F]+)", result.stdout.decode(errors="replace"))
        return int(match.group(1), 16) if result.returncode == 0 and match else None

    def env(self):
        env = dict(os.environ)
        env.update(self.extra_env)
        env["DISPLAY"] = self.display
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def x_command(self, args, check=True, timeout=20):
        result = subprocess.run(args, env=self.env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=timeout)
        if check and result.returncode != 0:
            fail(f"{' '.join(args)} failed ({result.returncode}): {result.stderr.decode(errors='replace').strip()}")
        return result

    def xdotool(self, *args, check=True):
        return self.x_command(["xdotool"] + [str(a) for a in args], check=check).stdout.decode()

    def start_game(self):
        self.workdir = tempfile.mkdtemp(prefix="verlomba-e2e-")
        for name, content in self.files.items():
            path = os.path.join(self.workdir, name)
            if callable(content):
                content(path)
                continue
            with open(path, "wb" if isinstance(content, bytes) else "w") as f:
                f.write(content)
        self._game_out = open(os.path.join(self.workdir, "game-output.txt"), "wb")
        self.game = subprocess.Popen([self.binary] + self.args, cwd=self.workdir, env=self.env(),
                                     stdin=subprocess.DEVNULL, stdout=self._game_out,
                                     stderr=subprocess.STDOUT)

    def game_output(self):
        try:
            with open(os.path.join(self.workdir, "game-output.txt"), "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def check_running(self):
        if self.game is None or self.game.poll() is not None:
            code = None if self.game is None else self.game.returncode
            fail(f"the game is not running (exit code {code}); its output:\n{self.game_output()}")

    def stop(self):
        self.stop_game()
        if self.window_manager is not None:
            _stop_process(self.window_manager)
            self.window_manager = None
        if self.xvfb is not None:
            _stop_process(self.xvfb)
            self.xvfb = None

    def stop_game(self):
        if self.game is not None:
            _stop_process(self.game)
            self.game = None
            self._game_out.close()
        if self.workdir is not None:
            if self._failed:
                print(f"kept working directory {self.workdir}", file=sys.stderr)
            else:
                shutil.rmtree(self.workdir, ignore_errors=True)
            self.workdir = None

    # --- windows ---

    def top_level_windows(self):
        # Without a window manager these are the application windows.
        out = self.x_command(["xwininfo", "-root", "-children"]).stdout.decode(errors="replace")
        ids = [int(m.group(1), 16) for m in re.finditer(r"^\s+(0x[0-9a-fA-F]+)\s", out, re.M)]
        return sorted(w for w in ids if self.is_viewable(w))

    def window_info(self, window):
        result = self.x_command(["xwininfo", "-id", str(window)], check=False)
        if result.returncode != 0:
            return None
        lines = (line.strip().partition(":") for line in result.stdout.decode(errors="replace").splitlines())
        return {key.strip(): value.strip() for key, sep, value in lines if sep}

    def is_viewable(self, window):
        info = self.window_info(window)
        return bool(info) and info.get("Map State") == "IsViewable"

    def geometry(self, window):
        info = self.window_info(window)
        if not info:
            fail(f"window {window:#x} does not exist")
        return tuple(int(info[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def wait_for_window(self, name, timeout=20.0):
        def found():
            self.check_running()
            ids = sorted(int(w) for w in self.xdotool("search", "--onlyvisible", "--name", name,
                                                      check=False).split())
            return ids[-1] if ids else None
        try:
            return wait_until(found, timeout, what=f"a window named {name!r}")
        except CheckFailed as failure:
            # Say what there was instead: a window never mapped, or none.
            ids = self.xdotool("search", "--name", name, check=False).split()
            states = [f"{int(w):#x} {(self.window_info(int(w)) or {}).get('Map State')}" for w in ids]
            raise CheckFailed(f"{failure} (unmapped or hidden: {', '.join(states) or 'none'})") from None

    def open_game(self, size=(800, 800)):
        """Closes the about box with Return; the game window."""
        about = self.wait_for_window("^Verlomba$")
        self.close_window_with_key(about, "Return")
        return self.wait_for_game_window(exclude={about}, size=size)

    def wait_until_gone(self, window, timeout=10.0):
        wait_until(lambda: not self.is_viewable(window), timeout, what=f"window {window:#x} to close")

    def wait_for_game_window(self, exclude=(), size=(800, 800), timeout=20.0):
        """The newest visible window not excluded, preferably of size."""
        exclude = set(exclude)

        def candidates():
            self.check_running()
            ids = [w for w in self.top_level_windows() if w not in exclude]
            sized = [w for w in ids if self.geometry(w)[2:] == tuple(size)]
            return (sized or ids)[-1:] or None

        window = wait_until(candidates, timeout, what="the game window")[0]
        # A window may still be settling its size right after mapping.
        if size:
            try:
                wait_until(lambda: self.geometry(window)[2:] == tuple(size), 3.0)
            except CheckFailed:
                pass
        return window

    # --- input ---

    def move_pointer_to(self, window):
        # Without a window manager, keyboard focus follows the pointer.
        _, _, w, h = self.geometry(window)
        self.mouse_move(window, w // 2, h // 2, check=False)

    def key(self, window, key, typed=False):
        """Sends the key to window, or with typed=True types it for real."""
        self.move_pointer_to(window)
        if typed:
            self.xdotool("key", key)
        else:
            self.xdotool("key", "--window", window, key)

    def close_window_with_key(self, window, key="Return", timeout=5.0):
        try:
            # xdotool sometimes reports a failure sending to a window right
            # after it maps ("XGetInputFocus returned the focused window of
            # 1"), whether or not the key got there.
            self.key(window, key)
            self.wait_until_gone(window, timeout / 2)
        except CheckFailed:
            if not self.is_viewable(window):
                return
            # Some toolkits ignore sent events; type the key for real instead.
            try:
                self.key(window, key, typed=True)
            except CheckFailed:
                if self.is_viewable(window):
                    raise
            self.wait_until_gone(window, timeout / 2)

    def mouse_move(self, window, x, y, check=True):
        wx, wy, _, _ = self.geometry(window)
        # "mousemove --sync" waits for a motion that never comes when the
        # pointer is already there (for many seconds), so skip that case.
        out = self.xdotool("getmouselocation", "--shell")
        here = dict(line.split("=", 1) for line in out.split() if "=" in line)
        if (int(here["X"]), int(here["Y"])) != (wx + x, wy + y):
            self.xdotool("mousemove", "--sync", wx + x, wy + y, check=check)

    def click(self, window, x, y, button=1):
        self.mouse_move(window, x, y)
        self.xdotool("click", button)

    def mouse_down(self, window, x, y, button=1):
        self.mouse_move(window, x, y)
        self.xdotool("mousedown", button)

    def mouse_up(self, window, x, y, button=1):
        self.mouse_move(window, x, y)
        self.xdotool("mouseup", button)

    def window_property(self, window, name, xprop_format=None):
        """xprop's line for the property; xprop_format "32c" reads numbers."""
        fmt = [xprop_format] if xprop_format else []
        return self.x_command(["xprop", "-id", str(window), "-notype"] + fmt + [name]).stdout.decode(errors="replace")

    def screenshot(self, window=None):
        handle, path = tempfile.mkstemp(suffix=".xwd", dir=self.workdir)
        os.close(handle)
        try:
            self.x_command(["xwd", "-silent"] + (["-root"] if window is None else ["-id", str(window)]) + ["-out", path])
            with open(path, "rb") as f:
                return Image.from_xwd(f.read())
        finally:
            os.unlink(path)

    def artifact_path(self, name):
        return os.path.join(self.workdir, name)


def _stop_process(process, grace=3.0):
    if process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=grace)


REPO_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def project_settings():
    """The version and application id CMakeLists.txt sets."""
    with open(os.path.join(REPO_ROOT, "CMakeLists.txt")) as f:
        text = f.read()
    version = re.search(r"^\s*VERSION\s+(\d+\.\d+\.\d+)\s*$", text, re.M)
    app_id = re.search(r"^set\(VERLOMBA_APP_ID\s+(\S+)\)", text, re.M)
    if not version or not app_id:
        fail("CMakeLists.txt sets no VERSION or VERLOMBA_APP_ID")
    return {"version": version.group(1), "app_id": app_id.group(1)}


def environment_without_display():
    return {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}


def binary_from_argv():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} <path to the verlomba binary>", file=sys.stderr)
        sys.exit(2)
    return sys.argv[1]


class Checks:
    """Collects named checks so a script reports every failure, then exits."""

    def __init__(self):
        self.failures = []
        self.passed = 0

    def check(self, condition, message):
        if condition:
            self.passed += 1
        else:
            self.failures.append(message)
            print(f"FAIL: {message}", file=sys.stderr, flush=True)
        return condition

    def run(self, name, step):
        try:
            step()
            print(f"ok: {name}", flush=True)
        except Exception as e:  # a harness or tool error is a failure too
            detail = str(e) if isinstance(e, CheckFailed) else f"{type(e).__name__}: {e}"
            self.failures.append(f"{name}: {detail}")
            print(f"FAIL: {name}: {detail}", file=sys.stderr, flush=True)

    def finish(self):
        if self.failures:
            print(f"{len(self.failures)} check(s) failed", file=sys.stderr)
            sys.exit(1)
        print("all checks passed")
        sys.exit(0)
