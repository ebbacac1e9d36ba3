// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small builders shared by the rule pages.

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>

namespace varnel {

// `object_name` is the design name (UTF-8); `caption` the translated text.
QLabel* make_label(const char* object_name, const QString& caption, QWidget* parent);
QLineEdit* make_edit(const char* object_name, QWidget* parent);
QRadioButton* make_radio(const char* object_name, const QString& caption, QWidget* parent);

// Draws a caption or label black (enabled) or grey RGB 128,128,128.
void set_caption_grey(QWidget* widget, bool grey);

}  // namespace varnel
