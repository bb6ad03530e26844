"""The web page in Debian's headless Chromium, for its tests, its benchmark and
its screenshots: the built site served on 127.0.0.1 as a static host serves
it, the browser under chromedriver, and the form's controls found by the
names and roles in the accessibility tree that Chromium builds, as a screen
reader finds them."""

import functools
import http.server
import importlib.machinery
import importlib.util
import io
import os
import shutil
import sys
import tempfile
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

TITLE = "Quorvel v1.2"
FIELDS = ("Height of Firer", "Range of Firer to Obstacle", "Height of Obstacle",
          "Range of Obstacle to Target", "Height of Target")
CREST = "Obstacle is a non-Cliff Crest Line"
AMBER, GREEN, RED = (252, 192, 64), (128, 255, 128), (255, 32, 32)
CASES = Path(__file__).resolve().parent.parent / "cases.tsv"


def read_cases(path=CASES):
    """The shared table: (name, five field texts, crest ticked, verdict)."""
    cases = []
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        if line.startswith("#") or not line:
            continue
        name, *fields, crest, verdict = line.split("\t")
        assert len(fields) == 5 and crest in ("ticked", "not"), line
        cases.append((name, fields, crest == "ticked", verdict))
    return cases


def _static_host():
    """The request handler of scripts/serve, which serves the site as a static
    host does: media types, text compressed with gzip, revalidation."""
    path = str(Path(__file__).resolve().parents[2] / "scripts" / "serve")
    loader = importlib.machinery.SourceFileLoader("serve", path)
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader("serve", loader))
    loader.exec_module(module)
    return module.Handler


class Site:
    """Serves a folder on 127.0.0.1 at a free port, as scripts/serve does, and
    counts the bytes it sends. /blank.html is an empty page, for comparison."""

    BLANK = b"<!doctype html><html lang=en><title>blank</title></html>"

    def __init__(self, root):
        site = self
        self.sent = []  # (path, bytes on the wire, headers included)

        class Handler(_static_host()):
            def setup(self):
                super().setup()
                self.wfile = _Counting(self.wfile)

            def finish(self):
                super().finish()
                site.sent.append((getattr(self, "path", None), self.wfile.count))

            def send_head(self):
                if self.path != "/blank.html":
                    return super().send_head()
                self.send_response(200)
                self.send_header("Content-Type", "text/html")
                self.send_header("Content-Length", str(len(site.BLANK)))
                self.end_headers()
                return io.BytesIO(site.BLANK)

        self.server = _Server(("127.0.0.1", 0), functools.partial(Handler, directory=str(root)))
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        """Stops serving: from now on a request to the port is refused."""
        if self.thread:
            self.server.shutdown()
            self.server.server_close()
            self.thread = None


class _Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)  # a browser that hangs up is no error


class _Counting:
    def __init__(self, raw):
        self.raw, self.count = raw, 0

    def write(self, data):
        self.count += len(data)
        return self.raw.write(data)

    def __getattr__(self, name):
        return getattr(self.raw, name)


