// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/ui/file_list_view.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace varnel {

namespace {
constexpr int column_widths[] = {150, 150, 200, 100, 100};
constexpr int status_image_height = 15;
constexpr int row_padding = 4;
// The column widths are for a font of about 15 pixels per line; a bigger
// list font widens them in step.
constexpr double design_line_height = 15.0;
constexpr int minimum_rows_shown = 4;
}  // namespace

FileListView::FileListView(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("显示超级列表框"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setSortingEnabled(false);
    verticalHeader()->hide();
    // Fixed row height: no per-row size measuring, so 100,000 rows stay fast.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fit_rows_to_font();
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
}

void FileListView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    set_column_widths();
}

void FileListView::fit_rows_to_font() {
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), status_image_height) +
                                            row_padding);
    if (model()) set_column_widths();
    updateGeometry();
}

void FileListView::set_column_widths() {
    const double scale = std::max(1.0, fontMetrics().height() / design_line_height);
    for (int column = 0; column < static_cast<int>(std::size(column_widths)); ++column)
        setColumnWidth(column, qRound(column_widths[column] * scale));
}

QSize FileListView::minimumSizeHint() const {
    const QSize base = QTableView::minimumSizeHint();
    const int rows = verticalHeader()->defaultSectionSize() * minimum_rows_shown;
    return QSize(base.width(), horizontalHeader()->sizeHint().height() + rows + 2 * frameWidth());
}

void FileListView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) fit_rows_to_font();
}

std::vector<int> FileListView::selected_rows() const {
    std::vector<int> rows;
    if (!selectionModel()) return rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int FileListView::first_selected_row() const {
    if (!selectionModel()) return -1;
    int first = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        if (first < 0 || range.top() < first) first = range.top();
    return first;
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit delete_pressed();
        return;
    }
    if (event->key() == Qt::Key_A) {
        const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
        if (modifiers == Qt::ControlModifier) emit select_all_pressed();
        return;  // Ctrl+Shift+A and the like do nothing
    }
    QTableView::keyPressEvent(event);
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit double_clicked();
    event->accept();
}

void FileListView::contextMenuEvent(QContextMenuEvent* event) {
    emit context_menu_requested(event->globalPos());
    event->accept();
}

}  // namespace varnel
