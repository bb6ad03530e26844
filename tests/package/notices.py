#!/usr/bin/env python3
"""Every library that the linker put into a program has its notice in the
program's THIRD-PARTY-NOTICES.txt: each input of the link's trace
(scripts/lib/link-trace) is known by its path, and the notices it needs are
found among the file's titles. A library that nobody has named here fails the
test until someone has looked at its licence.

Usage: notices.py windows|web TRACE NOTICES
"""
import os
import re
import sys

OWN = r"^(CMakeFiles/.*|libquorvel_\w+\.a)$"  # the program's own objects
EMSCRIPTEN = r"^/usr/share/emscripten/cache/sysroot/lib/wasm32-emscripten/"
MINGW = r"^/usr/x86_64-w64-mingw32/lib/"
GCC = r"^/usr/lib/gcc/x86_64-w64-mingw32/[^/]+/"

# What each input of a link is, by its path: the notices it needs; the first
# pattern that matches counts.
INPUTS = {
    "windows": [
        (OWN, []),
        (MINGW + r"lib(win)?pthread\.a$", ["winpthreads"]),
        (MINGW + r"[^/]+\.(a|o)$", ["MinGW-w64 runtime"]),  # start files, C run-time, import libraries
        (GCC + r"(crtbegin\.o|crtend\.o|lib(gcc|gcc_eh|stdc\+\+|ssp|ssp_nonshared)\.a)$",
         ["GCC runtime libraries"]),
    ],
    "web": [
        (OWN, []),
        (EMSCRIPTEN + r"libc(-\w+)*\.a$", ["musl", "Emscripten"]),
        (EMSCRIPTEN + r"libc\+\+abi(-\w+)*\.a$", ["libc++abi"]),
        (EMSCRIPTEN + r"libc\+\+(-\w+)*\.a$", ["libc++"]),
        (EMSCRIPTEN + r"libcompiler_rt(-\w+)*\.a$", ["compiler-rt"]),
        (EMSCRIPTEN + r"(lib(embind|emmalloc|html5|noexit|stubs)(-\w+)*\.a|crt1\.o)$", ["Emscripten"]),
    ],
}


def inputs(trace):
    """The objects a link took and each archive that gave a member, once:
    "(archive)member" from GNU ld, "archive(member)" from wasm-ld; an archive
    named alone was only searched."""
    found = {}
    with open(trace) as f:
        for line in map(str.strip, f):
            m = re.fullmatch(r"\((.+)\).+|(.+\.a)\(.+\)", line)
            path = (m.group(1) or m.group(2)) if m else line
            if path and (m or not path.endswith(".a")):
                found[os.path.normpath(path)] = None
    return list(found)


def main():
    program, trace, notices = sys.argv[1:4]
    with open(notices, encoding="utf-8") as f:
        lines = f.read().splitlines()
    titles = {lines[i + 1] for i, line in enumerate(lines[:-1]) if re.fullmatch("={20,}", line)}
    files = inputs(trace)
    problems = [] if any(re.search(OWN, path) for path in files) else [f"{trace} is no trace of a link"]
    # The page's loader and run-time are Emscripten's JavaScript, in no library.
    needed = {"Emscripten": ["(the loader)"]} if program == "web" else {}
    for path in files:
        names = next((names for pattern, names in INPUTS[program] if re.search(pattern, path)), None)
        if names is None:
            problems.append(f"{path}: linked in, and no one has said whose it is")
        for name in names or []:
            needed.setdefault(name, []).append(os.path.basename(path))
    for name, libraries in sorted(needed.items()):
        print(f"{name:24} {'notice found' if name in titles else 'NO NOTICE':13} for {', '.join(libraries)}")
        if name not in titles:
            problems.append(f"no notice '{name}' in {notices}")
    for problem in problems:
        print(f"FAIL: {problem}")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
