// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/about_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support/fake_ui_services.h"

namespace varnel {
namespace {

using test::FakeUiServices;

QByteArray page(const char* latest, const char* method_utf8) {
    const Codec codec;
    const std::string text = "////开始最新版=" + std::string(latest) +
                             "</p>下载方式=" + method_utf8 + "</p>更新说明=x</p>////结束";
    const std::string code_page = *codec.from_utf8(text);
    return QByteArray(code_page.data(), static_cast<qsizetype>(code_page.size()));
}

TEST(AboutWindow, ShowsTheDesignedNameAndVersionTexts) {
    const Codec codec;
    FakeUiServices ui;
    AboutDialog dialog(codec, ui, nullptr, true);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("标签1"))->text(),
              QStringLiteral("软件名称：Varnel 文件批量更名器"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("标签2"))->text(),
              QStringLiteral("版本：1.0.1.17"));
}

// A newer version announced and Yes answered: the home page opens. A
// distribution's build (-DVARNEL_UPDATE_CHECK=OFF) leaves updates to the
// package manager: the button says so and fetches nothing.
TEST(AboutWindow, NewerVersionPromptsAndYesOpensTheHomePageUnlessThePackageManagerUpdates) {
    struct Case {
        bool update_check;
        const char* title;
        const char* text;
        std::size_t fetched_and_opened;
    };
    const Case cases[] = {
        {true, "是否下载最新版？", "当前版本：1.3\r\n最新版本：1.4\r\n更新内容：x", 1},
        {false, "信息：", "本程序的更新由系统的软件包管理器提供", 0},
    };
    for (const Case& c : cases) {
        const Codec codec;
        FakeUiServices ui;
        AboutDialog dialog(codec, ui, nullptr, c.update_check);
        ui.pages.push_back(page("1.4", "打开网页"));
        ui.answers.push_back(MessageAnswer::yes);
        dialog.findChild<QPushButton*>(QStringLiteral("按钮2"))->click();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, QString::fromUtf8(c.title));
        EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(ui.fetched_urls.size(), c.fetched_and_opened) << c.update_check;
        EXPECT_EQ(ui.opened_urls.size(), c.fetched_and_opened) << c.update_check;
    }
}

TEST(AboutWindow, OnlyTheMethodOpenTheWebPageOpensIt) {
    const Codec codec;
    FakeUiServices ui;
    AboutDialog dialog(codec, ui, nullptr, true);
    ui.pages.push_back(page("1.4", "下载"));
    ui.answers.push_back(MessageAnswer::yes);
    dialog.check_for_update();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.opened_urls.empty());  // another method: Yes does nothing
}

TEST(AboutWindow, SameVersionSaysSoAndAFailedFetchSaysNothing) {
    const Codec codec;
    FakeUiServices ui;
    AboutDialog dialog(codec, ui, nullptr, true);
    ui.pages.push_back(page("1.3", ""));
    dialog.check_for_update();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("没有可用更新"));
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("信息："));
    dialog.check_for_update();  // no page queued: the fetch fails
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(AboutWindow, ClickOnTheBackgroundClosesButNotOnAButton) {
    const Codec codec;
    FakeUiServices ui;
    AboutDialog dialog(codec, ui, nullptr, true);
    dialog.show();
    auto* visit = dialog.findChild<QPushButton*>(QStringLiteral("按钮2"));
    QTest::mouseClick(visit, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(5, 230));
    EXPECT_FALSE(dialog.isVisible());
}

// Enter closes the window from anywhere, 访问官方网站 included; the check
// itself runs under the wait cursor.
TEST(AboutWindow, EnterClosesAndNeverChecksTheWaitCursorCoversTheFetch) {
    const Codec codec;
    FakeUiServices ui;
    for (const char* focused : {"按钮2", "按钮1"}) {
        AboutDialog dialog(codec, ui, nullptr, true);
        dialog.show();
        auto* button = dialog.findChild<QPushButton*>(QString::fromUtf8(focused));
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << focused;
    }
    EXPECT_TRUE(ui.fetched_urls.empty());

    AboutDialog dialog(codec, ui, nullptr, true);
    ui.pages.push_back(page("1.3", ""));
    dialog.findChild<QPushButton*>(QStringLiteral("按钮2"))->click();
    EXPECT_EQ(ui.busy_at_fetch, std::vector<int>{1});
    EXPECT_EQ(ui.busy_depth, 0);
}

}  // namespace
}  // namespace varnel