class Browser:
    """Headless Chromium from Debian with a throw-away profile and home."""

    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="quorvel-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                     "--user-data-dir=" + os.path.join(self.home, "profile"),
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--disable-quic",
                     "--disable-gpu", "--hide-scrollbars", "--lang=en-US"):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        env = dict(os.environ, HOME=self.home)
        try:
            self.driver = webdriver.Chrome(
                service=Service("/usr/bin/chromedriver", env=env), options=options)
        except Exception:
            shutil.rmtree(self.home, ignore_errors=True)
            raise
        self.driver.set_script_timeout(10)
        self.view(800, 600)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.home, ignore_errors=True)

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def view(self, width, height, scale=1, phone=False):
        """The viewport in CSS pixels; a phone is a mobile, touch view."""
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=scale, mobile=phone)
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=phone, maxTouchPoints=5)

    def open(self, url):
        """Loads the page and waits until every field of the form can be typed in."""
        self.driver.get(url)
        self.ready()

    def ready(self):
        self.wait(lambda: all(self.find(name, "textbox", missing_ok=True) for name in FIELDS),
                  "the form's fields")

    def kept_for_offline(self):
        """Waits until the page's service worker is active: it has kept
        every file of the site."""
        self.wait(lambda: self.js("return navigator.serviceWorker.getRegistration()"
                                  ".then(r => !!(r && r.active))"),
                  "the service worker to keep the site")

    def errors(self):
        """What the page wrote to its console as errors or warnings."""
        return [e["message"] for e in self.driver.get_log("browser")
                if e["level"] in ("SEVERE", "WARNING")]

    @staticmethod
    def wait(condition, what, timeout=10):
        end = time.monotonic() + timeout
        while True:
            result = condition()
            if result:
                return result
            if time.monotonic() > end:
                raise AssertionError("timed out waiting for " + what)
            time.sleep(0.05)

    # The accessibility tree.

    def tree(self):
        """The page's accessibility nodes that are not ignored: role, name,
        their properties as a dict, and the DOM node behind them."""
        nodes = []
        for node in self.cdp("Accessibility.getFullAXTree")["nodes"]:
            if node.get("ignored"):
                continue
            nodes.append({"role": node.get("role", {}).get("value"),
                          "name": node.get("name", {}).get("value", ""),
                          "properties": {p["name"]: p["value"].get("value")
                                         for p in node.get("properties", [])},
                          "dom": node.get("backendDOMNodeId")})
        return nodes

    def find(self, name=None, role=None, missing_ok=False):
        """The element a screen reader knows by that name and role."""
        hits = [n for n in self.tree() if (name is None or n["name"] == name)
                and (role is None or n["role"] == role) and n["dom"]]
        if not hits:
            if missing_ok:
                return None
            raise AssertionError("no %s named %r in the accessibility tree" % (role, name))
        assert len(hits) == 1, "%d nodes %s %r" % (len(hits), role, name)
        return self.element(hits[0]["dom"])

    def element(self, backend_node_id):
        obj = self.cdp("DOM.resolveNode", backendNodeId=backend_node_id)["object"]["objectId"]
        self.cdp("Runtime.callFunctionOn", objectId=obj,
                 functionDeclaration="function() { window.__found = this; }")
        return self.js("const e = window.__found; delete window.__found; return e;")

    # The form, as a player uses it.

    def field(self, index):
        return self.find(FIELDS[index], "textbox")

    def button(self, label):
        return self.find(label, "button")

    def crest(self):
        return self.find(CREST, "checkbox")

    def result(self):
        return self.find(role="status")

    def keys(self, *keys):
        """Keys typed to whatever has the focus."""
        ActionChains(self.driver).send_keys(*keys).perform()

    def chord(self, modifier, *keys):
        """Keys typed while a modifier is held down."""
        ActionChains(self.driver).key_down(modifier).send_keys(*keys).key_up(modifier).perform()

    def replace(self, text):
        """Replaces the focused field's text by typing."""
        self.chord(Keys.CONTROL, "a")
        self.keys(Keys.BACKSPACE)
        if text:
            self.keys(text)

    def focused_name(self):
        return self.driver.switch_to.active_element.accessible_name

    def ticked(self):
        return self.crest().get_property("checked")

    def verdict(self):
        """The result line as drawn (blanks as they show) and the background
        colours of the line and of the panel around it."""
        return self.js("""
            const line = arguments[0];
            let panel = line.parentElement;
            const box = e => e.getBoundingClientRect();
            while (panel && box(panel).width <= box(line).width
                         && box(panel).height <= box(line).height)
                panel = panel.parentElement;
            const rgb = e => getComputedStyle(e).backgroundColor.match(/\\d+/g).map(Number);
            return [line.innerText, rgb(line), rgb(panel)];
        """, self.result())

    def window_box(self):
        """The smallest element holding the title strip and every control: the
        calculator's window, as a rectangle in CSS pixels of the page."""
        elements = [self.field(i) for i in range(5)]
        elements += [self.crest(), self.button("Calculate"), self.button("Clear"), self.result()]
        return self.js("""
            const title = [...document.querySelectorAll('body *')].find(
                e => [...e.childNodes].some(n => n.nodeType === 3 && n.data.trim() === arguments[0]));
            let box = arguments[1][0];
            while (![title, ...arguments[1]].every(e => box.contains(e)))
                box = box.parentElement;
            const r = box.getBoundingClientRect();
            return [r.left, r.top, r.width, r.height];
        """, TITLE, elements)
