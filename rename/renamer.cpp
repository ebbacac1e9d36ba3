#include "rename/renamer.h"

#include <algorithm>
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
            return target_fs_name(list, row, list.new_names()[static_cast<std::size_t>(row)],
                                  codec);
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
        const auto now = file_id_at(dir->fd(), name, dir->lasting_inodes());
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
            remove_empty_file(dir->fd(), r->fs_name);
    if (*where == entry.fs_name) return {};
    error = entry.exchange ? exchange_names(dir->fd(), *where, entry.fs_name)
                           : rename_no_replace(dir->fd(), *where, entry.fs_name);
    if (error == 0) return {};
    return reason_of(error, codec) + codec.from_utf8_lossy("; the file stays named ") +
           codec.text_from_fs(*where);
}

}  // namespace

BatchOutcome undo_entries(std::span<const UndoEntry> entries, const Codec& codec,
                          const EntryUndone& each, const ProgressCallback& progress,
                          std::span<const Reservation> reservations) {
    const int count = static_cast<int>(entries.size());
    const ClaimedNames claimed(reservations);
    FolderCache folders;
    Progress shown(count, progress);
    BatchOutcome outcome;
    outcome.count = count;
    for (int done = 0; done < count; ++done) {
        const std::size_t index = entries.size() - 1 - static_cast<std::size_t>(done);
        const UndoEntry& entry = entries[index];
        const std::string reason = undo_journal_entry(entry, claimed.of(index), folders, codec);
        if (reason.empty()) ++outcome.successes;
        if (each) each(entry, reason.empty(), reason);
        shown.item_done(done + 1);
    }
    set_undo_summary(outcome);
    return outcome;
}

}  // namespace varnel
