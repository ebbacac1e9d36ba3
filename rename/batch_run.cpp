// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/batch_run.h"

#include <optional>

#include "rename/undo_journal.h"

namespace varnel {

BatchRun run_journaled_batch(const JournalPlan& plan, BatchHooks hooks, const BatchBody& body) {
    BatchRun run;
    std::optional<UndoJournalWriter> journal;
    if (!plan.path.empty()) {
        journal = UndoJournalWriter::create(plan.path, run.journal_error, &run.journal_busy);
        run.journal_made = journal.has_value();
        if (!journal &&
            !(plan.go_on_without && plan.go_on_without(run.journal_error, run.journal_busy)))
            return run;
    }
    if (journal) {
        hooks.before_renames = [&](std::span<const UndoEntry> entries) {
            run.journal_entries += entries.size();
            return error_number(journal->record(entries));
        };
        hooks.rename_failed = [&](std::size_t index) { journal->failed(index); };
        hooks.before_claim = [&](std::size_t index, const std::string& name) {
            return error_number(journal->reserve(index, name));
        };
    }
    run.ran = true;
    run.outcome = body(hooks);
    if (journal) run.journal_finish = journal->finish();
    return run;
}

bool went_well(const BatchOutcome& outcome) {
    return outcome.all_succeeded() && outcome.refused.empty() && !outcome.cancelled;
}

}  // namespace varnel
