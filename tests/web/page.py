"""The web page in a browser, for its tests, its benchmark and its
screenshots: the built site served on 127.0.0.1 as a static host serves it,
and one of three engines driven as a player uses it: Debian's headless
Chromium under chromedriver, WebKitGTK under its WebDriver on an Xvfb display,
and Firefox ESR over WebDriver BiDi. In each, the form's controls are found by
the names and roles in the engine's accessibility tree, as a screen reader
finds them."""

import functools
import http.server
import importlib.machinery
import importlib.util
import io
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.webkitgtk.service import Service as WebKitService

TITLE = "Quorvel v1.2"
FIELDS = ("Height of Firer", "Range of Firer to Obstacle", "Height of Obstacle",
          "Range of Obstacle to Target", "Height of Target")
CREST = "Obstacle is a non-Cliff Crest Line"
AMBER, GREEN, RED = (252, 192, 64), (128, 255, 128), (255, 32, 32)
CASES = Path(__file__).resolve().parent.parent / "cases.tsv"
# The tests' npm tools (scripts/install-deps test).
NODE_MODULES = Path(__file__).resolve().parents[2] / "node_modules"


def read_cases(path=CASES, working=False):
    """The shared table: (name, five field texts, crest ticked, verdict), and
    with working, a line of the verdict's working ("" where none is given)."""
    cases = []
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        if line.startswith("#") or not line:
            continue
        cells = line.split("\t")
        name, fields, crest, verdict = cells[0], cells[1:6], cells[6], cells[7]
        assert len(cells) in (8, 9) and crest in ("ticked", "not"), line
        cases.append((name, fields, crest == "ticked", verdict) +
                     ((cells[8] if len(cells) == 9 else "",) if working else ()))
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
    counts the bytes it sends. /blank.html is an empty page, for comparison;
    /blank.css an empty style sheet, which a page from localhost (another
    origin) may use but not read, as one an extension adds."""

    BLANK = {"/blank.html": (b"<!doctype html><html lang=en><title>blank</title></html>", "text/html"),
             "/blank.css": (b"body {}", "text/css")}

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
                if self.path not in site.BLANK:
                    return super().send_head()
                body, kind = site.BLANK[self.path]
                self.send_response(200)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                return io.BytesIO(body)

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


class Engine:
    """One browser engine driven as a player uses the page. Each engine's
    class gives the primitives (open a page, find a control by its accessible
    name and role, run a script, type keys, click, read the focus, set the
    viewport); the steps of the form, written once, are built on them here.
    The controls it finds are elements with click(), get_property(name),
    get_attribute(name) and rect."""

    name = None
    touch = False  # can show the page as a touch screen does

    def __init__(self):
        self._controls = {}

    # Primitives, each engine's own.

    def quit(self):
        raise NotImplementedError

    def view(self, width, height, scale=1, phone=False):
        """The viewport in CSS pixels; a phone is a mobile, touch view."""
        raise NotImplementedError

    def navigate(self, url):
        raise NotImplementedError

    def reload(self):
        """Reloads the page and waits for the form."""
        raise NotImplementedError

    def js(self, script, *args):
        """Runs a function body (arguments[i] are args, elements included) and
        returns its value; a promise returned is waited for."""
        raise NotImplementedError

    def locate(self, name, role):
        """Every element that the engine's accessibility knows by that name
        and role (either may be None: any)."""
        raise NotImplementedError

    def keys(self, *keys):
        """Keys typed to whatever has the focus: text, or Keys constants."""
        raise NotImplementedError

    def chord(self, modifier, *keys):
        """Keys typed while a modifier is held down."""
        raise NotImplementedError

    def focused_name(self):
        """The accessible name of the element that has the focus."""
        raise NotImplementedError

    def hover(self, element, dx=0, dy=0):
        """The mouse moved onto element, dx and dy from its middle, then by a pixel."""
        raise NotImplementedError

    def screenshot(self):
        """The view as the screen shows it: a PNG, in base64."""
        raise NotImplementedError

    def errors(self):
        """What the page wrote to its console as errors or warnings, where
        the engine's driver can read it (WebKit's cannot)."""
        return []

    # Built on them.

    def open(self, url):
        """Loads the page and waits until every field of the form can be typed in."""
        self.navigate(url)
        self.ready()

    def ready(self):
        self._controls = {}  # the page's elements are new
        self.wait(lambda: all(self.find(name, "textbox", missing_ok=True) for name in FIELDS),
                  "the form's fields")

    def find(self, name=None, role=None, missing_ok=False):
        """The element a screen reader knows by that name and role."""
        hits = self.locate(name, role)
        if not hits:
            if missing_ok:
                return None
            raise AssertionError("no %s named %r in the accessibility tree" % (role, name))
        assert len(hits) == 1, "%d nodes %s %r" % (len(hits), role, name)
        return hits[0]

    def control(self, name, role):
        """One of the form's controls, found once for each page load."""
        key = (name, role)
        if key not in self._controls:
            self._controls[key] = self.find(name, role)
        return self._controls[key]

    def kept_for_offline(self):
        """Waits until the page's service worker is active: it has kept
        every file of the site."""
        self.wait(lambda: self.js("return navigator.serviceWorker.getRegistration()"
                                  ".then(r => !!(r && r.active))"),
                  "the service worker to keep the site")

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

    # The form, as a player uses it.

    def field(self, index):
        return self.control(FIELDS[index], "textbox")

    def button(self, label):
        return self.control(label, "button")

    def crest(self):
        return self.control(CREST, "checkbox")

    def result(self):
        return self.control(None, "status")

    def replace(self, text):
        """Replaces the focused field's text by typing."""
        self.chord(Keys.CONTROL, "a")
        self.keys(Keys.BACKSPACE)
        if text:
            self.keys(text)

    def texts(self):
        """The five fields' texts, top to bottom."""
        return self.js("return [...arguments].map(e => e.value)", *[self.field(i) for i in range(5)])

    def ticked(self):
        return self.js("return arguments[0].checked", self.crest())

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

    def tip(self, element=None, dx=0, dy=0):
        """The tooltip's box that opens where the mouse rests on element (the
        verdict by default), as shown() reads it; None where none opens."""
        element = element or self.result()
        self.hover(element, dx, dy)
        if self.js("return !!arguments[0].textContent.trim()", element):
            return self.wait(self.shown, "the tooltip")
        time.sleep(0.6)  # a tooltip would have opened after half a second
        return self.shown()

    def shown(self):
        """The tooltip's box as it shows, or None: its lines, its picture (its
        box in the view, its size in its own pixels, whether screen readers
        skip it, its rectangles' fills) and the labels of its buttons."""
        return self.js("""
            const tip = document.querySelector('.q-tip:popover-open'), svg = tip && tip.querySelector('svg');
            const r = svg && svg.getBoundingClientRect();
            return tip && {lines: tip.querySelector('.q-lines').textContent,
                buttons: [...tip.querySelectorAll('button')].filter(e => e.offsetWidth).map(e => e.textContent),
                picture: svg && {box: [r.x, r.y, r.width, r.height], hidden: svg.getAttribute('aria-hidden'),
                    size: [svg.viewBox.baseVal.width, svg.viewBox.baseVal.height],
                    fills: [...svg.querySelectorAll('rect')].map(e => getComputedStyle(e).fill)}};""")

    def dialog(self):
        """The table's dialog as it shows, or None where it is closed: whether
        it is modal, its box in the view, its title, the line on what the
        table is of, the levels over the columns and beside the rows, the
        cells' words, colours and brief forms row by row, the cell shown as
        the sighting's own (its index, font weight and frame), where the
        focus is in it ("table", a button's label, or None), its buttons
        (label, disabled) and the lines under the table."""
        return self.js("""
            const d = document.querySelector('dialog.q-levels');
            if (!d || !d.open) return null;
            const t = d.querySelector('table'), r = d.getBoundingClientRect(), f = document.activeElement;
            const cells = t.hidden ? [] : [...t.querySelectorAll('tbody td')];
            const marked = cells.findIndex(e => e.classList.contains('q-marked'));
            const style = marked >= 0 && getComputedStyle(cells[marked]);
            return {modal: d.matches(':modal'), box: [r.left, r.top, r.right, r.bottom],
                title: document.getElementById(d.getAttribute('aria-labelledby')).textContent,
                heading: d.querySelector('.q-of').textContent,
                columns: t.hidden ? [] : [...t.tHead.rows[1].cells].map(e => e.textContent),
                rows: cells.length ? [...t.tBodies[0].rows].map(e => e.cells[0].textContent) : [],
                cells: cells.map(e => e.querySelector('.q-words').textContent),
                colours: cells.map(e => getComputedStyle(e).backgroundColor),
                brief: cells.map(e => e.querySelector('.q-brief').textContent),
                marked: style ? [marked, style.fontWeight, style.boxShadow !== 'none'] : null,
                focus: f === t ? 'table' : d.contains(f) ? f.textContent : null,
                buttons: [...d.querySelectorAll('button')].filter(e => !e.hidden)
                    .map(e => [e.textContent, e.disabled]),
                lines: d.querySelector('.q-lines').textContent};""")

    def fits(self):
        """Whether the open dialog fits the view's width as it is: the page,
        the dialog and every cell with no sideways scrolling or text cut;
        and its buttons' least width and height."""
        return self.js("""
            const d = document.querySelector('dialog.q-levels'), view = document.documentElement.clientWidth;
            const scrolled = e => e.scrollWidth > e.clientWidth;
            return [document.scrollingElement.scrollWidth <= view && d.getBoundingClientRect().right <= view
                    && ![d, d.querySelector('.q-body'), ...d.querySelectorAll('td, th')].some(scrolled),
                Math.min(...[...d.querySelectorAll('button')].filter(e => !e.hidden)
                    .map(e => Math.min(e.offsetWidth, e.offsetHeight)))];""")

    def working(self):
        """The verdict's working as a player finds it: the lines of its
        tooltip ("" where none opens), and its description."""
        tip = self.tip()
        return [tip["lines"] if tip else "", self.description()]

    def description(self):
        return self.js("""
            const ids = (arguments[0].getAttribute('aria-describedby') || '').split(' ');
            return ids.filter(Boolean).map(id => document.getElementById(id).textContent).join(' ');
        """, self.result())

    def clipboard(self, image=False):
        """The clipboard's text, pasted into a text area of the test's own;
        or its image, pasted into an editable element, as png() reads it."""
        area = self.js("const a = document.createElement(arguments[0] ? 'div' : 'textarea');"
                       "a.contentEditable = true; a.before = document.activeElement;"
                       "document.body.append(a); a.focus(); return a;", image)
        self.chord(Keys.CONTROL, "v")
        if image:
            return self.png("const a = arguments[0], image = a.querySelector('img'); a.remove();"
                            "a.before.focus(); return image ? image.src : Promise.reject('no image');", area)
        return self.js("const a = arguments[0]; a.remove(); a.before.focus(); return a.value;", area)

    def png(self, script, *args):
        """The PNG image that a script gives (a blob, its address, or a
        promise of either): the signature in its first bytes, its width and
        height, and whether a pixel of it is the verdict's green."""
        return self.js("""
            return Promise.resolve((function () { %s }).apply(null, arguments))
                .then(got => typeof got === 'string' ? fetch(got).then(r => r.blob()) : got)
                .then(png => Promise.all([png.slice(0, 4).arrayBuffer(), createImageBitmap(png)]))
                .then(([head, image]) => {
                    const c = document.createElement('canvas').getContext('2d');
                    [c.canvas.width, c.canvas.height] = [image.width, image.height];
                    c.drawImage(image, 0, 0);
                    const d = c.getImageData(0, 0, image.width, image.height).data;
                    let green = false;
                    for (let i = 0; i < d.length && !green; i += 4)
                        green = [128, 255, 128].every((v, k) => d[i + k] === v);
                    return [String.fromCharCode(...new Uint8Array(head)).slice(1), image.width,
                            image.height, green];
                });""" % script, *args)

    def pixels(self, box, colour):
        """How many of the screen's pixels in box (CSS pixels) are exactly that colour."""
        return self.js("""
            const [png, [x, y, w, h], rgb] = arguments, image = new Image();
            image.src = 'data:image/png;base64,' + png;
            return image.decode().then(() => {
                const s = image.width / innerWidth, c = document.createElement('canvas').getContext('2d');
                [c.canvas.width, c.canvas.height] = [w * s, h * s];
                c.drawImage(image, -x * s, -y * s);
                const d = c.getImageData(0, 0, w * s, h * s).data;
                let n = 0;
                for (let i = 0; i < d.length; i += 4) n += rgb.every((v, k) => d[i + k] === v);
                return n;
            });""", self.screenshot(), list(box), list(colour))

    def audit(self):
        """What axe-core finds on the page as it is, against WCAG 2.2 A and AA
        and its best practices: {rule: [the elements, as selectors]}."""
        self.js((NODE_MODULES / "axe-core" / "axe.min.js").read_text(encoding="utf-8"))
        return dict(self.js("""
            const tags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
            return axe.run(document, {runOnly: {type: 'tag', values: tags}}).then(
                r => r.violations.map(v => [v.id, v.nodes.map(n => n.target.join(' '))]));"""))

    def window_box(self):
        """The smallest element holding the title strip and every control: the
        calculator's window, as a rectangle in CSS pixels of the page."""
        elements = [self.field(i) for i in range(5)]
        elements += [self.crest(), self.button("Calculate"), self.button("Clear"), self.result()]
        # Elements go to a script one an argument: WebKit's driver passes no
        # element inside an array.
        return self.js("""
            const [caption, ...controls] = arguments;
            const title = [...document.querySelectorAll('body *')].find(
                e => [...e.childNodes].some(n => n.nodeType === 3 && n.data.trim() === caption));
            let box = controls[0];
            while (![title, ...controls].every(e => box.contains(e)))
                box = box.parentElement;
            const r = box.getBoundingClientRect();
            return [r.left, r.top, r.width, r.height];
        """, TITLE, *elements)


