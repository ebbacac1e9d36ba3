// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Renaming every item on disk, and undoing the last batch.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "filelist/file_list.h"
#include "platform/codec.h"
#include "rename/rename_plan.h"
#include "rename/rule_dispatch.h"
#include "rename/undo_log.h"

namespace varnel {

// Called whenever the progress text grows; receives the whole text (1..20
// squares, code page).
using ProgressCallback = std::function<void(std::string_view progress_text)>;

// Steps a caller adds around the items of a batch; each may be empty.
struct BatchHooks {
    ProgressCallback progress;
    // Write-ahead: called with the entries of the next renames before any
    // of them is attempted. A nonzero errno value fails those renames with
    // that error, without touching their files.
    std::function<int(std::span<const UndoEntry>)> before_renames;
    // The rename of entry `index` (counting every entry handed to
    // before_renames in this batch, from 0) failed.
    std::function<void(std::size_t index)> rename_failed;
    // Row `row` is done: its cells hold the outcome.
    std::function<void(int row)> item_done;
    // False: the undo log is left empty (the caller keeps its own record,
    // such as a journal), which saves its memory.
    bool keep_undo_log = true;
    // In order, or in the smart order: chains back to front, and cycles
    // through a temporary name (".varnel-swap-<row>-<8 hex digits>" in the
    // file's folder). In the smart order the log and the journal hold every
    // move in the order it was made, the steps through temporary names
    // included, and item_done tells each row when its last move is done.
    RenameOrder order = RenameOrder::in_order;
};

// The outcome of a batch: counts and the summary message (code page).
struct BatchOutcome {
    int count = 0;
    int successes = 0;
    std::string summary;
    bool all_succeeded() const { return successes == count; }
};

// The rename command: every item gets its new name from the active rule;
// then each file is renamed within its folder, in list order, on its own.
// A success records the rename in the undo log (which first forgets the
// previous batch), makes the new name the item's old name and marks the row
// 更名成功; a failure shows the new name in column 新文件名 and marks the
// row 更名失败 with the system's error text as the reason. A file is never
// replaced and never moved to another folder. An item whose name the rule
// left unchanged counts as a success without touching the file.
BatchOutcome rename_items(FileList& list, const RulePages& pages, UndoLog& log, const Codec& codec,
                          const BatchHooks& hooks);
BatchOutcome rename_items(FileList& list, const RulePages& pages, UndoLog& log, const Codec& codec,
                          const ProgressCallback& progress);

// The undo command, after the user has agreed. After a smart batch, the
// log's moves are undone last first (so swaps and chains come back), each
// found by the row that holds its file now; a row counts as restored when
// every move of its file was undone. Otherwise every row whose file the log
// recorded (same folder, the name the rename gave it, and on disk the same
// file by the rule of platform/file_id.h) is renamed back and marked
// 撤消成功. Every other row counts as a failure (撤消失败) without any file
// being touched: a row the batch did not rename, a file replaced by another
// since, or an old name taken in the meantime. The log is not changed.
BatchOutcome undo_rename(FileList& list, const UndoLog& log, const Codec& codec,
                         const BatchHooks& hooks = {});

// Undo of a journal's entries, last rename first, without a list: a file
// found under its new name is renamed back; a file already under its old
// name (its rename never happened) counts as restored. `each` is told every
// entry's outcome with the reason of a failure (code page).
using EntryUndone =
    std::function<void(const UndoEntry& entry, bool undone, const std::string& reason)>;
BatchOutcome undo_entries(std::span<const UndoEntry> entries, const Codec& codec,
                          const EntryUndone& each, const ProgressCallback& progress = {});

}  // namespace varnel
