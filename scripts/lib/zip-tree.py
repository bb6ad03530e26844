#!/usr/bin/env python3
"""Zips a folder into the same bytes every time, for scripts/release.

Usage: zip-tree.py FOLDER OUT.zip [PREFIX/]

Members are the folder's files, by name in byte order, under PREFIX if one is
given; every one carries the time SOURCE_DATE_EPOCH (in UTC, as a zip stores
a time without its zone), mode 0644 (0755 for a .exe), no owner and no extra
fields.
"""
import os
import sys
import time
import zipfile


def main():
    folder, out = sys.argv[1], sys.argv[2]
    prefix = sys.argv[3] if len(sys.argv) > 3 else ""
    stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
    names = []
    for root, _, files in os.walk(folder):
        for name in files:
            names.append(os.path.relpath(os.path.join(root, name), folder).replace(os.sep, "/"))
    with zipfile.ZipFile(out, "w") as archive:
        for name in sorted(names, key=lambda n: n.encode()):
            info = zipfile.ZipInfo(prefix + name, date_time=stamp)
            info.create_system = 3  # Unix, so that the modes below count
            mode = 0o755 if name.endswith(".exe") else 0o644
            info.external_attr = (0o100000 | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    main()
