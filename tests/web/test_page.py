#!/usr/bin/env python3
"""The browser build's page in headless Chromium, played with real input
events and looked at in screenshots.

    test_page.py BUILD_WEB_FOLDER

The cases run in order on one page, as a player would go: the about box,
a purchase, the menu and the pause, a saved city across a reload, a
city to the player's disk and back, the autosave. The host's Verlomba.ini
beside the page asks for an autosave every 2.4 s of play.
"""
import json
import os
import re
import shutil
import sys
import tempfile
import time
import unittest

import chromium

FOLDER = None
OUTLINE = (217, 217, 255)  # a palette cell's outline
AUTOSAVE = "FS.readFile('/verlomba/Verlomba-autosave.txt', {encoding: 'utf8'})"
# The autosave as the browser's storage holds it ('' when it holds none).
STORED = ("new Promise(done => { const q = IDBFS.dbs['/verlomba'].transaction(['FILE_DATA'])"
          ".objectStore('FILE_DATA').get('/verlomba/Verlomba-autosave.txt');"
          " q.onsuccess = () => done(q.result ? new TextDecoder().decode(q.result.contents) : ''); })")


def paused_in(city):
    return re.search(r"\ntoggles (?:[01] ){4}([01])", city).group(1) == "1"


def green(p):
    return p[1] > p[0] + 80 and p[1] > p[2] + 80


