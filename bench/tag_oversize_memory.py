#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Peak memory of tag operations on files whose ID3v2 header declares a size
larger than the tag: varnel-cli show, edit (--set-v2 title=Fixed), removal
(--remove-v2) and fix-tags, each under `prlimit --as` (64 MiB of address
space beyond the bytes before the audio), with its peak RSS, beside the
same operations on a file of the same size whose tag is sound (the floor).
Also checks that every operation kept the audio, or refused with a reason
and left the file as it was; running out of memory counts as a failure.

    bench/tag_oversize_memory.py VARNEL_CLI [FOLDER_BASE]
"""
import os
import shutil
import subprocess
import sys
import tempfile

MIB = 1024 * 1024
LIMIT_ABOVE_TAG = 64 * MIB
LARGEST_SIZE = (1 << 28) - 1


def syncsafe(size):
    return bytes(((size >> shift) & 0x7F) for shift in (21, 14, 7, 0))


def frame(frame_id, text):
    data = b"\0" + text
    return frame_id + len(data).to_bytes(4, "big") + b"\0\0" + data


def tag(frames, padding, declared=None):
    size = len(frames) + padding if declared is None else declared
    return b"ID3\x03\0\0" + syncsafe(size) + frames + b"\0" * padding


def mpeg_frames(count):
    """MPEG-1 layer 3 frames, 128 kbit/s, 44.1 kHz: 417 bytes each."""
    body = bytes((i * 131) & 0xFF for i in range(413))
    return (b"\xFF\xFB\x90\x64" + body) * count


def id3v1():
    return b"TAG" + b"v1".ljust(125, b"\0")


def files():
    frames = frame(b"TIT2", b"Old title") + frame(b"TPE1", b"Artist")
    audio = mpeg_frames(7195) + id3v1()
    sound = tag(frames, 512)
    return [
        # name, bytes, the audio that must stay
        ("sound tag (floor)", sound + audio, audio),
        ("declared size past end (4 MB tag claimed)",
         tag(frames, 512, declared=4 * MIB) + audio, audio),
        ("declared size past the frames into audio",
         tag(frames, 0, declared=len(frames) + 1 * MIB) + audio, audio),
        ("huge declared size, large file (40 MB claiming 256 MB)",
         tag(frames, 100, declared=LARGEST_SIZE) + mpeg_frames(96_000) + id3v1(),
         mpeg_frames(96_000) + id3v1()),
        ("huge declared size, tiny file (2 KB claiming 256 MB)",
         tag(frames, 100, declared=LARGEST_SIZE) + mpeg_frames(3) + id3v1(),
         mpeg_frames(3) + id3v1()),
    ]


def peak_kib(command):
    """Runs `command` under GNU time (a small parent, so that the peak is the
    command's own); its peak RSS in KiB and its exit status."""
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE)
    lines = out.stderr.decode(errors="replace").splitlines()
    return int(lines[-1]), out.returncode, "\n".join(lines[:-1])


def main():
    cli = sys.argv[1]
    base = sys.argv[2] if len(sys.argv) > 2 else tempfile.gettempdir()
    folder = tempfile.mkdtemp(prefix="varnel-oversize-", dir=base)
    operations = [
        ("show", ["tag"]),
        ("edit", ["tag", "--set-v2", "title=Fixed"]),
        ("remove", ["tag", "--remove-v2"]),
        ("fix-tags", ["fix-tags"]),
    ]
    lost = 0  # operations that lost audio or ran out of memory
    try:
        for name, content, audio in files():
            limit = len(content) - len(audio) + LIMIT_ABOVE_TAG
            row = []
            for op, args in operations:
                path = os.path.join(folder, "song.mp3")
                with open(path, "wb") as f:
                    f.write(content)
                kib, status, err = peak_kib(["prlimit", "--as=%d" % limit, cli] + args + [path])
                with open(path, "rb") as f:
                    after = f.read()
                if status == 0 and (after.endswith(audio) if op != "remove" else after == audio):
                    outcome = "kept"
                elif status == 1 and after == content and "bad_alloc" not in err and err:
                    outcome = "refused"
                else:
                    outcome = "FAILED"
                    lost += 1
                row.append("%s %.1f MiB %s" % (op, kib / 1024, outcome))
            print("%-52s %8d bytes: %s" % (name, len(content), ", ".join(row)))
        print("limit: 64 MiB of address space beyond the tag's bytes per run; failed (audio lost or out of memory): %d" % lost)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    sys.exit(1 if lost else 0)


main()
