#include "rename/renamer.h"

#include <memory>
#include <optional>
#include <vector>

#include "platform/dir_handle.h"
#include "platform/rename_file.h"
#include "rename/batch_texts.h"

namespace varnel {

namespace {

// Opens each folder of the list once per batch; rows added together share one.
class FolderCache {
public:
    explicit FolderCache(const FileList& list) : list_(list), handles_(list.folder_count()) {}

    // The open folder of `row`, or -1 when it cannot be opened.
    int fd_of(int row) {
        const auto index = list_.folder_index(row);
        auto& slot = handles_[index];
        if (!slot.tried) {
            slot.tried = true;
            slot.handle = DirHandle::open(list_.folder_at(index).fs);
        }
        return slot.handle ? slot.handle->fd() : -1;
    }

private:
    struct Slot {
        bool tried = false;
        std::optional<DirHandle> handle;
    };
    const FileList& list_;
    std::vector<Slot> handles_;
};

// Reports the progress text whenever another square is due.
class Progress {
public:
    Progress(int count, const ProgressCallback& callback) : count_(count), callback_(callback) {}

    void item_done(int done) {
        const int squares = texts::progress_squares_after(done, count_);
        if (squares <= shown_) return;
        shown_ = squares;
        if (callback_) callback_(texts::progress_text(squares));
    }

private:
    int count_;
    const ProgressCallback& callback_;
    int shown_ = 0;
};

// The file-system spelling of a new name; an unchanged text keeps the bytes
// the file has now, so a legacy name that no rule touched stays as it is.
std::optional<std::string> target_fs_name(const FileList& list, int row,
                                          const std::string& new_name, const Codec& codec) {
    if (new_name == list.old_names()[static_cast<std::size_t>(row)]) return list.fs_name(row);
    return codec.fs_from_text(new_name);
}

// Renames the file of `row` to `new_name`; fills `entry` on success.
bool rename_row(FileList& list, int row, const std::string& new_name, int dir_fd,
                const Codec& codec, UndoEntry& entry) {
    if (dir_fd < 0) return false;
    const std::optional<std::string> target = target_fs_name(list, row, new_name, codec);
    if (!target) return false;
    const std::string& source = list.fs_name(row);
    const std::optional<FileId> file = file_id_at(dir_fd, source);
    if (!file || rename_no_replace(dir_fd, source, *target) != 0) return false;
    const auto r = static_cast<std::size_t>(row);
    entry = UndoEntry{list.old_names()[r], source, list.item_folder(row).fs, *target, *file};
    list.set_old_name(row, ItemName{new_name, *target});
    return true;
}

// True when the item at `row` is still the file `entry` recorded.
bool is_recorded_file(const FileList& list, int row, int dir_fd, const UndoEntry& entry) {
    if (entry.is_empty() || dir_fd < 0) return false;
    if (list.item_folder(row).fs != entry.fs_folder) return false;
    if (list.fs_name(row) != entry.renamed_fs_name) return false;
    const std::optional<FileId> file = file_id_at(dir_fd, entry.renamed_fs_name);
    return file && *file == entry.file;
}

}  // namespace

BatchOutcome rename_items(FileList& list, const RulePages& pages, UndoLog& log, const Codec& codec,
                          const ProgressCallback& progress) {
    const FileList::ChangeBatch batch(list);
    const int count = list.item_count();
    if (static_cast<std::size_t>(count) > initial_undo_entries)
        log.entries.assign(static_cast<std::size_t>(count), UndoEntry{});
    dispatch_rule(list, pages, count, codec);

    FolderCache folders(list);
    Progress shown(count, progress);
    BatchOutcome outcome;
    outcome.count = count;
    for (int row = 0; row < count; ++row) {
        const auto r = static_cast<std::size_t>(row);
        const std::string new_name = list.new_names()[r];
        UndoEntry entry;
        if (rename_row(list, row, new_name, folders.fd_of(row), codec, entry)) {
            ++outcome.successes;
            list.set_rename_status(row, std::string(texts::rename_succeeded), StatusImage::success);
        } else {
            list.set_cell(row, Column::new_name, new_name);
            list.set_rename_status(row, std::string(texts::rename_failed), StatusImage::failure);
        }
        if (r < log.entries.size()) log.entries[r] = std::move(entry);
        shown.item_done(row + 1);
    }
    outcome.summary = outcome.all_succeeded()
                          ? std::string(texts::rename_all_done)
                          : texts::rename_partial_summary(count, outcome.successes);
    return outcome;
}

BatchOutcome undo_rename(FileList& list, const UndoLog& log, const ProgressCallback& progress) {
    const FileList::ChangeBatch batch(list);
    const int count = list.item_count();
    FolderCache folders(list);
    Progress shown(count, progress);
    BatchOutcome outcome;
    outcome.count = count;
    for (int row = 0; row < count; ++row) {
        const auto r = static_cast<std::size_t>(row);
        const int dir_fd = folders.fd_of(row);
        bool undone = false;
        if (r < log.entries.size() && is_recorded_file(list, row, dir_fd, log.entries[r])) {
            const UndoEntry& entry = log.entries[r];
            undone = rename_no_replace(dir_fd, entry.renamed_fs_name, entry.fs_name) == 0;
            if (undone) list.set_old_name(row, ItemName{entry.name, entry.fs_name});
        }
        if (undone) {
            ++outcome.successes;
            list.set_rename_status(row, std::string(texts::undo_succeeded), StatusImage::success);
        } else {
            list.set_rename_status(row, std::string(texts::undo_failed), StatusImage::failure);
        }
        shown.item_done(row + 1);
    }
    outcome.summary = outcome.all_succeeded()
                          ? std::string(texts::undo_all_done)
                          : texts::undo_partial_summary(count, outcome.successes);
    return outcome;
}

}  // namespace varnel
