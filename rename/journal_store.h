// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The automatic undo journals: one file per rename batch in the journal
// folder (platform/journal_folder.h), named "<stamp>.journal" by the time
// the batch started (see utc_stamp_now); an undone batch's journal is
// renamed to "<stamp>.journal.undone". The newest kept_journals journals
// are kept, undone ones included.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/result.h"

namespace varnel {

inline constexpr std::size_t kept_journals = 20;

// One journal of the folder.
struct StoredJournal {
    std::string path;   // file-system path
    std::string stamp;  // the name before ".journal"
    bool undone = false;
};

// The journals of `folder` (ending in '/'), newest first; other files are
// not listed.
[[nodiscard]] std::vector<StoredJournal> stored_journals(const std::string& folder);

// A path for the journal of a batch starting now.
[[nodiscard]] std::string new_journal_path(const std::string& folder);

// Removes the oldest journals of `folder` beyond the newest `keep`; a
// journal whose batch still runs (another process holds it) stays.
void prune_journals(const std::string& folder, std::size_t keep = kept_journals);

// Renames the journal at `path` to its undone name.
[[nodiscard]] Status mark_journal_undone(const std::string& path);

// "YYYY-MM-DD HH:MM:SS UTC" of a stamp; the stamp itself when it is not
// one of ours.
[[nodiscard]] std::string stamp_time(const std::string& stamp);

}  // namespace varnel
