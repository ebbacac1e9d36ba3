#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Peak memory of renaming 100,000 files: varnel-cli (with and without its
write-ahead journal, in order and in the smart order) beside perl's rename
(Debian package `rename`), each reading the names from standard input / a
list. Goal: the smart order within 1.5x of in-order.

    bench/rename_memory.py VARNEL_CLI [FOLDER_BASE]
"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile

COUNT = 100_000


def peak_kib(command, stdin_text=None):
    """Runs `command` alone in a fresh child and returns its peak RSS in KiB."""
    probe = (
        "import resource, subprocess, sys\n"
        "p = subprocess.run(sys.argv[1:], input=sys.stdin.buffer.read(),"
        " stdout=subprocess.DEVNULL)\n"
        "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss, p.returncode)\n"
    )
    out = subprocess.run([sys.executable, "-c", probe] + command,
                         input=stdin_text or b"", capture_output=True, check=True)
    kib, status = out.stdout.split()
    if status != b"0":
        sys.exit("%s failed: %s" % (command[0], out.stderr.decode()))
    return int(kib)


def main():
    cli = sys.argv[1]
    base = sys.argv[2] if len(sys.argv) > 2 else tempfile.gettempdir()
    folder = tempfile.mkdtemp(prefix="varnel-memory-", dir=base)
    try:
        names = ["f%06d.dat" % i for i in range(COUNT)]
        for name in names:
            open(os.path.join(folder, name), "w").close()
        listing = "".join(os.path.join(folder, n) + "\n" for n in names).encode()
        renamed = "".join(os.path.join(folder, "g" + n[1:]) + "\n" for n in names).encode()
        journal = os.path.join(folder, "..", os.path.basename(folder) + ".journal")
        rows = []
        rows.append(("varnel-cli rename", peak_kib(
            [cli, "rename", "replace", "--find", "f", "--with", "g", "--files-from", "-"],
            listing)))
        rows.append(("varnel-cli rename --journal", peak_kib(
            [cli, "rename", "replace", "--find", "g", "--with", "f", "--journal", journal,
             "--files-from", "-"], renamed)))
        os.unlink(journal)
        rows.append(("varnel-cli rename --order smart", peak_kib(
            [cli, "rename", "replace", "--order", "smart", "--find", "f", "--with", "g",
             "--files-from", "-"], listing)))
        # Back to the f names for perl, untimed.
        peak_kib([cli, "rename", "replace", "--find", "g", "--with", "f", "--files-from", "-"],
                 renamed)
        if shutil.which("rename"):
            rows.append(("perl rename (File::Rename)", peak_kib(["rename", r"s|/f(\d+\.dat)$|/g$1|"], listing)))
        else:
            rows.append(("perl rename: not installed", 0))
        if not os.path.exists(os.path.join(folder, "g000000.dat")):
            sys.exit("perl rename renamed nothing")
        for what, kib in rows:
            print("%-32s peak RSS %7.1f MiB for %d files" % (what, kib / 1024, COUNT))
        print("smart order / in order: %.2fx (goal 1.5x)" % (rows[2][1] / rows[0][1]))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


main()