class _Selenium(Engine):
    """An engine under a WebDriver server, through Selenium."""

    def navigate(self, url):
        self.driver.get(url)

    def reload(self):
        self.driver.refresh()
        self.ready()

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def chord(self, modifier, *keys):
        ActionChains(self.driver).key_down(modifier).send_keys(*keys).key_up(modifier).perform()

    def focused_name(self):
        return self.driver.switch_to.active_element.accessible_name

    def hover(self, element, dx=0, dy=0):
        ActionChains(self.driver, duration=0).move_to_element_with_offset(
            element, dx, dy).move_by_offset(1, 0).perform()

    def screenshot(self):
        return self.driver.get_screenshot_as_base64()


# Headless, as root, and quiet: no connections of its own on a closed network.
CHROMIUM_FLAGS = ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                  "--disable-background-networking", "--disable-component-update",
                  "--disable-sync", "--no-first-run", "--disable-quic",
                  "--disable-gpu", "--hide-scrollbars", "--lang=en-US")


class Chromium(_Selenium):
    """Headless Chromium from Debian with a throw-away profile and home; the
    controls found in the accessibility tree that Chromium builds."""

    name = "chromium"
    touch = True

    def __init__(self):
        super().__init__()
        self.home = tempfile.mkdtemp(prefix="quorvel-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in CHROMIUM_FLAGS + ("--user-data-dir=" + os.path.join(self.home, "profile"),):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        env = dict(os.environ, HOME=self.home)
        try:
            self.driver = webdriver.Chrome(service=Service(
                "/usr/bin/chromedriver", env=env, popen_kw={"start_new_session": True}),
                options=options)
        except Exception:
            shutil.rmtree(self.home, ignore_errors=True)
            raise
        self.driver.set_script_timeout(10)
        self.view(800, 600)

    def quit(self):
        try:
            self.driver.quit()
            _ended(self.driver.service.process.pid)
        finally:
            shutil.rmtree(self.home, ignore_errors=True)

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def view(self, width, height, scale=1, phone=False):
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=scale, mobile=phone)
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=phone, maxTouchPoints=5)

    def errors(self):
        return [e["message"] for e in self.driver.get_log("browser")
                if e["level"] in ("SEVERE", "WARNING")]

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
                          "description": node.get("description", {}).get("value", ""),
                          "dom": node.get("backendDOMNodeId")})
        return nodes

    def description(self):
        """As Chromium's accessibility gives it."""
        return next(n["description"] for n in self.tree() if n["role"] == "status")

    def locate(self, name, role):
        return [self.element(n["dom"]) for n in self.tree()
                if (name is None or n["name"] == name)
                and (role is None or n["role"] == role) and n["dom"]]

    def element(self, backend_node_id):
        obj = self.cdp("DOM.resolveNode", backendNodeId=backend_node_id)["object"]["objectId"]
        self.cdp("Runtime.callFunctionOn", objectId=obj,
                 functionDeclaration="function() { window.__found = this; }")
        return self.js("const e = window.__found; delete window.__found; return e;")


