// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which undo journal the start-up question was asked about: a mark file
// beside the journal ("<journal>.asked") holds the identity of the journal
// (device, inode, modification time and size) it was asked about. A new
// batch makes a new journal, which the mark then no longer matches.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/atomic_file.h"

namespace varnel {

// The journal's modification time (seconds since 1970); nullopt when it
// cannot be examined.
[[nodiscard]] std::optional<std::int64_t> journal_time(const std::string& journal_path);

// True when the mark names the journal now at `journal_path`.
[[nodiscard]] bool journal_was_asked(const std::string& journal_path);

// Marks the journal now at `journal_path` as asked about.
[[nodiscard]] WriteResult mark_journal_asked(const std::string& journal_path);

// Removes the journal and its mark; true when the journal is gone.
bool remove_journal(const std::string& journal_path);

}  // namespace varnel
