// SPDX-License-Identifier: GPL-3.0-or-later
// Page MP3标签's 其他音频格式 box: what the rule gets, and what the preview hears.

#include "rename/ui/tag_page.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QSignalSpy>


namespace varnel {
namespace {

TEST(TagPage, OtherFormatsBoxGivesTheRuleItsStateAndClicksAreTold) {
    Codec codec;
    TagPage page(codec);
    QSignalSpy changed(&page, &TagPage::changed);
    auto* box = page.findChild<QCheckBox*>(QStringLiteral("其他音频格式选择框"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("其他音频格式"));
    EXPECT_FALSE(page.options().other_formats);
    // The settings' state: no preview of its own.
    page.set_other_formats(true);
    EXPECT_TRUE(page.options().other_formats);
    EXPECT_EQ(changed.count(), 0);
    // The person's click: the preview follows.
    box->click();
    EXPECT_FALSE(page.options().other_formats);
    EXPECT_EQ(changed.count(), 1);
    box->click();
    EXPECT_TRUE(page.options().other_formats);
    EXPECT_EQ(changed.count(), 2);
}

}  // namespace
}  // namespace varnel
