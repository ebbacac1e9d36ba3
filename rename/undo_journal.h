// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo journal: a rename batch's undo log kept in a file and written
// ahead of the renames, so that the batch can be undone in a later run or
// after the program was killed in the middle of it.
//
// Format: the line "varnel-undo-journal 2", then for every rename, written
// before the rename is attempted, a line of twelve TAB-separated fields:
// folder (file-system), folder (text), name before (file-system), name
// before (text), name after (file-system), name after (text), device,
// inode, birth time ("-" where unknown, else seconds.nanoseconds),
// modification time (seconds.nanoseconds), size, and "1" when inode
// numbers last across mounts ("0" otherwise). A rename that then fails
// adds the line "failed<TAB>N" (N counts the rename lines from 0); a batch
// that ran to its end adds the line "end". Bytes below 0x20, 0x7F and '%'
// are written as %XX.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/journal_file.h"
#include "rename/undo_log.h"

namespace varnel {

inline constexpr std::size_t journal_max_line = 65536;
inline constexpr std::size_t journal_max_size = std::size_t{1} << 31;

// Writes a journal while a batch runs.
class UndoJournalWriter {
public:
    // Creates the journal (see JournalFile::create); nullopt with a reason.
    static std::optional<UndoJournalWriter> create(const std::string& path, std::string& reason);

    // Appends the entries of the next renames; synced to disk once
    // `sync_every` entries have gathered. 0 or an errno value; after a
    // failure nothing more is written (a cut last line is ignored when the
    // journal is read) and every later call fails with the same error.
    int record(std::span<const UndoEntry> entries);
    // The rename of entry `index` (counting from 0) failed.
    void failed(std::size_t index);
    // The batch ran to its end. 0 or an errno value.
    int finish();

    static constexpr std::size_t sync_every = 2048;

private:
    explicit UndoJournalWriter(JournalFile file) : file_(std::move(file)) {}
    JournalFile file_;
    std::size_t unsynced_ = 0;
    int broken_ = 0;
    std::string line_;
};

// One line of the journal for `entry` (ending in a newline).
std::string journal_line(const UndoEntry& entry);

struct UndoJournalContents {
    std::vector<UndoEntry> entries;  // renames that may have happened, in order
    bool finished = false;           // the batch ran to its end
};

struct UndoJournalRead {
    std::optional<UndoJournalContents> journal;
    std::string reason;  // one line (UTF-8) when `journal` is nullopt
};

// Reads a journal, trusting it only as read_trusted_file does, and only
// when every line is well-formed.
UndoJournalRead read_undo_journal(const std::string& path);

}  // namespace varnel
