#!/usr/bin/python3
"""The web page in a browser engine, used as a player uses it: the shared
table of cases typed in with clicks, Enter and the keyboard alone; the names
and roles a screen reader gets; a reload with the server gone; a phone. The
same tests run in every engine that page.py drives.

Usage: test_page.py SITE_DIR [--engine=chromium|webkit|firefox]
                    [unittest arguments, e.g. Page.test_cases]"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from page import (AMBER, CHROMIUM_FLAGS, CREST, ENGINES, FIELDS, GREEN, NODE_MODULES, RED,
                  TITLE, Site, read_cases)
from selenium.webdriver.common.keys import Keys

SITE = None
ENGINE = ENGINES["chromium"]


class PictureTest(unittest.TestCase):
    def assertPicture(self, tip, verdict):
        """A tooltip's box shows the verdict's working under a picture that
        screen readers skip, with a counter in the verdict's colour, and its
        buttons: "Share" only where the browser shares files, which none of
        the engines here does, and "Which levels see". Returns the picture's
        box in the view and its own size."""
        colour = "rgb(%d, %d, %d)" % (GREEN if verdict.endswith("(LOS OK)") else RED)
        description = " ".join(self.browser.description().split())
        self.assertEqual([" ".join(tip["lines"].split()), tip["buttons"]],
                         [description, ["Copy", "Copy picture", "Save picture", "Which levels see"]])
        self.assertEqual(tip["picture"]["hidden"], "true")
        self.assertIn(colour, tip["picture"]["fills"])
        return tip["picture"]["box"], tip["picture"]["size"]

    def assertFits(self, levels):
        """The table's dialog on a narrow view: modal, over the form, its
        levels, its cells shown as a mark and a number, and its buttons as a
        finger needs them, with no sideways scrolling and no text cut."""
        b = self.browser
        d = b.wait(b.dialog, "the dialog")
        self.assertEqual([d["modal"], len(d["columns"]) - 1, len(d["rows"])], [True, levels, levels])
        self.assertEqual([c[0] for c in d["brief"]], [{"O": "\u2713", "N": "\u2717", "B": "\u25a0"}[c[0]]
                                                      for c in d["cells"]])
        fits, least = b.fits()
        self.assertTrue(fits and least >= 44, least)


class FormTest(PictureTest):
    """A served site and a browser on it, with the steps a player takes."""

    def setUp(self):
        self.site = Site(SITE)
        self.addCleanup(self.site.stop)
        self.browser = ENGINE()
        self.addCleanup(self.browser.quit)

    def tearDown(self):
        # A page that works writes no errors or warnings to its console.
        self.assertEqual(self.browser.errors(), [])

    def clear(self, by_keys=False):
        """Presses "Clear" and checks the fresh form it leaves."""
        b = self.browser
        if by_keys:
            b.keys(Keys.TAB)
            self.assertEqual(b.focused_name(), "Clear")
            b.keys(Keys.SPACE)
        else:
            b.button("Clear").click()
        self.assertEqual(b.texts(), [""] * 5)
        self.assertFalse(b.ticked())
        self.assertEqual(b.verdict(), ["", list(AMBER), list(AMBER)])
        self.assertEqual(b.working(), ["", ""])
        self.assertEqual(b.focused_name(), "Height of Obstacle")

    def calculate(self, texts, crest, how, enter_in=0):
        """Types the five texts, sets the box and presses "Calculate": with
        the mouse, with Enter in field enter_in, or by keyboard alone from a
        fresh form (Tab order top to bottom, space for the box and button)."""
        b = self.browser
        if how == "keys":
            b.chord(Keys.SHIFT, Keys.TAB, Keys.TAB)
            for caption, text in zip(FIELDS, texts):
                self.assertEqual(b.focused_name(), caption)
                b.replace(text)
                b.keys(Keys.TAB)
            self.assertEqual(b.focused_name(), CREST)
            if crest:
                b.keys(Keys.SPACE)
            b.keys(Keys.TAB)
            self.assertEqual(b.focused_name(), "Calculate")
        else:
            for i, text in enumerate(texts):
                b.field(i).click()
                b.replace(text)
            if b.ticked() != crest:
                b.crest().click()
        self.assertEqual(b.ticked(), crest)
        if how == "keys":
            b.keys(Keys.SPACE)
        elif how == "enter":
            b.field(enter_in).click()
            b.keys(Keys.ENTER)
        else:
            b.button("Calculate").click()
        # The fields keep the text exactly as typed.
        self.assertEqual(b.texts(), texts)

    def assertShows(self, verdict, working=""):
        """The verdict in its colour, and its working, holding the table's
        line, as the verdict's tooltip and its description."""
        colour = list(GREEN if verdict.endswith("(LOS OK)") else RED)
        self.assertEqual(self.browser.verdict(), [verdict, colour, colour])
        tip, description = self.browser.working()
        # An engine may read the description's lines as one run of words.
        self.assertEqual(" ".join(description.split()), " ".join(tip.split()))
        self.assertIn(working or "\n", tip.split("\n") if working else tip)


