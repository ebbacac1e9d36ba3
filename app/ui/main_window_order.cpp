// SPDX-License-Identifier: GPL-3.0-or-later
// The list's order under the user's hand: a click on a header sorts by that
// column, Alt+Up and Alt+Down and dragging move the selected rows; the
// preview follows. The header's menu shows the columns 大小 and 修改时间.

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>

#include "app/ui/main_window.h"
#include "filelist/list_order.h"
#include "filelist/row_facts.h"
#include "filelist/ui/file_list_model.h"
#include "filelist/ui/file_list_view.h"

namespace varnel {

void MainWindow::build_order_actions() {
    const auto move = [this](const QString& text, Qt::Key key, void (MainWindow::*slot)()) {
        auto* action = new QAction(text, this);
        action->setShortcut(QKeySequence(Qt::ALT | key));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    move_up_action_ = move(tr("上移选中项"), Qt::Key_Up, &MainWindow::move_rows_up);
    move_down_action_ = move(tr("下移选中项"), Qt::Key_Down, &MainWindow::move_rows_down);
    QHeaderView* header = view_->horizontalHeader();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, &MainWindow::sort_by_section);
    connect(model_, &FileListModel::rows_moved, this, &MainWindow::rows_dropped);
    connect(view_, &FileListView::optional_column_toggled, this,
            &MainWindow::optional_column_toggled);
}

// The names, the folder, the size and the time sort; a second click on the
// same header reverses the order.
void MainWindow::sort_by_section(int section) {
    const auto column = static_cast<Column>(section);
    if (column != Column::old_name && column != Column::new_name && column != Column::folder &&
        column != Column::size && column != Column::modified)
        return;
    sort_descending_ = section == sort_section_ && !sort_descending_;
    sort_section_ = section;
    view_->horizontalHeader()->setSortIndicatorShown(true);
    view_->horizontalHeader()->setSortIndicator(
        section, sort_descending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
    put_rows_in_order(rows_sorted_by(list_, column, sort_descending_));
}

void MainWindow::move_rows_up() {
    const std::vector<int> rows = view_->selected_rows();
    put_rows_in_order(rows_moved_by_one(list_.item_count(), rows, true));
}

void MainWindow::move_rows_down() {
    const std::vector<int> rows = view_->selected_rows();
    put_rows_in_order(rows_moved_by_one(list_.item_count(), rows, false));
}

// The numbering counts in list order, so the preview runs again at once.
void MainWindow::put_rows_in_order(const std::vector<int>& order) {
    if (!list_.reorder(order)) return;
    refresh_preview(false);
}

void MainWindow::rows_dropped(int first, int count) {
    QItemSelectionModel* selection = view_->selectionModel();
    const QModelIndex top = model_->index(first, 0);
    selection->select(QItemSelection(top, model_->index(first + count - 1, 0)),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selection->setCurrentIndex(top, QItemSelectionModel::NoUpdate);
    refresh_preview(false);
}

void MainWindow::optional_column_toggled(Column, bool shown) {
    if (shown) read_shown_facts(0);
}

void MainWindow::read_shown_facts(int first_row, int end_row) {
    if (view_->is_shown(Column::size) || view_->is_shown(Column::modified))
        read_row_facts(list_, first_row, end_row);
}

}  // namespace varnel
