// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame list of an ID3v2 tag in version 2.3 form: what a rewrite keeps
// of the old tag.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "id3/id3v2_walk.h"

namespace varnel {

// One frame as a version 2.3 tag holds it.
struct TagFrame {
    std::string id;   // four letters or digits
    char status = 0;  // version 2.3 flag bytes
    char format = 0;
    std::string data;  // everything after the 10-byte header
    // false: the frame has no safe version 2.3 form (compressed or encrypted
    // in a version 2.4 tag, a version 2.2 id without a counterpart, a frame
    // whose content points into the old layout); `id` then names it as the
    // old tag did.
    bool convertible = true;
};

// `bytes` with every FF 00 pair turned back into FF.
[[nodiscard]] std::string undo_unsynchronisation(std::string_view bytes);

// The frames of `tag` (the tag bytes, header included), in their order, as
// walk_id3v2_frames finds them, through convert_frames. Empty when `tag`
// has no valid header.
[[nodiscard]] std::vector<TagFrame> read_frames(std::string_view tag);

// The walked frames in version 2.3 form. Version 2.3 frames come as they
// are (byte for byte); version 2.4 frames with plain sizes, their flags in
// version 2.3 form (a data length indicator dropped, frame
// unsynchronisation undone), UTF-8 (3) and UTF-16BE (2) texts turned into
// UTF-16 with a byte-order mark (1), several values of a text frame (TXXX
// aside) joined by "/", TDOR as TORY, TIPL and TMCL as one IPLS (at the
// place of the first, with the pairs of both), the sub-frames of a chapter
// (CHAP, CTOC) converted the same way where they walk cleanly; version 2.2 frames under
// their version 2.3 ids (PIC as APIC with a MIME type).
[[nodiscard]] std::vector<TagFrame> convert_frames(const FrameList& list);

// One frame of `list` in version 2.3 form, as convert_frames gives it
// (without the merging of people lists).
[[nodiscard]] TagFrame convert_frame(const FrameList& list, const FrameSpan& span);

// The id under which a tag of version `major` holds the frame that
// convert_frame gives as version 2.3 `id`: the id itself, in a version 2.2
// tag its three-letter counterpart (empty where there is none).
[[nodiscard]] std::string_view tag_id(std::uint8_t major, std::string_view id);

// Header (id, plain size, flags) and data.
[[nodiscard]] std::string frame_bytes(const TagFrame& frame);

// The UTF-8 text `utf8` as little-endian UTF-16 after the byte-order mark
// FF FE; malformed bytes are dropped.
[[nodiscard]] std::string utf16_with_mark(std::string_view utf8);

}  // namespace varnel
