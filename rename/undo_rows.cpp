// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/undo_rows.h"

#include "rename/batch_rows.h"
#include "rename/batch_texts.h"

namespace varnel {

using batch::file_key;

RowsFollowUndo::RowsFollowUndo(FileList& list) : list_(list), changes_(list) {
    row_of_.reserve(static_cast<std::size_t>(list.item_count()));
    for (int row = 0; row < list.item_count(); ++row)
        row_of_.try_emplace(file_key(list.item_folder(row).fs, list.fs_name(row)), row);
}

void RowsFollowUndo::entry_done(const UndoEntry& entry, bool undone, const std::string& reason) {
    const auto found = row_of_.find(file_key(entry.fs_folder, entry.renamed_fs_name));
    const int row = found == row_of_.end() ? -1 : found->second;
    if (!undone) {
        if (row >= 0)
            list_.set_rename_status(row, std::string(texts::undo_failed()), StatusImage::failure,
                                    reason);
        return;
    }
    // A swap moves the file under the old name to the new one.
    int other = -1;
    if (const auto o = row_of_.find(file_key(entry.fs_folder, entry.fs_name));
        entry.exchange && o != row_of_.end()) {
        other = o->second;
        row_of_.erase(o);
    }
    if (row >= 0) {
        row_of_.erase(file_key(entry.fs_folder, entry.renamed_fs_name));
        list_.set_old_name(row, ItemName{entry.name, entry.fs_name});
        list_.set_rename_status(row, std::string(texts::undo_succeeded()), StatusImage::success);
        row_of_.try_emplace(file_key(entry.fs_folder, entry.fs_name), row);
    }
    if (other >= 0) {
        list_.set_old_name(other, ItemName{entry.new_name, entry.renamed_fs_name});
        row_of_.try_emplace(file_key(entry.fs_folder, entry.renamed_fs_name), other);
    }
}

}  // namespace varnel
