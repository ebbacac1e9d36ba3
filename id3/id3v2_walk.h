// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Walking the frame list of an ID3v2 tag: where each frame lies and where
// the frames end. The reader, the frame list of a rewrite and the search for
// the tag's end all find frames this one way, frame after frame, so that a
// frame id inside another frame's data is never taken for a frame.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// One frame of a walked tag, as offsets into FrameList::area.
struct FrameSpan {
    std::size_t at = 0;    // the frame header
    std::size_t size = 0;  // data bytes after the header
};

struct FrameList {
    std::uint8_t major = 0;  // 2, 3 or 4
    std::uint8_t flags = 0;  // the header's flag byte
    // The tag after its header and extended header, up to the declared end
    // or the end of the bytes given; the unsynchronisation of a whole
    // version 2.2 or 2.3 tag undone.
    std::string area;
    // Where `area` starts in the tag bytes when it holds them unchanged;
    // nullopt when unsynchronisation was undone (offsets then differ).
    std::optional<std::size_t> area_offset;
    // The frame header's size: 6 for version 2.2, else 10.
    std::size_t header_size = 10;
    std::vector<FrameSpan> frames;
    // Just after the last well-formed frame.
    std::size_t end = 0;
    // The frame at `end` whose size runs past the end of `area`, its data
    // cut there (`size` counts what is left); shown by the reader, never
    // kept by a rewrite.
    std::optional<FrameSpan> cut;
    // Only zero bytes (padding) follow `end` in `area`.
    bool clean = false;
    // A version 2.4 tag whose frame sizes are plain numbers, not syncsafe
    // (some writers put them so); `frames` then hold that reading.
    bool plain_sizes = false;
    // A version 2.4 tag whose frames end cleanly neither with syncsafe nor
    // with plain sizes, where the two readings find different frames.
    // `frames` hold the reading that walks further.
    bool ambiguous = false;

    [[nodiscard]] std::string_view id(const FrameSpan& frame) const;
    [[nodiscard]] std::string_view data(const FrameSpan& frame) const;
    // The two flag bytes (zero for version 2.2).
    [[nodiscard]] std::uint8_t status(const FrameSpan& frame) const;
    [[nodiscard]] std::uint8_t format(const FrameSpan& frame) const;
};

// The frames of `tag` (the tag's first bytes, header included; may be cut
// short by the end of the file). Versions 2.3 and 2.4 have an extended
// header where the flag says so, unless it does not parse and a frame id
// stands where it would start (writers that set the flag without one).
// nullopt when `tag` does not start with a valid header of version 2.2, 2.3
// or 2.4. A compressed version 2.2 tag has no frames.
[[nodiscard]] std::optional<FrameList> walk_id3v2_frames(std::string_view tag);

// The byte after the zero bytes that start at `from` in `bytes`.
[[nodiscard]] std::size_t skip_zero_bytes(std::string_view bytes, std::size_t from);

}  // namespace varnel
