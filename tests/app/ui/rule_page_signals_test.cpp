// SPDX-License-Identifier: GPL-3.0-or-later
// Every control of the rule pages that the new names depend on reports its
// change exactly once through RuleTabs::changed: a control left unwired
// would leave the preview stale, one reported twice would run it twice.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>

#include "rename/ui/rule_tabs.h"

namespace varnel {
namespace {

enum class Gesture { type, click, choose };

struct Control {
    int page;
    const char* name;
    Gesture gesture;
};

// The control `name` used as a person would: text typed (set, for the
// disabled fields of an unused scope), a click, a choice from the list.
void use(RuleTabs& tabs, const Control& control) {
    QWidget* widget = tabs.findChild<QWidget*>(QString::fromUtf8(control.name));
    ASSERT_NE(widget, nullptr) << control.name;
    switch (control.gesture) {
        case Gesture::type: {
            auto* edit = qobject_cast<QLineEdit*>(widget);
            if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
                edit = spin->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr) << control.name;
            edit->setText(edit->text() + QStringLiteral("7"));
            break;
        }
        case Gesture::click:
            qobject_cast<QAbstractButton*>(widget)->click();
            break;
        case Gesture::choose:
            emit qobject_cast<QComboBox*>(widget)->activated(1);
            break;
    }
}

TEST(RulePageSignals, EveryControlThatShapesTheNamesReportsOnce) {
    const Control controls[] = {
        {0, "常规文件名单选框", Gesture::click},
        {0, "常规扩展名单选框", Gesture::click},
        {0, "常规全部单选框", Gesture::click},
        {0, "起始量编辑框", Gesture::type},
        {0, "增量编辑框", Gesture::type},
        {0, "文件名前缀编辑框", Gesture::type},
        {0, "文件名编辑框", Gesture::type},
        {0, "文件名位数调节编辑框", Gesture::type},
        {0, "文件名后缀编辑框", Gesture::type},
        {0, "扩展名前缀编辑框", Gesture::type},
        {0, "新扩展名编辑框", Gesture::type},
        {0, "扩展名位数调节编辑框", Gesture::type},
        {0, "扩展名后缀编辑框", Gesture::type},
        {0, "常规清空按钮", Gesture::click},
        {1, "查找内容编辑框", Gesture::type},
        {1, "替换为编辑框", Gesture::type},
        {1, "区分大小写选择框", Gesture::click},
        {1, "正则表达式", Gesture::click},
        {1, "仅扩展名单选框", Gesture::click},
        {1, "替换删除全部单选框", Gesture::click},
        {1, "仅文件名单选框", Gesture::click},
        {2, "插入到文件名的字符编辑框", Gesture::type},
        {2, "插入到扩展名的字符编辑框", Gesture::type},
        {2, "插入到扩展名的字符编辑框", Gesture::type},  // the two texts differ
        {2, "插入文件名尾单选框", Gesture::click},
        {2, "插入文件名位置单选框", Gesture::click},
        {2, "插入文件名位置编辑框", Gesture::type},
        {2, "插入扩展名尾单选框", Gesture::click},
        {2, "插入扩展名位置单选框", Gesture::click},
        {2, "插入扩展名位置编辑框", Gesture::type},
        {2, "保持一致选择框", Gesture::click},           // checked: the extension text follows
        {2, "插入到文件名的字符编辑框", Gesture::type},  // both texts change: still once
        {3, "文件名全部小写单选框", Gesture::click},
        {3, "文件名首字母大写单选框", Gesture::click},
        {3, "文件名首字母小写单选框", Gesture::click},
        {3, "文件名每个单词首字母大写单选框", Gesture::click},
        {3, "文件名全部大写单选框", Gesture::click},
        {3, "扩展名全部小写单选框", Gesture::click},
        {3, "扩展名首字母大写单选框", Gesture::click},
        {3, "扩展名首字母小写单选框", Gesture::click},
        {3, "扩展名每个单词首字母大写单选框", Gesture::click},
        {3, "扩展名全部大写单选框", Gesture::click},
        {4, "MP3命名规则编辑框", Gesture::type},
        {4, "艺术家超级按钮", Gesture::click},
        {4, "歌曲名超级按钮", Gesture::click},
        {4, "专辑超级按钮", Gesture::click},
        {4, "音轨超级按钮", Gesture::click},
        {4, "年代超级按钮", Gesture::click},
        {4, "流派超级按钮", Gesture::click},
        {4, "V1优先单选框", Gesture::click},
        {4, "V2优先单选框", Gesture::click},
        {4, "预定义方案组合框", Gesture::choose},
    };
    const Codec codec;
    RuleTabs tabs(codec);
    QSignalSpy changed(&tabs, &RuleTabs::changed);
    for (const Control& control : controls) {
        if (tabs.currentIndex() != control.page) {
            tabs.setCurrentIndex(control.page);
            EXPECT_EQ(changed.count(), 1) << "page " << control.page;  // the rule changes
            changed.clear();
        }
        use(tabs, control);
        EXPECT_EQ(changed.count(), 1) << control.name;
        changed.clear();
    }
}

// The tag buttons each add their own placeholder, in the order clicked.
TEST(RulePageSignals, TagButtonsAddTheirPlaceholders) {
    const Codec codec;
    RuleTabs tabs(codec);
    for (const char* name : {"流派超级按钮", "艺术家超级按钮", "年代超级按钮"})
        tabs.findChild<QAbstractButton*>(QString::fromUtf8(name))->click();
    EXPECT_EQ(tabs.pages().tags.tag_template, "#6-#1-#5");
}

}  // namespace
}  // namespace varnel
