// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame list of an ID3v2 tag in version 2.3 form: what a rewrite keeps
// of the old tag.

#include <string>
#include <string_view>
#include <vector>

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
std::string undo_unsynchronisation(std::string_view bytes);

// The frames of `tag` (the tag bytes, header included), in their order:
// unsynchronisation undone, an extended header skipped, the walk ending at
// padding, at a malformed id or at a frame that reaches past the tag.
// Version 2.3 frames come as they are (byte for byte); version 2.4 frames
// with plain sizes, their flags in version 2.3 form (a data length
// indicator dropped, frame unsynchronisation undone), UTF-8 (3) and UTF-16BE
// (2) texts turned into UTF-16 with a byte-order mark (1), TDOR as TORY and
// TIPL / TMCL as IPLS; version 2.2 frames under their version 2.3 ids (PIC as
// APIC with a MIME type). Empty when `tag` has no valid header.
std::vector<TagFrame> read_frames(std::string_view tag);

// Header (id, plain size, flags) and data.
std::string frame_bytes(const TagFrame& frame);

// The UTF-8 text `utf8` as little-endian UTF-16 after the byte-order mark
// FF FE; malformed bytes are dropped.
std::string utf16_with_mark(std::string_view utf8);

}  // namespace varnel
