// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the ID3v2 tag at the start of a file ends, so that a damaged size
// in its header never makes an edit or a removal take audio with the tag.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/byte_file.h"

namespace varnel {

enum class TagEnd {
    none,      // no ID3v2 header
    declared,  // where the header says (with a version 2.4 footer)
    mended,    // the declared size runs too far: after the frames instead
    unknown,   // the declared size runs too far and the frames' end is unclear
};

struct TagExtent {
    TagEnd end = TagEnd::none;
    // Bytes the tag takes at the file's start (0 for none and unknown).
    std::uint64_t length = 0;
    // The file's first bytes, as read_tag_bytes gives them: all `length`
    // of them for mended, at least the frames for declared and unknown.
    std::string bytes;
};

// The tag's extent. A declared size that runs past the end of the file, or
// past the last well-formed frame into what is plainly MPEG audio, is
// mended: the tag ends after its last well-formed frame and the zero bytes
// that follow it, where MPEG audio or the file's ID3v1 trailer begins (or
// at the end of a file that holds nothing else). Plainly MPEG audio: a
// frame header followed, after the frame, by another one, the ID3v1
// trailer or the file's end. Past the end of the file with anything else
// after the frames, or with an unsynchronised tag, the end is unknown; so
// it is within the file where the frames stop early and plain MPEG audio
// starts further on inside the declared size. A declared size within the
// file where no audio follows the frames stands (bytes after the frames
// then belong to the tag). Memory: the bytes read_tag_bytes keeps, never a
// declared size. The read error otherwise.
[[nodiscard]] Result<TagExtent> find_tag_extent(ByteFile& file);

// The first bytes of a file whose tag declares `declared` bytes (header
// included): all of them as far as the file holds them, except that beyond
// the first MiB only as far as the walked frames (or their padding) may
// reach, read in steps growing eightfold up to 32 MiB: beyond the first MiB
// at most 32 MiB after frames that stop on anything but padding are kept,
// however large the declared size. The read error otherwise.
[[nodiscard]] Result<std::string> read_tag_bytes(ByteFile& file, std::uint64_t declared);

}  // namespace varnel
