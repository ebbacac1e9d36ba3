#include "rename/renamer.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <numeric>
#include <optional>
#include <tuple>
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
    BatchOutcome refused;
    dispatch_rule(list, pages, count, codec, &refused.refused);
    if (refused.refused.empty() && std::ranges::equal(list.old_names(), list.new_names()))
        refused.refused = codec.from_utf8_lossy("没有需要更名的文件");
    if (!refused.refused.empty()) {
        refused.summary = refused.refused;
        return refused;
    }
    log.entries.clear();
    if (hooks.order == RenameOrder::smart) return rename_smart(list, log, codec, hooks);

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

namespace {

// Why a file did not come back, in the user's words where the system's
// would mislead: ENOENT from undo_one means the recorded file is no longer
// under the name the rename gave it.
std::string undo_reason(int error, const Codec& codec) {
    if (error == ENOENT)
        return codec.from_utf8_lossy("文件已不在更名后的位置（被移走、删除或替换）");
    if (error == EEXIST) return codec.from_utf8_lossy("原名称已被另一个文件占用");
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
    Progress shown(static_cast<int>(log.entries.size()), hooks.progress);
    int done = 0;
    // Last move first, so chains, swaps and steps through temporary names
    // come back in the reverse of the order they were made.
    for (auto it = log.entries.rbegin(); it != log.entries.rend(); ++it) {
        const auto [slot, added] = file_index.try_emplace(key_of(it->file), files.size());
        if (added) files.emplace_back();
        FileUndo& file = files[slot->second];
        const int error = undo_one(*it, folders);
        const auto found = row_of.find(file_key(it->fs_folder, it->renamed_fs_name));
        if (found != row_of.end()) file.row = found->second;
        if (error == 0) {
            if (found != row_of.end()) {
                list.set_old_name(found->second, ItemName{it->name, it->fs_name});
                row_of.erase(found);
                row_of.try_emplace(file_key(it->fs_folder, it->fs_name), file.row);
            }
        } else {
            if (file.error == 0) {
                file.error = error;
                file.failed = &*it;
            }
            left.push_back(*it);
        }
        shown.item_done(++done);
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
            list.set_rename_status(file.row, std::string(texts::undo_succeeded),
                                   StatusImage::success);
        else
            list.set_rename_status(file.row, std::string(texts::undo_failed), StatusImage::failure,
                                   failures.back().reason);
        if (hooks.item_done) hooks.item_done(file.row);
    }
    set_undo_summary(outcome, failures, codec);
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
        const auto now = file_id_at(dir->fd(), entry.renamed_fs_name, dir->lasting_inodes());
        if (now && is_same_file(entry.file, *now)) ++done;
    }
    return done;
}

BatchOutcome undo_entries(std::span<const UndoEntry> entries, const Codec& codec,
                          const EntryUndone& each, const ProgressCallback& progress) {
    const int count = static_cast<int>(entries.size());
    FolderCache folders;
    Progress shown(count, progress);
    BatchOutcome outcome;
    outcome.count = count;
    std::vector<UndoFailure> failures;
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
        const std::string reason = error == 0 ? std::string() : undo_reason(error, codec);
        if (error != 0) failures.push_back(UndoFailure{entry.folder_text + entry.new_name, reason});
        if (each) each(entry, error == 0, reason);
        shown.item_done(done + 1);
    }
    set_undo_summary(outcome, failures, codec);
    return outcome;
}

}  // namespace varnel
