// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/page_helpers.h"

#include <QPalette>

namespace varnel {

QLabel* make_label(const char* object_name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromUtf8(object_name));
    return label;
}

QLineEdit* make_edit(const char* object_name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(object_name));
    return edit;
}

QRadioButton* make_radio(const char* object_name, const QString& caption, QWidget* parent) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromUtf8(object_name));
    return radio;
}

void set_caption_grey(QWidget* widget, bool grey) {
    QPalette palette = widget->palette();
    const QColor colour = grey ? QColor(128, 128, 128) : QColor(0, 0, 0);
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace varnel
