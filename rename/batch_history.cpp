// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/batch_history.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "platform/dir_handle.h"
#include "platform/file_id.h"
#include "platform/language.h"
#include "rename/batch_rows.h"
#include "rename/batch_texts.h"
#include "rename/undo_journal.h"

namespace varnel {

namespace {

void add_folder(std::vector<std::string>& folders, std::string folder) {
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
        folders.push_back(std::move(folder));
}

std::string folder_of(const std::string& fs_path) {
    const std::size_t slash = fs_path.rfind('/');
    return slash == std::string::npos ? std::string() : fs_path.substr(0, slash + 1);
}

void read_rename_batch(HistoryBatch& batch, const Codec& codec) {
    const ClaimedJournal claimed = claim_undo_journal(batch.path);
    switch (claimed.state) {
        case JournalState::busy:
            batch.state = HistoryState::running;
            return;
        case JournalState::none:
        case JournalState::refused:
            batch.state = HistoryState::refused;
            batch.reason = codec.from_utf8_lossy(claimed.reason.empty() ? claimed.held.reason()
                                                                        : claimed.reason);
            return;
        case JournalState::finished:
            batch.state = HistoryState::undoable;
            break;
        case JournalState::interrupted:
            batch.state = HistoryState::interrupted;
            break;
    }
    // A file the smart order moved twice has two entries.
    std::set<std::pair<std::uint64_t, std::uint64_t>> files;
    for (const UndoEntry& entry : claimed.contents.entries) {
        files.emplace(entry.file.device, entry.file.inode);
        add_folder(batch.folders, entry.folder_text);
    }
    batch.files = files.size();
}

void read_tag_batch(HistoryBatch& batch, const Codec& codec) {
    TagJournalSummary summary = read_tag_journal(batch.path);
    switch (summary.state) {
        case TagJournalSummary::State::busy:
            batch.state = HistoryState::running;
            return;
        case TagJournalSummary::State::refused:
            batch.state = HistoryState::refused;
            batch.reason = std::move(summary.reason);
            return;
        case TagJournalSummary::State::ended:
            batch.state = HistoryState::undoable;
            break;
        case TagJournalSummary::State::interrupted:
            batch.state = HistoryState::interrupted;
            break;
    }
    batch.files = summary.paths.size();
    for (const std::string& path : summary.paths)
        add_folder(batch.folders, codec.text_from_fs(folder_of(path)));
}

// The old single tag journal as a batch, placed by its modification time.
std::optional<HistoryBatch> old_tag_batch(const std::string& path) {
    const std::optional<DirHandle> dir = DirHandle::open_path(folder_of(path));
    if (!dir) return std::nullopt;
    const std::optional<FileId> id = file_id_at(*dir, path.substr(path.rfind('/') + 1));
    if (!id) return std::nullopt;
    HistoryBatch batch;
    batch.path = path;
    batch.stamp = stamp_of_time(id->mtime_sec, id->mtime_nsec);
    batch.kind = JournalKind::tags;
    return batch;
}

}  // namespace

std::vector<HistoryBatch> batch_history(const std::string& folder,
                                        const std::string& old_tag_journal, const Codec& codec) {
    std::vector<HistoryBatch> history;
    if (!folder.empty())
        for (StoredJournal& journal : stored_journals(folder)) {
            HistoryBatch batch;
            batch.path = std::move(journal.path);
            batch.stamp = std::move(journal.stamp);
            batch.kind = journal.kind;
            history.push_back(std::move(batch));
        }
    if (!old_tag_journal.empty())
        if (std::optional<HistoryBatch> old = old_tag_batch(old_tag_journal))
            history.push_back(std::move(*old));
    // Equal stamps (a journal and its undone name) keep one order: the
    // shorter path, the journal not marked undone, first.
    std::sort(history.begin(), history.end(), [](const HistoryBatch& a, const HistoryBatch& b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.path < b.path;
    });
    for (HistoryBatch& batch : history) {
        if (batch.kind == JournalKind::rename)
            read_rename_batch(batch, codec);
        else
            read_tag_batch(batch, codec);
        // Its name says it was undone, whatever its end says; a journal that
        // cannot be read is still refused.
        if (batch.path.ends_with(".undone") && batch.state != HistoryState::refused)
            batch.state = HistoryState::undone;
    }
    return history;
}

std::string not_undoable_reason(const HistoryBatch& batch) {
    switch (batch.state) {
        case HistoryState::undoable:
        case HistoryState::interrupted:
            return {};
        case HistoryState::undone:
            return say("这批操作已经撤消", "This batch was undone already");
        case HistoryState::running:
            return texts::another_batch_running();
        case HistoryState::refused:
            break;
    }
    return batch.reason;
}

namespace {

BatchUndo undo_rename_batch(const HistoryBatch& batch, const Codec& codec,
                            const HistoryHooks& hooks) {
    BatchUndo undo;
    // Held until the undo ends: no batch or other undo starts on it meanwhile.
    const ClaimedJournal claimed = claim_undo_journal(batch.path);
    if (claimed.state == JournalState::busy) {
        undo.refused = texts::another_batch_running();
        return undo;
    }
    if (claimed.state == JournalState::none || claimed.state == JournalState::refused) {
        undo.refused =
            codec.from_utf8_lossy(claimed.reason.empty() ? claimed.held.reason() : claimed.reason);
        return undo;
    }
    undo.outcome = undo_entries(claimed.contents.entries, codec, hooks.renamed_back, hooks.progress,
                                claimed.contents.reservations, hooks.cancelled);
    if (!undo.outcome.all_succeeded() || undo.outcome.cancelled) return undo;
    if (Status marked = mark_journal_undone(batch.path); !marked)
        undo.mark_error = marked.error();
    else
        undo.undone = true;
    return undo;
}

BatchUndo undo_tag_batch(const HistoryBatch& batch, const Codec& codec, const HistoryHooks& hooks) {
    BatchUndo undo;
    std::string reason;
    const std::optional<std::vector<TagUndoOutcome>> outcomes =
        undo_tag_journal(batch.path, reason);
    if (!outcomes) {
        undo.refused = reason;
        return undo;
    }
    std::vector<batch::UndoFailure> failures;
    for (const TagUndoOutcome& outcome : *outcomes) {
        if (hooks.tag_back) hooks.tag_back(outcome);
        if (outcome.reason.empty())
            ++undo.outcome.successes;
        else
            failures.push_back({codec.text_from_fs(outcome.path), outcome.reason});
    }
    undo.outcome.count = static_cast<int>(outcomes->size());
    batch::set_undo_summary(undo.outcome, failures);
    undo.undone = failures.empty();
    return undo;
}

}  // namespace

BatchUndo undo_batch(const HistoryBatch& batch, const Codec& codec, const HistoryHooks& hooks) {
    if (!batch.open()) {
        BatchUndo undo;
        undo.refused = not_undoable_reason(batch);
        return undo;
    }
    return batch.kind == JournalKind::rename ? undo_rename_batch(batch, codec, hooks)
                                             : undo_tag_batch(batch, codec, hooks);
}

HistoryUndo undo_through(std::vector<HistoryBatch>& history, std::size_t target, const Codec& codec,
                         const HistoryHooks& hooks) {
    HistoryUndo result;
    for (std::size_t i = 0; i <= target && i < history.size(); ++i) {
        if (history[i].state == HistoryState::undone) continue;
        BatchUndo undo = undo_batch(history[i], codec, hooks);
        if (!undo.undone) {
            result.reached = false;
            result.stopped_at = i;
            result.stop = std::move(undo);
            return result;
        }
        history[i].state = HistoryState::undone;
        if (is_stored_journal_path(history[i].path)) history[i].path += ".undone";
        result.undone.push_back(i);
        result.stop = std::move(undo);
    }
    return result;
}

}  // namespace varnel
