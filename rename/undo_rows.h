// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list's rows following an undo made from a journal (undo_entries):
// a row that shows a file an entry renamed back shows its old name again.

#include <string>
#include <unordered_map>

#include "filelist/file_list.h"
#include "rename/undo_log.h"

namespace varnel {

class RowsFollowUndo {
public:
    // Finds the rows by the files they show now; `list` must outlive this.
    // The list's changes are told together when this object goes.
    explicit RowsFollowUndo(FileList& list);

    // The undo of `entry` is done: when `undone`, the row showing the file
    // under its new name gets its old name (a swap gives the row under the
    // old name the new one) and 撤消成功; else that row gets 撤消失败 with
    // `reason` (code page). A file no row shows changes no row.
    void entry_done(const UndoEntry& entry, bool undone, const std::string& reason);

private:
    FileList& list_;
    FileList::ChangeBatch changes_;
    std::unordered_map<std::string, int> row_of_;  // by file_key of folder and name
};

}  // namespace varnel
