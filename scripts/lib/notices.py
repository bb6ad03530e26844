#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt for a program that the build links
statically: the licences of the code of others compiled into it.

Usage: notices.py windows|web OUT [--crlf]

Each notice is taken, as the build runs, from the copyright file of the Debian
package that the code comes from (/usr/share/doc/PACKAGE/copyright), so that it
follows the version built in: for a machine-readable copyright file, the
paragraphs of the files that make up that code and the licences they name; for
a free-form one, the passages between two lines. Licences that such a file
leaves in /usr/share/common-licenses, which Windows and a browser do not have,
follow in full at the end. A copyright file that is missing, or that no longer
holds what is asked of it, stops the build.
"""
import os
import re
import subprocess
import sys
import textwrap

COMMON = "/usr/share/common-licenses/"


def dep5(*paths):
    """The paragraphs of a machine-readable copyright file for files under
    PATHS ("dir/" for a folder, "*" for the file's catch-all paragraph; a
    leading "!" leaves a folder out), and the licence paragraphs they name."""
    return ("dep5", paths)


def between(*pairs):
    """The passages of a free-form copyright file from each first line up to,
    not including, the second."""
    return ("between", pairs)


# What each program carries compiled in: the notice's title, the Debian
# package the code comes from, and the part of its copyright file that covers
# that code. tests/package/notices.py checks every library the linker takes
# against these titles.
PROGRAMS = {
    "windows": ("quorvel.exe", [
        ("winpthreads", "mingw-w64-x86-64-dev",
         dep5("mingw-w64-libraries/winpthreads/", "!mingw-w64-libraries/winpthreads/tests_pthread/")),
        ("MinGW-w64 runtime", "mingw-w64-x86-64-dev", dep5("*", "mingw-w64-crt/")),
        ("GCC runtime libraries", "gcc-mingw-w64-base",
         between(("COPYRIGHT STATEMENTS AND LICENSING TERMS", "The libbacktrace library"),
                 ("GCC RUNTIME LIBRARY EXCEPTION", "libquadmath/"))),
    ]),
    "web": ("the page (index.html and quorvel.wasm)", [
        ("Emscripten", "emscripten", dep5("*", "src/")),
        ("musl", "emscripten", dep5("system/lib/libc/musl/")),
        ("libc++", "emscripten", dep5("system/lib/libcxx/")),
        ("libc++abi", "emscripten", dep5("system/lib/libcxxabi/")),
        ("compiler-rt", "emscripten", dep5("system/lib/compiler-rt/")),
    ]),
}

WHAT = {
    "Emscripten": "the page's loader and run-time support, and Emscripten's own libraries "
                  "(its part of the C library, embind, emmalloc)",
    "musl": "the C library",
    "libc++": "the C++ standard library",
    "libc++abi": "the C++ run-time support",
    "compiler-rt": "the compiler's run-time functions",
    "winpthreads": "the threads library",
    "MinGW-w64 runtime": "the C run-time start-up and support libraries",
    "GCC runtime libraries": "the C++ standard library (libstdc++), libgcc and libssp",
}


def fail(message):
    sys.exit(f"notices: {message}")


def paragraphs(text):
    return [p.strip("\n") for p in re.split(r"\n[ \t]*\n", text) if p.strip()]


def field(paragraph, name):
    """A field's value with its continuation lines, or None."""
    m = re.search(rf"^{name}:(.*(?:\n[ \t].*)*)", paragraph, re.M)
    return m.group(1) if m else None


def licence_names(expression):
    """The licences an expression such as "(Expat or NCSA) and Zlib" names."""
    expression = re.sub(r"\bwith\s+\S+\s+exception\b", "", expression.replace("(", " ").replace(")", " "))
    return {n.lower() for n in re.split(r"\s+(?:or|and)\s+", expression.strip()) if n}


def covers(pattern, path):
    if path == "*":
        return pattern == "*"
    return pattern.startswith(path)


def select_dep5(text, paths):
    wanted = [p for p in paths if not p.startswith("!")]
    unwanted = [p[1:] for p in paths if p.startswith("!")]
    kept, names = [], set()
    all_paragraphs = paragraphs(text)
    for p in all_paragraphs:
        files = field(p, "Files")
        if files is None:
            continue
        patterns = [f for f in files.split()
                    if any(covers(f, w) for w in wanted) and not any(f.startswith(u) for u in unwanted)]
        if patterns:
            kept.append(p)
            names |= licence_names(field(p, "License").split("\n")[0])
    if not kept:
        fail(f"no paragraph for {', '.join(wanted)}")
    for p in all_paragraphs:
        if field(p, "Files") is None and field(p, "License") is not None:
            name = field(p, "License").split("\n")[0].strip().lower()
            if name in names and "\n" in p:
                kept.append(p)
    return "\n\n".join(kept)


def select_between(text, pairs):
    lines = text.split("\n")
    passages = []
    for first, end in pairs:
        start = next((i for i, line in enumerate(lines) if line.startswith(first)), None)
        if start is None:
            fail(f"no line '{first}'")
        stop = next((i for i in range(start + 1, len(lines)) if lines[i].startswith(end)), None)
        if stop is None:
            fail(f"no line '{end}' after '{first}'")
        passages.append("\n".join(lines[start:stop]).strip("\n"))
    return "\n\n\n".join(passages)


def package_version(package):
    out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True, text=True)
    if out.returncode != 0 or not out.stdout:
        fail(f"{package} is not installed")
    return out.stdout


def rule(title):
    return f"{'=' * 78}\n{title}\n{'=' * 78}"


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in PROGRAMS:
        sys.exit(__doc__.split("\n\n")[1])
    program, notices = PROGRAMS[sys.argv[1]]
    out = [f"Third-party notices for {program}", ""]
    out += textwrap.wrap(f"Quorvel's own code is under the MIT licence (LICENSE.txt). Compiled into "
                         f"{program} with it is code of others, under their own licences:", 78)
    out.append("")
    for title, _, _ in notices:
        out += textwrap.wrap(WHAT[title], 78, initial_indent=f"  {title:22}", subsequent_indent=" " * 24)
    out += [""] + textwrap.wrap("Each notice below is taken from the copyright file of the Debian package "
                                "that the code was built from, in the version named.", 78)
    referred = set()
    for title, package, (how, what) in notices:
        source = f"/usr/share/doc/{package}/copyright"
        try:
            with open(source, encoding="utf-8") as f:
                text = f.read()
        except OSError as e:
            fail(f"cannot read {source}: {e.strerror}")
        body = select_dep5(text, what) if how == "dep5" else select_between(text, what)
        referred |= set(re.findall(re.escape(COMMON) + r"([A-Za-z0-9.+-]*[A-Za-z0-9+])", body))
        out += ["", rule(f"{title}\nfrom {source}, Debian package {package} {package_version(package)}"),
                "", body, ""]
    # A name that is a link (GPL to GPL-3) is given once, under the file's own name.
    for path in sorted({os.path.realpath(COMMON + name) for name in referred}):
        if not os.path.isfile(path):
            fail(f"{path} is not there")
        with open(path, encoding="utf-8") as f:
            out += ["", rule(f"{path}, as the notices above refer to it"), "", f.read().strip("\n"), ""]
    text = "\n".join(line.rstrip() for line in "\n".join(out).split("\n")) + "\n"
    newline = "\r\n" if "--crlf" in sys.argv[3:] else "\n"
    with open(sys.argv[2], "w", encoding="utf-8", newline=newline) as f:
        f.write(text)


if __name__ == "__main__":
    main()
