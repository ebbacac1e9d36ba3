#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Puts the line `SPDX-License-Identifier: GPL-3.0-or-later` at the top of
every source file git tracks: C++ (// comment), and CMake, shell, Python,
Makefile and debian/rules (# comment). A file starting with `#!` keeps that
line first and gets the identifier below it. Files that already carry an
identifier in their first lines are left alone.

Usage: packaging/spdx_headers.py [--check]   (run in the repository)
--check changes nothing and lists the files without the line (exit 1).
"""

import subprocess
import sys

IDENTIFIER = "SPDX-License-Identifier: GPL-3.0-or-later"
SLASH = (".cpp", ".h", ".h.in")
HASH = (".sh", ".py", ".bash", ".cmake")
HASH_NAMES = ("CMakeLists.txt", "Makefile", "debian/rules")


def comment_for(path):
    if path.startswith("."):
        return None  # tools' folders (.ci/ ...) are not the program's source
    if path.endswith(SLASH):
        return "// "
    if path.endswith(HASH) or path.endswith(HASH_NAMES):
        return "# "
    return None


def with_identifier(text, comment):
    lines = text.splitlines(keepends=True)
    if any("SPDX-License-Identifier:" in line for line in lines[:3]):
        return text
    at = 1 if lines and lines[0].startswith("#!") else 0
    return "".join(lines[:at] + [comment + IDENTIFIER + "\n"] + lines[at:])


def main():
    check = "--check" in sys.argv[1:]
    files = subprocess.run(["git", "ls-files"], capture_output=True, text=True,
                           check=True).stdout.splitlines()
    missing = []
    for path in files:
        comment = comment_for(path)
        if comment is None:
            continue
        with open(path, encoding="utf-8", newline="") as f:
            text = f.read()
        changed = with_identifier(text, comment)
        if changed == text:
            continue
        missing.append(path)
        if not check:
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(changed)
    for path in missing:
        print(("lacks the identifier: " if check else "added: ") + path)
    return 1 if check and missing else 0


if __name__ == "__main__":
    sys.exit(main())
