# SPDX-License-Identifier: GPL-3.0-or-later
"""MP3 and FLAC files tagged by mutagen with more than the common fields.

"tagged_files.py make FILE" writes FILE (by its extension: .mp3 or .flac)
with artist "Old Artist", title "Old Title", album "旧专辑", and frames or
comments no batch edit may touch: a TXXX/custom text, a comment, a
picture, and (MP3) a PRIV frame.
"tagged_files.py dump FILE" prints one line per frame or comment as
mutagen reads it ("KEY=text", binary data as its SHA-1), sorted, then
"audio=<SHA-1 of the bytes that are not tags>".
"""
import hashlib
import struct
import sys
from pathlib import Path

from mutagen import id3
from mutagen.flac import FLAC, Picture

PNG = b"\x89PNG\r\n\x1a\n" + bytes(range(64))


def mp3_audio():
    # MPEG-1 layer III frames, 128 kbit/s, 44.1 kHz: 417 bytes each.
    return b"".join(b"\xff\xfb\x90\x00" + bytes([n % 251]) * 413 for n in range(20))


def flac_file(path):
    rate_and_more = (44100 << 44) | (1 << 41) | (15 << 36) | 44100
    info = struct.pack(">HH", 4096, 4096) + bytes(6) + struct.pack(">Q", rate_and_more)
    path.write_bytes(b"fLaC" + bytes([0x80, 0, 0, 34]) + info + bytes(16) + b"\xff\xf8" +
                     bytes(range(200)))


def make(path):
    if path.suffix == ".mp3":
        path.write_bytes(mp3_audio())
        tags = id3.ID3()
        tags.add(id3.TPE1(encoding=1, text="Old Artist"))
        tags.add(id3.TIT2(encoding=1, text="Old Title"))
        tags.add(id3.TALB(encoding=1, text="旧专辑"))
        tags.add(id3.TXXX(encoding=1, desc="mood", text="安静"))
        tags.add(id3.COMM(encoding=1, lang="eng", desc="", text="keep me"))
        tags.add(id3.APIC(encoding=0, mime="image/png", type=3, desc="cover", data=PNG))
        tags.add(id3.PRIV(owner="varnel.test", data=b"\x00\x01private"))
        tags.save(path, v2_version=3)
    else:
        flac_file(path)
        audio = FLAC(path)
        audio["artist"] = "Old Artist"
        audio["title"] = "Old Title"
        audio["album"] = "旧专辑"
        audio["mood"] = "安静"
        audio["comment"] = "keep me"
        picture = Picture()
        picture.type, picture.mime, picture.desc, picture.data = 3, "image/png", "cover", PNG
        audio.add_picture(picture)
        audio.save()


def flac_audio(data):
    at = 4
    while True:
        header = data[at]
        length = int.from_bytes(data[at + 1:at + 4], "big")
        at += 4 + length
        if header & 0x80:
            return data[at:]


def dump(path):
    data = path.read_bytes()
    lines = []
    if path.suffix == ".mp3":
        tags = id3.ID3(path)
        for frame in tags.values():
            value = frame.pprint() if not hasattr(frame, "data") else \
                hashlib.sha1(frame.data).hexdigest()
            lines.append("%s=%s" % (frame.HashKey, value))
        audio = data[tags.size:]
    else:
        tags = FLAC(path)
        for key, values in (tags.tags or {}).as_dict().items():
            lines += ["%s=%s" % (key.lower(), value) for value in values]
        lines += ["picture=" + hashlib.sha1(p.data).hexdigest() for p in tags.pictures]
        audio = flac_audio(data)
    print("\n".join(sorted(lines)))
    print("audio=" + hashlib.sha1(audio).hexdigest())


if __name__ == "__main__":
    (make if sys.argv[1] == "make" else dump)(Path(sys.argv[2]))
