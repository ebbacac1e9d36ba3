// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a batch tag edit (batch_tag_edit.h) would change, read before it
// writes: the tags a file holds now and the fields a request changes.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "audio/batch_tag_edit.h"
#include "id3/tag_fields.h"
#include "platform/codec.h"

namespace varnel {

// TagFields' members in the order of TagEditRequest::fields.
inline constexpr std::array<std::string TagFields::*, 12> tag_field_members = {
    &TagFields::title,     &TagFields::artist,   &TagFields::album,
    &TagFields::track,     &TagFields::year,     &TagFields::genre,
    &TagFields::comment,   &TagFields::composer, &TagFields::original_artist,
    &TagFields::copyright, &TagFields::url,      &TagFields::encoder};

// The six fields every audio format has: title, artist, album, track,
// year, genre (the first six of TagEditRequest::fields).
inline constexpr std::size_t common_field_count = 6;

struct FileTags {
    // What the edit starts from: an MP3's ID3v2 tag (its ID3v1 tag when it
    // has none, whose texts carry over); another format's six fields.
    TagFields fields;
    bool mp3 = false;  // all twelve fields apply; else the first six
    // The ids of the ID3v2 frames a write would leave out.
    std::vector<std::string> unkeepable;
    // Why the file cannot be edited (code page): not an audio file, or the
    // system's reason it cannot be read. Empty when it can.
    std::string reason;
};

// The tags of the file at `path` (file-system bytes): MP3 by the name's
// extension, the formats of audio_formats.h likewise. Reads only.
[[nodiscard]] FileTags read_file_tags(const std::string& path, const Codec& codec);

struct FieldChange {
    std::size_t field = 0;  // index in TagEditRequest::fields
    std::string before;     // code page
    std::string after;
};

// The fields `request` gives another text than `tags` holds, in the order
// of TagEditRequest::fields; for a file that is not MP3 only the first
// six, as the edit ignores the others. None for a file that cannot be edited.
[[nodiscard]] std::vector<FieldChange> field_changes(const FileTags& tags,
                                                     const TagEditRequest& request);

}  // namespace varnel
