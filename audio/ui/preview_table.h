// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts the preview windows of tag batches share: the read-only table
// of changes and the buttons 确定 and 取消.

#include <QString>
#include <QStringList>

class QPushButton;
class QTableWidget;
class QWidget;

namespace varnel {

// A table of `headers` named `name`, read only, selected by whole rows,
// without row numbers, its last column stretched.
[[nodiscard]] QTableWidget* new_preview_table(QWidget* parent, const QString& name,
                                              const QStringList& headers);

// 确定 (确定按钮) and 取消 (取消按钮); neither answers Enter by default, so
// Enter in a field of the window writes nothing.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
[[nodiscard]] OkCancel new_ok_cancel(QWidget* parent);

}  // namespace varnel
