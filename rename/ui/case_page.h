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
    // Checks the radios of `options`, then emits changed() once.
    void set_options(const CaseOptions& options);

    // Radios in each group, one per CaseChoice.
    static constexpr int choice_count = 5;

signals:
    // A radio of either group clicked.
    void changed();

private:
    QRadioButton* name_[choice_count];
    QRadioButton* ext_[choice_count];
};

}  // namespace varnel
