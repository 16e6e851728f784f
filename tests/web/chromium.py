"""Headless Chromium driven through the DevTools protocol over a pipe (the
standard library only), the page served by scripts/serve_web.py, and the
PNG screenshots read back into pixels."""
import base64
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import serve_web  # noqa: E402
import window_icon_data  # noqa: E402  (its PNG filters undone)

# Frames as fast as the page draws them, timers and frames of a page not in
# front kept going, nothing of a desktop session needed.
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--no-default-browser-check",
         "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
         "--disable-backgrounding-occluded-windows", "--disable-extensions", "--mute-audio",
         "--window-size=1100,1000", "--remote-debugging-pipe"]


def serve(folder):
    """Serves folder on a free port in a thread; returns the page's address."""
    ready = threading.Event()
    box = {}

    def started(server):
        box["port"] = server.server_address[1]
        ready.set()

    threading.Thread(target=serve_web.serve, args=(folder, 0, started), daemon=True).start()
    ready.wait(10)
    return "http://127.0.0.1:%d/" % box["port"]


class Browser:
    def __init__(self, extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix="verlomba-chromium-")
        to_child, self._out = os.pipe()
        self._in, from_child = os.pipe()
        # The protocol's pipe is the child's descriptors 3 (in) and 4 (out).
        self.process = subprocess.Popen(
            ["chromium", *FLAGS, *extra_flags, "--user-data-dir=" + self.profile, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            pass_fds=(3, 4), preexec_fn=lambda: (os.dup2(to_child, 3), os.dup2(from_child, 4)))
        os.close(to_child)
        os.close(from_child)
        self._next = 0
        self._buffer = b""
        self.events = []
        self.session = None

    def close(self):
        try:
            self.call("Browser.close", session=False)
        except Exception:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self._out)
        os.close(self._in)
        shutil.rmtree(self.profile, ignore_errors=True)

    def _read(self):
        while b"\0" not in self._buffer:
            chunk = os.read(self._in, 1 << 20)
            if not chunk:
                raise RuntimeError("Chromium closed its end of the protocol")
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, session=True, **params):
        self._next += 1
        message = {"id": self._next, "method": method, "params": params}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self._out, json.dumps(message).encode() + b"\0")
        while True:
            reply = self._read()
            if reply.get("id") == self._next:
                if "error" in reply:
                    raise RuntimeError("%s: %s" % (method, reply["error"]))
                return reply.get("result", {})
            self.events.append(reply)

    def open(self, url):
        """A tab at url, which the calls from now on go to."""
        target = self.call("Target.createTarget", session=False, url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", session=False, targetId=target, flatten=True)["sessionId"]
        self.call("Page.enable")
        self.call("Page.navigate", url=url)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout=20.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            try:
                value = self.evaluate(expression)
                if value:
                    return value
            except RuntimeError:
                pass
            time.sleep(0.05)
        raise AssertionError("timed out waiting for " + expression)

    # --- real input, at page (CSS) pixels ------------------------------------
    def mouse(self, kind, x, y, button="left", modifiers=0):
        self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, modifiers=modifiers,
                  clickCount=1 if kind != "mouseMoved" else 0,
                  buttons={"left": 1, "right": 2, "none": 0}[button] if kind == "mousePressed" else 0)

    def click(self, x, y, button="left"):
        self.mouse("mouseMoved", x, y, "none")
        self.mouse("mousePressed", x, y, button)
        self.mouse("mouseReleased", x, y, button)

    def wheel(self, x, y, delta_y):
        self.call("Input.dispatchMouseEvent", type="mouseWheel", x=x, y=y, deltaX=0, deltaY=delta_y)

    def key(self, key, code=None, text=None, vk=0):
        down = {"type": "keyDown", "key": key, "code": code or key, "windowsVirtualKeyCode": vk}
        if text:
            down["text"] = text
        self.call("Input.dispatchKeyEvent", **down)
        self.call("Input.dispatchKeyEvent", type="keyUp", key=key, code=code or key, windowsVirtualKeyCode=vk)

    def screenshot(self, x, y, width, height):
        """The page's pixels in a box, as an Image."""
        data = self.call("Page.captureScreenshot", format="png",
                         clip={"x": x, "y": y, "width": width, "height": height, "scale": 1})["data"]
        return read_png(base64.b64decode(data))


class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def count(self, colour_test, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        return sum(1 for y in range(y0, y1) for x in range(x0, x1) if colour_test(self.pixel(x, y)))


def read_png(data):
    """8-bit RGB or RGBA, not interlaced: what Chromium writes."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), "unexpected PNG layout"
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = 3 if colour == 2 else 4
    rows = window_icon_data.unfilter(zlib.decompress(idat), width, height, channels)
    if channels == 4:
        rows = [bytes(b for i, b in enumerate(row) if i % 4 != 3) for row in rows]
    return Image(width, height, b"".join(rows))
