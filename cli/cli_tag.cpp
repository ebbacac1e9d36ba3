// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli tag: shows and edits the two tags of one MP3 file with the
// same calls as the tag window's 更新.

#include <array>
#include <cerrno>
#include <optional>
#include <string_view>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "id3/genres.h"
#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "id3/id3v2_writer.h"
#include "id3/safe_rewrite.h"
#include "id3/tag_edit.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/tag_file_io.h"

namespace varnel::cli {

namespace {

constexpr int usage_error = 2;

struct FieldName {
    std::string_view name;
    std::string TagFields::*member;
};

// In TagFields order; ID3v1 carries the first seven.
constexpr std::array<FieldName, 12> field_names{{
    {"title", &TagFields::title},
    {"artist", &TagFields::artist},
    {"album", &TagFields::album},
    {"track", &TagFields::track},
    {"year", &TagFields::year},
    {"genre", &TagFields::genre},
    {"comment", &TagFields::comment},
    {"composer", &TagFields::composer},
    {"original_artist", &TagFields::original_artist},
    {"copyright", &TagFields::copyright},
    {"url", &TagFields::url},
    {"encoder", &TagFields::encoder},
}};
constexpr std::size_t v1_field_count = 7;

using Settings = std::vector<std::pair<std::string, std::string>>;

std::string TagFields::*member_of(std::string_view name, std::size_t allowed) {
    for (std::size_t i = 0; i < allowed; ++i)
        if (field_names[i].name == name) return field_names[i].member;
    return nullptr;
}

bool equal_ignoring_case(std::string_view one, std::string_view other) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (one.size() != other.size()) return false;
    for (std::size_t i = 0; i < one.size(); ++i)
        if (lower(one[i]) != lower(other[i])) return false;
    return true;
}

// A number 0..`max` in decimal digits only; nullopt otherwise.
std::optional<int> small_number(std::string_view text, int max) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value <= max ? std::optional<int>(value) : std::nullopt;
}

// The ID3v1 genre number of a value: a number 0..255 or one of the genre
// names (any case).
std::optional<int> v1_genre(std::string_view value) {
    if (const std::optional<int> number = small_number(value, 255)) return number;
    for (int number = 0; number < genre_count; ++number)
        if (equal_ignoring_case(value, genre_name(number))) return number;
    return std::nullopt;
}

// Checks every FIELD=VALUE of one tag; false (with a message) at the first
// unknown field or bad ID3v1 value.
bool check(const Settings& settings, std::size_t allowed, std::ostream& err) {
    for (const auto& [name, value] : settings) {
        if (!member_of(name, allowed)) {
            tell(err, say("未知的标签字段 ", "unknown tag field ") + name);
            return false;
        }
        if (allowed != v1_field_count) continue;
        if (name == "genre" && !value.empty() && !v1_genre(value)) {
            tell(err, say("genre：既不是 0..255 的数，也不是流派的名称",
                          "genre: not a number 0..255 or a genre name"));
            return false;
        }
        if (name == "track" && !value.empty() && !small_number(value, 255)) {
            tell(err, say("track：不是 0..255 的数", "track: not a number 0..255"));
            return false;
        }
    }
    return true;
}

void apply(const Settings& settings, std::size_t allowed, TagFields& fields) {
    for (const auto& [name, value] : settings) fields.*member_of(name, allowed) = value;
}

