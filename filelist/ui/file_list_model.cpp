// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/ui/file_list_model.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "filelist/list_order.h"
#include "filelist/row_facts.h"
#include "platform/status_words.h"
#include "platform/ui/qt_text.h"

namespace varnel {

namespace {

// Column titles: 旧文件名 新文件名 路径 命名状态 MP3标签状态 大小 修改时间.
const char* const column_titles[column_count] = {
    QT_TRANSLATE_NOOP("varnel::FileListModel", "旧文件名"),
    QT_TRANSLATE_NOOP("varnel::FileListModel", "新文件名"),
    QT_TRANSLATE_NOOP("varnel::FileListModel", "路径"),
    QT_TRANSLATE_NOOP("varnel::FileListModel", "命名状态"),
    QT_TRANSLATE_NOOP("varnel::FileListModel", "MP3标签状态"),
    QT_TRANSLATE_NOOP("varnel::FileListModel", "大小"),
    QT_TRANSLATE_NOOP("varnel::FileListModel", "修改时间")};

// Local time, to the minute (to the second with `seconds`), from the
// offset kept with the time: no look-up of the time zone while painting.
QString local_time_text(const FileFacts& facts, bool seconds) {
    if (facts.modified_ns == unknown_fact) return {};
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(facts.modified_ns / 1'000'000,
                                                          Qt::OffsetFromUTC, facts.utc_offset_s);
    return time.toString(seconds ? QStringLiteral("yyyy-MM-dd HH:mm:ss")
                                 : QStringLiteral("yyyy-MM-dd HH:mm"));
}

// This model in this process: a drag of rows from anywhere else is not ours.
QByteArray drag_identity(const void* model) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(model));
}

QPixmap draw_status(bool success) {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(success ? QColor(0, 140, 0) : QColor(200, 0, 0), 2.2);
    painter.setPen(pen);
    if (success) {
        painter.drawLine(QPointF(3, 8), QPointF(6.5, 12));
        painter.drawLine(QPointF(6.5, 12), QPointF(13, 3));
    } else {
        painter.drawLine(QPointF(4, 3), QPointF(12, 12));
        painter.drawLine(QPointF(12, 3), QPointF(4, 12));
    }
    return pixmap;
}

}  // namespace

QIcon status_icon(StatusImage image) {
    if (image == StatusImage::none) return {};
    return QIcon(draw_status(image == StatusImage::success));
}

FileListModel::FileListModel(FileList& list, const Codec& codec, QObject* parent)
    : QAbstractTableModel(parent),
      list_(list),
      codec_(codec),
      success_icon_(status_icon(StatusImage::success)),
      failure_icon_(status_icon(StatusImage::failure)) {
    list_.set_cell_observer([this](const CellChange& change) { announce(change); });
    list_.set_rows_observer([this](const RowsChange& change) { announce_rows(change); });
}

FileListModel::~FileListModel() {
    list_.set_cell_observer({});
    list_.set_rows_observer({});
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.item_count();
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : column_count;
}

// Sizes and times are formatted from the numbers read when the files were
// added: showing a row never asks the file system.
QVariant FileListModel::fact_data(int row, Column column, int role) const {
    const FileFacts& facts = list_.file_facts(row);
    if (column == Column::size) {
        if (role == Qt::DisplayRole) return QString::fromStdString(file_size_text(facts.size));
        if (role == Qt::ToolTipRole && facts.size != unknown_fact)
            return tr("%1 字节").arg(facts.size);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    }
    if (role == Qt::DisplayRole) return local_time_text(facts, false);
    if (role == Qt::ToolTipRole) return local_time_text(facts, true);
    return {};
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto column = static_cast<Column>(index.column());
    if (column == Column::size || column == Column::modified)
        return fact_data(index.row(), column, role);
    if (role == Qt::DisplayRole) {
        const std::string_view cell = list_.get_cell(index.row(), column);
        const bool status = column == Column::rename_status || column == Column::tag_status;
        QString text =
            status ? to_qstring(status_for_people(cell), codec_) : to_qstring(cell, codec_);
        // A failure shows its reason in the row itself, not only in a tip.
        if (column == Column::rename_status) {
            const std::string& reason = list_.status_reason(index.row());
            if (!reason.empty()) text = tr("%1：%2").arg(text, to_qstring(reason, codec_));
        }
        return text;
    }
    if (role == Qt::ToolTipRole && column == Column::rename_status) {
        const std::string& reason = list_.status_reason(index.row());
        if (reason.empty()) return {};
        return to_qstring(reason, codec_);
    }
    if (role == Qt::DecorationRole && column == Column::rename_status) {
        switch (list_.status_image(index.row())) {
            case StatusImage::success:
                return success_icon_;
            case StatusImage::failure:
                return failure_icon_;
            case StatusImage::none:
                return {};
        }
    }
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= column_count) return {};
    return tr(column_titles[section]);
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

