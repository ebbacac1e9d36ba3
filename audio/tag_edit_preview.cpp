// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/tag_edit_preview.h"

#include <optional>

#include "audio/audio_formats.h"
#include "audio/common_tags.h"
#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "id3/id3v2_writer.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/result.h"
#include "platform/tag_file_io.h"

namespace varnel {

FileTags read_file_tags(const std::string& path, const Codec& codec) {
    FileTags tags;
    const std::string extension = lower_extension(path);
    if (extension != "mp3" && !is_other_audio_name(path)) {
        tags.reason = say("不是音频文件", "Not an audio file");
        return tags;
    }
    Result<ByteFile> file = open_regular_file(path, false);
    if (!file) {
        tags.reason = system_error_text(file.error().number);
        return tags;
    }
    if (extension != "mp3") {
        // The same open check as for MP3 came first: a folder or a FIFO
        // named .flac is told as such, not as an empty tag.
        if (const Result<AudioTagRead> read = read_common_tags(path, tags.fields, codec); !read)
            tags.reason = system_error_text(read.error().number);
        return tags;
    }
    tags.mp3 = true;
    if (!read_id3v2_tag(*file, tags.fields, codec)) (void)read_id3v1_tag(*file, tags.fields);
    tags.unkeepable = unconvertible_frames(*file);
    return tags;
}

std::vector<FieldChange> field_changes(const FileTags& tags, const TagEditRequest& request) {
    std::vector<FieldChange> changes;
    if (!tags.reason.empty()) return changes;
    const std::size_t count = tags.mp3 ? request.fields.size() : common_field_count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& before = tags.fields.*tag_field_members[i];
        if (request.fields[i] && *request.fields[i] != before)
            changes.push_back({i, before, *request.fields[i]});
    }
    return changes;
}

}  // namespace varnel
