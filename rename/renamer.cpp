// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/renamer.h"

#include <cerrno>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <vector>

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
    const FileList::ChangeBatch batch(list);
    const int count = list.item_count();
    log.entries.clear();
    log.smart = hooks.order == RenameOrder::smart;
    dispatch_rule(list, pages, count, codec);
    if (log.smart) return rename_smart(list, log, codec, hooks);

    std::vector<int> rows(static_cast<std::size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
    return rename_in_order(
        list, rows,
        [&](int row) {
            return target_fs_name(list, row, list.new_names()[static_cast<std::size_t>(row)], codec);
        },
        log, codec, hooks);
}


BatchOutcome undo_rename(FileList& list, const UndoLog& log, const Codec& codec,
                         const BatchHooks& hooks) {
    const FileList::ChangeBatch batch(list);
    if (log.smart) return undo_smart(list, log, codec, hooks);
    std::unordered_map<std::string, std::size_t> recorded;
    recorded.reserve(log.entries.size());
    for (std::size_t i = 0; i < log.entries.size(); ++i)
        recorded.try_emplace(file_key(log.entries[i].fs_folder, log.entries[i].renamed_fs_name), i);
    const int count = list.item_count();
    FolderCache folders;
    Progress shown(count, hooks.progress);
    BatchOutcome outcome;
    outcome.count = count;
    for (int row = 0; row < count; ++row) {
        const auto found = recorded.find(file_key(list.item_folder(row).fs, list.fs_name(row)));
        int error = -1;  // no record: a failure without a system error
        if (found != recorded.end()) {
            const UndoEntry& entry = log.entries[found->second];
            error = undo_one(entry, folders);
            if (error == 0) list.set_old_name(row, ItemName{entry.name, entry.fs_name});
        }
        undo_row_done(list, row, error, codec, hooks, shown, outcome);
    }
    set_undo_summary(outcome);
    return outcome;
}

BatchOutcome undo_entries(std::span<const UndoEntry> entries, const Codec& codec,
                          const EntryUndone& each, const ProgressCallback& progress) {
    const int count = static_cast<int>(entries.size());
    FolderCache folders;
    Progress shown(count, progress);
    BatchOutcome outcome;
    outcome.count = count;
    for (int done = 0; done < count; ++done) {
        const UndoEntry& entry = entries[entries.size() - 1 - static_cast<std::size_t>(done)];
        int error = undo_one(entry, folders);
        if (error == ENOENT) {
            // Never renamed (the program died before or during its rename)?
            int folder_error = 0;
            const DirHandle* dir = folders.get(entry.fs_folder, folder_error);
            const auto now =
                dir ? file_id_at(dir->fd(), entry.fs_name, dir->lasting_inodes()) : std::nullopt;
            if (now && is_same_file(entry.file, *now)) error = 0;
        }
        if (error == 0) ++outcome.successes;
        if (each) each(entry, error == 0, reason_of(error, codec));
        shown.item_done(done + 1);
    }
    set_undo_summary(outcome);
    return outcome;
}

}  // namespace varnel
