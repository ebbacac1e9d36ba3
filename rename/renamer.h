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
#include "rename/name_rule.h"
#include "rename/rename_plan.h"
#include "rename/rule_chain.h"
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
    // before_renames in this batch, from 0) is about to create the name
    // `fs_name` on its way (an empty reservation, or a temporary name; see
    // ClaimNote). A nonzero errno value fails that rename before the name is
    // created.
    std::function<int(std::size_t index, const std::string& fs_name)> before_claim;
    // The rename of entry `index` (counting every entry handed to
    // before_renames in this batch, from 0) failed.
    std::function<void(std::size_t index)> rename_failed;
    // Row `row` is done: its cells hold the outcome.
    std::function<void(int row)> item_done;
    // Asked after each item of a rename or an undo, with how many of the
    // batch's `count` items are done; true stops the batch there. Items not
    // reached keep their names and get no status; the undo log keeps
    // exactly what was done (or, for an undo, what was not undone); the
    // outcome is `cancelled` and counts only the items done. The smart
    // order asks only between its steps, never while a file waits under a
    // temporary name or a cycle of swaps is under way.
    std::function<bool(int done, int count)> cancelled;
    // False: the undo log is left empty (the caller keeps its own record,
    // such as a journal), which saves its memory.
    bool keep_undo_log = true;
    // In order, or in the smart order: chains back to front, and cycles by
    // atomic swaps of two names where the file system has them (see
    // can_exchange_names), elsewhere through a temporary name
    // (".varnel-swap-<row>-<8 hex digits>" in the file's folder). In the
    // smart order the log and the journal hold every move in the order it
    // was made, the steps through temporary names included (a swap is an
    // entry with `exchange` set), and item_done tells each row when its last
    // move is done. A file whose move from its temporary name fails stays
    // there, and its row's reason names that temporary name.
    RenameOrder order = RenameOrder::in_order;
};

// The outcome of a batch: counts and the summary message (code page).
struct BatchOutcome {
    int count = 0;
    int successes = 0;
    std::string summary;
    // Why the batch did not run at all (code page): nothing was renamed and
    // the undo log was left as it was. Empty when it ran.
    std::string refused;
    // Stopped by BatchHooks::cancelled; the summary starts with "已取消：".
    bool cancelled = false;
    [[nodiscard]] bool all_succeeded() const { return successes == count; }
};

// The rename command: every item gets its new name from the active rule;
// then each file is renamed within its folder, in list order, on its own.
// A success records the rename in the undo log (which first forgets the
// previous batch), makes the new name the item's old name and marks the row
// 更名成功; a failure shows the new name in column 新文件名 and marks the
// row 更名失败 with the system's error text as the reason. A file is never
// replaced and never moved to another folder. An item whose name the rule
// left unchanged counts as a success without touching the file. A batch
// that cannot change anything does not run (BatchOutcome::refused), and the
// log keeps the previous batch: when the rule cannot use its settings (the
// rule's error), or when no new name differs from its old name
// ("没有需要更名的文件"). An item the rule could not name (NameFault: a
// regular expression's result too long, or its time spent) is not touched
// and fails, after the others, with the fault's text as the reason.
[[nodiscard]] BatchOutcome rename_items(FileList& list, const RulePages& pages, UndoLog& log,
                                        const Codec& codec, const BatchHooks& hooks);
[[nodiscard]] BatchOutcome rename_items(FileList& list, const RulePages& pages, UndoLog& log,
                                        const Codec& codec, const ProgressCallback& progress);
// The same with `rule` computing the new names (a chain: each file is
// renamed once, to the name its last step made).
[[nodiscard]] BatchOutcome rename_items(FileList& list, const NameRule& rule, UndoLog& log,
                                        const Codec& codec, const BatchHooks& hooks);
// As above, with the names the enabled steps of `steps` make one after
// another (dispatch_chain); the batch renames each file once, to its final
// name.
[[nodiscard]] BatchOutcome rename_items(FileList& list, std::span<const RuleStep> steps,
                                        UndoLog& log, const Codec& codec, const BatchHooks& hooks);

// The undo command, after the user has agreed: every move of the log is
// undone, last first (so swaps, chains and steps through temporary names
// come back), whatever happened to the list since: a file whose row was
// removed, filtered out or cleared comes back as well. A move is undone
// when the file under the name the rename gave it is on disk the file the
// log recorded (platform/file_id.h) and its old name is free; a file is
// restored when every move of it was undone. The outcome counts the files
// of the log; the summary names each file that did not come back and why.
// Rows that still show a file of the log are marked 撤消成功 or 撤消失败
// (with the reason); other rows are left alone. The log keeps exactly the
// moves that were not undone, so a later undo can try them again.
[[nodiscard]] BatchOutcome undo_rename(FileList& list, UndoLog& log, const Codec& codec,
                                       const BatchHooks& hooks = {});

// How many of `entries` have happened: the file an entry recorded is on
// disk under the name the rename gave it.
[[nodiscard]] int renames_done(std::span<const UndoEntry> entries);

// Undo of a journal's entries, last rename first, without a list: the file
// is looked for under its new name, then under the names its rename claimed
// on its way (`reservations`), then under its old name; found elsewhere
// than under its old name it is renamed back, and found under its old name
// (its rename never happened) it counts as restored. Either way the empty
// reservations its rename left are removed. A file is recognised by the
// rule of platform/file_id.h; the reason of a failure names what did not
// match, or where the file stays when its old name is taken. `each` is told
// every entry's outcome with the reason of a failure (code page). The summary
// names each entry that did not come back and why. `cancelled` is asked as
// BatchHooks::cancelled is; the entries not reached are left as they are
// (undoing the same entries again later finds the others back).
using EntryUndone =
    std::function<void(const UndoEntry& entry, bool undone, const std::string& reason)>;
[[nodiscard]] BatchOutcome undo_entries(
    std::span<const UndoEntry> entries, const Codec& codec, const EntryUndone& each,
    const ProgressCallback& progress = {}, std::span<const Reservation> reservations = {},
    const std::function<bool(int done, int count)>& cancelled = {});

}  // namespace varnel