class Page(FormTest):
    def setUp(self):
        super().setUp()
        self.browser.open(self.site.url)

    def test_cases(self):
        """Every case of the shared table. Each row alternates the way it is
        typed in; rows on a fresh form follow "Clear", the others are typed
        over the verdict before, which an unparsable field must leave."""
        shown = ["", list(AMBER), list(AMBER)]
        previous = "click"
        for i, (name, texts, crest, verdict, working) in enumerate(read_cases(working=True)):
            how = ("click", "enter", "keys")[i % 3]
            with self.subTest(name, how=how):
                if how == "keys" or i % 2 == 0:
                    self.clear(by_keys=previous == "keys")
                    shown = ["", list(AMBER), list(AMBER)]
                previous = how
                self.calculate(texts, crest, how, enter_in=i % 5)
                if verdict == "unchanged":
                    self.assertEqual(self.browser.verdict(), shown)
                else:
                    self.assertShows(verdict, working)
                    shown = self.browser.verdict()

    def test_accessibility(self):
        """The names and roles in the engine's accessibility tree: each
        control is found by its own, once, and is the element it names."""
        b = self.browser
        controls = [(caption, "textbox", "input", "text") for caption in FIELDS] + [
            (CREST, "checkbox", "input", "checkbox"),
            ("Calculate", "button", "button", "button"), ("Clear", "button", "button", "button"),
            (TITLE, "heading", "h1", None), (None, "status", "div", None)]
        for name, role, tag, kind in controls:
            with self.subTest(name, role=role):
                element = b.find(name, role)
                self.assertEqual(b.js("const e = arguments[0];"
                                      "return [e.localName, e.type || null]", element), [tag, kind])
        # The verdict is read out when it changes, and only once.
        self.assertEqual(len(b.locate(None, "status")), 1)
        if hasattr(b, "tree"):
            tree = b.tree()
            self.assertEqual(tree[0]["name"], TITLE)
            status = [n for n in tree if n["role"] == "status"]
            self.assertEqual(status[0]["properties"].get("live"), "polite")
        # axe finds nothing, with a verdict and its working shown, but the
        # form's own layout: two fields 23 pixels apart where 24 are asked.
        _, texts, crest, verdict = read_cases()[0]
        self.calculate(texts, crest, "click")
        self.assertEqual(b.audit(), {"target-size": ['input[aria-label="%s"]' % FIELDS[i]
                                                     for i in (2, 3)]})

    def test_views(self):
        """On a desktop view the window sits at (50, 50) at its own size, its
        captions whole in the page's own face, and the verdict's tooltip shows
        its picture at its own size; on a narrow view and on a phone it fills
        the width, its controls big enough to tap, a case worked there comes
        out as on the desktop, and the picture grows with the window."""
        b = self.browser
        for view, width, height, scale, phone in (("desktop", 1024, 768, 1, False),
                                                  ("narrow", 390, 844, 2, False),
                                                  ("phone", 390, 844, 3, True)):
            with self.subTest(view):
                if phone and not b.touch:
                    self.skipTest("no touch screen in " + b.name)
                b.view(width, height, scale, phone)
                b.open(self.site.url)
                # The faces load, and no caption is cut short.
                self.assertEqual(b.js("return [...document.fonts].map(f => f.status)"),
                                 ["loaded"] * 3)
                self.assertEqual(b.js("""
                    return [...document.querySelectorAll('body *')].filter(
                        e => [...e.childNodes].some(n => n.nodeType === 3 && n.data.trim())
                             && !e.closest('[aria-hidden="true"]')
                             && e.scrollWidth > e.clientWidth)
                        .map(e => e.textContent)"""), [])
                left, top, w, h = b.window_box()
                _, texts, crest, verdict = read_cases()[0]
                if view == "desktop":
                    self.assertEqual([round(v) for v in (left, top, w, h)], [50, 50, 208, 257])
                    # The verdict's tooltip, and its panel's, at the screen's
                    # scale and at twice it, where the engine can: the picture
                    # at its own size in CSS pixels, in four times the pixels.
                    self.calculate(texts, crest, "click")
                    panel = b.js("return arguments[0].parentElement", b.result())
                    self.assertEqual(b.tip(panel, -92, -12), b.tip())
                    pixels = []
                    for scale in (1, 2):
                        b.view(width, height, scale)
                        if b.js("return devicePixelRatio") != scale:
                            self.skipTest("%s draws at its screen's scale alone" % b.name)
                        box, size = self.assertPicture(b.tip(), verdict)
                        self.assertEqual([round(v) for v in box[2:]], size)
                        pixels.append(b.pixels(box, GREEN))
                    self.assertTrue(len(pixels) == 2 and pixels[0] and 3.6 < pixels[1] / pixels[0] < 4.4,
                                    pixels)
                    continue
                # A browser's window may not narrow that far: the width it has.
                width = b.js("return innerWidth")
                self.assertLess(width, 480)
                self.assertAlmostEqual(left, 0, delta=0.5)
                self.assertAlmostEqual(top, 0, delta=0.5)
                self.assertAlmostEqual(w, width, delta=0.5)
                self.assertAlmostEqual(h / w, 257 / 208, delta=0.01)
                self.assertLessEqual(b.js("return document.scrollingElement.scrollWidth"), width)
                for name, target in [(FIELDS[i], b.field(i)) for i in range(5)] + [
                        (CREST, b.crest()), ("Calculate", b.button("Calculate")),
                        ("Clear", b.button("Clear"))]:
                    self.assertGreaterEqual(target.rect["height"], 24, name)
                for i in range(5):
                    # A keyboard that offers only a decimal comma cannot type "2.5".
                    self.assertNotEqual(b.field(i).get_attribute("inputmode"), "decimal")
                self.calculate(texts, crest, "click")
                self.assertShows(verdict)
                # The picture grows with the window, as wide as the view allows.
                box, size = self.assertPicture(b.tip(), verdict)
                self.assertTrue(size[0] < box[2] <= width, box)

    # Links, and the fields' texts and box they open with, and no verdict.
    LINKS = (
        ("%3Cb%3E,3,1,4,0", ["<b>", "3", "1", "4", "0"], False),
        ("2,3,1,2%2C5,0,crest", ["2", "3", "1", "2,5", "0"], True),
        ("2,3,1,4,0,cliff", [""] * 5, False),
    )

    def test_copy(self):
        """"Copy" in the verdict's tooltip puts the verdict, its working and a
        link to it on the clipboard, through the clipboard's interface or, that
        refused, as a keyboard's copy would; the focus stays. The link opens
        the same sighting, verdict, working and picture in a fresh page, and a
        new one in the open page; texts that are no numbers fill the form as
        plain text, with no verdict; a fragment of another form opens none."""
        b = self.browser
        cases = {case[0]: case[1:] for case in read_cases()}
        texts, crest, verdict = cases["blanks and exponent"]
        self.calculate(texts, crest, "click")
        shown = lambda: [b.verdict()[0], b.tip()["lines"],
                         b.js("return document.querySelector('.q-tip svg').outerHTML")]
        before, copied = shown(), []
        for refused in (False, True):
            b.js("if (arguments[0]) navigator.clipboard.writeText = () => Promise.reject()", refused)
            b.tip()
            b.wait(lambda: b.find("Copy", "button", missing_ok=True), '"Copy"').click()
            b.wait(lambda: b.find("Copied", "button", missing_ok=True), '"Copied"')
            self.assertEqual(b.focused_name(), "Calculate")
            copied.append(b.clipboard())
        link = self.site.url + "#%202%20,3e0,1,4,-0"
        self.assertEqual(copied, ["\n".join(before[:2] + [link])] * 2)
        # The Copy key copies a field's selection as ever, and the same as
        # "Copy" where nothing is selected, in a field or in the page.
        b.field(0).click()
        b.chord(Keys.CONTROL, "a", "c")
        keyed = [b.clipboard()]
        b.field(1).click()
        b.chord(Keys.CONTROL, "c")
        keyed.append(b.clipboard())
        self.assertEqual(keyed, [texts[0], copied[0]])
        # The keyboard's way into the verdict's box: Shift+F10 opens it with
        # its first button focused; the arrows, End, Tab and Home walk its
        # buttons; Enter presses one; Escape closes it, the focus back in its
        # field. Then the Copy key with the focus on the page itself.
        b.field(0).click()
        b.chord(Keys.CONTROL, "a", "c")  # something else on the clipboard
        b.field(3).click()
        b.chord(Keys.SHIFT, Keys.F10)
        walked = [b.js("return document.activeElement.textContent")]
        for key in (Keys.ARROW_RIGHT, Keys.END, Keys.TAB, Keys.ARROW_LEFT, Keys.HOME):
            b.keys(key)
            walked.append(b.js("return document.activeElement.textContent"))
        self.assertEqual(walked, ["Copy", "Copy picture", "Which levels see", "Copy", "Which levels see",
                                  "Copy"])
        b.keys(Keys.ENTER)
        b.wait(lambda: b.find("Copied", "button", missing_ok=True), '"Copied"')
        b.keys(Keys.ESCAPE)
        self.assertEqual([b.focused_name(), b.shown()], [FIELDS[3], None])
        keyed = [b.clipboard()]
        b.field(0).click()
        b.chord(Keys.CONTROL, "a", "c")
        b.js("document.activeElement.blur()")
        b.chord(Keys.CONTROL, "c")
        keyed.append(b.clipboard())
        self.assertEqual(keyed, [copied[0]] * 2)
        b.navigate("about:blank")
        b.open(link)
        self.assertEqual([b.texts(), b.ticked(), shown()], [texts, crest, before])
        texts, crest, verdict = cases["crest raised to 0"]
        b.js("window.__same = true; location.hash = '3,9,0,2,0,crest'")
        b.wait(lambda: b.verdict()[0] == verdict, "the link's verdict")
        self.assertEqual([b.texts(), b.ticked(), b.js("return window.__same")], [texts, crest, True])
        # One whose texts are no numbers takes that verdict away: no box, and
        # the Copy key leaves the clipboard as it was.
        b.js("location.hash = '3,x,0,2,0'")
        b.wait(lambda: b.verdict() == ["", list(AMBER), list(AMBER)], "the verdict to go")
        self.assertIsNone(b.tip())
        b.chord(Keys.CONTROL, "c")
        self.assertEqual(b.clipboard(), copied[0])
        for fragment, texts, crest in self.LINKS:
            with self.subTest(fragment):
                b.navigate("about:blank")
                b.open(self.site.url + "#" + fragment)
                self.assertEqual([b.texts(), b.ticked(), b.verdict()[0],
                                  b.js("return !!document.querySelector('b')")],
                                 [texts, crest, "", False])

    def test_picture(self):
        """The sighting's image from the verdict's tooltip, as a PNG at twice
        the picture's size, 480 pixels wide at the least, its band in the
        verdict's green: shared with the verdict, its working and the link
        where the browser shares files (a stand-in here, which keeps what it
        is given), saved under the sighting's name, and copied."""
        b = self.browser
        b.js("window.__shared = []; navigator.canShare = () => true;"
             "navigator.share = data => { __shared.push(data); return Promise.resolve(); };"
             "location.hash = '2,3,1,4,0'")
        b.wait(lambda: b.verdict()[0], "the verdict")
        # A style sheet from another origin, which the page may not read, and
        # a PNG that fails once as the box opens: the buttons work all the same.
        b.js("const s = document.createElement('link'); s.rel = 'stylesheet';"
             "s.href = arguments[0]; document.head.append(s);"
             "const made = HTMLCanvasElement.prototype.toBlob;"
             "HTMLCanvasElement.prototype.toBlob = function (done) {"
             "  HTMLCanvasElement.prototype.toBlob = made; done(null); };",
             self.site.url.replace("127.0.0.1", "localhost") + "blank.css")
        b.wait(lambda: b.js("return document.styleSheets.length") == 2, "the other style sheet")
        tip = b.tip()
        self.assertEqual(tip["buttons"], ["Copy", "Copy picture", "Save picture", "Share", "Which levels see"])
        b.find("Share", "button").click()
        self.assertEqual(b.wait(lambda: b.js("return __shared.map(d => [d.files.map(f => [f.name, f.type]),"
                                             "d.text, d.url])"), "the share"),
                         [[[["sighting 2,3,1,4,0.png", "image/png"]], b.verdict()[0] + "\n" + tip["lines"],
                           self.site.url + "#2,3,1,4,0"]])
        image = b.png("return __shared[0].files[0]")
        self.assertTrue(image[0] == "PNG" and image[1] == 480 and image[3], image)
        if b.name == "chromium":
            folder = tempfile.mkdtemp(prefix="quorvel-saved-")
            self.addCleanup(shutil.rmtree, folder, True)
            b.cdp("Browser.setDownloadBehavior", behavior="allow", downloadPath=folder)
        else:  # the link the page clicks, kept where the driver has no downloads
            b.js("HTMLAnchorElement.prototype.click = function () { window.__saved = this; }")
        b.find("Save picture", "button").click()
        if b.name == "chromium":
            saved = b.wait(lambda: [n for n in os.listdir(folder) if n.endswith(".png")], "the download")
            with open(os.path.join(folder, saved[0]), "rb") as f:
                saved.append(f.read(4)[1:].decode())
        else:
            saved = b.wait(lambda: b.js("return window.__saved && [__saved.download]"), "the download")
            saved.append(b.png("return __saved.href")[0])
        self.assertEqual(saved, ["sighting 2,3,1,4,0.png", "PNG"])
        if b.name != "firefox":  # Firefox's headless clipboard holds text alone
            b.find("Copy picture", "button").click()
            b.wait(lambda: b.find("Copied", "button", missing_ok=True), '"Copied"')
            self.assertEqual(b.clipboard(image=True), image)
        # The program's raster scale at a screen's scale of 2.25: three times
        # the picture's pixels, as on the desktops.
        b.view(800, 600, 2.25)
        if b.js("return devicePixelRatio") != 2.25:
            self.skipTest("%s draws at its screen's scale alone" % b.name)
        b.tip()
        b.find("Share", "button").click()
        b.wait(lambda: b.js("return __shared.length > 1"), "the share")
        self.assertEqual(b.png("return __shared[1].files[0]")[1:3], [720, image[2] * 3 // 2])

    def test_levels(self):
        """"Which levels see" in the verdict's box opens the table's dialog
        beside the form, not over it and not modal, the focus in its table:
        each cell as the table's text has it, in its verdict's colour, the
        sighting's own bold and framed. The Copy key in it and "Copy" give
        that text, ending with the link to the table; "Copy picture" the
        table's image (where the engine's clipboard holds one), and "Share"
        (through a stand-in) the image named after the table with that text
        and link. Each
        Calculate refills it; "Clear" empties it, its buttons but "Close"
        then disabled; Escape closes it, the focus back where it was. A link
        ending in ",levels" opens it, in an open page and on a first load;
        one whose texts are no numbers opens none. On a narrow view it is
        modal, and a table of 13 levels fits the width."""
        b = self.browser
        b.view(1024, 768)
        b.js("window.__shared = []; navigator.canShare = () => true;"
             "navigator.share = data => { __shared.push(data); return Promise.resolve(); };"
             "location.hash = '2,3,1,4,0'")
        b.wait(lambda: b.verdict()[0], "the verdict")
        b.field(0).click()
        b.tip()
        b.find("Which levels see", "button").click()
        d = b.wait(b.dialog, "the dialog")
        left, top, width, _ = b.window_box()
        self.assertEqual([d["modal"], d["title"], d["focus"], d["box"][0] >= left + width, d["box"][1]],
                         [False, "Which Levels See", "table", True, top])
        self.assertEqual(b.audit(), {"target-size": ['input[aria-label="%s"]' % FIELDS[i] for i in (2, 3)]})
        b.chord(Keys.CONTROL, "c")
        text = b.clipboard()
        lines = text.split("\n")
        grid = [line.split("\t") for line in lines[1:2 + len(d["rows"])]]
        words = [w for row in grid[1:] for w in row[1:]]
        self.assertEqual([lines[0], lines[-1], grid[0][1:], [row[0] for row in grid[1:]]],
                         ["Which levels see: o" + d["heading"][1:], self.site.url + "#2,3,1,4,0,levels",
                          d["columns"][1:], [r.split()[-1] for r in d["rows"]]])
        self.assertEqual([words, [i for i, w in enumerate(words) if w[-1] == "*"]],
                         [d["cells"], d["marked"][:1]])
        self.assertEqual(d["colours"], ["rgb(%d, %d, %d)" % (GREEN if w.startswith("OK") else RED)
                                        for w in words])
        self.assertEqual(d["marked"][1:], ["700", True])
        b.find("Copy", "button").click()
        b.wait(lambda: b.dialog()["buttons"][0][0] == "Copied", '"Copied"')
        self.assertEqual(b.clipboard(), text)
        if b.name != "firefox":
            b.find("Copy picture", "button").click()
            b.wait(lambda: b.dialog()["buttons"][1][0] == "Copied", '"Copied"')
            image = b.clipboard(image=True)
            self.assertTrue(image[0] == "PNG" and image[1] > 480 and image[3], image)  # not the verdict's
        b.find("Share", "button").click()
        shared = b.wait(lambda: b.js("return __shared.map(d => [d.files[0].name, d.text, d.url])"), "the share")
        self.assertEqual(shared, [["levels 3,1,4.png", text.rsplit("\n", 1)[0], lines[-1]]])
        # The form goes on being worked beside it.
        b.field(2).click()
        b.replace("2")
        b.keys(Keys.ENTER)
        self.assertTrue(b.wait(b.dialog, "the dialog")["heading"].startswith("Obstacle height 2,"))
        b.button("Clear").click()
        d = b.dialog()
        self.assertEqual([d["rows"], d["lines"], d["buttons"]], [
            [], "No sighting on the form: type one and press Calculate.",
            [["Copy", True], ["Copy picture", True], ["Save picture", True], ["Share", True], ["Close", False]]])
        b.js("return document.querySelector('dialog .q-lines')").click()  # the focus to the dialog
        b.keys(Keys.ESCAPE)
        self.assertEqual([b.dialog(), b.focused_name()], [None, FIELDS[0]])
        # Links: to the table in the open page; one with no numbers opens
        # nothing; then the same on a first load.
        for load in (False, True):
            for fragment, opens in (("3,9,0,2,0,crest,levels", True), ("3,x,0,2,0,levels", False)):
                with self.subTest(fragment, load=load):
                    if load:
                        b.navigate("about:blank")
                        b.open(self.site.url + "#" + fragment)
                    else:
                        b.js("location.hash = arguments[0]", fragment)
                        b.wait(lambda: b.texts()[1] == fragment.split(",")[1], "the link's texts")
                    d = b.wait(b.dialog, "the dialog") if opens else b.dialog()
                    self.assertEqual(bool(b.verdict()[0]), opens)
                    self.assertEqual(d["heading"] if d else None,
                                     "Obstacle height 0, range 9 from the firer and 2 on to the target, "
                                     "a non-Cliff Crest Line" if opens else None)
                    if d:
                        b.find("Close", "button").click()
        b.view(390, 844, 2)
        if b.js("return innerWidth") >= 480:
            self.skipTest("%s's window does not narrow that far" % b.name)
        b.js("location.hash = '12,9,0,2,0,levels'")
        self.assertFits(13)


class Offline(FormTest):
    def test_reload_without_server(self):
        """Once opened, the page reloads and works with the server gone."""
        b = self.browser
        b.open(self.site.url)
        b.kept_for_offline()
        self.site.stop()
        b.reload()
        self.assertTrue(b.js("return navigator.serviceWorker.controller !== null"))
        for _, texts, crest, verdict in read_cases()[:2]:
            self.calculate(texts, crest, "enter")
            self.assertShows(verdict)


class Lighthouse(unittest.TestCase):
    def test_phone(self):
        """Lighthouse on a phone's first visit, keypad shown: accessibility
        scores 100. The other scores are printed."""
        site = Site(SITE)
        self.addCleanup(site.stop)
        with tempfile.TemporaryDirectory(prefix="quorvel-lighthouse-") as home:
            report = os.path.join(home, "report.json")
            subprocess.run(["node", str(NODE_MODULES / "lighthouse" / "cli" / "index.js"),
                            site.url, "--quiet", "--output=json", "--output-path=" + report,
                            "--chrome-flags=" + " ".join(CHROMIUM_FLAGS)], check=True,
                           env=dict(os.environ, HOME=home, CHROME_PATH="/usr/bin/chromium"))
            with open(report, encoding="utf-8") as f:
                result = json.load(f)
        print("Lighthouse, phone:", {k: c["score"] for k, c in result["categories"].items()},
              file=sys.stderr)
        self.assertEqual(result["categories"]["accessibility"]["score"], 1,
                         [k for k, a in result["audits"].items() if a["score"] == 0])


class Keypad(PictureTest):
    """The page's own keypad, in Chromium's touch emulation: a phone upright
    and on its side, every key tapped with a finger; none on a desktop. One
    browser for the whole class."""

    UPRIGHT, SIDE, DESKTOP = (390, 844), (844, 390), (1024, 768)
    NAMES = (*"0123456789", "minus", "point", "delete", "next field")
    TYPES = {**{d: d for d in "0123456789"}, "-": "minus", ".": "point"}
    WORKED = ("2", "3", "1", "4", "0")

    @classmethod
    def setUpClass(cls):
        cls.site = Site(SITE)
        try:
            cls.browser = ENGINES["chromium"]()  # the engine with touch emulation
        except Exception:
            cls.site.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        try:
            cls.browser.quit()
        finally:
            cls.site.stop()

    def tearDown(self):
        self.assertEqual(self.browser.errors(), [])

    def show(self, size, phone=True):
        """Opens the page in a view of that size, finds the keys, and counts
        the page's clicks, one for each tap, so that a tap can be waited for."""
        b = self.browser
        b.view(*size, 2, phone)
        b.open(self.site.url)
        b.js("window.__clicks = 0; addEventListener('click', () => window.__clicks++, true);")
        self.pad = {n["name"]: b.element(n["dom"]) for n in b.tree()
                     if n["role"] == "button" and n["dom"] and n["name"] in self.NAMES}

    def touch(self, kind, element=None):
        """A finger put down on the middle of element, or lifted."""
        points = []
        if element is not None:
            x, y = self.browser.js("const r = arguments[0].getBoundingClientRect();"
                                   "return [r.x + r.width / 2, r.y + r.height / 2];", element)
            points = [{"x": x, "y": y}]
        self.browser.cdp("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def tap(self, element):
        b = self.browser
        clicks = b.js("return window.__clicks")
        self.touch("touchStart", element)
        self.touch("touchEnd")
        # The click follows the lifted finger: waited for in the page.
        b.js("const clicks = arguments[0]; return new Promise(done => (function check() {"
             "  if (window.__clicks > clicks) done(true); else setTimeout(check, 5);"
             "})())", clicks)

    def focused(self):
        """The index of the field that has the focus, or None."""
        index = self.browser.js("return [...document.querySelectorAll('input')]"
                                ".filter(e => e.type === 'text').indexOf(document.activeElement)")
        return None if index < 0 else index

    def box(self, element):
        return self.browser.js("const r = arguments[0].getBoundingClientRect();"
                               "return [r.left, r.top, r.right, r.bottom];", element)

    def enter(self, texts, crest):
        """A case entered on the keypad alone after "Clear": a tap on the box
        if it is to be ticked, else on the title strip, leaves no field
        focused; then the texts, each followed by "Next", the last of which
        calculates."""
        b = self.browser
        self.tap(b.button("Clear"))
        self.tap(b.crest() if crest else b.find(TITLE, "heading"))
        self.assertIsNone(self.focused())
        if not texts[0]:
            self.tap(self.pad["next field"])  # from no field, "Next" goes to the first
        for text in texts:
            for c in text:
                self.tap(self.pad[self.TYPES[c]])
            self.tap(self.pad["next field"])

    def test_cases(self):
        """Every case of the shared table that the keys can type, entered with
        taps alone upright; on the side, the worked example and the first
        cases with a minus, a point and the box ticked. The window, result
        panel included, stays in full view beside the keypad, never under it."""
        cases = [c for c in read_cases() if set("".join(c[1])) <= set(self.TYPES)]
        side = [next(c for c in cases if c[1] == list(self.WORKED))]
        self.assertEqual(side[0][3], "1 Blind Hexes  F>T (LOS OK)")
        for kind in (lambda c: "-" in "".join(c[1]), lambda c: "." in "".join(c[1]),
                     lambda c: c[2]):
            side.append(next(c for c in cases if kind(c)))
        b = self.browser
        for size, cases in ((self.UPRIGHT, cases), (self.SIDE, side)):
            self.show(size)
            width, height = size
            left, top, w, h = b.window_box()
            window = [left, top, left + w, top + h]
            keypad = self.box(b.find("Keypad", "group"))
            with self.subTest(size, check="layout"):
                for edges in (window, keypad):
                    self.assertGreaterEqual(min(edges[0], edges[1]), -0.5)
                    self.assertLessEqual(edges[2], width + 0.5)
                    self.assertLessEqual(edges[3], height + 0.5)
                if width < height:
                    # Upright: the window fills the width at the top, the keys below it.
                    self.assertEqual([round(v) for v in window[:3]], [0, 0, width])
                    self.assertGreaterEqual(keypad[1], window[3] - 0.5)
                    self.assertAlmostEqual(keypad[3], height, delta=0.5)
                else:
                    # On its side: the window fills the height, the keys beside it.
                    self.assertEqual([round(window[1]), round(window[3])], [0, height])
                    self.assertGreaterEqual(keypad[0], window[2] - 0.5)
                    self.assertAlmostEqual(keypad[2], width, delta=0.5)
            for name, texts, crest, verdict in cases:
                with self.subTest(size, case=name):
                    self.enter(texts, crest)
                    self.assertEqual(b.ticked(), crest)
                    self.assertEqual([b.field(i).get_property("value") for i in range(5)], texts)
                    self.assertEqual(self.focused(), 4)
                    if verdict == "unchanged":
                        self.assertEqual(b.verdict(), ["", list(AMBER), list(AMBER)])
                    else:
                        colour = list(GREEN if verdict.endswith("(LOS OK)") else RED)
                        self.assertEqual(b.verdict(), [verdict, colour, colour])

    def test_keys(self):
        """Each key has its name, is at least 48 CSS pixels each way, and
        cannot take the focus; the fields ask for no keyboard of the
        browser's, while a hardware keyboard still types. A desktop view has
        no keypad and keeps the fields' keyboard hint."""
        b = self.browser
        for size, phone in ((self.UPRIGHT, True), (self.SIDE, True), (self.DESKTOP, False)):
            with self.subTest(size, phone=phone):
                self.show(size, phone)
                modes = [b.field(i).get_attribute("inputmode") for i in range(5)]
                if not phone:
                    self.assertEqual(self.pad, {})
                    self.assertIsNone(b.find("Keypad", "group", missing_ok=True))
                    self.assertEqual(modes, ["text"] * 5)
                    continue
                self.assertEqual(modes, ["none"] * 5)
                self.assertEqual(sorted(self.pad), sorted(self.NAMES))
                for name, key in self.pad.items():
                    left, top, right, bottom = self.box(key)
                    self.assertGreaterEqual(min(right - left, bottom - top), 48, name)
                    self.assertTrue(0 <= left and 0 <= top and right <= size[0]
                                    and bottom <= size[1], name)
                    self.assertLess(key.get_property("tabIndex"), 0, name)
                b.field(2).click()
                b.keys("-1.5")
                self.assertEqual(b.field(2).get_property("value"), "-1.5")
                self.assertEqual(self.focused(), 2)
        # A view that turns coarse or fine with the page open, as a tablet
        # given a mouse, changes the fields' hint with it.
        for size, phone, mode in ((self.UPRIGHT, True, "none"), (self.DESKTOP, False, "text")):
            b.view(*size, 2, phone)
            b.wait(lambda: {b.field(i).get_attribute("inputmode") for i in range(5)} == {mode},
                   "the fields' hint to be " + mode)

    def test_levels(self):
        """On a phone upright, a table of 13 levels from a link fits the
        screen's width over the form, as a modal dialog, with nothing for
        axe; Escape closes it."""
        b = self.browser
        self.show(self.UPRIGHT)
        b.js("location.hash = '12,9,0,2,0,levels'")
        self.assertFits(13)
        self.assertEqual(b.audit(), {})
        b.keys(Keys.ESCAPE)
        self.assertIsNone(b.dialog())

    def test_working(self):
        """A tap on the verdict shows its working in a box above the result
        panel, inside the window and clear of the keys, in the page's face,
        under its picture, which fits the box, and its buttons, each a
        finger's target inside it; a tap on "Copy" puts the verdict on the
        clipboard and leaves the focus where it was; the next tap anywhere
        else closes it, one on the verdict included. A click, which is no
        tap, opens no box, nor does a tap once a link whose texts are no
        numbers has taken the verdict away. Upright and on the side."""
        b = self.browser
        shown = "const t = document.querySelector('.q-tip'); return t.matches(':popover-open') && t"
        for size in (self.UPRIGHT, self.SIDE):
            with self.subTest(size):
                self.show(size)
                self.enter(self.WORKED, False)
                line = b.result()
                self.tap(line)
                tip = b.js(shown)
                self.assertEqual(b.js("return getComputedStyle(arguments[0]).fontFamily", tip)
                                 .split(",")[0], '"Quorvel Dialog"')
                left, top, right, bottom = self.box(tip)
                picture, _ = self.assertPicture(b.shown(), "1 Blind Hexes  F>T (LOS OK)")
                self.assertTrue(left < picture[0] and picture[0] + picture[2] < right, picture)
                for name in b.shown()["buttons"]:
                    edges = self.box(b.find(name, "button"))
                    self.assertTrue(left < edges[0] and edges[2] < right and top < edges[1]
                                    and edges[3] < bottom and edges[3] - edges[1] >= 44, name)
                x, y, w, h = b.window_box()
                keys = self.box(b.find("Keypad", "group"))
                self.assertTrue(x <= left and right <= x + w and y <= top, (x, y, w, h))
                self.assertTrue(bottom <= self.box(line)[1] and
                                (right <= keys[0] or bottom <= keys[1]), keys)
                if size == self.UPRIGHT:
                    self.assertEqual(b.audit(), {})  # nothing for axe, box and keypad shown
                    before = b.js("return document.activeElement")
                    self.tap(b.find("Copy", "button"))
                    b.wait(lambda: b.find("Copied", "button", missing_ok=True), '"Copied"')
                    self.assertEqual([b.js("return document.activeElement"), b.clipboard()], [
                        before, "\n".join([b.verdict()[0], b.shown()["lines"], self.site.url + "#2,3,1,4,0"])])
                for taps in ([b.find(TITLE, "heading")], [line, line]):
                    for element in taps:
                        self.tap(element)
                    self.assertFalse(b.js(shown))
                line.click()
                time.sleep(0.6)  # nor does the mouse's tooltip open after a click
                self.assertFalse(b.js(shown))
                b.js("location.hash = '2,3,x,4,0'")
                b.wait(lambda: not b.verdict()[0], "the verdict to go")
                self.tap(line)
                self.assertFalse(b.js(shown))

    # A key in a focused field: its text before and after, "|" the caret and
    # "[...]" the selection. The text stays as typed, blanks included.
    EDITS = (
        ("12|", "3", "123|"),
        ("|12", "minus", "-|12"),
        ("1|2", "point", "1.|2"),
        ("[123]", "4", "4|"),
        ("1[2]3", "0", "10|3"),
        ("1[23]", "delete", "1|"),
        ("12|3", "delete", "1|3"),
        ("|12", "delete", "|12"),
        ("|", "delete", "|"),
        (" 2 |", "5", " 2 5|"),
        ("2e|", "minus", "2e-|"),
    )
    # Where a key leaves the focus, from the worked example's texts with the
    # caret after each: the field focused before (None: none), the key, the
    # field focused after and its text. With no field focused, what the keys
    # type goes into the first; "Next" walks the fields as Tab does, each
    # text selected, and after the last one calculates.
    MOVES = (
        (None, "7", 0, "27|"),
        (None, "point", 0, "2.|"),
        (None, "delete", None, None),
        (None, "next field", 0, "[2]"),
        (0, "next field", 1, "[3]"),
        (3, "next field", 4, "[0]"),
        (4, "next field", 4, "0|"),
    )

    @staticmethod
    def parse(marked):
        text = marked.replace("|", "").replace("[", "").replace("]", "")
        if "|" in marked:
            return text, marked.index("|"), marked.index("|")
        return text, marked.index("["), marked.index("]") - 1

    def put(self, index, marked):
        """Gives field index its text and selection, and the focus, counting
        the input events it then fires."""
        text, start, end = self.parse(marked)
        self.browser.js("const f = arguments[0]; f.focus(); f.value = arguments[1];"
                        "f.setSelectionRange(arguments[2], arguments[3]); f.__inputs = 0;"
                        "f.oninput = () => f.__inputs++;", self.browser.field(index),
                        text, start, end)

    def state(self, index):
        """Field index's text marked as in the tables, and its input events."""
        text, start, end, inputs = self.browser.js(
            "const f = arguments[0];"
            "return [f.value, f.selectionStart, f.selectionEnd, f.__inputs];",
            self.browser.field(index))
        if start == end:
            return text[:start] + "|" + text[start:], inputs
        return text[:start] + "[" + text[start:end] + "]" + text[end:], inputs

    def test_caret(self):
        """A key types at the caret over the selection, or deletes as
        Backspace does, with one input event for a change, as typing gives;
        and the keys' moves of the focus."""
        b = self.browser
        self.show(self.UPRIGHT)
        for before, key, after in self.EDITS:
            with self.subTest(before=before, key=key):
                self.put(1, before)
                self.tap(self.pad[key])
                self.assertEqual(self.state(1), (after, int(after != before)))
                self.assertEqual(self.focused(), 1)
        for start, key, end, after in self.MOVES:
            with self.subTest(start=start, key=key):
                for i, text in enumerate(self.WORKED):
                    self.put(i, text + "|")
                if start is None:
                    self.tap(b.find(TITLE, "heading"))
                else:
                    self.put(start, self.WORKED[start] + "|")
                self.assertEqual(self.focused(), start)
                self.assertEqual(b.verdict()[0], "")
                self.tap(self.pad[key])
                self.assertEqual(self.focused(), end)
                if end is not None:
                    self.assertEqual(self.state(end)[0], after)
        self.assertEqual(b.verdict()[0], "1 Blind Hexes  F>T (LOS OK)")
        # Delete held down deletes one character after another.
        self.put(0, "12345|")
        self.touch("touchStart", self.pad["delete"])
        b.wait(lambda: b.field(0).get_property("value") == "", "delete to repeat")
        self.touch("touchEnd")
        self.tap(self.pad["9"])
        self.assertEqual(self.state(0)[0], "9|")


if __name__ == "__main__":
    SITE = sys.argv.pop(1)
    if len(sys.argv) > 1 and sys.argv[1].startswith("--engine="):
        ENGINE = ENGINES[sys.argv.pop(1).split("=", 1)[1]]
    unittest.main()
