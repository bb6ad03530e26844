#!/usr/bin/python3
"""The web page in headless Chromium, used as a player uses it: the shared
table of cases typed in with clicks, Enter and the keyboard alone; the names
and roles a screen reader gets; a reload with the server gone; a phone.

Usage: test_page.py SITE_DIR [unittest arguments, e.g. Page.test_cases]"""

import sys
import unittest

from page import AMBER, CREST, FIELDS, GREEN, RED, TITLE, Browser, Site, read_cases
from selenium.webdriver.common.keys import Keys

SITE = None


class FormTest(unittest.TestCase):
    """A served site and a browser on it, with the steps a player takes."""

    def setUp(self):
        self.site = Site(SITE)
        self.addCleanup(self.site.stop)
        self.browser = Browser()
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
        self.assertEqual([b.field(i).get_property("value") for i in range(5)], [""] * 5)
        self.assertFalse(b.ticked())
        self.assertEqual(b.verdict(), ["", list(AMBER), list(AMBER)])
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
        self.assertEqual([b.field(i).get_property("value") for i in range(5)], texts)

    def assertShows(self, verdict):
        colour = list(GREEN if verdict.endswith("(LOS OK)") else RED)
        self.assertEqual(self.browser.verdict(), [verdict, colour, colour])


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
        for i, (name, texts, crest, verdict) in enumerate(read_cases()):
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
                    self.assertShows(verdict)
                    shown = self.browser.verdict()

    def test_accessibility(self):
        """The names and roles in Chromium's accessibility tree."""
        tree = self.browser.tree()
        named = {(n["role"], n["name"]) for n in tree}
        for caption in FIELDS:
            self.assertIn(("textbox", caption), named)
        self.assertIn(("checkbox", CREST), named)
        self.assertIn(("button", "Calculate"), named)
        self.assertIn(("button", "Clear"), named)
        self.assertEqual(tree[0]["name"], TITLE)
        status = [n for n in tree if n["role"] == "status"]
        self.assertEqual(len(status), 1)
        self.assertEqual(status[0]["properties"].get("live"), "polite")

    def test_views(self):
        """On a desktop view the window sits at (50, 50) at its own size; on
        a phone it fills the width, its controls big enough to tap, and a case
        worked there with taps comes out as on the desktop."""
        b = self.browser
        for view, width, height, scale, phone in (("desktop", 1024, 768, 1, False),
                                                  ("phone", 390, 844, 3, True)):
            with self.subTest(view):
                b.view(width, height, scale, phone)
                b.open(self.site.url)
                left, top, w, h = b.window_box()
                if not phone:
                    self.assertEqual([round(v) for v in (left, top, w, h)], [50, 50, 208, 257])
                    continue
                self.assertAlmostEqual(left, 0, delta=1)
                self.assertAlmostEqual(w, width, delta=1)
                self.assertAlmostEqual(h / w, 257 / 208, delta=0.01)
                self.assertLessEqual(b.js("return document.scrollingElement.scrollWidth"), width)
                for target in [b.field(i) for i in range(5)] + [b.crest()] + [
                        b.button("Calculate"), b.button("Clear")]:
                    self.assertGreaterEqual(target.rect["height"], 24, target.accessible_name)
                for i in range(5):
                    # A keyboard that offers only a decimal comma cannot type "2.5".
                    self.assertNotEqual(b.field(i).get_attribute("inputmode"), "decimal")
                _, texts, crest, verdict = read_cases()[0]
                self.calculate(texts, crest, "click")
                self.assertShows(verdict)


class Offline(FormTest):
    def test_reload_without_server(self):
        """Once opened, the page reloads and works with the server gone."""
        b = self.browser
        b.open(self.site.url)
        b.kept_for_offline()
        self.site.stop()
        b.driver.refresh()
        b.ready()
        self.assertTrue(b.js("return navigator.serviceWorker.controller !== null"))
        for _, texts, crest, verdict in read_cases()[:2]:
            self.calculate(texts, crest, "enter")
            self.assertShows(verdict)


if __name__ == "__main__":
    SITE = sys.argv.pop(1)
    unittest.main()
