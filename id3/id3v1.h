#pragma once
// The 128-byte ID3v1 trailer at the end of an MP3 file. Texts are kept as
// their bytes (code page); nothing is converted.

#include <cstdint>
#include <string_view>

#include "id3/tag_fields.h"
#include "platform/byte_file.h"

namespace varnel {

// True when the file is at least 128 bytes long and its last 128 bytes
// begin with "TAG".
bool has_id3v1_tag(ByteFile& file);

// Fills title, artist, album, track, year, genre (the number, in decimal)
// and comment; the other fields stay as they are. false, record untouched,
// when there is no tag.
bool read_id3v1_tag(ByteFile& file, TagFields& fields);

// Writes the tag over the old one, or appends it. A text longer than its
// field is cut to the field's width without splitting a two-byte character.
// Only the last 128 bytes of the file are touched. false when the block
// could not be written.
bool write_id3v1_tag(ByteFile& file, std::string_view title, std::string_view artist,
                     std::string_view album, std::string_view year, std::string_view comment,
                     int track, int genre);

// Cuts the tag off the file; true without a change when there is none.
bool remove_id3v1_tag(ByteFile& file);

}  // namespace varnel
