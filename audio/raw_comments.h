// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six common fields out of the raw bytes of a Vorbis comment block
// (FLAC, Ogg Vorbis, Opus) or an APEv2 tag (APE, WavPack, Musepack), as
// the bytes stand in the file: TagLib decodes these texts as UTF-8 and
// loses bytes that are not, so legacy GBK texts are read here instead.

#include <cstdint>
#include <optional>
#include <string_view>

#include "id3/tag_fields.h"

namespace varnel {

// A Vorbis comment block from its vendor-length field on (the packet
// after its "\x03vorbis" or "OpusTags" mark, or a FLAC VORBIS_COMMENT
// block's data). Fields artist, title, album, track, year, genre get the
// first value of ARTIST, TITLE, ALBUM, TRACKNUMBER, DATE (YEAR when there
// is no DATE), GENRE (names in any case); the others stay empty. nullopt
// when the block is cut short.
[[nodiscard]] std::optional<TagFields> vorbis_comment_fields(std::string_view block);

// What the 32-byte footer (or header) of an APEv2 tag says.
struct ApeFooter {
    std::uint32_t size = 0;   // bytes of the items and the footer
    std::uint32_t items = 0;  // number of items
};

// The footer at the start of `bytes`: nullopt unless it starts with
// "APETAGEX" and is 32 bytes long with a size of at least 32.
[[nodiscard]] std::optional<ApeFooter> ape_footer(std::string_view bytes);

// The items of an APEv2 tag (`items` of them, the bytes between header and
// footer): the text items Artist, Title, Album, Track, Year and Genre (keys
// in any case) fill the six fields; binary and link items are passed over.
// nullopt when an item runs past the end.
[[nodiscard]] std::optional<TagFields> ape_item_fields(std::string_view bytes, std::uint32_t items);

}  // namespace varnel
