// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 插入: the controls of the insert rule.

#include <QWidget>

#include "platform/codec.h"
#include "rename/insert_rule.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace varnel {

class TextSpinBox;

class InsertPage final : public QWidget {
    Q_OBJECT
public:
    InsertPage(const Codec& codec, QWidget* parent = nullptr);
    InsertOptions options() const;
    // Shows `options` in the controls (code-page texts), then emits
    // changed() once.
    void set_options(const InsertOptions& options);

signals:
    // Any change the preview follows: the four radios, the four text fields.
    void changed();

private:
    void keep_same_clicked(bool checked);
    QWidget* build_texts();
    QWidget* build_positions();

    const Codec& codec_;
    QLineEdit* text_;
    QLineEdit* ext_text_;
    QCheckBox* keep_same_;
    QLabel* ext_label_;
    QRadioButton* at_position_;
    TextSpinBox* position_;
    QRadioButton* at_end_;
    QRadioButton* ext_at_position_;
    TextSpinBox* ext_position_;
    QRadioButton* ext_at_end_;
};

}  // namespace varnel
