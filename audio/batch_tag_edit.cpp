// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/batch_tag_edit.h"

#include <cerrno>

#include "audio/audio_formats.h"
#include "audio/common_tag_write.h"
#include "audio/tag_edit_preview.h"
#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "id3/safe_rewrite.h"
#include "id3/tag_edit.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/tag_file_io.h"

namespace varnel {

namespace {

TagEditOutcome failed_with(int error) {
    return {TagEditStatus::failed, system_error_text(error)};
}

// A failure of the journal: its text says what the journal was doing.
TagEditOutcome journal_failed(const Status& status) {
    return {TagEditStatus::failed, status.error().text()};
}

// Written; the journal learns the file's state after the write. Should
// that fail, undo still knows the file by its audio.
TagEditOutcome written(TagJournal* journal, const std::string& path, ByteFile& file) {
    if (journal != nullptr && !journal->record_written(path, file))
        return {TagEditStatus::written,
                say("已写入，但撤消记录未能记下写入后的状态",
                    "Written, but the undo journal could not note the state after the write")};
    return {TagEditStatus::written, {}};
}

std::string frame_list(const std::vector<std::string>& ids) {
    std::string list;
    for (const std::string& id : ids) list += (list.empty() ? "" : ", ") + id;
    return list;
}

// A file's edit made ready: opened, its new tag worked out and its old tag
// regions appended to the journal, but nothing written yet.
struct Prepared {
    std::string path;
    std::optional<ByteFile> file;
    std::optional<TagChanges> changes;   // MP3
    std::optional<FileEdit> edit;        // other formats
    std::optional<TagEditOutcome> done;  // decided without a write
};

Prepared finished(Prepared prepared, TagEditOutcome outcome) {
    prepared.done = std::move(outcome);
    return prepared;
}

Prepared prepare_mp3(Prepared prepared, const TagEditRequest& request, const Codec& codec,
                     TagJournal* journal) {
    if (const Status named = leads_to_mp3_name(prepared.path); !named)
        return finished(std::move(prepared), failed_with(named.error().number));
    Result<ByteFile> opened = open_regular_file(prepared.path, true);
    if (!opened) return finished(std::move(prepared), failed_with(opened.error().number));
    ByteFile& file = prepared.file.emplace(std::move(*opened));
    TagFields base;
    const bool had_v2 = read_id3v2_tag(file, base, codec);
    if (!had_v2) (void)read_id3v1_tag(file, base);  // ID3v1 alone: its texts carry over
    TagFields merged = base;
    for (std::size_t i = 0; i < tag_field_members.size(); ++i)
        if (request.fields[i]) merged.*tag_field_members[i] = *request.fields[i];
    if (had_v2 && merged == base)
        return finished(std::move(prepared), {TagEditStatus::unchanged, {}});
    TagChanges& changes = prepared.changes.emplace();
    changes.v2 = TagChange::write;
    changes.v2_fields = std::move(merged);
    changes.v2_options.drop_unconvertible = request.drop_unkeepable_frames;
    changes.v2_options.encoding = request.v2_encoding;
    if (journal != nullptr) {
        const std::uint64_t head = had_v2 ? id3v2_tag_length(file).value_or(0) : 0;
        if (const Status recorded = journal->record(prepared.path, file, head, 0, std::nullopt, 0);
            !recorded)
            return finished(std::move(prepared), journal_failed(recorded));
    }
    return prepared;
}

Prepared prepare_other(Prepared prepared, const TagEditRequest& request, const Codec& codec,
                       TagJournal* journal) {
    Result<ByteFile> opened = open_regular_file(prepared.path, true);
    if (!opened) return finished(std::move(prepared), failed_with(opened.error().number));
    prepared.file.emplace(std::move(*opened));
    // artist, title, album, track, year, genre out of the TagFields order
    const CommonEdits edits = {request.fields[1], request.fields[0], request.fields[2],
                               request.fields[3], request.fields[4], request.fields[5]};
    PlannedEdit planned = plan_common_tag_edit(*prepared.file, prepared.path, edits, codec);
    if (!planned.edit) {
        if (planned.reason.empty())
            return finished(std::move(prepared), {TagEditStatus::unchanged, {}});
        return finished(std::move(prepared), {TagEditStatus::failed, planned.reason});
    }
    if (journal != nullptr) {
        const FileEdit& edit = *planned.edit;
        const std::uint64_t size = prepared.file->length().value_or(0);
        const Status recorded =
            edit.tail_from
                ? journal->record(prepared.path, *prepared.file, 0, size - *edit.tail_from, 0,
                                  edit.tail.size())
                : journal->record(prepared.path, *prepared.file, edit.cut, 0, edit.head.size(), 0);
        if (!recorded) return finished(std::move(prepared), journal_failed(recorded));
    }
    prepared.edit = std::move(planned.edit);
    return prepared;
}

TagEditOutcome commit(Prepared& prepared, const Codec& codec, TagJournal* journal) {
    if (prepared.done) return *prepared.done;
    ByteFile& file = *prepared.file;
    if (prepared.edit) {
        if (const Status committed = commit_file_edit(file, prepared.path, *prepared.edit);
            !committed)
            return failed_with(committed.error().number);
        return written(journal, prepared.path, file);
    }
    const TagEditResult result = edit_tags(file, prepared.path, *prepared.changes, codec);
    if (result.ok) return written(journal, prepared.path, file);
    if (result.error.number == 0 && !result.unconvertible.empty())
        return {TagEditStatus::refused,
                say("标签中有不能保留的帧：", "The tag holds frames that cannot be kept: ") +
                    frame_list(result.unconvertible)};
    return failed_with(result.error.number == 0 ? EFBIG : result.error.number);
}

// Files prepared together before the journal is synced once for all of
// them: a sync per file would cost more than the edits themselves.
constexpr std::size_t files_per_sync = 64;

Prepared prepare(const std::string& path, const TagEditRequest& request, const Codec& codec,
                 TagJournal* journal) {
    Prepared prepared;
    prepared.path = path;
    if (lower_extension(path) == "mp3")
        return prepare_mp3(std::move(prepared), request, codec, journal);
    if (is_other_audio_name(path))
        return prepare_other(std::move(prepared), request, codec, journal);
    return finished(std::move(prepared),
                    {TagEditStatus::refused, say("不是音频文件", "Not an audio file")});
}

}  // namespace

TagEditOutcome edit_file_tags(const std::string& path, const TagEditRequest& request,
                              const Codec& codec, TagJournal* journal) {
    return edit_tags_of_files({path}, request, codec, journal).front();
}

std::vector<TagEditOutcome> edit_tags_of_files(const std::vector<std::string>& paths,
                                               const TagEditRequest& request, const Codec& codec,
                                               TagJournal* journal) {
    std::vector<TagEditOutcome> outcomes;
    outcomes.reserve(paths.size());
    for (std::size_t first = 0; first < paths.size(); first += files_per_sync) {
        std::vector<Prepared> group;
        for (std::size_t i = first; i < std::min(paths.size(), first + files_per_sync); ++i)
            group.push_back(prepare(paths[i], request, codec, journal));
        // Nothing is written before the old tags are on the disk.
        const Status synced = journal != nullptr ? journal->sync() : Status{};
        for (Prepared& prepared : group)
            outcomes.push_back(!synced && !prepared.done ? journal_failed(synced)
                                                         : commit(prepared, codec, journal));
    }
    // The states after the writes; undo knows a file by its audio without them.
    if (journal != nullptr) (void)journal->sync();
    return outcomes;
}

}  // namespace varnel
