// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 撤消历史: the window listing the batches of the undo history
// (rename/batch_history.h), newest first: 时间, 操作 (更名/标签), 文件数,
// 文件夹 and 状态 (已撤消, 可撤消, 未完成, 正在进行, 不可用). 撤消 undoes the
// selected batch after every newer batch not undone yet, newest first, and
// says where and why it stopped.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "platform/codec.h"
#include "rename/batch_history.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace varnel {

class UiServices;

struct UndoHistorySetup {
    std::string journal_folder;   // see batch_history
    std::string old_tag_journal;  // see batch_history
    const Codec& codec;
    UiServices& services;
    // The hooks of one 撤消 (rows of the main window following the undo,
    // progress); called once per 撤消.
    std::function<HistoryHooks()> hooks;
    // After a 撤消: the journals of the batches it undid (their paths
    // before they were marked undone).
    std::function<void(const std::vector<std::string>& journals)> undone;
};

class UndoHistoryDialog final : public QDialog {
    Q_OBJECT
public:
    explicit UndoHistoryDialog(UndoHistorySetup setup, QWidget* parent = nullptr);

    // Reads the history again and shows it.
    void reload();
    // The batches shown, newest first (row i shows batch i).
    const std::vector<HistoryBatch>& batches() const { return history_; }
    QTableWidget* table() const { return table_; }
    QPushButton* undo_button() const { return undo_button_; }
    // 撤消 with row `row` selected: asks (through UiServices), undoes, tells.
    void undo_through_row(int row);

private:
    void selection_changed();
    QString batch_name(const HistoryBatch& batch) const;
    // The 状态 column's word for `state`.
    static QString state_text(HistoryState state);

    UndoHistorySetup setup_;
    std::vector<HistoryBatch> history_;
    QTableWidget* table_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* undo_button_ = nullptr;
};

}  // namespace varnel
