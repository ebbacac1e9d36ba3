// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page MP3标签: names MP3 files after their tag fields through a template.

#include <optional>
#include <string>

#include "filelist/file_list.h"
#include "platform/codec.h"

namespace varnel {

struct TagOptions {
    std::string tag_template;  // MP3命名规则编辑框 (code page)
    bool v1_first = false;     // V1优先单选框 (else V2优先单选框)
    // What stands for a '/' of a tag field in the name (code page);
    // nullopt: "／", the full-width solidus.
    std::optional<std::string> slash_stand_in = std::nullopt;
    // Also name the files of the other audio formats (audio_formats.h) from
    // their six common fields (config.ini 其他音频格式).
    bool other_formats = false;
};

// Tag-status texts of column MP3标签状态: "无标签" and "非MP3文件". They are
// data, the same in every language: varnel-cli prints them as a field of
// its records.
[[nodiscard]] const std::string& tag_status_no_tag();
[[nodiscard]] const std::string& tag_status_not_mp3();

// Sets the new name of every item. An empty template empties every new name
// and touches nothing else. An item whose name does not end in .mp3 (any
// case) gets an empty name and the status 非MP3文件; a file that cannot be
// opened keeps its new name and status; a file with neither tag gets an
// empty name and 无标签; otherwise the template is filled from the preferred
// tag (the other one only when the preferred is missing) and ".mp3" is
// appended to a non-empty result. The status column is never cleared.
// With other_formats on, an item of one of the other audio formats is
// named the same way from its common fields (read_common_tags: unreadable
// keeps the item as it was, no field gives 无标签), and its extension in
// lower case is appended; 非MP3文件 is then only for items of no listed
// format.
// A field never puts a '/' into a name: the track is its number alone (the
// text before a '/', so "1/10" gives "1"), and in every other field each
// '/' becomes the slash stand-in.
void compute_tag_names(FileList& list, const TagOptions& options, const Codec& codec);

}  // namespace varnel
