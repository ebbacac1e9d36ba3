# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes tagged audio files the way other taggers do, through mutagen.

Usage: make_corpus.py FOLDER. For every format mutagen writes, one file per
case below is made in FOLDER from a small empty container, and its tags are
written by mutagen; a line "NAME<TAB>artist<TAB>title<TAB>album<TAB>track
<TAB>year<TAB>genre" per file goes to stdout, the fields as mutagen reads
them back (UTF-8; GBK texts given as the Chinese they stand for).
"make_corpus.py --read FILE" prints the six fields of FILE as mutagen reads them.
"""
import struct
import sys
import uuid
from pathlib import Path

import mutagen
from mutagen import apev2, asf, id3, mp4
from mutagen.aiff import AIFF
from mutagen.dsf import DSF
from mutagen.flac import FLAC
from mutagen.oggopus import OggOpus
from mutagen.oggvorbis import OggVorbis
from mutagen.ogg import OggPage
from mutagen.wave import WAVE

FIELDS = ("artist", "title", "album", "track", "year", "genre")
CASES = {
    "ascii": dict(artist="Beyond", title="Amani", album="Live 1991", track="3/12",
                  year="1991", genre="Rock"),
    "chinese": dict(artist="周杰伦", title="七里香", album="七里香", track="3/12", year="2004",
                    genre="流行"),
    "missing": dict(title="只有歌名"),
    "gbk": dict(artist="周杰伦", title="七里香", album="", track="3", year="", genre=""),
}
# Same-length ASCII stand-ins mutagen writes where a format's own encoding
# cannot carry GBK bytes; the bytes are put in their place afterwards.
GBK_STAND_INS = {"artist": b"QZQZQ1", "title": b"QZQZQ2"}


def flac_file(path):
    # Block sizes, frame sizes (unknown), 44100 Hz, 2 channels, 16 bits, 1 s.
    rate_and_more = (44100 << 44) | (1 << 41) | (15 << 36) | 44100
    info = struct.pack(">HH", 4096, 4096) + bytes(6) + struct.pack(">Q", rate_and_more)
    path.write_bytes(b"fLaC" + bytes([0x80, 0, 0, 34]) + info + bytes(16))


def ogg_file(path, head, tags_packet):
    pages = []
    for number, packets in enumerate([[head], [tags_packet, b"\x05vorbis" + bytes(8)], [bytes(20)]]):
        page = OggPage()
        page.serial, page.sequence, page.packets = 1, number, packets
        page.first = number == 0
        page.last = number == 2
        page.position = 0 if number < 2 else 4800
        pages.append(page)
    path.write_bytes(b"".join(p.write() for p in pages))


def vorbis_file(path):
    head = b"\x01vorbis" + struct.pack("<IBIiiiBB", 0, 2, 44100, 0, 128000, 0, 0xB8, 1)
    ogg_file(path, head, b"\x03vorbis" + struct.pack("<I", 4) + b"none" + struct.pack("<I", 0) + b"\x01")


def opus_file(path):
    head = b"OpusHead" + struct.pack("<BBHIhB", 1, 2, 312, 48000, 0, 0)
    ogg_file(path, head, b"OpusTags" + struct.pack("<I", 4) + b"none" + struct.pack("<I", 0))


def atom(name, body):
    return struct.pack(">I", 8 + len(body)) + name + body


def mp4_file(path):
    mvhd = atom(b"mvhd", bytes(4) + struct.pack(">IIII", 0, 0, 1000, 0) + bytes(80))
    hdlr = atom(b"hdlr", bytes(8) + b"soun" + bytes(12) + b"\0")
    mdhd = atom(b"mdhd", bytes(4) + struct.pack(">IIII", 0, 0, 44100, 0) + bytes(4))
    trak = atom(b"trak", atom(b"mdia", mdhd + hdlr))
    path.write_bytes(atom(b"ftyp", b"M4A " + bytes(4) + b"M4A isom") + atom(b"moov", mvhd + trak)
                     + atom(b"mdat", bytes(16)))


def guid(text):
    return uuid.UUID(text).bytes_le


def asf_file(path):
    props = guid("8CABDCA1-A947-11CF-8EE4-00C00C205365")
    body = bytes(16) + struct.pack("<QQQQQQIIII", 0, 0, 0, 0, 0, 0, 2, 3200, 3200, 128000)
    file_props = props + struct.pack("<Q", 24 + len(body)) + body
    wave_format = struct.pack("<HHIIHHH", 0x161, 2, 44100, 16000, 2, 16, 0)
    stream_body = (guid("F8699E40-5B4D-11CF-A8FD-00805F5C442B") + bytes(16)
                   + struct.pack("<QIIHI", 0, len(wave_format), 0, 1, 0) + wave_format)
    stream = guid("B7DC0791-A9B7-11CF-8EE6-00C00C205365") + struct.pack("<Q", 24 + len(stream_body)) + stream_body
    header_body = struct.pack("<IBB", 2, 1, 2) + file_props + stream
    header = guid("75B22630-668E-11CF-A6D9-00AA0062CE6C") + struct.pack("<Q", 24 + len(header_body)) + header_body
    data = guid("75B22636-668E-11CF-A6D9-00AA0062CE6C") + struct.pack("<Q", 50) + bytes(16) + struct.pack("<QH", 0, 0x0101)
    path.write_bytes(header + data)


def aiff_file(path):
    comm = b"COMM" + struct.pack(">IhIh", 18, 2, 0, 16) + bytes([0x40, 0x0E, 0xAC, 0x44]) + bytes(6)
    ssnd = b"SSND" + struct.pack(">III", 8, 0, 0)
    body = b"AIFF" + comm + ssnd
    path.write_bytes(b"FORM" + struct.pack(">I", len(body)) + body)


def wav_file(path):
    fmt = b"fmt " + struct.pack("<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16)
    data = b"data" + struct.pack("<I", 4) + bytes(4)
    body = b"WAVE" + fmt + data
    path.write_bytes(b"RIFF" + struct.pack("<I", len(body)) + body)


def dsf_file(path):
    fmt_body = struct.pack("<IIIIIIQII", 1, 0, 2, 2, 2822400, 1, 4096, 4096, 0)
    fmt = b"fmt " + struct.pack("<Q", 12 + len(fmt_body)) + fmt_body
    data = b"data" + struct.pack("<Q", 12 + 4096 * 2) + bytes(4096 * 2)
    total = 28 + len(fmt) + len(data)
    path.write_bytes(b"DSD " + struct.pack("<QQQ", 28, total, 0) + fmt + data)


def ape_stub(magic):
    return lambda path: path.write_bytes(magic + bytes(60))


def text_of(case, field, gbk):
    value = case.get(field, "")
    if gbk and field in GBK_STAND_INS and value:
        return GBK_STAND_INS[field].decode()
    return value


def widened(case, field, gbk):
    """Old rippers' WMA and ID3 Latin-1: each GBK byte as one character."""
    value = case.get(field, "")
    return value.encode("gbk").decode("latin-1") if gbk else value


