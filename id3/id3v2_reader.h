#pragma once
// Reading the ID3v2 tag at the start of an MP3 file into a TagFields
// record. Texts come out in the code page: UTF-16 and UTF-8 frames are
// converted, encoding 0x00 keeps its bytes (legacy files carry GBK there).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "id3/tag_fields.h"
#include "platform/byte_file.h"
#include "platform/codec.h"

namespace varnel {

// True when the file starts with "ID3", version, revision and flags bytes
// other than 0xFF, and four size bytes below 0x80.
bool has_id3v2_header(ByteFile& file);

// The tag's length: the syncsafe size of bytes 6..9 plus the 10-byte
// header. nullopt when there is no header.
std::optional<std::uint32_t> id3v2_tag_length(ByteFile& file);

// Fills all twelve fields (a missing frame gives the empty text); false,
// record untouched, when there is no header. Reads at most the bytes the
// file holds, never more.
bool read_id3v2_tag(ByteFile& file, TagFields& fields, const Codec& codec);

// The text of frame `id` in the tag bytes `tag` (header included), in the
// code page; empty when the frame is missing.
std::string find_frame_text(std::string_view tag, std::string_view id, const Codec& codec);

// A TCON text made readable: "(17)" and "(17)Rock" give "Rock", "Rock"
// stays, "(RX)" gives "Blues", "Rock (live)" gives the empty text.
std::string resolve_genre_text(std::string_view text);

}  // namespace varnel