Qt::DropActions FileListModel::supportedDropActions() const {
    return Qt::MoveAction;
}

Qt::DropActions FileListModel::supportedDragActions() const {
    return Qt::MoveAction;
}

QStringList FileListModel::mimeTypes() const {
    return {QString::fromLatin1(row_drag_format)};
}

// The identity, then the rows ascending, one per line.
QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(indexes.size()));
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.model() == this) rows.push_back(index.row());
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QByteArray bytes = drag_identity(this);
    for (const int row : rows) bytes += '\n' + QByteArray::number(row);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(row_drag_format), bytes);
    return data;
}

bool FileListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                 const QModelIndex& parent) {
    if (action != Qt::MoveAction || !data) return false;
    const QList<QByteArray> lines = data->data(QString::fromLatin1(row_drag_format)).split('\n');
    if (lines.size() < 2 || lines.front() != drag_identity(this)) return false;
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(lines.size() - 1));
    for (qsizetype line = 1; line < lines.size(); ++line) {
        bool ok = false;
        const int dragged = lines[line].toInt(&ok);
        if (!ok || dragged < 0 || dragged >= list_.item_count()) return false;
        rows.push_back(dragged);
    }
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const int count = list_.item_count();
    const int before = parent.isValid() ? parent.row() : (row < 0 ? count : row);
    const std::vector<int> order = rows_moved_before(count, rows, before);
    // Where the first dragged row went; the others follow it.
    const auto first = std::ranges::find(order, rows.front()) - order.begin();
    if (!list_.reorder(order)) return false;
    emit rows_moved(static_cast<int>(first), static_cast<int>(rows.size()));
    return true;
}

int FileListModel::append_items(const ItemFolder& folder, std::vector<ItemName> names) {
    return list_.append_items(folder, std::move(names));
}

void FileListModel::announce_rows(const RowsChange& change) {
    const int last = change.first + change.count - 1;
    switch (change.kind) {
        case RowsChange::Kind::inserted:
            change.done ? endInsertRows() : beginInsertRows({}, change.first, last);
            break;
        case RowsChange::Kind::removed:
            change.done ? endRemoveRows() : beginRemoveRows({}, change.first, last);
            break;
        case RowsChange::Kind::reset:
            change.done ? endResetModel() : beginResetModel();
            break;
        case RowsChange::Kind::reordered:
            change.done ? end_reorder(change.order) : emit layoutAboutToBeChanged();
            break;
    }
}

void FileListModel::end_reorder(std::span<const int> order) {
    // Persistent indexes (the selection, the current row) follow their rows.
    std::vector<int> new_row_of(order.size());
    for (std::size_t row = 0; row < order.size(); ++row)
        new_row_of[static_cast<std::size_t>(order[row])] = static_cast<int>(row);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const auto old_row = static_cast<std::size_t>(index.row());
        after.push_back(old_row < new_row_of.size()
                            ? this->index(new_row_of[old_row], index.column())
                            : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void FileListModel::announce(const CellChange& change) {
    if (change.first_row > change.last_row || change.last_row >= list_.item_count()) return;
    emit dataChanged(index(change.first_row, static_cast<int>(change.first)),
                     index(change.last_row, static_cast<int>(change.last)));
}

}  // namespace varnel
