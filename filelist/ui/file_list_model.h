// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt view model over the engine's file list. The list stays the one
// source of truth; the model only translates cells into Qt strings and
// tells views what changed, in whole ranges so that 100,000 rows stay fast.

#include <QAbstractTableModel>
#include <QIcon>

#include "filelist/file_list.h"
#include "platform/codec.h"

namespace varnel {

class FileListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Subscribes to the list's cell and row changes: every cell the engine
    // writes and every row it adds or removes is announced to the views,
    // whoever did it.
    FileListModel(FileList& list, const Codec& codec, QObject* parent = nullptr);
    ~FileListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Dragging rows within the list: every row can be dragged, and the drop
    // goes between rows (never onto one), as a move only. The rows travel as
    // row_drag_format, which only this model takes: a drag from another
    // model, window or program is refused, and dropped files (text/uri-list)
    // are the window's to add.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // Moves the dragged rows, in their order, in front of `row` (the row
    // below the drop place; -1 or the row count: to the end; `parent` a row
    // of the list: in front of it) through FileList::reorder, then tells
    // rows_moved. False for anything but a move of this model's rows.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    FileList& list() { return list_; }
    const FileList& list() const { return list_; }

    // Appends items through the list (FileList::append_items). Returns the
    // first new row.
    int append_items(const ItemFolder& folder, std::vector<ItemName> names);

signals:
    // Dropped rows now stand at rows first..first+count-1.
    void rows_moved(int first, int count);

private:
    QVariant fact_data(int row, Column column, int role) const;
    void announce(const CellChange& change);
    void announce_rows(const RowsChange& change);
    // After a reorder: moves the persistent indexes along and says so.
    void end_reorder(std::span<const int> order);

    FileList& list_;
    const Codec& codec_;
    QIcon success_icon_;
    QIcon failure_icon_;
};

// The MIME type of rows dragged within the list: the dragging model's
// identity, then the rows.
inline constexpr const char* row_drag_format = "application/x-varnel-list-rows";

// The two 16 x 15 status images of column 命名状态.
QIcon status_icon(StatusImage image);

}  // namespace varnel
