// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pieces a rename or undo batch is made of: open folders, progress,
// and each row's planned rename. Shared by the in-order and the smart
// batches; not for use outside rename/.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "filelist/file_list.h"
#include "platform/codec.h"
#include "platform/dir_handle.h"
#include "platform/file_id.h"
#include "platform/rename_file.h"
#include "rename/renamer.h"
#include "rename/undo_log.h"

namespace varnel::batch {

// Rows handed to the write-ahead hook at once.
inline constexpr int group_rows = 256;

// Opens each folder once per batch, by its file-system path.
class FolderCache {
public:
    // The open folder, or nullptr with `error` set when it cannot be opened.
    [[nodiscard]] const DirHandle* get(const std::string& fs_folder, int& error);
    // Which of these folders fold case, learned once per folder.
    [[nodiscard]] CaseFoldingMemo& case_memo() { return case_memo_; }

private:
    CaseFoldingMemo case_memo_;
    struct Slot {
        std::optional<DirHandle> handle;
        int error = 0;
    };
    std::unordered_map<std::string, Slot> handles_;
};

// The open folder of a row, looked up by path once per folder of the list.
class RowFolders {
public:
    explicit RowFolders(const FileList& list) : list_(list) {}
    [[nodiscard]] const DirHandle* of(int row, int& error);
    [[nodiscard]] CaseFoldingMemo& case_memo() { return folders_.case_memo(); }

private:
    const FileList& list_;
    FolderCache folders_;
    std::vector<std::pair<const DirHandle*, int>> by_index_;
};

// Reports the progress text whenever another square is due.
class Progress {
public:
    Progress(int count, const ProgressCallback& callback) : count_(count), callback_(callback) {}
    void item_done(int done);

private:
    int count_;
    const ProgressCallback& callback_;
    int shown_ = 0;
};

// Whether the caller wants the batch stopped after item `done` of `count`.
[[nodiscard]] inline bool cancel_wanted(const BatchHooks& hooks, int done, int count) {
    return hooks.cancelled && hooks.cancelled(done, count);
}

// The summary of a cancelled batch: "已取消：" before `summary`.
[[nodiscard]] std::string cancelled_summary(const std::string& summary);

// Put between a failure's reason and the name a file keeps:
// "；文件仍名为" / "; the file stays named ".
[[nodiscard]] const std::string& stays_named_text();

// Errors of undo beyond errno values: the file under the name the rename
// gave is not the renamed file (by the part of its identity that differs),
// or there is no file under that name at all.
inline constexpr int not_the_file_error = 1 << 16;
inline constexpr int no_renamed_file_error = not_the_file_error - 1;
[[nodiscard]] inline int mismatch_error(FileMismatch mismatch) {
    return not_the_file_error + static_cast<int>(mismatch);
}

// The system's text for `error`, or the text of an undo error above, in the
// code page; empty for 0.
[[nodiscard]] std::string reason_of(int error, const Codec& codec);

// One row of a batch: what to rename, or why it fails without a call.
struct Planned {
    int row = 0;
    const DirHandle* dir = nullptr;
    int error = 0;
    bool unchanged = false;  // the new name is the old one: no call, no journal
    std::size_t entry = 0;   // index into the group's `entries` or `unchanged`
};

// Rows planned together.
struct Group {
    std::vector<Planned> rows;
    std::vector<UndoEntry> entries;    // the renames, in row order
    std::vector<UndoEntry> unchanged;  // the rows whose name stays
    void clear();
};

// The file-system name a row is to get; nullopt fails the row (EILSEQ: the
// code page cannot spell it).
using TargetOf = std::function<std::optional<std::string>(int row)>;

// Plans `row` into `group`: its target name, its file's identity, or the
// error that fails it. The row's new-name text is what the rename gives.
void plan_row(const FileList& list, int row, RowFolders& folders, const TargetOf& target_of,
              Group& group);

// Renames the files of `rows`, in that order, each to target_of(row), in
// groups of group_rows handed to the write-ahead hook first; each row's
// outcome goes to its cells, and the summary counts `rows`.
[[nodiscard]] BatchOutcome rename_in_order(FileList& list, std::span<const int> rows,
                                           const TargetOf& target_of, UndoLog& log,
                                           const Codec& codec, const BatchHooks& hooks);

// The row's outcome in its cells: 更名成功, or 更名失败 with the reason and
// the new name shown; a failed row whose file stays under a temporary name
// (`stays`, file-system bytes) says so in its reason.
void show_rename_outcome(FileList& list, int row, int error, const Codec& codec,
                         std::string_view stays = {});

// A file an undo could not restore: where it is (code page) and why not.
struct UndoFailure {
    std::string place;  // its folder and the name the rename gave it
    std::string reason;
};

// The summary of a finished undo batch: "上一次的操作已经成功撤消！" when
// every file came back and it was not cancelled, else the counts (after
// "已取消：" when cancelled) followed by one line per failure
// ("place：reason"), the first max_failure_lines of them.
void set_undo_summary(BatchOutcome& outcome, const std::vector<UndoFailure>& failures);
inline constexpr std::size_t max_failure_lines = 10;

// The claim note of a batch (see ClaimNote): the write-ahead hook told of
// the claim of the rename at index `*current`; nullptr without that hook.
[[nodiscard]] std::optional<ClaimNote> claim_note(const BatchHooks& hooks,
                                                  const std::size_t* current);

// Key of a file by folder and name, for lookups.
[[nodiscard]] std::string file_key(std::string_view folder, std::string_view name);

// Renames the file `entry` recorded back to its old name. 0 on success,
// else why not: no_renamed_file_error or mismatch_error when the file under
// the new name is not (or no longer) the recorded one, or the rename's
// error.
[[nodiscard]] int undo_one(const UndoEntry& entry, FolderCache& folders);

// The smart-order batch of `rows` (smart_batch.cpp); the rule has already
// computed every new name.
[[nodiscard]] BatchOutcome rename_smart(FileList& list, std::span<const int> rows, UndoLog& log,
                                        const Codec& codec, const BatchHooks& hooks);

}  // namespace varnel::batch
