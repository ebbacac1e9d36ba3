// Renaming and undo, with progress in panel 进度 and the summaries.

#include <QAction>
#include <QLabel>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_model.h"
#include "platform/journal_file.h"
#include "platform/ui/ui_services.h"
#include "rename/batch_texts.h"
#include "rename/fix_names.h"
#include "rename/renamer.h"
#include "rename/ui/rule_tabs.h"
#include "rename/undo_journal.h"

namespace varnel {

// The batch runs here on the GUI thread; the panel is repainted at once so
// the squares grow while no user input is handled.
void MainWindow::show_progress(std::string_view text) {
    panels_[1]->setText(code_page_text(text));
    panels_[1]->repaint();
}

void MainWindow::rename_command() {
    run_batch([this](const BatchHooks& hooks) {
        return rename_items(list_, tabs_->pages(), undo_log_, codec_, hooks);
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
    BatchOutcome outcome;
    {
        const BusyCursor busy(services_);
        // Written ahead of the renames, so that a batch cut short by a crash
        // can be undone at the next start. Without a journal the batch
        // still runs; only that later undo is lost.
        std::string reason;
        std::optional<UndoJournalWriter> journal =
            undo_journal_path_.empty() ? std::nullopt
                                       : UndoJournalWriter::create(undo_journal_path_, reason);
        BatchHooks hooks;
        hooks.progress = [this](std::string_view text) { show_progress(text); };
        hooks.order = rename_order();
        if (journal) {
            hooks.before_renames = [&](std::span<const UndoEntry> entries) {
                return journal->record(entries);
            };
            hooks.rename_failed = [&](std::size_t index) { journal->failed(index); };
        }
        outcome = batch(hooks);
        if (journal) journal->finish();
    }
    set_buttons(preview_button, true);
    set_buttons(undo_button, true);
    services_.message_box(nullptr, code_page_text(texts::message_title),
                          code_page_text(outcome.summary),
                          outcome.all_succeeded() ? MessageIcon::information : MessageIcon::warning,
                          MessageButtons::ok);
    panels_[1]->clear();
}

void MainWindow::undo_command() {
    const MessageAnswer answer = services_.message_box(
        nullptr, code_page_text(texts::undo_question_title), code_page_text(texts::undo_question),
        MessageIcon::information, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;
    stop_pending_preview();  // a preview would wipe the rows' outcomes
    BatchOutcome outcome;
    {
        const BusyCursor busy(services_);
        BatchHooks hooks;
        hooks.progress = [this](std::string_view text) { show_progress(text); };
        outcome = undo_rename(list_, undo_log_, codec_, hooks);
        panels_[1]->clear();
    }
    set_buttons(undo_button, false);
    services_.message_box(nullptr, code_page_text(texts::message_title),
                          code_page_text(outcome.summary),
                          outcome.all_succeeded() ? MessageIcon::information : MessageIcon::warning,
                          MessageButtons::ok);
}

void MainWindow::offer_interrupted_undo() {
    if (undo_journal_path_.empty()) return;
    const UndoJournalRead read = read_undo_journal(undo_journal_path_);
    if (!read.journal || read.journal->finished || read.journal->entries.empty()) return;
    const MessageAnswer answer =
        services_.message_box(nullptr, code_page_text(texts::undo_question_title),
                              code_page_text(texts::interrupted_batch_question),
                              MessageIcon::information, MessageButtons::yes_no);
    remove_file(undo_journal_path_);
    if (answer != MessageAnswer::yes) return;
    BatchOutcome outcome;
    {
        const BusyCursor busy(services_);
        outcome = undo_entries(read.journal->entries, codec_, nullptr,
                               [this](std::string_view text) { show_progress(text); });
        panels_[1]->clear();
    }
    services_.message_box(nullptr, code_page_text(texts::message_title),
                          code_page_text(outcome.summary),
                          outcome.all_succeeded() ? MessageIcon::information : MessageIcon::warning,
                          MessageButtons::ok);
}

}  // namespace varnel
