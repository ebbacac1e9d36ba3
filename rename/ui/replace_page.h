// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 替换/删除: the controls of the find-and-replace rule.

#include <QWidget>

#include "platform/codec.h"
#include "rename/replace_rule.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace varnel {

class ReplacePage final : public QWidget {
    Q_OBJECT
public:
    ReplacePage(const Codec& codec, QWidget* parent = nullptr);
    ReplaceOptions options() const;
    // Shows `options` in the controls (code-page texts), then emits
    // changed() once.
    void set_options(const ReplaceOptions& options);

signals:
    // Any change the preview follows: either text, a scope radio, either
    // check box.
    void changed();

private:
    const Codec& codec_;
    QLineEdit* find_;
    QLineEdit* with_;
    QCheckBox* case_sensitive_;
    QCheckBox* regex_;  // 正则表达式
    QRadioButton* scope_name_;
    QRadioButton* scope_ext_;
    QRadioButton* scope_all_;
};

}  // namespace varnel