def within(seconds, check):
    """Whether check comes true within seconds, asked again and again."""
    end = time.monotonic() + seconds
    while True:
        if check():
            return True
        if time.monotonic() > end:
            return False
        time.sleep(0.1)


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="verlomba-page-")
        for name in os.listdir(FOLDER):
            os.symlink(os.path.join(FOLDER, name), os.path.join(cls.folder, name))
        with open(os.path.join(cls.folder, "Verlomba.ini"), "w") as f:
            f.write("kAutosaveMinutes = 0.04\n")
        cls.url = chromium.serve(cls.folder)
        cls.browser = chromium.Browser()
        cls.browser.open(cls.url)
        cls.browser.wait_for("window.verlomba && window.verlomba.firstFrame")

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def canvas(self):
        return self.browser.evaluate("(() => { const c = document.getElementById('canvas');"
                                     " const r = c.getBoundingClientRect();"
                                     " return [r.left, r.top, c.width, c.height]; })()")

    def shot(self):
        left, top, width, height = self.canvas()
        return self.browser.screenshot(left, top, width, height)

    def start_game(self):
        self.browser.key("Enter", text="\r", vk=13)
        self.browser.wait_for("document.getElementById('canvas').width == 800")
        time.sleep(0.5)

    def menu_pick(self, *labels):
        """Opens the menu with the right button and picks through labels."""
        left, top, _, _ = self.canvas()
        b = self.browser
        b.click(left + 400, top + 60, button="right")
        for i, label in enumerate(labels):
            where = b.wait_for(
                "(() => { for (const e of document.querySelectorAll('#menu .item')) if (e.textContent == %r) {"
                " const r = e.getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; }"
                " })()" % label, timeout=5)
            b.mouse("mouseMoved", *where, button="none")
            if i == len(labels) - 1:
                b.mouse("mousePressed", *where)
                b.mouse("mouseReleased", *where)
        self.assertTrue(b.evaluate("document.getElementById('menu').hidden"))

    def field_still(self):
        """Two looks at the field a while apart show the same pixels."""
        a = self.shot()
        time.sleep(0.5)
        b = self.shot()
        return a.rgb[800 * 3 * 40:] == b.rgb[800 * 3 * 40:]  # below the frame-rate line

    def field_settles(self):
        """The field is still within a few seconds: on a busy machine, frames
        the game drew before it paused may still be on their way."""
        return within(5, self.field_still)

    def test_1_about_box_closes_with_return(self):
        self.assertEqual(self.canvas()[2:], [480, 179])
        about = self.shot()
        self.assertGreater(about.count(lambda p: p == (0, 0, 0)), 200, "no text in the about box")
        self.start_game()
        self.assertEqual(self.browser.evaluate("document.title"), "Verlomba City")
        self.browser.wait_for("window.verlomba.fps() > 20", timeout=5)

    def test_2_buying_a_peep_drains_the_money_bar(self):
        before = self.shot()
        cells = [(x, y) for y in range(before.height) for x in range(before.width // 4)
                 if before.pixel(x, y) == OUTLINE]
        x0, y0 = min(cells, key=lambda c: (c[1], c[0]))  # the first cell's corner: the peep's
        bar_row = max(y for x, y in ((x, y) for y in range(y0) for x in range(0, 800, 4)) if green(before.pixel(x, y)))
        money = before.count(green, (0, bar_row, 800, bar_row + 1))
        self.assertGreater(money, 20)
        left, top, _, _ = self.canvas()
        self.browser.click(left + x0 + 32, top + y0 + 32)
        time.sleep(1.0)
        after = self.shot()
        drained = after.count(green, (0, bar_row, 800, bar_row + 1))
        self.assertLess(drained, money - 5, "the money bar did not drain")

    def test_3_menu_pauses_the_game(self):
        self.assertFalse(self.field_still())
        self.menu_pick("Game", "Turn Pause On")
        self.assertTrue(self.field_settles(), "the field goes on moving")
        # The label follows, as on the desktop.
        self.browser.click(*self.canvas()[:2], button="right")
        labels = self.browser.evaluate(
            "(() => { const e = [...document.querySelectorAll('#menu .item')]; return e.map(i => i.textContent); })()")
        self.assertEqual(labels, ["Game", "Download City", "Open City File..."])
        self.browser.key("Escape", vk=27)

    def park_pointer(self):
        """Puts the pointer where the menu opens: a road end under it is hinted in red."""
        left, top, _, _ = self.canvas()
        self.browser.mouse("mouseMoved", left + 400, top + 60, button="none")
        time.sleep(0.3)  # the next frame draws it there

    def test_4_saved_city_comes_back_after_a_reload(self):
        b = self.browser
        self.park_pointer()
        paused = self.shot()
        self.menu_pick("Game", "Save City")
        saved = b.wait_for("FS.analyzePath('/verlomba/Verlomba-city.txt').exists"
                           " && FS.readFile('/verlomba/Verlomba-city.txt', {encoding: 'utf8'})")
        time.sleep(0.5)  # the browser's storage is written in the background
        b.call("Page.reload")
        b.wait_for("window.verlomba && window.verlomba.firstFrame")
        self.start_game()
        b.key("p", code="KeyP", text="p", vk=80)
        self.menu_pick("Game", "Load City")
        self.park_pointer()
        loaded = self.shot()
        # The field as it was saved (below the notices and frame rate line).
        field = slice(800 * 3 * 100, 800 * 3 * 645)
        self.assertEqual(loaded.rgb[field], paused.rgb[field], "the loaded city looks otherwise")
        self.assertEqual(self.save_city(), saved)

    def save_city(self):
        self.menu_pick("Game", "Save City")
        return self.browser.evaluate("FS.readFile('/verlomba/Verlomba-city.txt', {encoding: 'utf8'})")

    def open_city_file(self, path):
        b = self.browser
        b.call("Page.setInterceptFileChooserDialog", enabled=True)
        b.events.clear()
        self.menu_pick("Open City File...")
        chooser, end = None, time.monotonic() + 10
        while not chooser and time.monotonic() < end:
            b.call("Runtime.evaluate", expression="1")  # lets the event arrive
            chooser = next((e for e in b.events if e.get("method") == "Page.fileChooserOpened"), None)
        self.assertTrue(chooser, "no file chooser opened")
        b.call("DOM.setFileInputFiles", files=[path], backendNodeId=chooser["params"]["backendNodeId"])
        time.sleep(0.5)

    def read_download(self, path):
        """A download's text: the browser may show the file empty, or part
        written, before it is done, so it counts once it reads the same twice."""
        seen = [None]

        def whole():
            if not os.path.exists(path) or os.path.exists(path + ".crdownload"):
                return False
            with open(path) as f:
                text = f.read()
            done, seen[0] = bool(text) and text == seen[0], text
            return done

        self.assertTrue(within(10, whole), f"{os.path.basename(path)} was not downloaded whole")
        return seen[0]

    def test_5_a_downloaded_city_opens_again_and_a_bad_file_changes_nothing(self):
        b = self.browser
        with tempfile.TemporaryDirectory() as folder:
            b.call("Browser.setDownloadBehavior", session=False, behavior="allow", downloadPath=folder)
            self.menu_pick("Download City")
            path = os.path.join(folder, "Verlomba-city.txt")
            downloaded = self.read_download(path)
            # The game is paused: the download is the city as it stands.
            self.assertEqual(downloaded, self.save_city())
            self.menu_pick("Game", "Turn Pause Off")
            time.sleep(1)
            self.menu_pick("Game", "Turn Pause On")
            self.assertNotEqual(self.save_city(), downloaded)
            self.open_city_file(path)
            self.assertEqual(self.save_city(), downloaded)

            # Save Tuning offers the built-in values as a download.
            self.menu_pick("Game", "Save Tuning")
            tuning = os.path.join(folder, "Verlomba-saved.ini")
            self.assertIn("kStartWithTrees", self.read_download(tuning))

            before = self.shot()
            bad = os.path.join(folder, "not-a-city.txt")
            with open(bad, "w") as f:
                f.write("verlomba-city 2\n")
            self.open_city_file(bad)
            self.assertEqual(self.save_city(), downloaded)
            field = slice(800 * 3 * 100, 800 * 3 * 645)
            self.assertEqual(self.shot().rgb[field], before.rgb[field])

    def pause_label(self):
        return self.browser.evaluate(
            "(() => { const root = Module._verlomba_menu_root();"
            " const game = +UTF8ToString(Module._verlomba_menu_describe(root)).split('\\t')[1];"
            " return UTF8ToString(Module._verlomba_menu_describe(game)).match(/Turn Pause \\w+/)[0]; })()")

    def hide_and_show(self):
        """Another tab in front a while, then this one again; the pause's
        label and the autosave while hidden."""
        b = self.browser
        page = b.call("Target.getTargetInfo")["targetInfo"]["targetId"]
        other = b.call("Target.createTarget", session=False, url="about:blank")["targetId"]
        b.call("Target.activateTarget", session=False, targetId=other)
        b.wait_for("document.hidden")
        label, autosave = self.pause_label(), b.evaluate(AUTOSAVE)
        b.call("Target.activateTarget", session=False, targetId=page)
        b.call("Target.closeTarget", session=False, targetId=other)
        b.wait_for("!document.hidden")
        return label, autosave

    def test_6_a_hidden_tab_autosaves_and_pauses_until_shown_unless_the_player_paused(self):
        b = self.browser
        earlier = b.evaluate(STORED)
        b.key("p", code="KeyP", text="p", vk=80)
        self.assertEqual(self.pause_label(), "Turn Pause On")
        # The autosave of the interval reaches the browser's storage.
        b.wait_for("%s.then(k => k != %s && k == %s)" % (STORED, json.dumps(earlier), AUTOSAVE), timeout=5)
        # Hidden, the city is autosaved with the player's pause, not the hiding's.
        label, hidden = self.hide_and_show()
        self.assertEqual(label, "Turn Pause Off")
        self.assertFalse(paused_in(hidden))
        self.assertEqual(self.pause_label(), "Turn Pause On")
        self.assertFalse(self.field_still())
        b.key("p", code="KeyP", text="p", vk=80)
        label, hidden = self.hide_and_show()
        self.assertEqual(self.pause_label(), "Turn Pause Off")
        self.assertTrue(paused_in(hidden))

        # A reload and Load Autosave bring it back.
        b.call("Page.reload")
        b.wait_for("window.verlomba && window.verlomba.firstFrame")
        self.assertEqual(b.evaluate(AUTOSAVE), hidden)
        self.start_game()
        b.key("p", code="KeyP", text="p", vk=80)
        self.menu_pick("Game", "Load Autosave")
        self.assertEqual(self.save_city(), hidden)

        # Storage that fails says so under the field, in red.
        b.evaluate("IDBFS.dbs['/verlomba'].transaction = () => { throw new Error('the disk is full'); }")
        self.save_city()
        below = (0, 650, 800, 800)
        self.assertTrue(
            within(5, lambda: self.shot().count(lambda p: p[0] > 200 and p[1] < 90 and p[2] < 90, below) > 20),
            "no red words under the field")
        # The city autosaved as the page goes still reaches the next one.
        b.key("p", code="KeyP", text="p", vk=80)
        self.assertTrue(within(5, lambda: self.pause_label() == "Turn Pause On"))
        b.call("Page.reload")
        b.wait_for("window.verlomba && window.verlomba.firstFrame")
        closed = b.evaluate(AUTOSAVE)
        self.assertNotEqual(closed, hidden)
        self.assertFalse(paused_in(closed))

    def test_7_without_webassembly_the_page_says_so_in_a_line(self):
        b = self.browser
        b.call("Page.addScriptToEvaluateOnNewDocument", source="delete window.WebAssembly")
        b.call("Page.reload")
        note = b.wait_for("document.readyState == 'complete' && document.getElementById('note').textContent")
        self.assertIn("WebAssembly", note)
        self.assertNotIn("\n", note)
        self.assertTrue(b.evaluate("document.getElementById('stage').hidden"))


if __name__ == "__main__":
    FOLDER = os.path.abspath(sys.argv[1])
    unittest.main(argv=sys.argv[:1], verbosity=2)
