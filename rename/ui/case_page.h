// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 大小写: the controls of the case rule.

#include <QWidget>

#include "rename/case_rule.h"

class QRadioButton;

namespace varnel {

class CasePage final : public QWidget {
    Q_OBJECT
public:
    explicit CasePage(QWidget* parent = nullptr);
    CaseOptions options() const;

signals:
    // A radio of either group clicked.
    void changed();

private:
    QRadioButton* name_[4];
    QRadioButton* ext_[4];
};

}  // namespace varnel
