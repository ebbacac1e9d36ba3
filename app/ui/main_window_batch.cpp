// SPDX-License-Identifier: GPL-3.0-or-later
// Renaming and undo, with progress in panel 进度 and the summaries.

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QStringList>
#include <string_view>
#include <unordered_set>

#include "app/journal_mark.h"
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

namespace {

// Shows `done` of `count` in the progress window; whether the user wants
// the batch stopped.
bool asks_cancel(ProgressWindow& progress, int done, int count) {
    progress.set_value(done, count);
    return progress.was_cancelled();
}

// The summary of a batch or an undo: information when all went well, else
// a warning.
void show_summary(UiServices& services, const QString& title, const QString& summary, bool well) {
    services.message_box(nullptr, title, summary,
                         well ? MessageIcon::information : MessageIcon::warning,
                         MessageButtons::ok);
}

}  // namespace

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
        hooks.cancelled = [&progress](int done, int count) {
            return asks_cancel(*progress, done, count);
        };
        hooks.order = rename_order();
        // Written ahead of the renames, so that a batch cut short by a
        // crash can be undone at the next start. Without it the batch runs
        // only when the user agrees to lose that undo.
        JournalPlan plan{undo_journal_path_, [this](const std::string& reason, bool) {
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
        if (run.journal_made) set_pending_journal(false);  // replaced by this batch's
    }
    if (run.ran) read_shown_facts(0);  // renamed rows show their files anew
    update_buttons();
    if (!run.ran) {
        panels_[1]->clear();
        return;
    }
    QString summary = code_page_text(run.outcome.summary);
    if (run.finish_error != 0)
        summary += tr("\n\n无法完成撤消记录：%1")
                       .arg(QString::fromStdString(system_error_text(run.finish_error)));
    show_summary(services_, code_page_text(texts::message_title()), summary,
                 went_well(run.outcome) && run.finish_error == 0);
    panels_[1]->clear();
}

void MainWindow::undo_command() {
    const MessageAnswer answer = services_.message_box(
        nullptr, code_page_text(texts::undo_question_title()),
        code_page_text(texts::undo_question()), MessageIcon::information, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;
    stop_pending_preview();  // a preview would wipe the rows' outcomes
    BatchOutcome outcome;
    {
        const BusyCursor busy(services_);
        const std::unique_ptr<ProgressWindow> progress = services_.progress(this, tr("正在撤消……"));
        BatchHooks hooks;
        hooks.progress = [this](std::string_view text) { show_progress(text); };
        hooks.cancelled = [&progress](int done, int count) {
            return asks_cancel(*progress, done, count);
        };
        outcome = undo_rename(list_, undo_log_, codec_, hooks);
        panels_[1]->clear();
    }
    read_shown_facts(0);
    update_buttons();  // what could not be undone stays to undo
    show_summary(services_, code_page_text(texts::message_title()), code_page_text(outcome.summary),
                 went_well(outcome));
}

namespace {

// The question about an interrupted batch: what it did, where and when.
QString interrupted_batch_question(const UndoJournalContents& journal, int done,
                                   std::optional<std::int64_t> when, const Codec& codec) {
    QStringList folders;  // in the order the batch met them
    std::unordered_set<std::string_view> seen;
    for (const UndoEntry& entry : journal.entries)
        if (seen.insert(entry.folder_text).second)
            folders.append(to_qstring(entry.folder_text, codec));
    constexpr qsizetype shown_folders = 5;
    QString folder_lines = folders.mid(0, shown_folders).join(QStringLiteral("\n    "));
    if (folders.size() > shown_folders)
        folder_lines +=
            QCoreApplication::translate("varnel::MainWindow", "\n    ……另有 %1 个文件夹")
                .arg(folders.size() - shown_folders);
    const QString time =
        when ? QDateTime::fromSecsSinceEpoch(*when).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
             : QCoreApplication::translate("varnel::MainWindow", "不详");
    return QCoreApplication::translate(
               "varnel::MainWindow",
               "上一次的批量更名没有完成。\n\n时间：%1\n已更名：%2 个文件\n文件夹：\n    %3\n\n"
               "是否撤消它已做的更名？\n（选“否”保留这份记录：以后可以在“文件”菜单中撤消或丢弃它。"
               "）")
        .arg(time)
        .arg(done)
        .arg(folder_lines);
}

}  // namespace

void MainWindow::set_pending_journal(bool pending) {
    pending_journal_ = pending;
    if (undo_journal_action_) undo_journal_action_->setEnabled(pending);
    if (discard_journal_action_) discard_journal_action_->setEnabled(pending);
}

void MainWindow::offer_interrupted_undo() {
    if (undo_journal_path_.empty()) return;
    {
        // Released before the question: undo_journal_batch claims it again.
        const ClaimedJournal claimed = claim_undo_journal(undo_journal_path_);
        if (claimed.state == JournalState::busy) {
            tell_batch_running_elsewhere();
            return;
        }
        if (claimed.state != JournalState::interrupted || claimed.contents.entries.empty()) return;
    }
    set_pending_journal(true);
    if (journal_was_asked(undo_journal_path_)) return;  // once per journal
    (void)mark_journal_asked(undo_journal_path_);       // unmarked, it is asked again: no harm
    undo_journal_batch();
}

void MainWindow::undo_interrupted_batch() {
    undo_journal_batch();
}

void MainWindow::tell_batch_running_elsewhere() {
    services_.message_box(nullptr, code_page_text(texts::message_title()),
                          code_page_text(texts::another_batch_running()), MessageIcon::information,
                          MessageButtons::ok);
}

void MainWindow::undo_journal_batch() {
    // Held until the undo ends; a journal another window still writes is
    // that window's to undo.
    const ClaimedJournal claimed = claim_undo_journal(undo_journal_path_);
    if (claimed.state == JournalState::busy) {
        tell_batch_running_elsewhere();
        return;
    }
    const UndoJournalContents& journal = claimed.contents;
    if (claimed.state != JournalState::interrupted || journal.entries.empty()) {
        set_pending_journal(false);
        return;
    }
    const MessageAnswer answer =
        services_.message_box(nullptr, code_page_text(texts::undo_question_title()),
                              interrupted_batch_question(journal, renames_done(journal.entries),
                                                         journal_time(undo_journal_path_), codec_),
                              MessageIcon::question, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;  // the journal stays
    BatchOutcome outcome;
    {
        const BusyCursor busy(services_);
        const std::unique_ptr<ProgressWindow> progress = services_.progress(this, tr("正在撤消……"));
        outcome = undo_entries(
            journal.entries, codec_, nullptr,
            [this](std::string_view text) { show_progress(text); }, journal.reservations,
            [&progress](int done, int count) { return asks_cancel(*progress, done, count); });
        panels_[1]->clear();
    }
    // A file that did not come back, or was not reached, keeps the journal,
    // to be tried again.
    if (outcome.all_succeeded() && !outcome.cancelled) {
        remove_journal(undo_journal_path_);
        set_pending_journal(false);
    }
    show_summary(services_, code_page_text(texts::message_title()), code_page_text(outcome.summary),
                 went_well(outcome));
}

void MainWindow::discard_interrupted_batch() {
    const MessageAnswer answer = services_.message_box(
        nullptr, code_page_text(texts::undo_question_title()),
        tr("是否丢弃未完成的批量更名的记录？\n丢弃后，它已做的更名再也不能撤消。"),
        MessageIcon::warning, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;
    remove_journal(undo_journal_path_);
    set_pending_journal(false);
}

}  // namespace varnel
