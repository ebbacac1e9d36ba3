// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/chain_panel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

namespace varnel {
namespace {

RuleStep replace_step(const char* find) {
    RuleStep step;
    step.rule.active = RulePage::replace;
    step.rule.replace.find = find;
    return step;
}

class ChainPanelTest : public testing::Test {
protected:
    Codec codec_;
    ChainPanel panel_{codec_};
    QSignalSpy changed_{&panel_, &ChainPanel::changed};

    QListWidget* list() { return panel_.findChild<QListWidget*>(QStringLiteral("规则链列表")); }
    QPushButton* button(const char* name) {
        return panel_.findChild<QPushButton*>(QString::fromUtf8(name));
    }
    std::vector<std::string> finds() const {
        std::vector<std::string> out;
        for (const RuleStep& step : panel_.steps()) out.push_back(step.rule.replace.find);
        return out;
    }
};

TEST_F(ChainPanelTest, StepsMoveAndGoAndEachChangeIsToldOnce) {
    panel_.set_steps({replace_step("a"), replace_step("b"), replace_step("c")});
    EXPECT_EQ(changed_.count(), 1);
    EXPECT_FALSE(button("上移步骤按钮")->isEnabled());
    list()->setCurrentRow(2);
    button("上移步骤按钮")->click();
    EXPECT_EQ(finds(), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(list()->currentRow(), 1);
    button("下移步骤按钮")->click();
    button("下移步骤按钮")->click();  // at the bottom already: nothing
    EXPECT_EQ(finds(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(button("下移步骤按钮")->isEnabled());
    button("删除步骤按钮")->click();
    EXPECT_EQ(finds(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(changed_.count(), 4);
    EXPECT_EQ(list()->count(), 2);
    EXPECT_TRUE(list()->item(0)->text().startsWith(QStringLiteral("1. ")));
}

TEST_F(ChainPanelTest, SwitchingAStepOffAndTheChainOnAreChanges) {
    panel_.set_steps({replace_step("a")});
    list()->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(panel_.steps()[0].enabled);
    panel_.findChild<QCheckBox*>(QStringLiteral("使用规则链选择框"))->click();
    EXPECT_TRUE(panel_.is_on());
    EXPECT_EQ(changed_.count(), 3);
}

TEST_F(ChainPanelTest, AddAsksTheWindowAndAppendSelectsTheNewStep) {
    QSignalSpy asked(&panel_, &ChainPanel::add_requested);
    button("添加当前规则按钮")->click();
    EXPECT_EQ(asked.count(), 1);
    EXPECT_EQ(changed_.count(), 0);
    panel_.append_step(replace_step("x"));
    panel_.append_step(replace_step("y"));
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(changed_.count(), 2);
    EXPECT_TRUE(button("上移步骤按钮")->isEnabled());
}

}  // namespace
}  // namespace varnel
