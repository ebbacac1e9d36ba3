// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Batch tag edits: the same field values given to many files at once, each
// file changed in one crash-safe step. MP3 files get any of the twelve
// ID3 fields through edit_tags (the ID3v2 tag is written; an ID3v1 tag is
// left as it is); files of the other audio formats get the six common
// fields through TagLib (plan_common_tag_edit + commit_file_edit).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "audio/tag_journal.h"
#include "id3/id3v2_builder.h"
#include "platform/codec.h"

namespace varnel {

struct TagEditRequest {
    // New texts (code page) in the order of TagFields' members: title,
    // artist, album, track, year, genre, comment, composer,
    // original_artist, copyright, url, encoder. nullopt: 保持不变 (keep).
    std::array<std::optional<std::string>, 12> fields;
    // The person agreed to leave out old ID3v2 frames that cannot be kept;
    // otherwise such a file is not written.
    bool drop_unkeepable_frames = false;
    // How an MP3's ID3v2 texts are written (ID3v2文字编码 of the settings).
    V2TextEncoding v2_encoding = V2TextEncoding::code_page;
};

enum class TagEditStatus {
    written,    // the new tag is in the file
    unchanged,  // the file already held the values
    refused,    // not written: frames that cannot be kept, or not an audio file
    failed,     // not written: a system error or a damaged file
};

struct TagEditOutcome {
    TagEditStatus status = TagEditStatus::failed;
    // For people, code page; empty when unchanged or written (unless the
    // journal could not note the state after the write).
    std::string reason;
};

// Edits one file (file-system path); MP3 by the name's extension (symbolic
// links followed), the other formats of audio_formats.h likewise. Fields 7
// to 12 are ignored for the other formats. With a journal, the file's old
// tag regions are recorded before the write (a failed record: not
// written) and its state after it.
[[nodiscard]] TagEditOutcome edit_file_tags(const std::string& path, const TagEditRequest& request,
                                            const Codec& codec, TagJournal* journal = nullptr);

// edit_file_tags for each path in turn; one outcome per path.
[[nodiscard]] std::vector<TagEditOutcome> edit_tags_of_files(const std::vector<std::string>& paths,
                                                             const TagEditRequest& request,
                                                             const Codec& codec,
                                                             TagJournal* journal = nullptr);

}  // namespace varnel
