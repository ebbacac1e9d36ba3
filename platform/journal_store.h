// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The automatic undo journals: one file per batch in the journal folder
// (platform/journal_folder.h), named by the time the batch started (see
// utc_stamp_now): "<stamp>.journal" for a rename batch, "<stamp>.tags.journal"
// for a batch of tag edits. An undone batch's journal gets ".undone"
// appended. The newest kept_journals journals of both kinds together are
// kept, undone ones included.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace varnel {

inline constexpr std::size_t kept_journals = 20;

enum class JournalKind : unsigned char { rename, tags };

// One journal of the folder.
struct StoredJournal {
    std::string path;   // file-system path
    std::string stamp;  // the name before ".journal" or ".tags.journal"
    bool undone = false;
    JournalKind kind = JournalKind::rename;
};

// The journals of `folder` (ending in '/'), newest first; other files are
// not listed.
[[nodiscard]] std::vector<StoredJournal> stored_journals(const std::string& folder);

// A path for the journal of a batch of `kind` starting now.
[[nodiscard]] std::string new_journal_path(const std::string& folder,
                                           JournalKind kind = JournalKind::rename);

// Removes the oldest journals of `folder` beyond the newest `keep`, each with
// the mark the window keeps beside it ("<journal>.asked"); a journal whose
// batch still runs (another process holds it) stays.
void prune_journals(const std::string& folder, std::size_t keep = kept_journals);

// Renames the journal at `path` to its undone name, and removes the mark
// beside it.
[[nodiscard]] Status mark_journal_undone(const std::string& path);

// True when the last component of `path` is the name of a journal this
// store made and not yet marked undone: "<stamp>.journal" or
// "<stamp>.tags.journal".
[[nodiscard]] bool is_stored_journal_path(const std::string& path);

// "YYYY-MM-DD HH:MM:SS UTC" of a stamp; the stamp itself when it is not
// one of ours.
[[nodiscard]] std::string stamp_time(const std::string& stamp);

// The seconds since 1970 (UTC) of a stamp's time; nullopt when it is not
// one of ours.
[[nodiscard]] std::optional<std::int64_t> stamp_seconds(const std::string& stamp);

// A stamp for the time `seconds` + `nanoseconds` since 1970, sorting among
// the stamps of utc_stamp_now ("YYYYMMDD-HHMMSS-NNNNNNNNN-0").
[[nodiscard]] std::string stamp_of_time(std::int64_t seconds, std::uint32_t nanoseconds);

}  // namespace varnel