Browser = Chromium  # the engine of the benchmark and the screenshots


def _ended(group, timeout=10):
    """Waits until every process of a browser's process group has ended (its
    helpers end a little after it); what is left after the timeout is killed."""
    end = time.monotonic() + timeout
    while True:
        left = _running(group)
        if not left:
            return
        if time.monotonic() > end:
            for pid in left:
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
        time.sleep(0.05)


def _running(group):
    """The processes of a process group that still run (not ended and
    waiting to be reaped)."""
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry, encoding="utf-8", errors="replace") as f:
                stat = f.read()
        except OSError:
            continue
        # pid (command) state ppid pgrp ...: the command may hold blanks.
        state, _, pgrp = stat[stat.rindex(")") + 2:].split()[:3]
        if int(pgrp) == group and state not in ("Z", "X"):
            pids.append(int(entry))
    return pids


class _XServer:
    """Xvfb on a free display, for a browser that needs one."""

    def __init__(self, size="1280x1024"):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", size + "x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write)
        # The server writes its display's number once it takes clients; read
        # the whole line, or the server fails writing its end.
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number.isdigit():
            self.stop()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        self.process.wait()


class WebKit(_Selenium):
    """WebKitGTK's MiniBrowser under WebKitWebDriver, on its own Xvfb display
    (it has no headless mode). The controls are found by the names and roles
    that its WebDriver computes from its accessibility tree."""

    name = "webkit"
    MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"

    def __init__(self):
        super().__init__()
        self.home = tempfile.mkdtemp(prefix="quorvel-webkit-")
        self.x = self.service = None
        try:
            self.x = _XServer()
            options = webdriver.WebKitGTKOptions()
            options.binary_location = self.MINIBROWSER
            options.add_argument("--automation")
            options.set_capability("platform", None)  # not a W3C capability
            # The driver and the browser it starts run on that display, with
            # a throw-away home and caches, in a process group of their own.
            env = dict(os.environ, DISPLAY=self.x.display, HOME=self.home,
                       XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                       XDG_DATA_HOME=os.path.join(self.home, "data"),
                       XDG_CONFIG_HOME=os.path.join(self.home, "config"))
            env.pop("WAYLAND_DISPLAY", None)
            self.service = WebKitService("/usr/bin/WebKitWebDriver", log_path=os.devnull, env=env,
                                         popen_kw={"start_new_session": True})
            self.service.start()
            try:
                self.driver = webdriver.Remote(self.service.service_url, options=options)
            except Exception:
                self.service.stop()
                raise
        except Exception:
            self._stop()
            raise
        self.driver.set_script_timeout(10)
        self.view(800, 600)

    def _stop(self):
        try:
            if self.service:
                _ended(self.service.process.pid)
        finally:
            if self.x:
                self.x.stop()
            shutil.rmtree(self.home, ignore_errors=True)

    def quit(self):
        try:
            self.driver.quit()
            self.service.stop()
        finally:
            self._stop()

    def view(self, width, height, scale=1, phone=False):
        if phone:
            raise NotImplementedError("no touch view in " + self.name)
        # The window's size includes the browser's own bars: size it, then
        # grow it by what the page did not get.
        self.driver.set_window_size(width, height)
        inner = self.js("return [innerWidth, innerHeight]")
        if inner != [width, height]:
            self.driver.set_window_size(2 * width - inner[0], 2 * height - inner[1])

    def ready(self):
        self._index = None
        super().ready()

    def locate(self, name, role):
        # Every element's computed role and name, read once for each page
        # load, and again when something is not found or no longer shows
        # (the page may not be built yet, or have changed).
        def hits():
            return [e for e, r, n in self._index
                    if (role is None or r == role) and (name is None or n == name)]
        if getattr(self, "_index", None) is not None:
            found = hits()
            if found and all(e.is_displayed() for e in found):
                return found
        self._index = []
        for element in self.driver.find_elements(By.CSS_SELECTOR, "body *"):
            try:
                self._index.append((element, element.aria_role, element.accessible_name))
            except WebDriverException:
                pass  # not drawn: no part of the accessibility tree
        return hits()


