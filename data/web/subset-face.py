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
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

FAMILY = "Quorvel Dialog"

# The regular face shows the captions, whatever a player types (every
# printable ASCII character), the minus on the keypad of a touch screen, and
# a verdict's tooltip: its working, with its minus, times and division signs
# and the ellipsis of a text cut short, its picture's texts and "Copy"; and
# the table of which levels see, whose cells a narrow screen shows as a mark
# and a number (check, ballot X, square). The bold face shows "Calculate",
# the window's title and the verdicts, numbers included, and in the table
# its title, its levels and the sighting's own cell (its image marks it with
# a star); the bold italic one the two range captions.
MARKS = "\u2713\u2717\u25a0"
TEXTS = {
    "regular": string.printable[:95] + "\u2212\u00d7\u00f7\u2026" + MARKS,
    "bold": "Calculate" "Quorvel v1.2" "0123456789-\u2212" "LOS Blocked Blind Hexes F>T T>F (LOS OK) (No LOS)"
            "Which Levels See" "Firer Target*" + MARKS,
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


# The check and the ballot X, which the font does not have, drawn here as
# strokes of the face's own weight, about as wide as a digit and as tall, so
# that "\u27131" reads as one word: (the strokes' points, as polylines, in
# the font's units of 2048 to the em) for each mark, and the strokes' width
# in each style.
DRAWN = {
    0x2713: [[(90, 600), (410, 130), (1020, 1280)]],
    0x2717: [[(150, 40), (990, 1260)], [(150, 1260), (990, 40)]],
}
STROKE = {"regular": 200, "bold": 300}


def bars(points, half):
    """A polyline as a bar for each of its strokes, half wide on either side,
    each reaching on by half its width where another begins, so that they
    join; clockwise, as TrueType's outer contours go, which a rasterizer
    fills as their union."""
    out = []
    for i, (a, b) in enumerate(zip(points, points[1:])):
        dx, dy = b[0] - a[0], b[1] - a[1]
        length = (dx * dx + dy * dy) ** 0.5
        ux, uy = dx / length * half, dy / length * half
        if i > 0:
            a = (a[0] - ux, a[1] - uy)
        if i < len(points) - 2:
            b = (b[0] + ux, b[1] + uy)
        corners = [(a[0] - uy, a[1] + ux), (b[0] - uy, b[1] + ux), (b[0] + uy, b[1] - ux),
                   (a[0] + uy, a[1] - ux)]
        area = sum(p[0] * q[1] - q[0] * p[1] for p, q in zip(corners, corners[1:] + corners[:1]))
        out.append([(round(x), round(y)) for x, y in (corners[::-1] if area > 0 else corners)])
    return out


def draw_marks(font, style):
    advance = font["hmtx"][font.getBestCmap()[ord("0")]][0]
    for codepoint, strokes in DRAWN.items():
        name = "uni%04X" % codepoint
        pen = TTGlyphPen(None)
        for stroke in strokes:
            for contour in bars(stroke, STROKE[style] / 2):
                pen.moveTo(contour[0])
                for point in contour[1:]:
                    pen.lineTo(point)
                pen.closePath()
        glyph = pen.glyph()
        font["glyf"][name] = glyph
        glyph.recalcBounds(font["glyf"])
        # As much room on the right as on the left.
        font["hmtx"][name] = (max(advance, glyph.xMax + glyph.xMin), glyph.xMin)
        for table in font["cmap"].tables:
            if table.isUnicode():
                table.cmap[codepoint] = name
    font.setGlyphOrder(font["glyf"].glyphOrder)
    font["maxp"].numGlyphs = len(font.getGlyphOrder())


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
    if style in STROKE:
        draw_marks(font, style)
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
