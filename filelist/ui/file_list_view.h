// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list control 显示超级列表框: a report view of five fixed columns with
// multi-selection. It reports the user's gestures; the main window acts.

#include <QTableView>

namespace varnel {

class FileListView final : public QTableView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);

    // Sets the model and the column widths (150, 150, 200, 100, 100, wider
    // in step with a font taller than 15 pixels a line).
    void setModel(QAbstractItemModel* model) override;
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

protected:
    // A new font resizes every row: its line height plus a small padding.
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void fit_rows_to_font();
    void set_column_widths();
};

}  // namespace varnel
