// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 规则链: the list of steps beside the rule pages. Each step is one page's
// rule with its settings; the user adds the active page's rule, switches
// steps off, moves and removes them.

#include <QGroupBox>
#include <vector>

#include "platform/codec.h"
#include "rename/rule_chain.h"

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace varnel {

class ChainPanel final : public QGroupBox {
    Q_OBJECT
public:
    explicit ChainPanel(const Codec& codec, QWidget* parent = nullptr);

    // 使用规则链 checked: the preview and the batch use the steps.
    [[nodiscard]] bool is_on() const;
    void set_on(bool on);

    [[nodiscard]] const std::vector<RuleStep>& steps() const { return steps_; }
    // Shows `steps` (none selected); tells changed() once.
    void set_steps(std::vector<RuleStep> steps);
    // Appends `step` and selects it; tells changed() once.
    void append_step(const RuleStep& step);

signals:
    // The chain's steps, their order, a step's switch or 使用规则链 changed.
    void changed();
    // 添加当前规则 was clicked: the window answers with append_step.
    void add_requested();

private slots:
    void move_up();
    void move_down();
    void remove_selected();
    void item_switched(QListWidgetItem* item);

private:
    void show_steps(int selected_row);
    void move_selected(int by);
    void update_buttons();

    const Codec& codec_;
    std::vector<RuleStep> steps_;
    QCheckBox* on_;
    QListWidget* list_;
    QPushButton* add_;
    QPushButton* up_;
    QPushButton* down_;
    QPushButton* remove_;
    bool showing_ = false;  // item changes made by show_steps are not the user's
};

}  // namespace varnel
