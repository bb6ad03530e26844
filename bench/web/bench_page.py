#!/usr/bin/python3
"""Start-up of the web page against a blank page, in one headless Chromium
run, and the bytes a first visit transfers.

Ready for input: the module has run its main, which builds and shows the form
(the page then marks its root element data-state="ready"), the page's fonts
have loaded, and the next frame is about to be drawn. A blank page (an empty
document from the same server) is ready at the first frame after its document
has been parsed. Both are timed from the start of navigation
(performance.now() in the page). Before each first visit the site's data is
cleared (service worker, kept files, the browser's cache); the repeat visits
that follow are what a player gets when opening the page again at the table.

The site is served as scripts/serve serves it, like a static host: text
compressed with gzip (level 9; the WOFF2 face and the PNG icons are
compressed already). Every byte sent is counted, headers included, the
service worker's own fetches too.

Usage: bench/web/bench_page.py build-web/site [first visits [repeat visits]]
       (default 10 and 30)"""

import statistics
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "web"))
from page import Browser, Site  # noqa: E402

PROBE = """
(() => {
  const blank = location.pathname.endsWith('/blank.html');
  const marks = window.__marks = {};
  const check = () => {
    if (marks.form || (blank ? document.readyState === 'loading'
                             : document.documentElement.dataset.state !== 'ready'))
      return;
    marks.form = performance.now();
    observer.disconnect();
    document.fonts.ready.then(() => {
      marks.fonts = performance.now();
      requestAnimationFrame(() => { marks.ready = performance.now(); });
    });
  };
  const observer = new MutationObserver(check);
  observer.observe(document, {childList: true, subtree: true, attributes: true});
  document.addEventListener('DOMContentLoaded', check);
})();
"""
BLANK_STEPS = (("html", "the document received"), ("form", "the document parsed"),
               ("ready", "the next frame: ready"))
STEPS = (("html", "the document received"), ("module", "the module received"),
         ("form", "the form built"), ("fonts", "the fonts loaded"),
         ("ready", "the next frame: ready"))


def visit(browser, url):
    """Milestones of one visit, in ms from the start of navigation."""
    browser.driver.get(url)
    marks = browser.wait(lambda: browser.js(
        "return window.__marks.ready && window.__marks"), "ready " + url)
    marks["html"], marks["module"] = browser.js("""
        const end = e => e.responseEnd;
        return [performance.getEntriesByType('navigation').map(end)[0],
                Math.max(0, ...performance.getEntriesByType('resource')
                    .filter(e => /[.](js|wasm)$/.test(e.name)).map(end))];""")
    return marks


def summary(visits, step):
    times = [v[step] for v in visits]
    return "%6.1f ms (%5.1f .. %5.1f)" % (statistics.median(times), min(times), max(times))


def forget(browser, site):
    """Makes the next visit a first one: no service worker, no kept files."""
    browser.driver.get("about:blank")
    browser.cdp("Storage.clearDataForOrigin", origin=site.url.rstrip("/"), storageTypes="all")
    browser.cdp("Network.clearBrowserCache")


def report(label, blank, page, steps):
    print("%s, median (min .. max):" % label)
    for step, what in BLANK_STEPS:
        print("    %-36s" % ("blank page, " + what) + summary(blank, step))
    for step, what in steps:
        print("    %-36s" % ("Quorvel, " + what) + summary(page, step))
    print("    %-36s%6.2f   (target: 1.5 at most)"
          % ("ratio, ready", statistics.median(v["ready"] for v in page)
             / statistics.median(v["ready"] for v in blank)))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    root = sys.argv[1]
    firsts, repeats = (int(a) for a in (sys.argv[2:] + ["10", "30"])[:2])
    site = Site(root)
    browser = Browser()
    browser.cdp("Network.enable")
    try:
        browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=PROBE)
        first_blank, first = [], []
        for _ in range(firsts):
            forget(browser, site)
            first_blank.append(visit(browser, site.url + "blank.html"))
            before = len(site.sent)
            first.append(visit(browser, site.url))
            browser.kept_for_offline()
            browser.driver.get("about:blank")  # every fetch of the visit is done
            first_sent = site.sent[before:]

        blank, page = [], []
        for _ in range(repeats):
            blank.append(visit(browser, site.url + "blank.html"))
            before = len(site.sent)
            page.append(visit(browser, site.url))
            repeat_sent = site.sent[before:]
    finally:
        browser.quit()
        site.stop()

    print("From navigation to ready for input, in one headless Chromium run.")
    report("%d first visits (the site's data cleared before each)" % firsts,
           first_blank, first, STEPS)
    report("%d repeat visits" % repeats, blank, page, STEPS)
    print("Bytes sent by the server on a first visit (gzip as a static host does):")
    for path, size in sorted(first_sent, key=lambda s: -s[1]):
        print("  %8d  %s" % (size, path))
    total = sum(size for _, size in first_sent)
    print("  %8d  in all (%.1f KB; target: under 150 KB)" % (total, total / 1000))
    print("Bytes sent on a repeat visit: %d in %d requests"
          % (sum(size for _, size in repeat_sent), len(repeat_sent)))


if __name__ == "__main__":
    main()
