// SPDX-License-Identifier: GPL-3.0-or-later
// Renaming and undo, with progress in panel 进度 and the summaries.

#include <QAction>
#include <QLabel>
#include <string_view>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_model.h"
#include "platform/error_text.h"
#include "platform/journal_file.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"
#include "rename/batch_run.h"
#include "rename/batch_texts.h"
#include "rename/fix_names.h"
#include "rename/renamer.h"
#include "rename/ui/rule_tabs.h"
#include "rename/undo_journal.h"

namespace varnel {

std::function<bool(int, int)> MainWindow::cancel_asker(ProgressWindow& progress) {
    return [&progress](int done, int count) {
        progress.set_value(done, count);
        return progress.was_cancelled();
    };
}

void MainWindow::show_summary(const QString& summary, bool well) {
    services_.message_box(nullptr, code_page_text(texts::message_title()), summary,
                          well ? MessageIcon::information : MessageIcon::warning,
                          MessageButtons::ok);
}

// The batch runs here on the GUI thread; the panel is repainted at once so
// the squares grow while no user input is handled.
void MainWindow::show_progress(std::string_view text) {
    panels_[1]->setText(code_page_text(text));
    panels_[1]->repaint();
}

void MainWindow::rename_command() {
    // A rule that cannot use its settings renames nothing and keeps the
    // undo of the last batch; its error stays in the status bar.
    const NameRule rule = name_rule();
    rule_error_ = name_rule_error();
    if (!rule_error_.empty()) {
        show_rule_error(rule_error_);
        update_buttons();
        return;
    }
    run_batch([&](const BatchHooks& hooks) {
        return rename_items(list_, rule, undo_log_, codec_, hooks);
    });
}

void MainWindow::fix_names_command() {
    std::vector<int> rows;
    for (int row = 0; row < list_.item_count(); ++row)
        if (list_.is_selected(row)) rows.push_back(row);
    if (rows.empty()) return;
    run_batch([&](const BatchHooks& hooks) {
        return respell_names_in_utf8(list_, rows, undo_log_, codec_, hooks);
    });
}

void MainWindow::run_batch(const std::function<BatchOutcome(const BatchHooks&)>& batch) {
    stop_pending_preview();  // the batch computes every name it needs itself
    set_buttons(preview_button, false);
    BatchRun run;
    {
        const BusyCursor busy(services_);
        const std::unique_ptr<ProgressWindow> progress = services_.progress(this, tr("正在更名……"));
        BatchHooks hooks;
        hooks.progress = [this](std::string_view text) { show_progress(text); };
        hooks.cancelled = cancel_asker(*progress);
        hooks.order = rename_order();
        // Written ahead of the renames, so that a batch cut short by a
        // crash can be undone at the next start. Without it the batch runs
        // only when the user agrees to lose that undo.
        const std::string journal =
            journal_folder_.empty() ? std::string() : new_journal_path(journal_folder_);
        JournalPlan plan{journal, [this](const std::string& reason, bool) {
                             return services_.message_box(
                                        nullptr, code_page_text(texts::message_title()),
                                        tr("无法建立撤消记录：%1\n\n"
                                           "如果继续，程序意外中止后将无法撤消这批更名。"
                                           "是否仍然更名？")
                                            .arg(QString::fromStdString(reason)),
                                        MessageIcon::question,
                                        MessageButtons::yes_no_default_no) == MessageAnswer::yes;
                         }};
        run = run_journaled_batch(plan, hooks, batch);
        note_rename_batch(run, journal);
    }
    if (run.ran) read_shown_facts(0);  // renamed rows show their files anew
    update_buttons();
    if (!run.ran) {
        panels_[1]->clear();
        return;
    }
    QString summary = code_page_text(run.outcome.summary);
    if (!run.journal_finish)
        summary +=
            tr("\n\n无法完成撤消记录：%1")
                .arg(QString::fromStdString(system_error_text(run.journal_finish.error().number)));
    show_summary(summary, went_well(run.outcome) && run.journal_finish.ok());
    panels_[1]->clear();
}

void MainWindow::note_rename_batch(const BatchRun& run, const std::string& journal) {
    if (!run.ran || !run.outcome.refused.empty()) return;  // the log keeps the last batch
    // Only the newest batch without a journal is held, in the undo log.
    std::erase_if(session_batches_, [](const SessionBatch& b) { return b.journal.empty(); });
    if (run.journal_made && run.journal_entries == 0) {
        (void)remove_file(journal);  // renamed nothing: nothing to undo
        undo_log_journal_.clear();
        return;
    }
    undo_log_journal_ = run.journal_made ? journal : std::string();
    if (!run.journal_made && undo_log_.entries.empty()) return;  // nothing to undo
    session_batches_.push_back({JournalKind::rename, undo_log_journal_});
    if (run.journal_made) prune_journals(journal_folder_);
}

bool MainWindow::session_has_undo() const {
    return !session_batches_.empty() || !undo_log_.entries.empty();
}

void MainWindow::undo_command() {
    const MessageAnswer answer = services_.message_box(
        nullptr, code_page_text(texts::undo_question_title()),
        code_page_text(texts::undo_question()), MessageIcon::information, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;
    stop_pending_preview();  // a preview would wipe the rows' outcomes
    if (session_batches_.empty() && undo_log_.entries.empty()) {
        update_buttons();
        return;
    }
    const SessionBatch newest = session_batches_.empty() ? SessionBatch{} : session_batches_.back();
    BatchOutcome outcome;
    std::string refused;
    bool undone = false;
    {
        const BusyCursor busy(services_);
        const std::unique_ptr<ProgressWindow> progress = services_.progress(this, tr("正在撤消……"));
        const std::function<bool(int, int)> cancelled = cancel_asker(*progress);
        if (newest.kind == JournalKind::rename && newest.journal == undo_log_journal_ &&
            !undo_log_.entries.empty()) {
            // The last rename batch: its moves are at hand, and what does not
            // come back stays in the log for the next 撤消.
            BatchHooks hooks;
            hooks.progress = [this](std::string_view text) { show_progress(text); };
            hooks.cancelled = cancelled;
            outcome = undo_rename(list_, undo_log_, codec_, hooks);
            undone = undo_log_.entries.empty() &&
                     (newest.journal.empty() || mark_journal_undone(newest.journal).ok());
        } else {
            HistoryBatch batch;
            batch.path = newest.journal;
            batch.kind = newest.kind;
            batch.state = HistoryState::undoable;
            HistoryHooks hooks = history_hooks(std::make_shared<RowsFollowUndo>(list_));
            hooks.cancelled = cancelled;
            BatchUndo undo = undo_batch(batch, codec_, hooks);
            outcome = std::move(undo.outcome);
            refused = std::move(undo.refused);
            undone = undo.undone;
        }
        panels_[1]->clear();
    }
    // A batch whose journal cannot be used any more is left to the history.
    if ((undone || !refused.empty()) && !session_batches_.empty()) {
        if (session_batches_.back().journal == undo_log_journal_) undo_log_.entries.clear();
        session_batches_.pop_back();
    }
    read_shown_facts(0);
    update_buttons();  // what could not be undone stays to undo
    if (!refused.empty()) {
        show_summary(code_page_text(refused), false);
        return;
    }
    show_summary(code_page_text(outcome.summary), went_well(outcome));
}

}  // namespace varnel
