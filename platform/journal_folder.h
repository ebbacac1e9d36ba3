// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folder of the automatic undo journals and the file calls made on it.

#include <optional>
#include <string>

#include "platform/result.h"

namespace varnel {

// The folder of the automatic journals, or why there is none.
struct JournalFolder {
    std::optional<std::string> path;  // ending in '/' (file-system bytes)
    std::string reason;               // one line (UTF-8) when `path` is nullopt
};

// $XDG_STATE_HOME/varnel/journals/ (by default ~/.local/state/varnel/
// journals/). With `create`, missing folders are made with mode 0700. The
// folder must be a directory (not a symbolic link) of this user that no
// one else may enter or change (mode 0700 or stricter); another one is
// refused with the reason. Without `create` a missing folder gives nullopt
// with an empty reason.
[[nodiscard]] JournalFolder automatic_journal_folder(bool create);

// Renames `from` to `to` in the same folder, never replacing a file at
// `to`.
[[nodiscard]] Status rename_without_replacing(const std::string& from, const std::string& to);

// The current time and process as "YYYYMMDD-HHMMSS-NNNNNNNNN-PID" (UTC,
// nanoseconds, then the process id): names made of it sort in the order
// they were made, and two processes never make the same one.
[[nodiscard]] std::string utc_stamp_now();

}  // namespace varnel
