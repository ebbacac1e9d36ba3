// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history: the rename batches and tag batches whose journals the
// journal folder keeps (platform/journal_store.h), newest first, and their
// undo, which goes newest first: a batch is undone only after every newer
// batch that is not undone yet.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "audio/tag_journal.h"
#include "platform/codec.h"
#include "platform/journal_store.h"
#include "rename/renamer.h"

namespace varnel {

enum class HistoryState : unsigned char {
    undoable,     // ran to its end, not undone
    undone,       // undone: its files came back
    interrupted,  // its process died before the batch's end; may be undone
    running,      // another process still runs it (holds its journal)
    refused,      // its journal cannot be read or trusted (see reason)
};

// One batch of the history.
struct HistoryBatch {
    std::string path;   // its journal (file-system path)
    std::string stamp;  // when it started (see stamp_time, stamp_seconds)
    JournalKind kind = JournalKind::rename;
    HistoryState state = HistoryState::refused;
    std::size_t files = 0;  // files it renamed or whose tags it wrote (or began to)
    // Their folders (code page, ending in '/'), each once, in the order the
    // batch met them.
    std::vector<std::string> folders;
    std::string reason;  // why refused (code page)

    // Whether undo may still be tried: undoable or interrupted.
    [[nodiscard]] bool open() const {
        return state == HistoryState::undoable || state == HistoryState::interrupted;
    }
};

// The batches of the journal folder `folder` (ending in '/'; empty: none),
// newest first; the single tag journal of earlier versions at
// `old_tag_journal` (empty: none), when it is there, takes its place by its
// modification time. Every journal is read under its lock with the checks
// of its kind (owner, mode, no symbolic link, checksums).
[[nodiscard]] std::vector<HistoryBatch> batch_history(const std::string& folder,
                                                      const std::string& old_tag_journal,
                                                      const Codec& codec);

// What the undo of one batch tells as it goes; each may be empty.
struct HistoryHooks {
    EntryUndone renamed_back;                             // every rename entry's outcome
    std::function<void(const TagUndoOutcome&)> tag_back;  // every tag file's outcome
    ProgressCallback progress;                            // rename batches
    std::function<bool(int done, int count)> cancelled;   // rename batches
};

// The outcome of undoing one batch.
struct BatchUndo {
    // Every file came back: the journal is marked undone (or removed, for
    // the old single tag journal).
    bool undone = false;
    // Counts and the summary (code page) as undo gives them; empty when the
    // undo could not start (`refused`).
    BatchOutcome outcome;
    std::string refused;  // why the undo did not start (code page)
};

// Undoes `batch` alone: a rename batch through its journal's entries
// (undo_entries), a tag batch through undo_tag_journal; each file is
// checked as those functions say.
[[nodiscard]] BatchUndo undo_batch(const HistoryBatch& batch, const Codec& codec,
                                   const HistoryHooks& hooks);

// The outcome of undoing up to a batch.
struct HistoryUndo {
    std::vector<std::size_t> undone;  // indices into the history, in the order undone
    // The first batch that did not come back whole (index), with its undo;
    // `reached` false when all came back.
    bool reached = true;
    std::size_t stopped_at = 0;
    BatchUndo stop;
};

// Undoes history[target] after every newer batch that is not undone, newest
// first, and stops at the first one that does not come back whole (a batch
// still running, a journal refused, a file changed since, a cancel). The
// states of the undone batches in `history` become undone.
[[nodiscard]] HistoryUndo undo_through(std::vector<HistoryBatch>& history, std::size_t target,
                                       const Codec& codec, const HistoryHooks& hooks);

// Why history[index] cannot be undone now (code page), in the words of the
// history's state; empty when it can be tried.
[[nodiscard]] std::string not_undoable_reason(const HistoryBatch& batch);

}  // namespace varnel