void print_tag(std::string_view prefix, const std::optional<TagFields>& fields, std::size_t count,
               const Codec& codec, std::ostream& out) {
    if (!fields) {
        out << prefix << "=none\n";
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        out << prefix << '.' << field_names[i].name << '='
            << escaped((*fields).*(field_names[i].member), codec) << '\n';
}

std::optional<TagFields> read_v1(ByteFile& file) {
    TagFields fields;
    if (!read_id3v1_tag(file, fields)) return std::nullopt;
    return fields;
}

std::optional<TagFields> read_v2(ByteFile& file, const Codec& codec) {
    TagFields fields;
    if (!read_id3v2_tag(file, fields, codec)) return std::nullopt;
    return fields;
}

// The ID3v1 block of 更新: track and genre as numbers (0 and 255 when empty).
std::string v1_block(const TagFields& f) {
    const int genre = f.genre.empty() ? 255 : v1_genre(f.genre).value_or(255);
    const int track = f.track.empty() ? 0 : small_number(f.track, 255).value_or(0);
    return build_id3v1_block(f.title, f.artist, f.album, f.year, f.comment, track, genre);
}

std::string error_text(int error) {
    if (error == EWOULDBLOCK)
        return message_codec().to_utf8_lossy(
            say("文件正被另一个程序修改", "the file is being changed by another program"));
    return tag_edit_error_text(error);
}

// `what` failed for the file at `path`, for the reason `error`.
void report(const std::string& path, const std::string& what, int error, std::ostream& err) {
    tell_path(
        err, path,
        what + say("失败：", " failed: ") + message_codec().from_utf8_lossy(error_text(error)));
}

void report_recovery(Recovery found, const std::string& path, std::ostream& err) {
    if (found == Recovery::finished)
        tell_path(err, path,
                  say("上一次的标签修改没有完成；现已完成",
                      "the last tag edit did not finish; finished now"));
    if (found == Recovery::discarded)
        tell_path(err, path,
                  say("上一次的标签修改没有完成，文件已被另一个程序修改；文件保持原样",
                      "the last tag edit did not finish and another program has changed the "
                      "file since; the file is left as it is"));
}

bool refuse_unconvertible(const std::vector<std::string>& frames, const std::string& path,
                          std::ostream& err) {
    if (frames.empty()) return false;
    std::string ids;
    for (const std::string& id : frames) ids += ' ' + id;
    tell_path(
        err, path,
        say("ID3v2 标签中有无法保留的帧：", "the ID3v2 tag holds frames that cannot be kept:") +
            ids +
            say("（什么也没有写；加 --drop-unconvertible 可以不带它们写入）",
                " (nothing written; --drop-unconvertible writes without them)"));
    return true;
}

// Both tags' changes of the command, read from the open file.
TagChanges changes_of(const Command& command, ByteFile& file, const Codec& codec) {
    TagChanges changes;
    if (!command.set_v1.empty()) {
        TagFields fields = read_v1(file).value_or(TagFields{});
        apply(command.set_v1, v1_field_count, fields);
        changes.v1 = TagChange::write;
        changes.v1_block = v1_block(fields);
    } else if (command.remove_v1) {
        changes.v1 = TagChange::remove;
    }
    if (!command.set_v2.empty()) {
        changes.v2_fields = read_v2(file, codec).value_or(TagFields{});
        apply(command.set_v2, field_names.size(), changes.v2_fields);
        changes.v2 = TagChange::write;
        changes.v2_options =
            V2WriteOptions{command.v2_unicode ? V2TextEncoding::unicode : V2TextEncoding::code_page,
                           command.drop_unconvertible};
    } else if (command.remove_v2) {
        changes.v2 = TagChange::remove;
    }
    return changes;
}

// 0 when the edit succeeded, 1 otherwise. Every change of the command is
// one edit: all of them are made or none. Nothing is written when the file
// cannot be opened or holds frames a write would have to drop.
int edit(const Command& command, const std::string& path, const Codec& codec, std::ostream& err) {
    if (!leads_to_mp3_name(path)) {
        tell_path(
            err, path,
            say("不是 .mp3 文件；什么也没有写", "does not lead to an .mp3 file; nothing written"));
        return 1;
    }
    Result<ByteFile> file = open_regular_file(path, true);
    if (!file) {
        report(path, say("打开", "opening"), file.error().number, err);
        return 1;
    }
    const Result<Recovery> found = recover_file_edit(*file, path);
    if (!found) {
        report(path, say("完成中断的修改", "finishing an interrupted edit"), found.error().number,
               err);
        return 1;
    }
    report_recovery(*found, path, err);
    const TagEditResult result = edit_tags(*file, path, changes_of(command, *file, codec), codec);
    if (!result.ok && result.error.number == 0)
        refuse_unconvertible(result.unconvertible, path, err);
    if (!result.ok && result.error.number != 0)
        report(path, say("写入标签", "writing the tags"), result.error.number, err);
    return result.ok ? 0 : 1;
}

}  // namespace

int run_tag(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    const std::string& path = command.files.front();
    if (!check(command.set_v1, v1_field_count, err) ||
        !check(command.set_v2, field_names.size(), err))
        return usage_error;
    const bool editing = !command.set_v1.empty() || !command.set_v2.empty() || command.remove_v1 ||
                         command.remove_v2;
    const int status = editing ? edit(command, path, codec, err) : 0;
    // Showing only reads: an interrupted edit is told, and left to the next edit.
    Result<ByteFile> file = open_regular_file(path, false);
    if (!file) {
        if (status == 0)
            report(path, say("打开", "opening"), file.error().number, err);  // else told already
        return 1;
    }
    if (has_unfinished_edit(*file)) report_unfinished_edit(path, err);
    print_tag("v1", read_v1(*file), v1_field_count, codec, out);
    print_tag("v2", read_v2(*file, codec), field_names.size(), codec, out);
    return status;
}

}  // namespace varnel::cli
