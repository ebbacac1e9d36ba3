# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares MP3 files before and after a varnel-cli operation with mutagen.

Reads lines "OP<TAB>BEFORE<TAB>AFTER" from standard input (OP: edit, remove
or fix) and prints "PASS<TAB>AFTER" or "FAIL<TAB>AFTER<TAB>why" for each:
- the audio (the bytes after the ID3v2 tag) is byte-identical;
- edit: every frame but the title is there with the same content;
- remove: the file is what followed the tag (a second tag may follow);
- fix: every frame is there; only texts stored as Latin-1 may read
  differently (they are the code-page texts the operation converts).
Frames are compared as mutagen reads them, version 2.3 tags translated to
version 2.4 form, so that the conversion from version 2.4 to 2.3 counts
only where it changes what a reader sees.
"""
import sys

from mutagen.id3 import ID3, ID3NoHeaderError


def load(path):
    try:
        return ID3(path, load_v1=False)
    except ID3NoHeaderError:
        return None


def audio(path, tags):
    with open(path, "rb") as f:
        data = f.read()
    if tags is None:
        return data
    return data[tags.size:]


def content(frame):
    if frame.FrameID == "APIC":
        return (frame.mime, frame.type, frame.desc, frame.data)
    if hasattr(frame, "sub_frames"):  # a chapter: its fields and its sub-frames' texts
        return frame._pprint()
    if hasattr(frame, "text") or hasattr(frame, "url") or hasattr(frame, "people"):
        return frame._pprint()
    return frame._writeData()


def declared_end(data):
    """Where the ID3v2 tag at the start of `data` ends by its header."""
    if len(data) < 10 or data[:3] != b"ID3":
        return 0
    size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]
    return 10 + size + (10 if data[3] == 4 and data[5] & 0x10 else 0)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def compare(op, before_path, after_path):
    original = read(before_path)
    changed = read(after_path)
    try:
        before = load(before_path)
    except Exception:
        # A tag mutagen cannot read (a size past the end of the file, say):
        # what follows the new tag must be the end of the original, and no
        # more than the declared tag may be gone.
        rest = changed if op == "remove" else changed[declared_end(changed):]
        if not original.endswith(rest) or len(rest) < len(original) - declared_end(original):
            return "audio changed (mutagen cannot read the original)"
        return None
    after = load(after_path)
    if op == "remove":
        if after is not None and after.size > 0 and audio(before_path, before) != changed:
            return "an ID3v2 tag is left"
        return None if audio(before_path, before) == changed else "audio changed"
    if audio(before_path, before) != audio(after_path, after):
        return "audio changed"
    if before is None:
        return None
    if after is None:
        return "the ID3v2 tag is gone"
    for key, frame in before.items():
        if op == "edit" and frame.FrameID == "TIT2":
            continue
        if key not in after:
            return "frame %s lost" % key
        if content(after[key]) != content(frame):
            if op == "fix" and getattr(frame, "encoding", None) == 0:
                continue
            return "frame %s changed: %r -> %r" % (key, content(frame)[:80], content(after[key])[:80])
    if op == "edit" and [str(t) for t in after.getall("TIT2")] != ["Replayed"]:
        return "title not set: %r" % [str(t) for t in after.getall("TIT2")]
    return None


def main():
    for line in sys.stdin:
        op, before_path, after_path = line.rstrip("\n").split("\t")
        try:
            why = compare(op, before_path, after_path)
        except Exception as error:
            why = "mutagen failed: %r" % error
        print("PASS\t%s" % after_path if why is None else "FAIL\t%s\t%s" % (after_path, why))
        sys.stdout.flush()


main()
