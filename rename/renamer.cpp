#include "rename/renamer.h"

#include <cerrno>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/dir_handle.h"
#include "platform/error_text.h"
#include "platform/rename_file.h"
#include "rename/batch_texts.h"

namespace varnel {

namespace {

// Rows handed to the write-ahead hook at once.
constexpr int group_rows = 256;

// Opens each folder once per batch, by its file-system path.
class FolderCache {
public:
    // The open folder, or nullptr with `error` set when it cannot be opened.
    const DirHandle* get(const std::string& fs_folder, int& error) {
        auto [slot, added] = handles_.try_emplace(fs_folder);
        if (added) {
            slot->second.handle = DirHandle::open_path(fs_folder);
            slot->second.error = slot->second.handle ? 0 : errno;
        }
        error = slot->second.error;
        return slot->second.handle ? &*slot->second.handle : nullptr;
    }

private:
    struct Slot {
        std::optional<DirHandle> handle;
        int error = 0;
    };
    std::unordered_map<std::string, Slot> handles_;
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

std::string reason_of(int error, const Codec& codec) {
    return error == 0 ? std::string() : codec.from_utf8_lossy(system_error_text(error));
}

// The file-system spelling of a new name; an unchanged text keeps the bytes
// the file has now, so a legacy name that no rule touched stays as it is.
std::optional<std::string> target_fs_name(const FileList& list, int row,
                                          const std::string& new_name, const Codec& codec) {
    if (new_name == list.old_names()[static_cast<std::size_t>(row)]) return list.fs_name(row);
    return codec.fs_from_text(new_name);
}

// One row of a group: what to rename, or why it fails without a call.
struct Planned {
    int row = 0;
    int dir_fd = -1;
    int error = 0;
    bool unchanged = false;  // the new name is the old one: no call, no journal
    std::size_t entry = 0;   // index into the group's `entries` or `unchanged`
};

// Everything a group of rows needs before its renames.
struct Group {
    std::vector<Planned> rows;
    std::vector<UndoEntry> entries;    // the renames, in row order
    std::vector<UndoEntry> unchanged;  // the rows whose name stays
};

// The open folder of `row`: looked up by path once per folder of the list.
const DirHandle* folder_of(const FileList& list, int row, FolderCache& folders,
                           std::vector<std::pair<const DirHandle*, int>>& by_index, int& error) {
    const std::uint32_t index = list.folder_index(row);
    if (index >= by_index.size()) by_index.resize(list.folder_count(), {nullptr, -1});
    auto& known = by_index[index];
    if (known.second < 0) {
        int folder_error = 0;
        known.first = folders.get(list.folder_at(index).fs, folder_error);
        known.second = folder_error;
    }
    error = known.second;
    return known.first;
}

void plan_row(const FileList& list, int row, const DirHandle* dir, const Codec& codec, Group& group,
              Planned planned) {
    planned.row = row;
    const ItemFolder& folder = list.item_folder(row);
    const auto r = static_cast<std::size_t>(row);
    const std::string& new_name = list.new_names()[r];
    std::optional<std::string> target;
    std::optional<FileId> file;
    if (dir != nullptr) {
        planned.dir_fd = dir->fd();
        target = target_fs_name(list, row, new_name, codec);
        if (!target) planned.error = EILSEQ;
    }
    if (target) {
        file = file_id_at(dir->fd(), list.fs_name(row), dir->lasting_inodes());
        if (!file) planned.error = errno;
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

}  // namespace

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
    dispatch_rule(list, pages, count, codec);

    FolderCache folders;
    std::vector<std::pair<const DirHandle*, int>> by_index;
    Progress shown(count, hooks.progress);
    BatchOutcome outcome;
    outcome.count = count;
    std::size_t journaled_before = 0;
    Group group;
    for (int first = 0; first < count; first += group_rows) {
        group.rows.clear();
        group.entries.clear();
        group.unchanged.clear();
        for (int row = first; row < std::min(count, first + group_rows); ++row) {
            Planned planned;
            const DirHandle* dir = folder_of(list, row, folders, by_index, planned.error);
            plan_row(list, row, dir, codec, group, planned);
        }
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
                if (error == 0)
                    error = rename_no_replace(planned.dir_fd, entry.fs_name, entry.renamed_fs_name);
                if (error != 0 && journal_error == 0 && !planned.unchanged && hooks.rename_failed)
                    hooks.rename_failed(journaled_before + planned.entry);
                if (error == 0) {
                    list.set_old_name(row, ItemName{entry.new_name, entry.renamed_fs_name});
                    if (hooks.keep_undo_log) log.entries.push_back(std::move(entry));
                }
            }
            if (error == 0) {
                ++outcome.successes;
                list.set_rename_status(row, std::string(texts::rename_succeeded),
                                       StatusImage::success);
            } else {
                list.set_cell(row, Column::new_name,
                              list.new_names()[static_cast<std::size_t>(row)]);
                list.set_rename_status(row, std::string(texts::rename_failed), StatusImage::failure,
                                       reason_of(error, codec));
            }
            if (hooks.item_done) hooks.item_done(row);
            shown.item_done(row + 1);
        }
        journaled_before += group.entries.size();
    }
    outcome.summary = outcome.all_succeeded()
                          ? std::string(texts::rename_all_done)
                          : texts::rename_partial_summary(count, outcome.successes);
    return outcome;
}

namespace {

std::string file_key(std::string_view folder, std::string_view name) {
    std::string key;
    key.reserve(folder.size() + name.size() + 1);
    key.append(folder);
    key += '\0';
    key.append(name);
    return key;
}

// Renames the file `entry` recorded back to its old name. 0 on success,
// else why not: ENOENT when the file under the new name is not (or no
// longer) the recorded one, or the rename's error.
int undo_one(const UndoEntry& entry, FolderCache& folders) {
    int error = 0;
    const DirHandle* dir = folders.get(entry.fs_folder, error);
    if (dir == nullptr) return error;
    const auto now = file_id_at(dir->fd(), entry.renamed_fs_name, dir->lasting_inodes());
    if (!now || !is_same_file(entry.file, *now)) return ENOENT;
    return rename_no_replace(dir->fd(), entry.renamed_fs_name, entry.fs_name);
}

}  // namespace

BatchOutcome undo_rename(FileList& list, const UndoLog& log, const Codec& codec,
                         const BatchHooks& hooks) {
    const FileList::ChangeBatch batch(list);
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
        if (error == 0) {
            ++outcome.successes;
            list.set_rename_status(row, std::string(texts::undo_succeeded), StatusImage::success);
        } else {
            list.set_rename_status(row, std::string(texts::undo_failed), StatusImage::failure,
                                   error > 0 ? reason_of(error, codec) : std::string());
        }
        if (hooks.item_done) hooks.item_done(row);
        shown.item_done(row + 1);
    }
    outcome.summary = outcome.all_succeeded()
                          ? std::string(texts::undo_all_done)
                          : texts::undo_partial_summary(count, outcome.successes);
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
    outcome.summary = outcome.all_succeeded()
                          ? std::string(texts::undo_all_done)
                          : texts::undo_partial_summary(count, outcome.successes);
    return outcome;
}

}  // namespace varnel