def tag_vorbis(path, case, gbk, cls):
    audio = cls(path)
    if audio.tags is None:
        audio.add_tags()
    for field, key in zip(FIELDS, ("ARTIST", "TITLE", "ALBUM", "TRACKNUMBER", "DATE", "GENRE")):
        if text_of(case, field, gbk):
            audio[key] = text_of(case, field, gbk)
    audio.save()


def tag_ape(path, case, gbk):
    tag = apev2.APEv2()
    for field, key in zip(FIELDS, ("Artist", "Title", "Album", "Track", "Year", "Genre")):
        if text_of(case, field, gbk):
            tag[key] = text_of(case, field, gbk)
    tag.save(path)


def tag_mp4(path, case, gbk):
    audio = mp4.MP4(path)
    audio.add_tags()
    for field, key in zip(FIELDS, ("\xa9ART", "\xa9nam", "\xa9alb", None, "\xa9day", "\xa9gen")):
        if key and case.get(field):
            audio[key] = case[field]
    if case.get("track"):
        number, _, total = case["track"].partition("/")
        audio["trkn"] = [(int(number), int(total or 0))]
    audio.save()


def tag_asf(path, case, gbk):
    audio = asf.ASF(path)
    keys = ("Author", "Title", "WM/AlbumTitle", "WM/TrackNumber", "WM/Year", "WM/Genre")
    for field, key in zip(FIELDS, keys):
        if case.get(field):
            audio[key] = widened(case, field, gbk)
    audio.save()


