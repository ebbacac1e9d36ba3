// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list control 显示超级列表框: a report view of five columns, and the
// optional columns 大小 and 修改时间 the header's context menu shows, with
// multi-selection and rows dragged within the list. It reports the user's
// gestures; the main window acts.

#include <QTableView>
#include <array>

#include "filelist/file_list.h"

class QMenu;

namespace varnel {

class FileListView final : public QTableView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);

    // Sets the model and the column widths (150, 150, 200, 100, 100, and
    // 80, 140 for the optional columns; wider in step with a font taller than
    // 15 pixels a line). The optional columns start hidden.
    void setModel(QAbstractItemModel* model) override;

    // The columns the user may show or hide.
    static constexpr std::array<Column, 2> optional_columns{Column::size, Column::modified};
    [[nodiscard]] bool is_shown(Column column) const;
    // Shows or hides an optional column (others stay shown) and checks its
    // entry of the header's menu. The user's choice in that menu does the
    // same and tells optional_column_toggled.
    void set_shown(Column column, bool shown);
    // The header's context menu: one checkable entry per optional column,
    // titled as the column.
    QMenu* column_menu() const { return column_menu_; }
    // Room for the header and four rows.
    QSize minimumSizeHint() const override;

    // Selected rows, ascending.
    std::vector<int> selected_rows() const;
    int first_selected_row() const;  // -1 when none

signals:
    // A double-click anywhere in the list, on a row or on its empty part.
    void double_clicked();
    // Delete pressed (with any modifiers).
    void delete_pressed();
    // Ctrl+A (Ctrl alone).
    void select_all_pressed();
    // A right-click, at `global_position`.
    void context_menu_requested(const QPoint& global_position);
    // The user showed or hid an optional column.
    void optional_column_toggled(Column column, bool shown);

protected:
    // A new font resizes every row: its line height plus a small padding.
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void fit_rows_to_font();
    void set_column_widths();
    void build_column_menu();
    // Each entry titled as its column's header.
    void title_column_entries();
    void show_column_menu(const QPoint& position);

    QMenu* column_menu_ = nullptr;
};

}  // namespace varnel
