#!/usr/bin/python3
"""Cuts a face of the dialog font down to the characters the page draws in it
and writes it as WOFF2 under a family name of its own.

Usage: subset-face.py STYLE SOURCE.ttf OUT.woff2
STYLE is regular, bold or bolditalic. Needs fontTools and woff2_compress.

The font's licence reserves its name for unmodified copies, so the cut-down
faces are called "Quorvel Dialog"; the copyright and licence records stay.
"""
import os
import shutil
import string
import subprocess
import sys
import tempfile

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Quorvel Dialog"

# The regular face shows the captions, whatever a player types (every
# printable ASCII character), the minus on the keypad of a touch screen, and
# a verdict's tooltip: its working, with its minus, times and division signs
# and the ellipsis of a text cut short, its picture's texts and "Copy". The
# bold face shows "Calculate", the window's title and the
# verdicts, numbers included; the bold italic one the two range captions.
TEXTS = {
    "regular": string.printable[:95] + "\u2212\u00d7\u00f7\u2026",
    "bold": "Calculate" "Quorvel v1.2" "0123456789-" "LOS Blocked Blind Hexes F>T T>F (LOS OK) (No LOS)",
    "bolditalic": "Range of Firer to Obstacle" "Range of Obstacle to Target",
}
STYLE_NAMES = {"regular": "Regular", "bold": "Bold", "bolditalic": "Bold Italic"}


def rename(font, style):
    name = font["name"]
    full = f"{FAMILY} {style}" if style != "Regular" else FAMILY
    for record in list(name.names):
        value = {
            1: FAMILY,
            3: f"{FAMILY} {style}",
            4: full,
            6: f"{FAMILY}-{style}".replace(" ", ""),
            16: FAMILY,
            17: style,
        }.get(record.nameID)
        if value is not None:
            name.setName(value, record.nameID, record.platformID, record.platEncID, record.langID)


def main(argv):
    if len(argv) != 4 or argv[1] not in TEXTS:
        sys.exit(f"usage: {argv[0]} regular|bold|bolditalic SOURCE.ttf OUT.woff2")
    style, source, out = argv[1], argv[2], argv[3]
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.drop_tables += ["FFTM"]
    # The source's own date stays, so that the same source gives the same
    # bytes and the site's cache is renewed only when a face really changes.
    font = TTFont(source, recalcTimestamp=False)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text="".join(sorted(set(TEXTS[style]))))
    subsetter.subset(font)
    rename(font, STYLE_NAMES[style])
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        ttf = os.path.join(work, "face.ttf")
        font.save(ttf)
        done = subprocess.run(["woff2_compress", ttf], capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit(f"woff2_compress failed on {source}:\n{done.stdout}{done.stderr}")
        # A copy, not a rename: the temporary folder may be on another file system.
        shutil.copyfile(os.path.join(work, "face.woff2"), out)


if __name__ == "__main__":
    main(sys.argv)