class _Node:
    """An element of the page in Firefox, known to WebDriver BiDi by its
    shared id; the parts of Selenium's WebElement that the tests use."""

    def __init__(self, browser, shared_id):
        self.browser, self.shared_id = browser, shared_id

    def __eq__(self, other):
        return isinstance(other, _Node) and other.shared_id == self.shared_id

    def __hash__(self):
        return hash(self.shared_id)

    def click(self):
        self.browser.click(self)

    def get_property(self, name):
        return self.browser.js("return arguments[0][arguments[1]]", self, name)

    def get_attribute(self, name):
        return self.browser.js("return arguments[0].getAttribute(arguments[1])", self, name)

    @property
    def rect(self):
        return self.browser.js("const r = arguments[0].getBoundingClientRect();"
                               "return {x: r.x, y: r.y, width: r.width, height: r.height}", self)


class Firefox(Engine):
    """Firefox ESR from Debian, headless, with a throw-away profile, driven
    over WebDriver BiDi on a WebSocket. The controls are found by the names
    and roles in Firefox's accessibility tree (BiDi's accessibility locator)."""

    name = "firefox"
    PREFS = {
        # Nothing of its own on the network, no first-run pages or prompts.
        "app.update.disabledForTesting": True,
        "browser.shell.checkDefaultBrowser": False,
        "browser.startup.homepage_override.mstone": "ignore",
        "browser.startup.page": 0,
        "browser.aboutwelcome.enabled": False,
        "datareporting.policy.dataSubmissionEnabled": False,
        "datareporting.healthreport.uploadEnabled": False,
        "toolkit.telemetry.enabled": False,
        "app.normandy.enabled": False,
        "extensions.update.enabled": False,
        "browser.safebrowsing.malware.enabled": False,
        "browser.safebrowsing.phishing.enabled": False,
        "browser.safebrowsing.downloads.enabled": False,
        "network.captive-portal-service.enabled": False,
        "network.connectivity-service.enabled": False,
        "network.http.speculative-parallel-limit": 0,
        "services.settings.server": "http://127.0.0.1:9/",
        "network.manage-offline-status": False,
        # The page keeps the focus though no window manager raises it.
        "focusmanager.testmode": True,
    }

    def __init__(self):
        super().__init__()
        self.home = tempfile.mkdtemp(prefix="quorvel-firefox-")
        self.process = self.socket = None
        self.log, self.next_id = [], 0
        try:
            self._start()
        except Exception:
            self._stop()
            raise
        self.view(800, 600)

    def _start(self):
        profile = os.path.join(self.home, "profile")
        os.mkdir(profile)
        with open(os.path.join(profile, "user.js"), "w", encoding="utf-8") as prefs:
            for key, value in self.PREFS.items():
                prefs.write("user_pref(%s, %s);\n" % (json.dumps(key), json.dumps(value)))
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env.update(HOME=self.home, MOZ_CRASHREPORTER_DISABLE="1")
        self.process = subprocess.Popen(
            ["/usr/bin/firefox-esr", "--headless", "--no-remote", "--profile", profile,
             "--remote-debugging-port=0", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
            env=env, start_new_session=True)
        # Firefox says on standard error where it listens; the rest of what
        # it says there is kept, to show should the browser fail.
        self.said = []
        url = None
        for line in self.process.stderr:
            line = line.decode(errors="replace")
            self.said.append(line)
            found = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if found:
                url = found.group(1)
                break
        if not url:
            raise RuntimeError("Firefox did not start:\n" + "".join(self.said))
        threading.Thread(target=self._drain, daemon=True).start()
        import websocket  # Debian's python3-websocket
        self.socket = websocket.create_connection(url + "/session", timeout=30,
                                                  suppress_origin=True)
        self.command("session.new", capabilities={"alwaysMatch": {"unhandledPromptBehavior": {
            "default": "dismiss"}}})
        self.command("session.subscribe", events=["log.entryAdded"])
        # The window Firefox opens at start never has the focus when headless:
        # keys reach the focused element, but a space or Enter on a button
        # does not press it. A window opened now has it.
        first = self.command("browsingContext.getTree")["contexts"][0]["context"]
        self.context = self.command("browsingContext.create", type="window",
                                    background=False)["context"]
        self.command("browsingContext.close", context=first)

    def _drain(self):
        for line in self.process.stderr:
            self.said.append(line.decode(errors="replace"))

    def _stop(self):
        if self.socket:
            try:
                self.command("browser.close")
            except Exception:
                pass
            self.socket.close()
        if self.process:
            self.process.stderr.close()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait()
            _ended(self.process.pid)
        shutil.rmtree(self.home, ignore_errors=True)

    def quit(self):
        self._stop()

    def command(self, method, **params):
        """Sends one command and returns its result; events that come before
        the answer are kept."""
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("type") == "event":
                if message["method"] == "log.entryAdded":
                    self.log.append(message["params"])
                continue
            if message.get("id") != self.next_id:
                continue
            if message["type"] == "error":
                raise RuntimeError("%s: %s: %s" % (method, message["error"], message.get("message")))
            return message["result"]

    def view(self, width, height, scale=1, phone=False):
        if phone:
            raise NotImplementedError("no touch view in " + self.name)
        self.command("browsingContext.setViewport", context=self.context,
                     viewport={"width": width, "height": height}, devicePixelRatio=scale)

    def navigate(self, url):
        self.command("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def reload(self):
        self.command("browsingContext.reload", context=self.context, wait="complete")
        self.ready()

    def _value(self, value):
        if isinstance(value, _Node):
            return {"sharedId": value.shared_id}
        if isinstance(value, (list, tuple)):
            return {"type": "array", "value": [self._value(v) for v in value]}
        if isinstance(value, bool):
            return {"type": "boolean", "value": value}
        if isinstance(value, (int, float)):
            return {"type": "number", "value": value}
        if isinstance(value, str):
            return {"type": "string", "value": value}
        if value is None:
            return {"type": "null"}
        raise TypeError("cannot pass %r to the page" % (value,))

    def _python(self, remote):
        kind, value = remote["type"], remote.get("value")
        if kind in ("undefined", "null"):
            return None
        if kind in ("string", "boolean"):
            return value
        if kind == "number":
            return float(value) if isinstance(value, str) else value
        if kind in ("array", "set", "nodelist", "htmlcollection"):
            return [self._python(v) for v in value]
        if kind in ("object", "map"):
            return {k if isinstance(k, str) else self._python(k): self._python(v)
                    for k, v in value}
        if kind == "node":
            return _Node(self, remote["sharedId"])
        return remote

    def js(self, script, *args):
        answer = self.command(
            "script.callFunction", functionDeclaration="function() {%s\n}" % script,
            arguments=[self._value(a) for a in args], target={"context": self.context},
            awaitPromise=True, resultOwnership="none",
            serializationOptions={"maxDomDepth": 0, "maxObjectDepth": 8})
        if answer["type"] == "exception":
            raise RuntimeError("script failed: " + answer["exceptionDetails"]["text"])
        return self._python(answer["result"])

    def locate(self, name, role):
        value = {k: v for k, v in (("name", name), ("role", role)) if v is not None}
        found = self.command("browsingContext.locateNodes", context=self.context,
                             locator={"type": "accessibility", "value": value},
                             serializationOptions={"maxDomDepth": 0})
        return [_Node(self, n["sharedId"]) for n in found["nodes"]]

    def _actions(self, *sources):
        self.command("input.performActions", context=self.context, actions=list(sources))

    def _typing(self, keys):
        actions = []
        for text in keys:
            for key in text:
                actions += [{"type": "keyDown", "value": key}, {"type": "keyUp", "value": key}]
        return actions

    def keys(self, *keys):
        self._actions({"type": "key", "id": "keyboard", "actions": self._typing(keys)})

    def chord(self, modifier, *keys):
        self._actions({"type": "key", "id": "keyboard", "actions": (
            [{"type": "keyDown", "value": modifier}] + self._typing(keys)
            + [{"type": "keyUp", "value": modifier}])})

    def click(self, element, dx=0, dy=0, then=({"type": "pointerDown", "button": 0},
                                                {"type": "pointerUp", "button": 0})):
        """A click of the mouse in the middle of the element (or dx, dy from
        there), or the pointer moved there and then as given."""
        self.js("arguments[0].scrollIntoView({block: 'nearest', inline: 'nearest'})", element)
        self._actions({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                       "actions": [{"type": "pointerMove", "x": dx, "y": dy, "origin": {
                                       "type": "element", "element": {"sharedId": element.shared_id}}},
                                   *then]})

    def hover(self, element, dx=0, dy=0):
        self.click(element, dx, dy, [{"type": "pointerMove", "x": 1, "y": 0, "origin": "pointer"}])

    def screenshot(self):
        return self.command("browsingContext.captureScreenshot", context=self.context)["data"]

    def focused_name(self):
        # BiDi reads no element's accessible name: it is the name by which
        # the accessibility tree finds the focused element.
        focused = self.js("return document.activeElement")
        names = [(n, "textbox") for n in FIELDS] + [
            (CREST, "checkbox"), ("Calculate", "button"), ("Clear", "button")]
        for name, role in names:
            if self.control(name, role) == focused:
                return name
        return None

    def errors(self):
        self.js("return 0")  # any entries still on their way come before its answer
        return [e.get("text") for e in self.log if e.get("level") in ("error", "warn")]


ENGINES = {engine.name: engine for engine in (Chromium, WebKit, Firefox)}
