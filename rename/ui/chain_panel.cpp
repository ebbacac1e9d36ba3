// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/chain_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_text.h"
#include "rename/step_summary.h"

namespace varnel {

ChainPanel::ChainPanel(const Codec& codec, QWidget* parent)
    : QGroupBox(tr("规则链"), parent),
      codec_(codec),
      on_(new QCheckBox(tr("使用规则链"), this)),
      list_(new QListWidget(this)),
      add_(new QPushButton(tr("添加当前规则"), this)),
      up_(new QPushButton(tr("上移"), this)),
      down_(new QPushButton(tr("下移"), this)),
      remove_(new QPushButton(tr("删除步骤"), this)) {
    setObjectName(QStringLiteral("规则链分组框"));
    on_->setObjectName(QStringLiteral("使用规则链选择框"));
    list_->setObjectName(QStringLiteral("规则链列表"));
    add_->setObjectName(QStringLiteral("添加当前规则按钮"));
    up_->setObjectName(QStringLiteral("上移步骤按钮"));
    down_->setObjectName(QStringLiteral("下移步骤按钮"));
    remove_->setObjectName(QStringLiteral("删除步骤按钮"));
    list_->setToolTip(tr("勾选的步骤按顺序应用，每一步使用上一步得到的新名称"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {add_, up_, down_, remove_}) buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(on_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(on_, &QCheckBox::toggled, this, &ChainPanel::changed);
    connect(add_, &QPushButton::clicked, this, &ChainPanel::add_requested);
    connect(up_, &QPushButton::clicked, this, &ChainPanel::move_up);
    connect(down_, &QPushButton::clicked, this, &ChainPanel::move_down);
    connect(remove_, &QPushButton::clicked, this, &ChainPanel::remove_selected);
    connect(list_, &QListWidget::itemChanged, this, &ChainPanel::item_switched);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { update_buttons(); });
    update_buttons();
}

bool ChainPanel::is_on() const {
    return on_->isChecked();
}

void ChainPanel::set_on(bool on) {
    on_->setChecked(on);
}

void ChainPanel::set_steps(std::vector<RuleStep> steps) {
    steps_ = std::move(steps);
    show_steps(-1);
    emit changed();
}

void ChainPanel::append_step(const RuleStep& step) {
    steps_.push_back(step);
    show_steps(static_cast<int>(steps_.size()) - 1);
    emit changed();
}

void ChainPanel::move_up() {
    move_selected(-1);
}

void ChainPanel::move_down() {
    move_selected(1);
}

void ChainPanel::remove_selected() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(steps_.size())) return;
    steps_.erase(steps_.begin() + row);
    show_steps(std::min(row, static_cast<int>(steps_.size()) - 1));
    emit changed();
}

void ChainPanel::item_switched(QListWidgetItem* item) {
    if (showing_) return;
    const int row = list_->row(item);
    if (row < 0 || row >= static_cast<int>(steps_.size())) return;
    const bool enabled = item->checkState() == Qt::Checked;
    if (steps_[static_cast<std::size_t>(row)].enabled == enabled) return;
    steps_[static_cast<std::size_t>(row)].enabled = enabled;
    emit changed();
}

void ChainPanel::move_selected(int by) {
    const int row = list_->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= static_cast<int>(steps_.size())) return;
    std::swap(steps_[static_cast<std::size_t>(row)], steps_[static_cast<std::size_t>(to)]);
    show_steps(to);
    emit changed();
}

void ChainPanel::show_steps(int selected_row) {
    showing_ = true;
    list_->clear();
    for (std::size_t k = 0; k < steps_.size(); ++k) {
        auto* item = new QListWidgetItem(QString::number(k + 1) + QStringLiteral(". ") +
                                             to_qstring(step_summary(steps_[k]), codec_),
                                         list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(steps_[k].enabled ? Qt::Checked : Qt::Unchecked);
    }
    list_->setCurrentRow(selected_row);
    showing_ = false;
    update_buttons();
}

void ChainPanel::update_buttons() {
    const int row = list_->currentRow();
    const int count = static_cast<int>(steps_.size());
    up_->setEnabled(row > 0);
    down_->setEnabled(row >= 0 && row + 1 < count);
    remove_->setEnabled(row >= 0 && row < count);
}

}  // namespace varnel
