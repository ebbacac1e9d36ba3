// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history in the window: tag batches joining the session, the
// start-up offer of unfinished batches, the 文件 menu's items for them and
// the 撤消历史… window.

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QStringList>
#include <algorithm>

#include "app/journal_mark.h"
#include "app/ui/main_window.h"
#include "app/ui/undo_history_dialog.h"
#include "platform/journal_file.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"
#include "rename/batch_run.h"
#include "rename/batch_texts.h"
#include "rename/undo_journal.h"

namespace varnel {

namespace {

// The question about an unfinished batch: what it did, where and when.
QString interrupted_batch_question(JournalKind kind, const std::vector<std::string>& folders,
                                   int files, std::optional<std::int64_t> when,
                                   const Codec& codec) {
    constexpr std::size_t shown_folders = 5;
    QStringList shown;
    for (std::size_t i = 0; i < folders.size() && i < shown_folders; ++i)
        shown.append(to_qstring(folders[i], codec));
    QString folder_lines = shown.join(QStringLiteral("\n    "));
    if (folders.size() > shown_folders)
        folder_lines +=
            QCoreApplication::translate("varnel::MainWindow", "\n    ……另有 %1 个文件夹")
                .arg(folders.size() - shown_folders);
    const QString time =
        when ? QDateTime::fromSecsSinceEpoch(*when).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
             : QCoreApplication::translate("varnel::MainWindow", "不详");
    const QString text =
        kind == JournalKind::tags
            ? QCoreApplication::translate(
                  "varnel::MainWindow",
                  "上一次的标签批量编辑没有完成。\n\n时间：%1\n已记录：%2 个文件\n文件夹：\n"
                  "    %3\n\n是否撤消它已写入的标签？\n（选“否”保留这份记录：以后可以在"
                  "“文件”菜单中撤消或丢弃它。）")
            : QCoreApplication::translate(
                  "varnel::MainWindow",
                  "上一次的批量更名没有完成。\n\n时间：%1\n已更名：%2 个文件\n文件夹：\n"
                  "    %3\n\n是否撤消它已做的更名？\n（选“否”保留这份记录：以后可以在"
                  "“文件”菜单中撤消或丢弃它。）");
    return text.arg(time).arg(files).arg(folder_lines);
}

// What the question about an unfinished batch names, read under its lock.
struct Unfinished {
    HistoryState state = HistoryState::refused;
    std::vector<std::string> folders;  // code page
    int files = 0;                     // renames done, or tag files recorded
};

Unfinished read_unfinished(const std::string& path, JournalKind kind, const Codec& codec) {
    Unfinished unfinished;
    HistoryBatch batch;
    if (kind == JournalKind::tags) {
        const std::vector<HistoryBatch> read = batch_history({}, path, codec);
        if (read.empty()) return unfinished;
        batch = read.front();
        unfinished.files = static_cast<int>(batch.files);
    } else {
        const ClaimedJournal claimed = claim_undo_journal(path);
        if (claimed.state == JournalState::busy) unfinished.state = HistoryState::running;
        if (claimed.state != JournalState::interrupted) return unfinished;
        batch.state = HistoryState::interrupted;
        for (const UndoEntry& entry : claimed.contents.entries)
            if (std::find(batch.folders.begin(), batch.folders.end(), entry.folder_text) ==
                batch.folders.end())
                batch.folders.push_back(entry.folder_text);
        unfinished.files = renames_done(claimed.contents.entries);
    }
    unfinished.state = batch.state;
    unfinished.folders = std::move(batch.folders);
    return unfinished;
}

}  // namespace

void MainWindow::note_tag_batch(const std::string& journal_path) {
    if (journal_path.empty()) return;
    session_batches_.push_back({JournalKind::tags, journal_path});
    update_buttons();
}

HistoryHooks MainWindow::history_hooks(std::shared_ptr<RowsFollowUndo> rows) {
    HistoryHooks hooks;
    hooks.renamed_back = [rows](const UndoEntry& entry, bool undone, const std::string& reason) {
        rows->entry_done(entry, undone, reason);
    };
    hooks.progress = [this](std::string_view text) { show_progress(text); };
    return hooks;
}

void MainWindow::forget_batches(const std::vector<std::string>& journals) {
    const auto undone = [&](const std::string& journal) {
        return !journal.empty() &&
               std::find(journals.begin(), journals.end(), journal) != journals.end();
    };
    std::erase_if(session_batches_, [&](const SessionBatch& b) { return undone(b.journal); });
    if (undone(undo_log_journal_)) undo_log_.entries.clear();
    if (undone(pending_journal_)) set_pending_journal({});
    update_buttons();
}

void MainWindow::set_pending_journal(std::string path, JournalKind kind) {
    pending_journal_ = std::move(path);
    pending_kind_ = kind;
    if (undo_journal_action_) undo_journal_action_->setEnabled(!pending_journal_.empty());
    if (discard_journal_action_) discard_journal_action_->setEnabled(!pending_journal_.empty());
}

void MainWindow::offer_interrupted_undo() {
    if (journal_folder_.empty() && old_tag_journal_.empty()) return;
    const std::vector<HistoryBatch> history =
        batch_history(journal_folder_, old_tag_journal_, codec_);
    if (!history.empty() && history.front().state == HistoryState::running) {
        tell_batch_running_elsewhere();
        return;
    }
    std::vector<const HistoryBatch*> unfinished;
    for (const HistoryBatch& batch : history)
        if (batch.state == HistoryState::interrupted && batch.files > 0)
            unfinished.push_back(&batch);
    if (unfinished.empty()) return;
    set_pending_journal(unfinished.front()->path, unfinished.front()->kind);
    for (const HistoryBatch* batch : unfinished) {
        if (journal_was_asked(batch->path)) continue;  // once per journal
        (void)mark_journal_asked(batch->path);         // unmarked, it is asked again: no harm
        undo_journal_batch(batch->path, batch->kind);
    }
    // The menu's items work on the newest batch still unfinished.
    set_pending_journal({});
    for (const HistoryBatch* batch : unfinished)
        if (read_unfinished(batch->path, batch->kind, codec_).state == HistoryState::interrupted) {
            set_pending_journal(batch->path, batch->kind);
            break;
        }
}

void MainWindow::undo_interrupted_batch() {
    if (!pending_journal_.empty()) undo_journal_batch(pending_journal_, pending_kind_);
}

void MainWindow::tell_batch_running_elsewhere() {
    services_.message_box(nullptr, code_page_text(texts::message_title()),
                          code_page_text(texts::another_batch_running()), MessageIcon::information,
                          MessageButtons::ok);
}

void MainWindow::undo_journal_batch(const std::string& path, JournalKind kind) {
    // Read under the journal's lock, released before the undo claims it
    // again; a journal another window still writes is that window's to undo.
    const Unfinished unfinished = read_unfinished(path, kind, codec_);
    if (unfinished.state == HistoryState::running) {
        tell_batch_running_elsewhere();
        return;
    }
    if (unfinished.state != HistoryState::interrupted || unfinished.files == 0) {
        if (path == pending_journal_) set_pending_journal({});
        return;
    }
    const MessageAnswer answer =
        services_.message_box(nullptr, code_page_text(texts::undo_question_title()),
                              interrupted_batch_question(kind, unfinished.folders, unfinished.files,
                                                         journal_time(path), codec_),
                              MessageIcon::question, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;  // the journal stays
    HistoryBatch batch;
    batch.path = path;
    batch.kind = kind;
    batch.state = HistoryState::interrupted;
    BatchUndo undo;
    {
        const BusyCursor busy(services_);
        const std::unique_ptr<ProgressWindow> progress = services_.progress(this, tr("正在撤消……"));
        HistoryHooks hooks = history_hooks(std::make_shared<RowsFollowUndo>(list_));
        hooks.cancelled = cancel_asker(*progress);
        undo = undo_batch(batch, codec_, hooks);
        panels_[1]->clear();
    }
    // A file that did not come back, or was not reached, keeps the journal,
    // to be tried again.
    if (undo.undone) forget_batches({path});
    if (!undo.refused.empty()) {
        show_summary(code_page_text(undo.refused), false);
        return;
    }
    show_summary(code_page_text(undo.outcome.summary), went_well(undo.outcome));
}

void MainWindow::discard_interrupted_batch() {
    if (pending_journal_.empty()) return;
    const QString question =
        pending_kind_ == JournalKind::tags
            ? tr("是否丢弃未完成的标签批量编辑的记录？\n丢弃后，它已写入的标签再也不能撤消。")
            : tr("是否丢弃未完成的批量更名的记录？\n丢弃后，它已做的更名再也不能撤消。");
    const MessageAnswer answer =
        services_.message_box(nullptr, code_page_text(texts::undo_question_title()), question,
                              MessageIcon::warning, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;
    remove_journal(pending_journal_);
    set_pending_journal({});
}

void MainWindow::open_undo_history() {
    auto* dialog = new UndoHistoryDialog(
        UndoHistorySetup{journal_folder_, old_tag_journal_, codec_, services_,
                         [this] { return history_hooks(std::make_shared<RowsFollowUndo>(list_)); },
                         [this](const std::vector<std::string>& journals) {
                             forget_batches(journals);
                             panels_[1]->clear();
                         }},
        this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace varnel
