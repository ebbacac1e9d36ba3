#pragma once
// Renaming every item on disk, and undoing the last batch.

#include <functional>
#include <string>
#include <string_view>

#include "filelist/file_list.h"
#include "platform/codec.h"
#include "rename/rule_dispatch.h"
#include "rename/undo_log.h"

namespace varnel {

// Called whenever the progress text grows; receives the whole text (1..20
// squares, code page).
using ProgressCallback = std::function<void(std::string_view progress_text)>;

// The outcome of a batch: counts and the summary message (code page).
struct BatchOutcome {
    int count = 0;
    int successes = 0;
    std::string summary;
    bool all_succeeded() const { return successes == count; }
};

// The rename command: a log bigger than 50 when the list is; every item gets
// its new name from the active rule; then each file is renamed within its
// folder, in list order, on its own. A success records the old name in the
// undo log, makes the new name the item's old name and marks the row
// 更名成功; a failure empties the log entry, shows the new name in column
// 新文件名 and marks the row 更名失败. A file is never replaced and never
// moved to another folder. An item whose name the rule left unchanged
// counts as a success without touching the file.
BatchOutcome rename_items(FileList& list, const RulePages& pages, UndoLog& log, const Codec& codec,
                          const ProgressCallback& progress);

// The undo command, after the user has agreed: renames the file at every
// position back to the name its log entry recorded. A position counts as a
// failure (撤消失败) without any file being touched when it has no entry, the
// entry is empty, the item standing there is not the file the entry recorded
// (another folder, another name, or on disk another inode), or the old name
// has been taken in the meantime. The log itself is not changed.
BatchOutcome undo_rename(FileList& list, const UndoLog& log, const ProgressCallback& progress);

}  // namespace varnel
