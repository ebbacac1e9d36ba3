// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One rename batch as the window and the command line run it: the
// write-ahead journal made before the first rename and finished after the
// last, the caller's hooks for rows and progress, and the outcome.

#include <cstddef>
#include <functional>
#include <string>

#include "platform/result.h"
#include "rename/renamer.h"

namespace varnel {

// Where and how a batch keeps its journal.
struct JournalPlan {
    std::string path;  // file-system path; empty: the batch keeps no journal
    // Asked when the journal cannot be made, with the reason (UTF-8) and
    // whether another running batch holds it: true runs the batch without
    // a journal (its renames cannot be undone after a crash), false runs
    // nothing. Empty: false.
    std::function<bool(const std::string& reason, bool busy)> go_on_without;
};

// What became of a batch.
struct BatchRun {
    // False: the journal could not be made and the batch did not run.
    bool ran = false;
    BatchOutcome outcome;
    bool journal_made = false;
    std::string journal_error;  // why the journal could not be made (UTF-8)
    bool journal_busy = false;  // ... because another running batch holds it
    // Renames the journal recorded (0: the batch renamed nothing).
    std::size_t journal_entries = 0;
    // The result of finishing the journal.
    Status journal_finish;
};

// The body of a batch: renames with the hooks it is given.
using BatchBody = std::function<BatchOutcome(const BatchHooks&)>;

// Makes the journal of `plan` (UndoJournalWriter::create), adds its
// write-ahead steps to `hooks`, runs `body`, and finishes the journal.
[[nodiscard]] BatchRun run_journaled_batch(const JournalPlan& plan, BatchHooks hooks,
                                           const BatchBody& body);

// True when every item of a batch that ran succeeded and it was neither
// refused nor cancelled.
[[nodiscard]] bool went_well(const BatchOutcome& outcome);

}  // namespace varnel
