// SPDX-License-Identifier: GPL-3.0-or-later
// The window's additions: conflict marks, the smart order, regular
// expressions on the replace page, and respelling legacy names in UTF-8.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "filelist/ui/list_context_menu.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class Additions : public testing::Test {
protected:
    Additions() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
        window->settings().auto_preview = true;
        window->settings().preview_all = true;
    }

    void add(const std::vector<std::string>& names) {
        for (const std::string& name : names) files.write_file(name, name);
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(files.path() + name);
        window->add_dropped_paths(paths);
    }

    // Once the preview that follows typing has run.
    std::string status(int row) {
        window->flush_preview();
        return codec.to_utf8(window->list().get_cell(row, Column::rename_status)).value();
    }

    template <typename T>
    T* child(const char* name) {
        T* found = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    Codec codec;
    test::FakeUiServices ui;
    test::TempDir config;
    test::TempDir files;
    std::unique_ptr<MainWindow> window;
};

TEST_F(Additions, ThePreviewMarksClashesAndTakenNames) {
    files.write_file("0.txt", "not in the list");
    add({"x.txt", "y.txt"});  // numbering: 0.txt (taken), 1.txt
    EXPECT_EQ(status(0), "目标已存在");
    EXPECT_EQ(status(1), "");
    window->rule_tabs()->setCurrentIndex(1);
    child<QCheckBox>("正则表达式")->click();
    child<QLineEdit>("查找内容编辑框")->setText(QStringLiteral("^[xy]$"));
    child<QLineEdit>("替换为编辑框")->setText(QStringLiteral("z"));
    EXPECT_EQ(status(0), "名称冲突");
    EXPECT_EQ(status(1), "名称冲突");
    EXPECT_EQ(window->list().new_names()[0], "z.txt");
}

TEST_F(Additions, ABadPatternIsShownAndChangesNoName) {
    add({"a.txt"});
    window->rule_tabs()->setCurrentIndex(1);
    child<QCheckBox>("正则表达式")->click();
    child<QLineEdit>("查找内容编辑框")->setText(QStringLiteral("(a"));
    window->flush_preview();
    EXPECT_TRUE(window->status_text(1).startsWith(QStringLiteral("正则表达式错误：")))
        << window->status_text(1).toStdString();
    EXPECT_EQ(window->list().new_names()[0], "a.txt");
    child<QLineEdit>("查找内容编辑框")->setText(QStringLiteral("(a)"));
    window->flush_preview();
    EXPECT_EQ(window->status_text(1), QString());
}

// A reference to a missing group is a pattern error; a result past the
// name limit marks its row; a pattern that backtracks without end spends
// the batch's time, and the rows left are marked and the status bar says so.
TEST_F(Additions, RegexLimitsAreShownInTheRowsAndTheStatusBar) {
    std::vector<std::string> names{"b.txt"};
    for (int i = 0; i < 300; ++i) names.push_back(std::string(40, 'a') + std::to_string(i) + "!");
    add(names);
    window->rule_tabs()->setCurrentIndex(1);
    child<QCheckBox>("正则表达式")->click();
    child<QLineEdit>("替换为编辑框")->setText(QStringLiteral("$5"));
    child<QLineEdit>("查找内容编辑框")->setText(QStringLiteral("^(b)$"));
    EXPECT_TRUE(window->status_text(1).startsWith(QStringLiteral("正则表达式错误：")))
        << window->status_text(1).toStdString();
    child<QLineEdit>("替换为编辑框")->setText(QString(300, QLatin1Char('x')));
    window->flush_preview();
    EXPECT_EQ(window->status_text(1), QString());
    EXPECT_EQ(status(0), "名称过长");
    EXPECT_EQ(window->list().new_names()[0], "b.txt");
    child<QLineEdit>("查找内容编辑框")->setText(QStringLiteral("(a+)+\\d+$"));
    window->flush_preview();
    EXPECT_EQ(window->status_text(1), QStringLiteral("正则表达式超出限制"));
    EXPECT_EQ(status(0), "");
    EXPECT_EQ(status(300), "正则表达式超出限制");
}

TEST_F(Additions, TheSmartOrderSwapsNamesAndUndoesThem) {
    add({"1.txt", "0.txt"});
    window->rename_action()->trigger();  // in order: the swap cannot happen
    EXPECT_EQ(files.read_file("1.txt"), "1.txt");
    window->settings().smart_order = true;
    window->rename_action()->trigger();
    EXPECT_EQ(files.read_file("0.txt"), "1.txt");
    EXPECT_EQ(files.read_file("1.txt"), "0.txt");
    ui.answers.push_back(MessageAnswer::yes);
    window->undo_action()->trigger();
    EXPECT_EQ(files.read_file("1.txt"), "1.txt");
    EXPECT_EQ(files.read_file("0.txt"), "0.txt");
    EXPECT_EQ(files.names().size(), 2u);
}

TEST_F(Additions, LegacyNamesAreRespelledFromTheContextMenu) {
    const std::string gbk = "\xC4\xE3\xBA\xC3.mp3";  // 你好.mp3 in GBK
    add({gbk, "plain.txt"});
    window->list_view()->selectAll();
    window->context_menu()->fix_names->trigger();
    EXPECT_EQ(files.read_file("你好.mp3"), gbk);
    EXPECT_EQ(window->list().fs_name(0), "你好.mp3");
    EXPECT_EQ(status(0), "更名成功");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("文件更名完毕！"));
    ui.answers.push_back(MessageAnswer::yes);
    window->undo_action()->trigger();
    EXPECT_EQ(files.read_file(gbk), gbk);
}

TEST_F(Additions, TagsAreConvertedFromTheContextMenuOfMp3Items) {
    // 歌手 in GBK under encoding 0.
    const std::string tag = test::id3v2_tag(test::text_frame("TPE1", "\xB8\xE8\xCA\xD6"));
    files.write_file("a.mp3", tag + test::fake_audio(64));
    add({"notes.txt"});
    window->add_dropped_paths({files.path() + "a.mp3"});
    window->list_view()->selectAll();
    window->context_menu()->fix_tags->trigger();
    auto* dialog = window->findChild<QDialog*>(QStringLiteral("标签转为Unicode窗口"));
    ASSERT_NE(dialog, nullptr);
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("转换预览表"));
    ASSERT_NE(table, nullptr);
    ASSERT_GE(table->rowCount(), 1);
    EXPECT_TRUE(table->item(0, 0)->text().contains(QStringLiteral("a.mp3")));
    dialog->findChild<QPushButton*>(QStringLiteral("确定按钮"))->click();
    const std::string written = files.read_file("a.mp3");
    EXPECT_NE(written.find("\x01\xFF\xFE"), std::string::npos);  // UTF-16 with its mark
    EXPECT_EQ(written.substr(written.size() - 64), test::fake_audio(64));
}

}  // namespace
}  // namespace varnel
