// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli tags-from-names: tags from the files' names.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_formats.h"
#include "audio/batch_tag_edit.h"
#include "audio/common_tags.h"
#include "audio/tag_journal.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "id3/id3v2_reader.h"
#include "platform/language.h"
#include "platform/tag_file_io.h"
#include "rename/batch_texts.h"
#include "rename/tags_from_name.h"

namespace varnel::cli {

namespace {

// Placeholder #k (1..6) and the TagFields member it sets, with its name
// in the table.
struct NamedField {
    std::string TagFields::*member;
    std::size_t request_index;  // in TagEditRequest::fields
    const char* word;
};
const std::array<NamedField, 6> named_fields{{{&TagFields::artist, 1, "artist"},
                                              {&TagFields::title, 0, "title"},
                                              {&TagFields::album, 2, "album"},
                                              {&TagFields::track, 3, "track"},
                                              {&TagFields::year, 4, "year"},
                                              {&TagFields::genre, 5, "genre"}}};

// The last component of `path` (file-system bytes).
std::string file_name(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The fields the file holds now: an MP3's ID3v2 tag, another format's
// common fields; empty when there are none or the file cannot be read.
TagFields current_fields(const std::string& path, const Codec& codec) {
    TagFields fields;
    if (is_other_audio_name(path)) {
        (void)read_common_tags(path, fields, codec);
        return fields;
    }
    if (std::optional<ByteFile> file = open_regular_file(path, false))
        (void)read_id3v2_tag(*file, fields, codec);
    return fields;
}

std::string_view status_word(TagEditStatus status) {
    switch (status) {
        case TagEditStatus::written:
            return say("已写入", "written");
        case TagEditStatus::unchanged:
            return say("无需改动", "unchanged");
        case TagEditStatus::refused:
            return say("未写入", "refused");
        case TagEditStatus::failed:
            break;
    }
    return say("写入失败", "failed");
}

std::string with_reason(std::string_view status, const std::string& reason) {
    std::string field(status);
    if (!reason.empty()) field += " (" + reason + ")";
    return field;
}

}  // namespace

std::optional<TagJournal> new_tag_journal(std::ostream& err, const std::string& hint) {
    const std::optional<std::string> path = tag_journal_path();
    std::string reason = say("没有主文件夹", "no home folder");
    std::optional<TagJournal> journal =
        path ? TagJournal::create(*path, reason) : std::optional<TagJournal>{};
    if (!journal)
        tell(err,
             say("无法建立标签的撤消记录：", "cannot make the tag undo journal: ") + reason + hint);
    return journal;
}

int run_tags_from_names(const Command& command, const Codec& codec, std::ostream& out,
                        std::ostream& err) {
    std::vector<std::string> paths;
    if (!command_paths(command, paths, err)) return 2;
    std::optional<TagJournal> journal;
    if (!command.dry_run && !(journal = new_tag_journal(err))) return 2;
    const std::string& tag_template = command.pages.tags.tag_template;
    RecordPrinter printer(out, codec, command.null_data, is_terminal_stream(out));
    int matched = 0;
    int written = 0;
    bool all_well = true;
    for (const std::string& path : paths) {
        const std::string name = codec.text_from_fs(file_name(path));
        const RecordField file = RecordField::name(codec.text_from_fs(path), path);
        const NameTags tags = tags_from_name(tag_template, name);
        if (!tags.matched()) {
            all_well = false;
            printer.print({with_reason(say("不匹配", "no match"), tags.reason), file});
            continue;
        }
        ++matched;
        const TagFields old_fields = current_fields(path, codec);
        TagEditRequest request;
        for (std::size_t k = 0; k < named_fields.size(); ++k) {
            if (!tags.named[k]) continue;
            const NamedField& f = named_fields[k];
            request.fields[f.request_index] = tags.fields.*(f.member);
            if (command.dry_run)
                printer.print({file, f.word, old_fields.*(f.member), tags.fields.*(f.member)});
        }
        if (command.dry_run) continue;
        const TagEditOutcome outcome = edit_file_tags(path, request, codec, &*journal);
        if (outcome.status == TagEditStatus::written) ++written;
        if (outcome.status == TagEditStatus::refused || outcome.status == TagEditStatus::failed)
            all_well = false;
        printer.print({with_reason(status_word(outcome.status), outcome.reason), file});
    }
    // Ended here rather than by the destructor, so that a failure is told.
    if (journal)
        if (const Status ended = journal->finish(); !ended) {
            tell(err, ended.error().text());
            all_well = false;
        }
    if (!command.quiet)
        (command.null_data ? err : out)
            << for_terminal(say("匹配 ", "matched ") + std::to_string(matched) + "/" +
                                std::to_string(paths.size()) + say("，写入 ", ", written ") +
                                std::to_string(written),
                            codec)
            << '\n';
    return all_well ? 0 : 1;
}

}  // namespace varnel::cli
