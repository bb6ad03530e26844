#!/usr/bin/env python3
"""Every library that the linker put into a program has its notice in the
program's THIRD-PARTY-NOTICES.txt: the files and archive members of the link's
trace (scripts/lib/link-trace), each known by its path, and the notices each
needs found among the file's titles. A library that nobody has named here
fails the test until someone has looked at its licence.

Usage: notices.py windows|web TRACE NOTICES
"""
import os
import re
import sys

OWN = r"^(CMakeFiles/.*|libquorvel_\w+\.a)$"  # the program's own objects
EMSCRIPTEN = r"^/usr/share/emscripten/cache/sysroot/lib/wasm32-emscripten/"
MINGW = r"^/usr/x86_64-w64-mingw32/lib/"
GCC = r"^/usr/lib/gcc/x86_64-w64-mingw32/[^/]+/"

# What each input of a link is, by its path: the notices it needs. The first
# pattern that matches counts.
INPUTS = {
    "windows": [
        (OWN, []),
        (MINGW + r"lib(win)?pthread\.a$", ["winpthreads"]),
        (MINGW + r"[^/]+\.(a|o)$", ["MinGW-w64 runtime"]),  # start files, C run-time, import libraries
        (GCC + r"(crtbegin|crtend)\.o$", ["GCC runtime libraries"]),
        (GCC + r"lib(gcc|gcc_eh|stdc\+\+|ssp|ssp_nonshared)\.a$", ["GCC runtime libraries"]),
    ],
    "web": [
        (OWN, []),
        (EMSCRIPTEN + r"libc(-\w+)*\.a$", ["musl", "Emscripten"]),
        (EMSCRIPTEN + r"libc\+\+abi(-\w+)*\.a$", ["libc++abi"]),
        (EMSCRIPTEN + r"libc\+\+(-\w+)*\.a$", ["libc++"]),
        (EMSCRIPTEN + r"libcompiler_rt(-\w+)*\.a$", ["compiler-rt"]),
        (EMSCRIPTEN + r"lib(embind|emmalloc|html5|noexit|stubs)(-\w+)*\.a$", ["Emscripten"]),
        (EMSCRIPTEN + r"crt1\.o$", ["Emscripten"]),
    ],
}
# The page's loader and run-time are Emscripten's JavaScript, in no library.
ALWAYS = {"windows": [], "web": ["Emscripten"]}


def inputs(trace):
    """The files a link took: the objects, and each archive that gave a member
    ("(archive)member" from GNU ld, "archive(member)" from wasm-ld), once."""
    found = []
    with open(trace) as f:
        for line in f:
            line = line.strip()
            member = re.fullmatch(r"\((.+)\).+|(.+\.a)\(.+\)", line)
            if member:
                path = member.group(1) or member.group(2)
            elif line and not line.endswith(".a"):  # an archive alone was only searched
                path = line
            else:
                continue
            path = os.path.normpath(path)
            if path not in found:
                found.append(path)
    return found


def main():
    program, trace, notices = sys.argv[1:4]
    with open(notices, encoding="utf-8") as f:
        lines = f.read().split("\n")
    # A notice's title is the line below a rule of '='.
    titles = {lines[i + 1].strip() for i, line in enumerate(lines[:-1]) if re.fullmatch(r"={20,}\r?", line)}
    problems = []
    needed = {name: ["(always)"] for name in ALWAYS[program]}
    files = inputs(trace)
    if not any(re.search(OWN, path) for path in files):
        problems.append(f"{trace} is no trace of the program's link")
    for path in files:
        names = next((names for pattern, names in INPUTS[program] if re.search(pattern, path)), None)
        if names is None:
            problems.append(f"{path}: linked in, and no one has said whose it is")
            continue
        for name in names:
            needed.setdefault(name, []).append(os.path.basename(path))
    for name, libraries in sorted(needed.items()):
        state = "notice found" if name in titles else "NO NOTICE"
        print(f"{name:24} {state:13} for {', '.join(libraries)}")
        if name not in titles:
            problems.append(f"no notice '{name}' in {notices}")
    for problem in problems:
        print(f"FAIL: {problem}")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
