// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/ui/preview_table.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace varnel {

QTableWidget* new_preview_table(QWidget* parent, const QString& name, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

OkCancel new_ok_cancel(QWidget* parent) {
    OkCancel buttons{
        new QPushButton(QCoreApplication::translate("varnel::PreviewTable", "确定"), parent),
        new QPushButton(QCoreApplication::translate("varnel::PreviewTable", "取消"), parent)};
    buttons.ok->setObjectName(QStringLiteral("确定按钮"));
    buttons.cancel->setObjectName(QStringLiteral("取消按钮"));
    for (QPushButton* button : {buttons.ok, buttons.cancel}) button->setAutoDefault(false);
    return buttons;
}

}  // namespace varnel
