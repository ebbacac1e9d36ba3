// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 常规: the controls of the numbering rule.

#include <QWidget>
#include <array>

#include "platform/codec.h"
#include "rename/number_rule.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace varnel {

class TextSpinBox;

class NumberPage final : public QWidget {
    Q_OBJECT
public:
    NumberPage(const Codec& codec, QWidget* parent = nullptr);

    NumberOptions options() const;
    // Shows `options` in the controls (code-page texts), then emits
    // changed() once.
    void set_options(const NumberOptions& options);

signals:
    // Any change the preview follows: a scope radio, any text field or
    // spin box, or 常规清空按钮 (once, for all the fields it empties).
    void changed();

private:
    void show_scope();
    void clear_fields();
    QGroupBox* build_name_group();
    QGroupBox* build_ext_group();

    const Codec& codec_;
    QRadioButton* scope_name_;
    QRadioButton* scope_ext_;
    QRadioButton* scope_all_;
    QGroupBox* name_group_;
    QGroupBox* ext_group_;
    std::array<QLabel*, 4> name_labels_{};
    std::array<QLabel*, 4> ext_labels_{};
    QLineEdit* prefix_;
    QLineEdit* body_;
    TextSpinBox* digits_;
    QLineEdit* suffix_;
    QLineEdit* ext_prefix_;
    QLineEdit* ext_body_;
    TextSpinBox* ext_digits_;
    QLineEdit* ext_suffix_;
    TextSpinBox* start_;
    TextSpinBox* step_;
};

}  // namespace varnel
