// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/ui/file_list_view.h"

#include <algorithm>

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace varnel {

namespace {
constexpr int column_widths[] = {150, 150, 200, 100, 100, 80, 140};
static_assert(std::size(column_widths) == column_count);
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
    // Rows dragged within the list move; between rows only (the model
    // enables no row as a drop target).
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
    build_column_menu();
}

void FileListView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    set_column_widths();
    for (const Column column : optional_columns) setColumnHidden(static_cast<int>(column), true);
    for (QAction* action : column_menu_->actions()) action->setChecked(false);
    title_column_entries();
}

void FileListView::build_column_menu() {
    column_menu_ = new QMenu(this);
    for (const Column column : optional_columns) {
        QAction* action = column_menu_->addAction(QString());
        action->setCheckable(true);
        action->setData(static_cast<int>(column));
        connect(action, &QAction::triggered, this, [this, column](bool checked) {
            set_shown(column, checked);
            emit optional_column_toggled(column, checked);
        });
    }
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QWidget::customContextMenuRequested, this,
            &FileListView::show_column_menu);
}

void FileListView::title_column_entries() {
    if (!model()) return;
    for (QAction* action : column_menu_->actions())
        action->setText(model()
                            ->headerData(action->data().toInt(), Qt::Horizontal, Qt::DisplayRole)
                            .toString());
}

// Titled again at each opening, so that the entries follow the language
// the header shows.
void FileListView::show_column_menu(const QPoint& position) {
    if (!model()) return;
    title_column_entries();
    column_menu_->popup(horizontalHeader()->mapToGlobal(position));
}

bool FileListView::is_shown(Column column) const {
    return !isColumnHidden(static_cast<int>(column));
}

void FileListView::set_shown(Column column, bool shown) {
    if (std::ranges::find(optional_columns, column) == optional_columns.end()) return;
    setColumnHidden(static_cast<int>(column), !shown);
    for (QAction* action : column_menu_->actions())
        if (action->data().toInt() == static_cast<int>(column)) action->setChecked(shown);
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
