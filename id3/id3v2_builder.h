// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building the frames of a new ID3v2.3 tag from a TagFields record and the
// old tag, keeping everything the record does not change.

#include <string>
#include <string_view>
#include <vector>

#include "id3/tag_fields.h"
#include "platform/codec.h"

namespace varnel {

// How changed texts are written: code-page bytes under encoding 0 ("GBK",
// for old players) or UTF-16 with a byte-order mark under encoding 1
// ("Unicode"). URLs stay single-byte text either way.
enum class V2TextEncoding { code_page, unicode };

struct V2WriteOptions {
    V2TextEncoding encoding = V2TextEncoding::code_page;
    // Write even when frames of the old tag have no safe version 2.3 form
    // (they are then left out); otherwise such a write is refused.
    bool drop_unconvertible = false;
};

struct BuiltFrames {
    std::string frames;  // the frame area: no header, no padding
    // Ids of the old frames that cannot be carried (left out of `frames`).
    std::vector<std::string> unconvertible;
};

// The twelve frames in the writer's order (TRCK, TENC, WXXX, TCOP, TOPE,
// TCOM, COMM, TCON, TYER, TALB, TPE1, TIT2), then every other frame of
// `old_tag` (tag bytes, header included; may be empty) in its order, in
// version 2.3 form (id3v2_frames.h).
// A field whose text equals the text of its old frame (for the genre also
// the old text made readable, for a version 2.4 year the year of TDRC)
// keeps that old frame as it is: its encoding, flags, language and
// description. Any other field gets a new frame in `options.encoding`: the
// TENC frame with status flag 0x40, COMM with language "CHS" and an empty
// description, WXXX with an empty description; a changed text field
// replaces every old frame of its id. A version 2.4 TDRC that holds a date
// gives the year and adds TDAT (and TIME) where it held a day (and a time)
// and the old tag has none; a TDRC that holds no date ("Oct 3, 1995") is
// kept as it is, its text whole, beside the TYER of the year field.
[[nodiscard]] BuiltFrames build_id3v2_frames(const TagFields& fields, std::string_view old_tag,
                                             const V2WriteOptions& options, const Codec& codec);

// Header ("ID3", version 3.0, no flags, syncsafe size) + `frames` +
// `padding` zero bytes. Empty when the size exceeds 2^28 - 1.
[[nodiscard]] std::string wrap_id3v2_tag(std::string_view frames, std::size_t padding);

// The padding of a tag written anew: 877 bytes.
inline constexpr std::size_t new_tag_padding = 877;

}  // namespace varnel
