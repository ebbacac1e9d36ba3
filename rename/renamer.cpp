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
    std::vector<NameFault> faults;
    dispatch_rule(list, pages, count, codec, nullptr, &faults);
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        if (faults.empty() || faults[static_cast<std::size_t>(row)] == NameFault::none)
            rows.push_back(row);
    BatchOutcome outcome =
        log.smart ? rename_smart(list, rows, log, codec, hooks)
                  : rename_in_order(
                        list, rows,
                        [&](int row) {
                            return target_fs_name(
                                list, row, list.new_names()[static_cast<std::size_t>(row)], codec);
                        },
                        log, codec, hooks);
    if (faults.empty()) return outcome;
    // The names the rule could not compute fail with its reason, untouched.
    for (int row = 0; row < count; ++row) {
        const NameFault fault = faults[static_cast<std::size_t>(row)];
        if (fault == NameFault::none) continue;
        list.set_cell(row, Column::new_name, list.new_names()[static_cast<std::size_t>(row)]);
        list.set_rename_status(row, std::string(texts::rename_failed), StatusImage::failure,
                               name_fault_text(fault, codec));
        if (hooks.item_done) hooks.item_done(row);
        ++outcome.count;
    }
    outcome.summary = texts::rename_partial_summary(outcome.count, outcome.successes);
    return outcome;
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
