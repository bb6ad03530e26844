#!/usr/bin/env bash
# Makes data/windows/quorvel.ico from data/quorvel.svg: the sizes Windows
# shows, from the title bar to large icons, each drawn from the SVG at its
# own size (rsvg-convert from librsvg2-bin, then ImageMagick's convert).
# Run it again whenever the SVG changes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 20 24 32 40 48 64 256; do
    rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" "$here/../quorvel.svg"
    pngs+=("$work/$size.png")
done
convert "${pngs[@]}" "$here/quorvel.ico"
