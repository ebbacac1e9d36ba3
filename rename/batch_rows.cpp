// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/batch_rows.h"

#include <cerrno>

#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/rename_file.h"
#include "rename/batch_texts.h"
#include "rename/name_check.h"

namespace varnel::batch {

const DirHandle* FolderCache::get(const std::string& fs_folder, int& error) {
    auto [slot, added] = handles_.try_emplace(fs_folder);
    if (added) {
        Result<DirHandle> opened = DirHandle::open_path(fs_folder);
        if (opened)
            slot->second.handle = std::move(*opened);
        else
            slot->second.error = opened.error().number;
    }
    error = slot->second.error;
    return slot->second.handle ? &*slot->second.handle : nullptr;
}

const DirHandle* RowFolders::of(int row, int& error) {
    const std::uint32_t index = list_.folder_index(row);
    if (index >= by_index_.size()) by_index_.resize(list_.folder_count(), {nullptr, -1});
    auto& known = by_index_[index];
    if (known.second < 0) {
        int folder_error = 0;
        known.first = folders_.get(list_.folder_at(index).fs, folder_error);
        known.second = folder_error;
    }
    error = known.second;
    return known.first;
}

void Progress::item_done(int done) {
    const int squares = texts::progress_squares_after(done, count_);
    if (squares <= shown_) return;
    shown_ = squares;
    if (callback_) callback_(texts::progress_text(squares));
}

std::string reason_of(int error, const Codec& codec) {
    if (error == 0) return {};
    if (const NameProblem problem = name_problem_of(error); problem != NameProblem::none)
        return name_problem_text(problem);
    if (error == no_renamed_file_error)
        return say("更名后的名称上已没有文件", "no file has the name the rename gave any more");
    if (error > not_the_file_error)
        return say("更名后名称上的是另一个文件：",
                   "the file under the name the rename gave is another file: ") +
               mismatch_text(static_cast<FileMismatch>(error - not_the_file_error));
    return codec.from_utf8_lossy(system_error_text(error));
}

std::optional<ClaimNote> claim_note(const BatchHooks& hooks, const std::size_t* current) {
    if (!hooks.before_claim) return std::nullopt;
    return ClaimNote(
        [&hooks, current](const std::string& name) { return hooks.before_claim(*current, name); });
}

void Group::clear() {
    rows.clear();
    entries.clear();
    unchanged.clear();
}

void plan_row(const FileList& list, int row, RowFolders& folders, const TargetOf& target_of,
              Group& group) {
    Planned planned;
    planned.row = row;
    const DirHandle* dir = folders.of(row, planned.error);
    const ItemFolder& folder = list.item_folder(row);
    const auto r = static_cast<std::size_t>(row);
    const std::string& new_name = list.new_names()[r];
    std::optional<std::string> target;
    std::optional<FileId> file;
    if (dir != nullptr) {
        planned.dir = dir;
        target = target_of(row);
        if (!target) planned.error = EILSEQ;
    }
    // A name no file can have fails here, with its own reason, rather than
    // as whatever the rename call would say (an empty name is the folder).
    if (target && *target != list.fs_name(row)) {
        const NameProblem problem = check_new_name(*target);
        if (problem != NameProblem::none) {
            planned.error = name_problem_error(problem);
            target.reset();
        }
    }
    if (target) {
        const Result<FileId> id = file_id_at(*dir, list.fs_name(row));
        if (id)
            file = *id;
        else
            planned.error = id.error().number;
    }
    if (planned.error == 0 && file) {
        planned.unchanged = *target == list.fs_name(row);
        auto& into = planned.unchanged ? group.unchanged : group.entries;
        planned.entry = into.size();
        into.push_back(UndoEntry{folder.fs, folder.text, list.old_names()[r], list.fs_name(row),
                                 new_name, std::move(*target), *file});
    }
    group.rows.push_back(planned);
}

BatchOutcome rename_in_order(FileList& list, std::span<const int> rows, const TargetOf& target_of,
                             UndoLog& log, const Codec& codec, const BatchHooks& hooks) {
    const int count = static_cast<int>(rows.size());
    RowFolders folders(list);
    Progress shown(count, hooks.progress);
    BatchOutcome outcome;
    outcome.count = count;
    std::size_t journaled_before = 0;
    std::size_t current = 0;  // the journal index of the rename under way
    const std::optional<ClaimNote> claim = claim_note(hooks, &current);
    // Grown once, not copied at every doubling.
    if (hooks.keep_undo_log) log.entries.reserve(log.entries.size() + rows.size());
    int done = 0;
    Group group;
    for (int first = 0; first < count && !outcome.cancelled; first += group_rows) {
        group.clear();
        for (int i = first; i < std::min(count, first + group_rows); ++i)
            plan_row(list, rows[static_cast<std::size_t>(i)], folders, target_of, group);
        const int journal_error = hooks.before_renames && !group.entries.empty()
                                      ? hooks.before_renames(group.entries)
                                      : 0;
        for (const Planned& planned : group.rows) {
            const int row = planned.row;
            int error = planned.error;
            if (error == 0) {
                UndoEntry& entry =
                    (planned.unchanged ? group.unchanged : group.entries)[planned.entry];
                error = planned.unchanged ? 0 : journal_error;
                current = journaled_before + planned.entry;
                if (error == 0)
                    error = rename_no_replace(*planned.dir, entry.fs_name, entry.renamed_fs_name,
                                              folders.case_memo(), claim ? &*claim : nullptr);
                if (error != 0 && journal_error == 0 && !planned.unchanged && hooks.rename_failed)
                    hooks.rename_failed(journaled_before + planned.entry);
                if (error == 0) {
                    list.set_old_name(row, ItemName{entry.new_name, entry.renamed_fs_name});
                    if (hooks.keep_undo_log) log.entries.push_back(std::move(entry));
                }
            }
            if (error == 0) ++outcome.successes;
            show_rename_outcome(list, row, error, codec);
            if (hooks.item_done) hooks.item_done(row);
            shown.item_done(++done);
            // Stopped between files: the journal's later entries never
            // happen, which its undo recognises.
            if (done < count && cancel_wanted(hooks, done, count)) {
                outcome.cancelled = true;
                break;
            }
        }
        journaled_before += group.entries.size();
    }
    if (outcome.cancelled) {
        outcome.count = done;
        outcome.summary = cancelled_summary(texts::rename_partial_summary(done, outcome.successes));
        return outcome;
    }
    outcome.summary = outcome.all_succeeded()
                          ? std::string(texts::rename_all_done())
                          : texts::rename_partial_summary(count, outcome.successes);
    return outcome;
}

const std::string& stays_named_text() {
    return say("；文件仍名为", "; the file stays named ");
}

std::string cancelled_summary(const std::string& summary) {
    return say("已取消：", "Cancelled: ") + summary;
}

void show_rename_outcome(FileList& list, int row, int error, const Codec& codec,
                         std::string_view stays) {
    if (error == 0) {
        list.set_rename_status(row, std::string(texts::rename_succeeded()), StatusImage::success);
        return;
    }
    std::string reason = reason_of(error, codec);
    if (!stays.empty()) reason += stays_named_text() + codec.text_from_fs(stays);
    list.set_cell(row, Column::new_name, list.new_names()[static_cast<std::size_t>(row)]);
    list.set_rename_status(row, std::string(texts::rename_failed()), StatusImage::failure,
                           std::move(reason));
}

void set_undo_summary(BatchOutcome& outcome, const std::vector<UndoFailure>& failures) {
    if (outcome.all_succeeded() && !outcome.cancelled) {
        outcome.summary = std::string(texts::undo_all_done());
        return;
    }
    outcome.summary = texts::undo_partial_summary(outcome.count, outcome.successes);
    if (outcome.cancelled) outcome.summary = cancelled_summary(outcome.summary);
    if (failures.empty()) return;
    outcome.summary += "\r\n";
    const std::string& colon = say("：", ": ");
    for (std::size_t i = 0; i < failures.size() && i < max_failure_lines; ++i)
        outcome.summary += "\r\n" + failures[i].place + colon + failures[i].reason;
    if (failures.size() > max_failure_lines)
        outcome.summary += "\r\n" + say("……另有 ", "… and ") +
                           std::to_string(failures.size() - max_failure_lines) +
                           say(" 个文件", " more files");
}

std::string file_key(std::string_view folder, std::string_view name) {
    std::string key;
    key.reserve(folder.size() + name.size() + 1);
    key.append(folder);
    key += '\0';
    key.append(name);
    return key;
}

int undo_one(const UndoEntry& entry, FolderCache& folders) {
    int error = 0;
    const DirHandle* dir = folders.get(entry.fs_folder, error);
    if (dir == nullptr) return error;
    const auto now = file_id_at(*dir, entry.renamed_fs_name);
    if (!now) return no_renamed_file_error;
    const FileMismatch mismatch = compare_files(entry.file, *now);
    if (mismatch != FileMismatch::none) return mismatch_error(mismatch);
    if (entry.exchange) return exchange_names(*dir, entry.renamed_fs_name, entry.fs_name);
    return rename_no_replace(*dir, entry.renamed_fs_name, entry.fs_name, folders.case_memo());
}

}  // namespace varnel::batch
