// SPDX-License-Identifier: GPL-3.0-or-later
// 文件名转为标签 and 批量编辑标签 in the window: offered while the selection
// holds an audio item (the other formats only while 其他音频格式 is on), and
// opened for exactly the selected audio items.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "filelist/ui/list_context_menu.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

void select_rows(FileListView& view, std::initializer_list<int> rows) {
    view.clearSelection();
    for (const int row : rows)
        view.selectionModel()->select(view.model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QWidget* open_window(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible()) return widget;
    return nullptr;
}

// The file column of a batch window's table, one entry per row.
QStringList files_in(QWidget& window) {
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("标签预览表"));
    QStringList files;
    for (int row = 0; table && row < table->rowCount(); ++row) files << table->item(row, 0)->text();
    return files;
}

// A main window with a state folder of its own, and the folder of its files.
class TagBatchCommands : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_STATE_HOME", state.path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_STATE_HOME"); }

    // Adds `names` of `files` to the list.
    void add(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(files.path() + name);
        ui.file_choices.push_back(paths);
        window.add_files_action()->trigger();
    }

    const test::TempDir state;
    const Codec codec;
    test::FakeUiServices ui;
    const test::TempDir config;
    const test::TempDir files;
    MainWindow window{
        MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"}};
};

TEST_F(TagBatchCommands, FollowTheAudioItemsOfTheSelection) {
    for (const char* name : {"a.txt", "b.flac", "c.MP3"}) files.write_file(name);
    add({"a.txt", "b.flac", "c.MP3"});
    FileListView& view = *window.list_view();
    auto* other_formats =
        window.rule_tabs()->findChild<QCheckBox*>(QStringLiteral("其他音频格式选择框"));
    ASSERT_NE(other_formats, nullptr);
    const struct Step {
        const char* what;
        std::function<void()> act;
        bool enabled;
    } steps[] = {
        {"nothing selected", [] {}, false},
        {"the text file", [&] { select_rows(view, {0}); }, false},
        {"the FLAC file, other formats off", [&] { select_rows(view, {1}); }, false},
        {"other formats turned on", [&] { other_formats->click(); }, true},
        {"the text and the MP3 file",
         [&] {
             other_formats->click();
             select_rows(view, {0, 2});
         },
         true},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(window.tags_from_names_action()->isEnabled(), step.enabled) << step.what;
        EXPECT_EQ(window.batch_tag_action()->isEnabled(), step.enabled) << step.what;
    }
    const QList<QAction*> menu = window.context_menu()->actions();
    EXPECT_TRUE(menu.contains(window.tags_from_names_action()));
    EXPECT_TRUE(menu.contains(window.batch_tag_action()));

    // Only the audio items of the selection go to the window.
    other_formats->click();
    select_rows(view, {0, 1, 2});
    window.batch_tag_action()->trigger();
    QWidget* batch = open_window(QStringLiteral("批量编辑标签窗口"));
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(files_in(*batch), (QStringList{QStringLiteral("b.flac"), QStringLiteral("c.MP3")}));
    batch->close();
    window.tags_from_names_action()->trigger();
    QWidget* names = open_window(QStringLiteral("文件名转为标签窗口"));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(files_in(*names), (QStringList{QStringLiteral("b.flac"), QStringLiteral("c.MP3")}));
    names->close();
}

// A window's tag batch is the session's newest batch: 撤消 puts the tag back.
TEST_F(TagBatchCommands, UndoTakesBackTheWindowsBatch) {
    const std::string old_bytes =
        test::id3v2_tag(test::text_frame("TIT2", "Old")) + test::fake_audio(400);
    files.write_file("s.mp3", old_bytes);
    add({"s.mp3"});
    select_rows(*window.list_view(), {0});
    EXPECT_FALSE(window.undo_action()->isEnabled());
    window.batch_tag_action()->trigger();
    QWidget* batch = open_window(QStringLiteral("批量编辑标签窗口"));
    ASSERT_NE(batch, nullptr);
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("New"));
    QApplication::sendEvent(batch->findChild<QLineEdit*>(QStringLiteral("字段编辑框1")), &typed);
    batch->findChild<QPushButton*>(QStringLiteral("确定按钮"))->click();
    batch->close();
    ASSERT_NE(files.read_file("s.mp3"), old_bytes);
    ASSERT_TRUE(window.undo_action()->isEnabled());
    ui.answers = {MessageAnswer::yes, MessageAnswer::yes};
    window.undo_action()->trigger();
    EXPECT_EQ(files.read_file("s.mp3"), old_bytes);
}

}  // namespace
}  // namespace varnel
