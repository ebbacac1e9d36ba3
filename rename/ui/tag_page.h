// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page MP3标签: the controls of the tag template rule.

#include <QWidget>

#include "platform/codec.h"
#include "rename/tag_rule.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace varnel {

class TagPage final : public QWidget {
    Q_OBJECT
public:
    TagPage(const Codec& codec, QWidget* parent = nullptr);

    TagOptions options() const;

    // Sets 其他音频格式 (its state from the settings) without telling changed().
    void set_other_formats(bool on);

signals:
    // A change the preview follows: the template, a scheme, a priority
    // radio, 其他音频格式 clicked.
    void changed();

private:
    void template_edited();
    // Appends placeholder #digit (1..6) to the template.
    void add_placeholder(int digit);
    void scheme_chosen(int index);
    QWidget* button_bar();

    const Codec& codec_;
    QComboBox* schemes_;
    QRadioButton* v1_first_;
    QRadioButton* v2_first_;
    QCheckBox* other_formats_;
    QLineEdit* template_;
    QLineEdit* reference_;
};

}  // namespace varnel
