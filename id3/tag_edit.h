// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Changes of both tags of an MP3 file made as one crash-safe edit: after a
// crash or kill the file has both old tags or both new ones (or one that
// the next edit of the file finishes).

#include <string>

#include "id3/id3v2_builder.h"
#include "id3/id3v2_writer.h"
#include "id3/tag_fields.h"
#include "platform/byte_file.h"
#include "platform/codec.h"

namespace varnel {

enum class TagChange { keep, write, remove };

struct TagChanges {
    TagChange v1 = TagChange::keep;
    std::string v1_block;  // the 128 bytes to write (build_id3v1_block)
    TagChange v2 = TagChange::keep;
    TagFields v2_fields;  // written as write_id3v2_tag writes them
    V2WriteOptions v2_options;
};

// Makes `changes` to the file at `path`, open as `file` for reading and
// writing, after finishing an interrupted edit of it; `file` is afterwards
// open on the file at `path`. Not ok when frames of the old ID3v2 tag
// cannot be carried and the options do not allow to drop them (nothing
// written, error 0), or on any error (its error number; EWOULDBLOCK when
// another program held the file too long); the file is then unchanged.
[[nodiscard]] TagEditResult edit_tags(ByteFile& file, const std::string& path,
                                      const TagChanges& changes, const Codec& codec);

}  // namespace varnel
