// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/tag_rule.h"

#include "audio/audio_formats.h"
#include "audio/common_tags.h"
#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "platform/code_page_chars.h"
#include "platform/language.h"
#include "platform/tag_file_io.h"
#include "rename/name_text.h"
#include "rename/tag_template.h"

namespace varnel {

namespace {

// A field longer than any file name can hold (255 bytes) is cut, at a
// character boundary, to its first 256 bytes or a few more: every name
// composed with it stays too long to be valid, as it was, while a template
// of 25 placeholders costs at most about 6.5 KB per name.
constexpr std::size_t longest_useful_field = 256;

void cut_fields(TagFields& fields) {
    for (std::string* field : {&fields.artist, &fields.title, &fields.album, &fields.track,
                               &fields.year, &fields.genre}) {
        if (field->size() <= longest_useful_field) continue;
        // At or after byte 256: the field stays over 255 bytes.
        field->resize(char_boundary_at_or_after(*field, longest_useful_field));
    }
}

// A '/' in a name would make it a path: the track "1/10" is track 1, and
// other fields get the stand-in. The byte '/' is never part of a two-byte
// or four-byte code-page character, so it is replaced byte-wise.
void keep_slashes_out(TagFields& fields, const std::string& stand_in) {
    if (const std::size_t slash = fields.track.find('/'); slash != std::string::npos)
        fields.track.resize(slash);
    for (std::string* field :
         {&fields.artist, &fields.title, &fields.album, &fields.year, &fields.genre}) {
        if (field->find('/') == std::string::npos) continue;
        std::string replaced;
        for (const char c : *field) {
            if (c == '/')
                replaced += stand_in;
            else
                replaced += c;
        }
        *field = std::move(replaced);
    }
}

// Reads the preferred tag, falling back to the other one as a whole.
bool read_tags(ByteFile& file, bool v1_first, TagFields& fields, const Codec& codec) {
    if (v1_first) return read_id3v1_tag(file, fields) || read_id3v2_tag(file, fields, codec);
    return read_id3v2_tag(file, fields, codec) || read_id3v1_tag(file, fields);
}

// How one item's fields were read.
enum class ItemRead { fields, no_tag, skip };

ItemRead read_mp3(const std::string& path, const TagOptions& options, TagFields& fields,
                  const Codec& codec) {
    std::optional<ByteFile> file = open_regular_file(path, false);
    if (!file) return ItemRead::skip;
    return read_tags(*file, options.v1_first, fields, codec) ? ItemRead::fields : ItemRead::no_tag;
}

ItemRead read_other(const std::string& path, TagFields& fields, const Codec& codec) {
    const Result<AudioTagRead> read = read_common_tags(path, fields, codec);
    if (!read) return ItemRead::skip;
    return *read == AudioTagRead::fields ? ItemRead::fields : ItemRead::no_tag;
}

}  // namespace

const std::string& tag_status_no_tag() {
    return code_page("无标签");
}

const std::string& tag_status_not_mp3() {
    return code_page("非MP3文件");
}

void compute_tag_names(FileList& list, const TagOptions& options, const Codec& codec) {
    std::span<std::string> new_names = list.new_names();
    if (options.tag_template.empty()) {
        for (std::string& name : new_names) name.clear();
        return;
    }
    const TagTemplate parsed = parse_tag_template(options.tag_template);
    const std::string stand_in = options.slash_stand_in.value_or(code_page("／"));
    TagFields fields;
    std::string path;
    for (int row = 0; row < list.item_count(); ++row) {
        std::string& new_name = new_names[static_cast<std::size_t>(row)];
        const std::string& old_name = list.old_names()[static_cast<std::size_t>(row)];
        const bool mp3 = has_extension(old_name, "MP3");
        if (!mp3 && !(options.other_formats && is_other_audio_name(old_name))) {
            list.set_cell(row, Column::tag_status, tag_status_not_mp3());
            new_name.clear();
            continue;
        }
        path = list.item_folder(row).fs;
        path += list.fs_name(row);
        const ItemRead read =
            mp3 ? read_mp3(path, options, fields, codec) : read_other(path, fields, codec);
        if (read == ItemRead::skip) continue;  // unreadable: the item keeps what it had
        if (read == ItemRead::no_tag) {
            list.set_cell(row, Column::tag_status, tag_status_no_tag());
            new_name.clear();
            continue;
        }
        cut_fields(fields);
        keep_slashes_out(fields, stand_in);
        new_name = compose_tag_name(parsed, fields);
        if (!new_name.empty())
            new_name += "." + (mp3 ? std::string("mp3") : lower_extension(old_name));
    }
}

}  // namespace varnel
