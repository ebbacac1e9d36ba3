// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the ID3v2 tag at the start of an MP3 file into a TagFields
// record. Texts come out in the code page: UTF-16 and UTF-8 frames are
// converted, encoding 0x00 keeps its bytes (legacy files carry GBK there).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "id3/id3v2_frames.h"
#include "id3/tag_fields.h"
#include "platform/byte_file.h"
#include "platform/codec.h"

namespace varnel {

// True when the file starts with "ID3", version, revision and flags bytes
// other than 0xFF, and four size bytes below 0x80.
[[nodiscard]] bool has_id3v2_header(ByteFile& file);

// The tag's length as its header declares it: the syncsafe size of bytes 6..9 plus the 10-byte
// header. nullopt when there is no header.
[[nodiscard]] std::optional<std::uint32_t> id3v2_tag_length(ByteFile& file);

// Fills all twelve fields (a missing frame gives the empty text) from the
// frames walked in the first tag-length bytes of the file (in version 2.3
// form, see convert_frames; in a version 2.2 tag the three-letter
// counterparts of the table of TagFields): each field from the first frame
// of its id; the genre then goes through resolve_genre_text. In a version
// 2.4 tag without TYER the year is that of TDRC where it holds a date, else
// empty. Frames inside other frames (the sub-frames of a chapter) are never
// read. A version other than 2.2, 2.3 or 2.4 gives twelve empty fields.
// false, record untouched, when there is no header. Reads at most the bytes
// the file holds, never more, usually in one read.
[[nodiscard]] bool read_id3v2_tag(ByteFile& file, TagFields& fields, const Codec& codec);

// The text of the first frame `id` (a four-letter id; a version 2.2 tag's
// frames under their version 2.3 ids) walked in the tag bytes `tag` (header
// included), in the code page; empty when there is none.
[[nodiscard]] std::string find_frame_text(std::string_view tag, std::string_view id,
                                          const Codec& codec);

// The text of `frame` in the code page; empty for a frame compressed or
// encrypted, or without a version 2.3 form. A grouping byte is skipped.
// Decoding: encoding 0x01 text starts after the prefix below; a byte-order
// mark FF FE or FE FF at its start gives its byte order, and without one it
// is little-endian unless its first code unit is 00 xx. Encoding
// 0x02 is big-endian UTF-16, 0x03 UTF-8, anything else single-byte text
// kept as it is. The prefix skipped before the text: the encoding byte for
// a "T" id; for a comment also the 3-byte language and the description up
// to its terminator (or just the language when it has none). A "W" id gives
// the URL after the description, as single-byte text. UTF-16 text ends at
// its first 00 00 code unit, other text at its first 00 byte; bytes that do
// not decode are dropped, an odd last byte ignored.
[[nodiscard]] std::string frame_text(const TagFrame& frame, const Codec& codec);

// The year of a recording time as version 2.4 writes it ("1995",
// "1995-10-03", "1995-10-03T12:00"): its first four digits; empty for a
// text that is no such date ("Oct 3, 1995", "19951").
[[nodiscard]] std::string year_of_date(std::string_view date);

// A TCON text made readable: "(17)" and "(17)Rock" give "Rock", "Rock"
// stays, "(RX)" gives "Blues", "Rock (live)" gives the empty text; a bare
// number of up to three digits with a name ("35") gives that name.
// Exactly: with the last "(" and the first ")" after it (or from the start
// when there is no "("), both found stepping over two-byte characters: no
// ")" drops everything up to and including that "("; four or more bytes
// between them give the text after the ")"; otherwise the leading digits
// between them (none read as 0) give the genre's name, and a number
// without a name leaves the text unchanged.
[[nodiscard]] std::string resolve_genre_text(std::string_view text);

}  // namespace varnel
