// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/renamer.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <numeric>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/language.h"
#include "platform/rename_file.h"
#include "rename/batch_rows.h"
#include "rename/batch_texts.h"
#include "rename/target_name.h"

namespace varnel {

using namespace batch;

BatchOutcome rename_items(FileList& list, const RulePages& pages, UndoLog& log, const Codec& codec,
                          const ProgressCallback& progress) {
    BatchHooks hooks;
    hooks.progress = progress;
    return rename_items(list, pages, log, codec, hooks);
}

BatchOutcome rename_items(FileList& list, const RulePages& pages, UndoLog& log, const Codec& codec,
                          const BatchHooks& hooks) {
    return rename_items(list, page_rule(pages, codec), log, codec, hooks);
}

BatchOutcome rename_items(FileList& list, std::span<const RuleStep> steps, UndoLog& log,
                          const Codec& codec, const BatchHooks& hooks) {
    return rename_items(list, chain_rule({steps.begin(), steps.end()}, codec), log, codec, hooks);
}

BatchOutcome rename_items(FileList& list, const NameRule& rule, UndoLog& log, const Codec& codec,
                          const BatchHooks& hooks) {
    const FileList::ChangeBatch batch(list);
    const int count = list.item_count();
    BatchOutcome refused;
    std::vector<NameFault> faults;
    rule.compute(list, count, &refused.refused, &faults);
    // A spent time budget comes with the names it left (faults): those fail
    // below, the others run. Any other error means nothing was computed.
    if (!faults.empty()) refused.refused.clear();
    if (refused.refused.empty() && faults.empty() &&
        std::ranges::equal(list.old_names(), list.new_names()))
        refused.refused = say("没有需要更名的文件", "No file needs a new name.");
    if (!refused.refused.empty()) {
        refused.summary = refused.refused;
        return refused;
    }
    log.entries.clear();
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        if (faults.empty() || faults[static_cast<std::size_t>(row)] == NameFault::none)
            rows.push_back(row);
    BatchOutcome outcome =
        hooks.order == RenameOrder::smart
            ? rename_smart(list, rows, log, codec, hooks)
            : rename_in_order(
                  list, rows,
                  [&](int row) {
                      return target_fs_name(list, row,
                                            list.new_names()[static_cast<std::size_t>(row)], codec);
                  },
                  log, codec, hooks);
    if (faults.empty() || outcome.cancelled) return outcome;
    // The names the rule could not compute fail with its reason, untouched.
    for (int row = 0; row < count; ++row) {
        const NameFault fault = faults[static_cast<std::size_t>(row)];
        if (fault == NameFault::none) continue;
        list.set_cell(row, Column::new_name, list.new_names()[static_cast<std::size_t>(row)]);
        list.set_rename_status(row, std::string(texts::rename_failed()), StatusImage::failure,
                               name_fault_text(fault));
        if (hooks.item_done) hooks.item_done(row);
        ++outcome.count;
    }
    outcome.summary = texts::rename_partial_summary(outcome.count, outcome.successes);
    return outcome;
}

namespace {

// Why a file did not come back, in the user's words where the system's
// would mislead.
std::string undo_reason(int error, const Codec& codec) {
    if (error == no_renamed_file_error)
        return say("文件已不在更名后的位置（被移走或删除）",
                   "the file is no longer under its new name (moved or deleted)");
    if (error > not_the_file_error)
        return say("更名后位置上的已是另一个文件（", "another file is under the new name (") +
               mismatch_text(static_cast<FileMismatch>(error - not_the_file_error)) +
               say("）", ")");
    if (error == EEXIST) return say("原名称已被另一个文件占用", "another file has the old name");
    return reason_of(error, codec);
}

// A file of the log, by its identity: a file the smart order moved twice
// (through a temporary name) has two entries.
using FileKey = std::tuple<std::uint64_t, std::uint64_t, std::int64_t, std::uint32_t, std::int64_t,
                           std::uint32_t, std::uint64_t>;
FileKey key_of(const FileId& id) {
    return {id.device, id.inode, id.birth_sec, id.birth_nsec, id.mtime_sec, id.mtime_nsec, id.size};
}

struct FileUndo {
    int row = -1;   // the row that shows the file, if the list still has one
    int error = 0;  // the first failure of its moves
    const UndoEntry* failed = nullptr;
};

}  // namespace

BatchOutcome undo_rename(FileList& list, UndoLog& log, const Codec& codec,
                         const BatchHooks& hooks) {
    const FileList::ChangeBatch batch(list);
    std::unordered_map<std::string, int> row_of;  // the file each row holds now
    row_of.reserve(static_cast<std::size_t>(list.item_count()));
    for (int row = 0; row < list.item_count(); ++row)
        row_of.try_emplace(file_key(list.item_folder(row).fs, list.fs_name(row)), row);

    std::map<FileKey, std::size_t> file_index;
    std::vector<FileUndo> files;
    std::vector<UndoEntry> left;  // what stays to undo, last first
    FolderCache folders;
    const int entry_count = static_cast<int>(log.entries.size());
    Progress shown(entry_count, hooks.progress);
    int done = 0;
    bool cancelled = false;
    // Last move first, so chains, swaps and steps through temporary names
    // come back in the reverse of the order they were made.
    for (auto it = log.entries.rbegin(); it != log.entries.rend(); ++it) {
        if (cancelled) {  // not reached: stays to undo
            left.push_back(*it);
            continue;
        }
        const auto [slot, added] = file_index.try_emplace(key_of(it->file), files.size());
        if (added) files.emplace_back();
        FileUndo& file = files[slot->second];
        const int error = undo_one(*it, folders);
        const auto found = row_of.find(file_key(it->fs_folder, it->renamed_fs_name));
        if (found != row_of.end()) file.row = found->second;
        if (error == 0) {
            // A swap moves the file under the old name too.
            std::optional<int> other;
            if (const auto o = row_of.find(file_key(it->fs_folder, it->fs_name));
                it->exchange && o != row_of.end()) {
                other = o->second;
                row_of.erase(o);
            }
            if (found != row_of.end()) {
                list.set_old_name(found->second, ItemName{it->name, it->fs_name});
                row_of.erase(file_key(it->fs_folder, it->renamed_fs_name));
                row_of.try_emplace(file_key(it->fs_folder, it->fs_name), file.row);
            }
            if (other) {
                list.set_old_name(*other, ItemName{it->new_name, it->renamed_fs_name});
                row_of.try_emplace(file_key(it->fs_folder, it->renamed_fs_name), *other);
            }
        } else {
            if (file.error == 0) {
                file.error = error;
                file.failed = &*it;
            }
            left.push_back(*it);
        }
        shown.item_done(++done);
        cancelled = done < entry_count && cancel_wanted(hooks, done, entry_count);
    }

    BatchOutcome outcome;
    outcome.count = static_cast<int>(files.size());
    std::vector<UndoFailure> failures;
    for (const FileUndo& file : files) {
        if (file.error == 0) {
            ++outcome.successes;
        } else {
            failures.push_back(UndoFailure{file.failed->folder_text + file.failed->new_name,
                                           undo_reason(file.error, codec)});
        }
        if (file.row < 0) continue;
        if (file.error == 0)
            list.set_rename_status(file.row, std::string(texts::undo_succeeded()),
                                   StatusImage::success);
        else
            list.set_rename_status(file.row, std::string(texts::undo_failed()),
                                   StatusImage::failure, failures.back().reason);
        if (hooks.item_done) hooks.item_done(file.row);
    }
    outcome.cancelled = cancelled;
    set_undo_summary(outcome, failures);
    log.entries.assign(std::make_move_iterator(left.rbegin()),
                       std::make_move_iterator(left.rend()));
    return outcome;
}

int renames_done(std::span<const UndoEntry> entries) {
    FolderCache folders;
    int done = 0;
    for (const UndoEntry& entry : entries) {
        int error = 0;
        const DirHandle* dir = folders.get(entry.fs_folder, error);
        if (dir == nullptr) continue;
        const auto now = file_id_at(*dir, entry.renamed_fs_name);
        if (now && is_same_file(entry.file, *now)) ++done;
    }
    return done;
}

namespace {

// The names the rename of each entry claimed on its way, by entry.
class ClaimedNames {
public:
    explicit ClaimedNames(std::span<const Reservation> reservations) {
        by_entry_.reserve(reservations.size());
        for (const Reservation& r : reservations) by_entry_.push_back(&r);
        std::stable_sort(
            by_entry_.begin(), by_entry_.end(),
            [](const Reservation* a, const Reservation* b) { return a->entry < b->entry; });
    }
    std::span<const Reservation* const> of(std::size_t entry) const {
        const auto first =
            std::lower_bound(by_entry_.begin(), by_entry_.end(), entry,
                             [](const Reservation* r, std::size_t e) { return r->entry < e; });
        auto last = first;
        while (last != by_entry_.end() && (*last)->entry == entry) ++last;
        return {first, last};
    }

private:
    std::vector<const Reservation*> by_entry_;
};

// Undoes one journal entry (see undo_entries); empty reason on success.
std::string undo_journal_entry(const UndoEntry& entry, std::span<const Reservation* const> claimed,
                               FolderCache& folders, const Codec& codec) {
    int error = 0;
    const DirHandle* dir = folders.get(entry.fs_folder, error);
    if (dir == nullptr) return reason_of(error, codec);
    const auto holds_file = [&](const std::string& name, int& why) {
        const auto now = file_id_at(*dir, name);
        const FileMismatch mismatch = now ? compare_files(entry.file, *now) : FileMismatch::none;
        why = !now ? no_renamed_file_error : mismatch_error(mismatch);
        return now && mismatch == FileMismatch::none;
    };
    int at_new_name = 0;
    int elsewhere = 0;
    const std::string* where = nullptr;
    if (holds_file(entry.renamed_fs_name, at_new_name)) where = &entry.renamed_fs_name;
    for (std::size_t i = 0; where == nullptr && !entry.exchange && i < claimed.size(); ++i)
        if (holds_file(claimed[i]->fs_name, elsewhere)) where = &claimed[i]->fs_name;
    if (where == nullptr && holds_file(entry.fs_name, elsewhere)) where = &entry.fs_name;
    if (where == nullptr) return reason_of(at_new_name, codec);
    // Our empty reservations go; a file that is itself empty cannot be told
    // from one, so none is removed beside it.
    for (const Reservation* r : claimed)
        if (r->fs_name != *where && r->fs_name != entry.fs_name && entry.file.size != 0)
            (void)remove_empty_file(*dir, r->fs_name);  // best effort: a left one is empty
    if (*where == entry.fs_name) return {};
    error = entry.exchange ? exchange_names(*dir, *where, entry.fs_name)
                           : rename_no_replace(*dir, *where, entry.fs_name);
    if (error == 0) return {};
    return reason_of(error, codec) + stays_named_text() + codec.text_from_fs(*where);
}

}  // namespace

BatchOutcome undo_entries(std::span<const UndoEntry> entries, const Codec& codec,
                          const EntryUndone& each, const ProgressCallback& progress,
                          std::span<const Reservation> reservations,
                          const std::function<bool(int done, int count)>& cancelled) {
    const int count = static_cast<int>(entries.size());
    const ClaimedNames claimed(reservations);
    FolderCache folders;
    Progress shown(count, progress);
    BatchOutcome outcome;
    outcome.count = count;
    std::vector<UndoFailure> failures;
    for (int done = 0; done < count; ++done) {
        const std::size_t index = entries.size() - 1 - static_cast<std::size_t>(done);
        const UndoEntry& entry = entries[index];
        const std::string reason = undo_journal_entry(entry, claimed.of(index), folders, codec);
        if (reason.empty())
            ++outcome.successes;
        else
            failures.push_back(UndoFailure{entry.folder_text + entry.new_name, reason});
        if (each) each(entry, reason.empty(), reason);
        shown.item_done(done + 1);
        if (done + 1 < count && cancelled && cancelled(done + 1, count)) {
            outcome.cancelled = true;
            outcome.count = done + 1;
            break;
        }
    }
    set_undo_summary(outcome, failures);
    return outcome;
}

}  // namespace varnel