def tag_id3(path, case, gbk, cls):
    audio = cls(path)
    audio.add_tags()
    frames = (id3.TPE1, id3.TIT2, id3.TALB, id3.TRCK, id3.TDRC, id3.TCON)
    for field, frame in zip(FIELDS, frames):
        if case.get(field):
            audio.tags.add(frame(encoding=0 if gbk else 3, text=widened(case, field, gbk)))
    audio.save(v2_version=3 if gbk else 4)


def put_gbk_bytes(path, case):
    data = path.read_bytes()
    for field, stand_in in GBK_STAND_INS.items():
        if case.get(field):
            data = data.replace(stand_in, case[field].encode("gbk"))
    path.write_bytes(data)
    if data.startswith(b"OggS"):  # page checksums cover the patched bytes
        with open(path, "rb") as f:
            pages = []
            while True:
                try:
                    pages.append(OggPage(f))
                except EOFError:
                    break
        path.write_bytes(b"".join(p.write() for p in pages))


# extension: (container, tagger, whether GBK bytes are written)
FORMATS = {
    "flac": (flac_file, lambda p, c, g: tag_vorbis(p, c, g, FLAC), True),
    "ogg": (vorbis_file, lambda p, c, g: tag_vorbis(p, c, g, OggVorbis), True),
    "opus": (opus_file, lambda p, c, g: tag_vorbis(p, c, g, OggOpus), True),
    "m4a": (mp4_file, tag_mp4, False),
    "ape": (ape_stub(b"MAC "), tag_ape, True),
    "wv": (ape_stub(b"wvpk"), tag_ape, True),
    "mpc": (ape_stub(b"MPCK"), tag_ape, True),
    "wma": (asf_file, tag_asf, True),
    "aiff": (aiff_file, lambda p, c, g: tag_id3(p, c, g, AIFF), True),
    "wav": (wav_file, lambda p, c, g: tag_id3(p, c, g, WAVE), True),
    "dsf": (dsf_file, lambda p, c, g: tag_id3(p, c, g, DSF), True),
}


READ_KEYS = {
    "flac": ("artist", "title", "album", "tracknumber", "date", "genre"),
    "ogg": ("artist", "title", "album", "tracknumber", "date", "genre"),
    "opus": ("artist", "title", "album", "tracknumber", "date", "genre"),
    "m4a": ("\xa9ART", "\xa9nam", "\xa9alb", "trkn", "\xa9day", "\xa9gen"),
    "ape": ("Artist", "Title", "Album", "Track", "Year", "Genre"),
    "wma": ("Author", "Title", "WM/AlbumTitle", "WM/TrackNumber", "WM/Year", "WM/Genre"),
    "aiff": ("TPE1", "TIT2", "TALB", "TRCK", "TDRC", "TCON"),
}
READ_KEYS["wv"] = READ_KEYS["mpc"] = READ_KEYS["ape"]
READ_KEYS["wav"] = READ_KEYS["dsf"] = READ_KEYS["aiff"]


def read_back(path):
    """The six fields as mutagen reads them."""
    extension = path.suffix[1:]
    tags = apev2.APEv2(path) if extension in ("ape", "wv", "mpc") else mutagen.File(path).tags
    values = []
    for key in READ_KEYS[extension]:
        value = tags.get(key) if tags is not None else None
        if isinstance(value, (list, tuple)) or hasattr(value, "text"):
            value = (value.text if hasattr(value, "text") else value)
            value = value[0] if len(value) else ""
        if isinstance(value, tuple):  # MP4 track number and total
            value = "%d/%d" % value if value[1] else str(value[0])
        values.append("" if value is None else str(value))
    return values


def main():
    if sys.argv[1] == "--read":
        print("\t".join(read_back(Path(sys.argv[2]))))
        return
    folder = Path(sys.argv[1])
    for extension, (container, tagger, writes_gbk) in FORMATS.items():
        for name, case in CASES.items():
            gbk = name == "gbk"
            if gbk and not writes_gbk:
                continue
            path = folder / f"{name}.{extension}"
            container(path)
            tagger(path, case, gbk)
            if gbk:  # mutagen reads the bytes as Latin-1 or U+FFFD: the Chinese is meant
                put_gbk_bytes(path, case)
                fields = [case.get(f, "") for f in FIELDS]
            else:
                fields = read_back(path)
            print("\t".join([path.name] + fields))


if __name__ == "__main__":
    main()
