// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/batch_tag_edit.h"

#include <cerrno>

#include "audio/audio_formats.h"
#include "audio/common_tag_write.h"
#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "id3/safe_rewrite.h"
#include "id3/tag_edit.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/tag_file_io.h"

namespace varnel {

namespace {

constexpr std::array<std::string TagFields::*, 12> members = {
    &TagFields::title,     &TagFields::artist,   &TagFields::album,
    &TagFields::track,     &TagFields::year,     &TagFields::genre,
    &TagFields::comment,   &TagFields::composer, &TagFields::original_artist,
    &TagFields::copyright, &TagFields::url,      &TagFields::encoder};

TagEditOutcome failed_with(int error) {
    return {TagEditStatus::failed, system_error_text(error)};
}

// Written; the journal learns the file's state after the write. Should
// that fail, undo still knows the file by its audio.
TagEditOutcome written(TagJournal* journal, ByteFile& file) {
    if (journal != nullptr && journal->record_written(file) != 0)
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

TagEditOutcome edit_mp3(const std::string& path, const TagEditRequest& request, const Codec& codec,
                        TagJournal* journal) {
    if (!leads_to_mp3_name(path)) return failed_with(errno);
    std::optional<ByteFile> file = open_regular_file(path, true);
    if (!file) return failed_with(errno);
    TagFields base;
    const bool had_v2 = read_id3v2_tag(*file, base, codec);
    if (!had_v2) (void)read_id3v1_tag(*file, base);  // ID3v1 alone: its texts carry over
    TagFields merged = base;
    for (std::size_t i = 0; i < members.size(); ++i)
        if (request.fields[i]) merged.*members[i] = *request.fields[i];
    if (had_v2 && merged == base) return {TagEditStatus::unchanged, {}};
    TagChanges changes;
    changes.v2 = TagChange::write;
    changes.v2_fields = std::move(merged);
    changes.v2_options.drop_unconvertible = request.drop_unkeepable_frames;
    if (journal != nullptr) {
        const std::uint64_t head = had_v2 ? id3v2_tag_length(*file).value_or(0) : 0;
        if (const int error = journal->record(path, *file, head, 0, std::nullopt, 0); error != 0)
            return failed_with(error);
    }
    const TagEditResult result = edit_tags(*file, path, changes, codec);
    if (result.ok) return written(journal, *file);
    if (result.error == 0 && !result.unconvertible.empty())
        return {TagEditStatus::refused,
                say("标签中有不能保留的帧：", "The tag holds frames that cannot be kept: ") +
                    frame_list(result.unconvertible)};
    return failed_with(result.error == 0 ? EFBIG : result.error);
}

TagEditOutcome edit_other(const std::string& path, const TagEditRequest& request,
                          const Codec& codec, TagJournal* journal) {
    std::optional<ByteFile> file = open_regular_file(path, true);
    if (!file) return failed_with(errno);
    // artist, title, album, track, year, genre out of the TagFields order
    const CommonEdits edits = {request.fields[1], request.fields[0], request.fields[2],
                               request.fields[3], request.fields[4], request.fields[5]};
    const PlannedEdit planned = plan_common_tag_edit(*file, path, edits, codec);
    if (!planned.edit) {
        if (planned.reason.empty()) return {TagEditStatus::unchanged, {}};
        return {TagEditStatus::failed, planned.reason};
    }
    if (journal != nullptr) {
        const FileEdit& edit = *planned.edit;
        const std::uint64_t size = file->length().value_or(0);
        const int error =
            edit.tail_from
                ? journal->record(path, *file, 0, size - *edit.tail_from, 0, edit.tail.size())
                : journal->record(path, *file, edit.cut, 0, edit.head.size(), 0);
        if (error != 0) return failed_with(error);
    }
    if (!commit_file_edit(*file, path, *planned.edit)) return failed_with(errno);
    return written(journal, *file);
}

bool has_mp3_extension(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return tail == ".mp3";
}

}  // namespace

TagEditOutcome edit_file_tags(const std::string& path, const TagEditRequest& request,
                              const Codec& codec, TagJournal* journal) {
    if (has_mp3_extension(path)) return edit_mp3(path, request, codec, journal);
    if (is_other_audio_name(path)) return edit_other(path, request, codec, journal);
    return {TagEditStatus::refused, say("不是音频文件", "Not an audio file")};
}

std::vector<TagEditOutcome> edit_tags_of_files(const std::vector<std::string>& paths,
                                               const TagEditRequest& request, const Codec& codec,
                                               TagJournal* journal) {
    std::vector<TagEditOutcome> outcomes;
    outcomes.reserve(paths.size());
    for (const std::string& path : paths)
        outcomes.push_back(edit_file_tags(path, request, codec, journal));
    return outcomes;
}

}  // namespace varnel
