// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/undo_history_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"

namespace varnel {

namespace {

enum HistoryColumn { time_column, kind_column, files_column, folders_column, state_column };

// The batch's start in local time; the stamp itself when it is not ours.
QString time_text(const HistoryBatch& batch) {
    const std::optional<std::int64_t> seconds = stamp_seconds(batch.stamp);
    if (!seconds) return QString::fromStdString(batch.stamp);
    return QDateTime::fromSecsSinceEpoch(*seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QTableWidgetItem* cell(const QString& text, const QString& tip = {}) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (!tip.isEmpty()) item->setToolTip(tip);
    return item;
}

}  // namespace

UndoHistoryDialog::UndoHistoryDialog(UndoHistorySetup setup, QWidget* parent)
    : QDialog(parent), setup_(std::move(setup)) {
    setWindowTitle(tr("撤消历史"));
    table_ = new QTableWidget(0, 5, this);
    table_->setObjectName(QStringLiteral("撤消历史列表"));
    table_->setHorizontalHeaderLabels(
        {tr("时间"), tr("操作"), tr("文件数"), tr("文件夹"), tr("状态")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->horizontalHeader()->setSectionResizeMode(folders_column, QHeaderView::Stretch);
    note_ = new QLabel(
        tr("撤消所选的一批操作之前，比它新而尚未撤消的各批操作会按从新到旧的顺序先撤消。"), this);
    note_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    undo_button_ = buttons->addButton(tr("撤消(&U)"), QDialogButtonBox::ActionRole);
    buttons->addButton(tr("关闭"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(note_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(undo_button_, &QPushButton::clicked, this,
            [this] { undo_through_row(table_->currentRow()); });
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            &UndoHistoryDialog::selection_changed);
    resize(720, 360);
    reload();
}

QString UndoHistoryDialog::batch_name(const HistoryBatch& batch) const {
    return batch.kind == JournalKind::tags ? tr("标签") : tr("更名");
}

QString UndoHistoryDialog::state_text(HistoryState state) {
    switch (state) {
        case HistoryState::undoable:
            return tr("可撤消");
        case HistoryState::undone:
            return tr("已撤消");
        case HistoryState::interrupted:
            return tr("未完成");
        case HistoryState::running:
            return tr("正在进行");
        case HistoryState::refused:
            return tr("不可用");
    }
    return {};
}

void UndoHistoryDialog::reload() {
    history_ = batch_history(setup_.journal_folder, setup_.old_tag_journal, setup_.codec);
    table_->setRowCount(static_cast<int>(history_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const HistoryBatch& batch = history_[static_cast<std::size_t>(row)];
        QStringList folders;
        for (const std::string& folder : batch.folders)
            folders.append(to_qstring(folder, setup_.codec));
        QString shown = folders.value(0);
        if (folders.size() > 1) shown += tr(" 等 %n 个文件夹", nullptr, int(folders.size()));
        table_->setItem(row, time_column, cell(time_text(batch)));
        table_->setItem(row, kind_column, cell(batch_name(batch)));
        table_->setItem(row, files_column, cell(QString::number(batch.files)));
        table_->setItem(row, folders_column, cell(shown, folders.join(QLatin1Char('\n'))));
        table_->setItem(
            row, state_column,
            cell(state_text(batch.state), to_qstring(not_undoable_reason(batch), setup_.codec)));
    }
    table_->resizeColumnsToContents();
    selection_changed();
}

void UndoHistoryDialog::selection_changed() {
    const int row = table_->currentRow();
    const bool chosen =
        !table_->selectedItems().isEmpty() && row >= 0 && row < static_cast<int>(history_.size());
    undo_button_->setEnabled(chosen && history_[static_cast<std::size_t>(row)].open());
}

void UndoHistoryDialog::undo_through_row(int row) {
    if (row < 0 || row >= static_cast<int>(history_.size())) return;
    const auto target = static_cast<std::size_t>(row);
    int count = 0;
    for (std::size_t i = 0; i <= target; ++i)
        if (history_[i].state != HistoryState::undone) ++count;
    if (count == 0) return;
    const QString question =
        count == 1
            ? tr("是否撤消所选的这批操作？")
            : tr("将按从新到旧的顺序撤消 %1 批操作，最后是所选的这一批。是否继续？").arg(count);
    if (setup_.services.message_box(this, windowTitle(), question, MessageIcon::question,
                                    MessageButtons::yes_no) != MessageAnswer::yes)
        return;
    std::vector<std::string> journals;
    for (std::size_t i = 0; i <= target; ++i) journals.push_back(history_[i].path);
    HistoryUndo undo;
    {
        const BusyCursor busy(setup_.services);
        const std::unique_ptr<ProgressWindow> progress =
            setup_.services.progress(this, tr("正在撤消……"));
        HistoryHooks hooks = setup_.hooks ? setup_.hooks() : HistoryHooks{};
        ProgressWindow& window = *progress;
        hooks.cancelled = [&window](int done, int all) {
            window.set_value(done, all);
            return window.was_cancelled();
        };
        undo = undo_through(history_, target, setup_.codec, hooks);
    }
    std::vector<std::string> undone;
    for (const std::size_t i : undo.undone) undone.push_back(journals[i]);
    if (setup_.undone) setup_.undone(undone);
    QString text = tr("已撤消 %n 批操作。", nullptr, int(undo.undone.size()));
    if (!undo.reached) {
        const HistoryBatch& stopped = history_[undo.stopped_at];
        const std::string& why =
            undo.stop.refused.empty() ? undo.stop.outcome.summary : undo.stop.refused;
        text += tr("\n\n%1 的%2批操作没有全部撤消，撤消到此为止：\n%3")
                    .arg(time_text(stopped), batch_name(stopped), to_qstring(why, setup_.codec));
    }
    setup_.services.message_box(this, windowTitle(), text,
                                undo.reached ? MessageIcon::information : MessageIcon::warning,
                                MessageButtons::ok);
    reload();
}

}  // namespace varnel
