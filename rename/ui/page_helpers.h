// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small builders shared by the rule pages.

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>

namespace varnel {

// The numeric tag by which the main window shares one handler among
// controls (edit boxes 1..11, radio buttons 20..29, tag buttons 51..56).
inline constexpr const char* event_tag_property = "tag";

QLabel* make_label(const char* object_name, const char* caption, QWidget* parent);
QLineEdit* make_edit(const char* object_name, QWidget* parent, int tag = 0);
QRadioButton* make_radio(const char* object_name, const char* caption, QWidget* parent,
                         int tag = 0);

// Draws a caption or label black (enabled) or grey RGB 128,128,128.
void set_caption_grey(QWidget* widget, bool grey);

}  // namespace varnel
