// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 128-byte ID3v1 trailer at the end of an MP3 file. Texts are kept as
// their bytes (code page); nothing is converted.

#include <cstdint>
#include <string>
#include <string_view>

#include "id3/tag_fields.h"
#include "platform/byte_file.h"

namespace varnel {

// True when the file is at least 128 bytes long and its last 128 bytes
// begin with "TAG".
[[nodiscard]] bool has_id3v1_tag(ByteFile& file);

// Fills title, artist, album, track, year, genre (the number, in decimal)
// and comment; the other fields stay as they are. false, record untouched,
// when there is no tag. Each text ends at its field's first zero byte;
// title, artist and album lose leading and trailing spaces (0x20 and the
// full-width A1 A1). When byte 125 is zero the comment is bytes 97..124 and
// byte 126 is the track (0: empty), else the comment is bytes 97..126 and
// the track is empty.
[[nodiscard]] bool read_id3v1_tag(ByteFile& file, TagFields& fields);

// Writes the tag over the old one, or appends it; the block always has the
// track (low 8 bits) at offset 126 and the genre (low 8 bits) at 127. A text
// longer than its field (title, artist, album 30 bytes, year 4, comment 29:
// offset 126 holds the track) is cut to the field's width without splitting
// a character (two or four bytes). Only the last 128 bytes of the file are touched.
// false when the block could not be written; a failed append is cut off
// again.
[[nodiscard]] bool write_id3v1_tag(ByteFile& file, std::string_view title, std::string_view artist,
                                   std::string_view album, std::string_view year,
                                   std::string_view comment, int track, int genre);

// The 128-byte block write_id3v1_tag writes.
[[nodiscard]] std::string build_id3v1_block(std::string_view title, std::string_view artist,
                                            std::string_view album, std::string_view year,
                                            std::string_view comment, int track, int genre);

// Cuts the tag off the file; true without a change when there is none.
[[nodiscard]] bool remove_id3v1_tag(ByteFile& file);

}  // namespace varnel
