#!/usr/bin/python3
"""Writes the page with the files it needs to start carried inside it, so that
a visit fetches one document where it would fetch several: each
<script src="NAME"></script> becomes an inline script, each url(NAME.woff2)
in the stylesheet a data: URL. NAME is found under FOLDER.

Usage: inline-page.py PAGE FOLDER OUT
"""
import base64
import re
import sys
from pathlib import Path


def inline(page, folder):
    def script(match):
        code = (folder / match[1]).read_text(encoding="utf-8")
        # Inside <script>, these would end the element or change how the
        # rest of it is read.
        if re.search(r"</script|<!--", code, re.IGNORECASE):
            sys.exit(f"{match[1]}: contains </script or <!--, which cannot go inline")
        return "<script>\n" + code.rstrip("\n") + "\n</script>"

    def face(match):
        data = base64.b64encode((folder / match[1]).read_bytes()).decode("ascii")
        return f"url(data:font/woff2;base64,{data})"

    page, scripts = re.subn(r'<script src="([^"]+)"></script>', script, page)
    page, faces = re.subn(r"url\(([^)\s]+\.woff2)\)", face, page)
    return page, scripts, faces


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    page, folder, out = Path(argv[1]), Path(argv[2]), Path(argv[3])
    text, scripts, faces = inline(page.read_text(encoding="utf-8"), folder)
    if not scripts or not faces:
        sys.exit(f"{page}: no script or no face to carry inline")
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main(sys.argv)
