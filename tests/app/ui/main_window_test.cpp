// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user would, with a scripted desktop.

#include "app/ui/main_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "filelist/ui/file_list_view.h"
#include "filelist/ui/list_context_menu.h"
#include "platform/atomic_file.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    }

    // Adds files of a fresh folder through the folder picker (in natural
    // order).
    void add_folder_of(const std::vector<std::string>& names) {
        for (const std::string& name : names) files.write_file(name, name);
        ui.folder_choices.push_back(files.path());
        window->add_folder_action()->trigger();
    }

    // Adds files in this order through the add-files dialog.
    void add_files_of(const std::vector<std::string>& names) {
        std::vector<std::string> chosen;
        for (const std::string& name : names) {
            files.write_file(name, name);
            chosen.push_back(files.path() + name);
        }
        ui.file_choices.push_back(chosen);
        window->add_files_action()->trigger();
    }

    // The cells once the preview that follows typing has run.
    std::vector<std::string> new_name_cells() {
        window->flush_preview();
        std::vector<std::string> cells;
        for (int row = 0; row < window->list().item_count(); ++row)
            cells.emplace_back(window->list().get_cell(row, Column::new_name));
        return cells;
    }

    template <typename T>
    T* child(const char* name) const {
        T* found = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, StartsAtDesignSizeWithButtonsOffAndStatusTexts) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Varnel - 文件批量修改器 V1.0"));
    EXPECT_EQ(window->minimumSize(), QSize(598, 378));
    EXPECT_FALSE(window->undo_action()->isEnabled());
    EXPECT_FALSE(window->preview_action()->isEnabled());
    EXPECT_FALSE(window->rename_action()->isEnabled());
    EXPECT_EQ(window->status_text(0), QStringLiteral("0个文件"));
    EXPECT_EQ(window->status_text(2), QStringLiteral("自动预览－关"));
    window->resize(300, 200);
    EXPECT_GE(window->width(), 598);
    EXPECT_GE(window->height(), 378);
}

TEST_F(MainWindowTest, WholeBatchFromAddingToUndo) {
    add_folder_of({"a.txt", "b.txt", "c.txt"});
    EXPECT_EQ(window->status_text(0), QStringLiteral("3个文件"));
    EXPECT_TRUE(window->preview_action()->isEnabled());
    EXPECT_TRUE(window->rename_action()->isEnabled());
    EXPECT_FALSE(window->undo_action()->isEnabled());

    window->preview_action()->trigger();  // explicit: works with automatic preview off
    EXPECT_EQ(new_name_cells().size(), 3u);
    EXPECT_EQ(window->list().get_cell(2, Column::new_name).size(), 5u);  // "N.txt"

    window->rename_action()->trigger();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Kelto批量更名器"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("文件更名完毕！"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::information);
    EXPECT_TRUE(window->undo_action()->isEnabled());
    EXPECT_TRUE(window->preview_action()->isEnabled());
    EXPECT_EQ(window->status_text(1), QString());
    EXPECT_EQ(ui.busy_depth, 0);

    ui.answers.push_back(MessageAnswer::yes);
    window->undo_action()->trigger();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[1].title, QStringLiteral("询问："));
    EXPECT_EQ(ui.messages[1].buttons, MessageButtons::yes_no);
    EXPECT_EQ(ui.messages[2].text, QStringLiteral("上一次的操作已经成功撤消！"));
    EXPECT_FALSE(window->undo_action()->isEnabled());
    EXPECT_EQ(window->list().get_cell(0, Column::rename_status),
              "\xB3\xB7\xCF\xFB\xB3\xC9\xB9\xA6");
}

TEST_F(MainWindowTest, AnsweringNoToUndoTouchesNothing) {
    add_folder_of({"a.txt"});
    window->rename_action()->trigger();
    ui.answers.push_back(MessageAnswer::no);
    window->undo_action()->trigger();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"0.txt"}));
    EXPECT_EQ(ui.messages.size(), 2u);  // the rename summary and the question only
    EXPECT_TRUE(window->undo_action()->isEnabled());
}

TEST_F(MainWindowTest, PartialFailureShowsTheWarningSummary) {
    add_files_of({"a.txt", "0.txt"});
    window->rename_action()->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("文件总数：2 个文件\r\n\r\n1 个文件更名成功！\r\n1 个文件更名失败！"));
    EXPECT_EQ(window->list().get_cell(0, Column::new_name),
              "0.txt");  // the failed row shows its target
}

TEST_F(MainWindowTest, AutomaticPreviewFollowsSettingsAndSharedHandlers) {
    add_files_of({"a.txt", "b.txt", "c.txt"});
    auto* prefix = child<QLineEdit>("文件名前缀编辑框");
    prefix->setText(QStringLiteral("x"));
    EXPECT_EQ(new_name_cells(), (std::vector<std::string>{"", "", ""}));  // automatic preview off

    window->settings().auto_preview = true;
    window->settings().preview_count = 2;
    window->apply_settings_to_list();
    EXPECT_EQ(window->status_text(2), QStringLiteral("自动预览－开"));
    EXPECT_EQ(new_name_cells(), (std::vector<std::string>{"x0.txt", "x1.txt", ""}));

    // 增量编辑框 reports through its page, as every field does.
    QLineEdit* step = child<QWidget>("增量编辑框")->findChild<QLineEdit*>();
    ASSERT_NE(step, nullptr);
    step->setText(QStringLiteral("5"));
    EXPECT_EQ(new_name_cells(), (std::vector<std::string>{"x0.txt", "x5.txt", ""}));

    window->settings().preview_all = true;
    window->rule_tabs()->setCurrentIndex(3);  // a page change refreshes too
    EXPECT_EQ(new_name_cells(), (std::vector<std::string>{"A.TXT", "B.TXT", "C.TXT"}));
    // 文件名全部小写单选框 reports through its page, as every radio does.
    child<QRadioButton>("文件名全部小写单选框")->click();
    EXPECT_EQ(new_name_cells(), (std::vector<std::string>{"a.TXT", "b.TXT", "c.TXT"}));
}

TEST_F(MainWindowTest, ClearButtonRefreshesOnceAndKeepsTheIncrement) {
    add_folder_of({"a.txt", "b.txt"});
    window->settings().auto_preview = true;
    window->settings().preview_all = true;
    child<QLineEdit>("文件名编辑框")->setText(QStringLiteral("n"));
    child<QWidget>("增量编辑框")->findChild<QLineEdit*>()->setText(QStringLiteral("3"));
    EXPECT_EQ(new_name_cells(), (std::vector<std::string>{"n0.txt", "n3.txt"}));
    int refreshes = 0;
    QObject::connect(window->list_view()->model(), &QAbstractItemModel::dataChanged,
                     [&refreshes] { ++refreshes; });
    child<QPushButton>("常规清空按钮")->click();
    window->flush_preview();
    EXPECT_EQ(refreshes, 1);
    // Digits and start emptied read as 0: no padding, numbering from 0 by 3.
    EXPECT_EQ(new_name_cells(), (std::vector<std::string>{"0.txt", "3.txt"}));
}

TEST_F(MainWindowTest, ContextMenuStatesFollowRowsSelectionAndPage) {
    ListContextMenu* menu = window->context_menu();
    const auto show_menu = [&] {
        window->list_view()->context_menu_requested(QPoint(0, 0));
        menu->hide();
    };
    show_menu();
    EXPECT_TRUE(menu->add_folder->isEnabled());
    EXPECT_TRUE(menu->add_files->isEnabled());
    EXPECT_FALSE(menu->preview->isEnabled());
    EXPECT_FALSE(menu->select_all->isEnabled());

    add_folder_of({"a.mp3", "b.txt"});
    show_menu();
    EXPECT_TRUE(menu->clear->isEnabled());
    EXPECT_FALSE(menu->remove_selected->isEnabled());
    EXPECT_FALSE(menu->tag_info->isEnabled());
    EXPECT_FALSE(menu->remove_without_tag->isEnabled());
    EXPECT_FALSE(menu->fix_names->isEnabled());
    EXPECT_FALSE(menu->fix_tags->isEnabled());

    window->list_view()->selectRow(1);
    window->rule_tabs()->setCurrentIndex(4);
    show_menu();
    EXPECT_TRUE(menu->remove_selected->isEnabled());
    EXPECT_TRUE(menu->remove_without_tag->isEnabled());
    EXPECT_TRUE(menu->fix_names->isEnabled());
    EXPECT_FALSE(menu->fix_tags->isEnabled());  // b.txt is no MP3 item

    window->list_view()->selectRow(0);
    show_menu();
    EXPECT_TRUE(menu->fix_tags->isEnabled());
}

TEST_F(MainWindowTest, KeysDeleteAndSelectAll) {
    add_folder_of({"a", "b", "c"});
    FileListView* view = window->list_view();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(view->selected_rows().empty());
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view->selected_rows().size(), 3u);
    view->clearSelection();
    view->selectRow(1);
    QTest::keyClick(view, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(window->list().item_count(), 2);
    EXPECT_EQ(window->status_text(0), QStringLiteral("2个文件"));
    EXPECT_TRUE(window->rename_action()->isEnabled());
    view->selectAll();
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(window->list().item_count(), 0);
    EXPECT_FALSE(window->rename_action()->isEnabled());
    EXPECT_FALSE(window->preview_action()->isEnabled());
}

TEST_F(MainWindowTest, AddFilesRemembersTheFolderInDirTxt) {
    files.write_file("one.txt");
    files.write_file("two.txt");
    window->add_files();  // cancelled
    EXPECT_EQ(config.read_file("dir.txt"), "");
    EXPECT_EQ(window->list().item_count(), 0);

    ui.file_choices.push_back({files.path() + "two.txt", files.path() + "one.txt"});
    window->add_files();
    EXPECT_EQ(config.read_file("dir.txt"), files.path() + "\r\n");
    ASSERT_EQ(window->list().item_count(), 2);
    EXPECT_EQ(window->list().old_names()[0], "two.txt");
    EXPECT_EQ(window->list().item_folder(1).text, files.path());

    window->add_files();
    ASSERT_EQ(ui.open_files_folders.size(), 3u);
    EXPECT_EQ(ui.open_files_folders[2], files.path());
}

TEST_F(MainWindowTest, DoubleClickOnAnEmptyListOpensTheFileDialog) {
    QTest::mouseDClick(window->list_view()->viewport(), Qt::LeftButton);
    EXPECT_EQ(ui.open_files_folders.size(), 1u);
}

TEST_F(MainWindowTest, DroppedFilesComeBeforeTheContentsOfDroppedFolders) {
    files.write_file("x.txt");
    files.write_file("y.txt");
    TempDir folder;
    folder.write_file("inside.txt");
    window->add_dropped_paths({files.path() + "y.txt", folder.path(), files.path() + "x.txt"});
    ASSERT_EQ(window->list().item_count(), 3);
    EXPECT_EQ(window->list().old_names()[0], "y.txt");
    EXPECT_EQ(window->list().old_names()[1], "x.txt");
    EXPECT_EQ(window->list().old_names()[2], "inside.txt");
    EXPECT_EQ(window->list().item_folder(2).fs, folder.path());
}

// The settings folder of an installed program does not exist before the
// first save; it is made then, for the user alone.
TEST_F(MainWindowTest, SavingMakesTheSettingsFolder) {
    const std::string folder = config.path() + "home/.config/varnel/";
    window = std::make_unique<MainWindow>(
        MainWindowSetup{codec, ui, folder + "config.ini", folder + "dir.txt"});
    window->settings().preview_count = 42;
    window.reset();
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_NE(config.read_file("home/.config/varnel/config.ini").find("=42"), std::string::npos);
    EXPECT_TRUE(ui.messages.empty());
}

// A folder that cannot be made (a file is in the way): the first failing
// save is reported with its reason, later ones are not.
TEST_F(MainWindowTest, AFailedSaveIsReportedOnceWithItsReason) {
    config.write_file("blocker");
    const std::string folder = config.path() + "blocker/varnel/";
    window = std::make_unique<MainWindow>(
        MainWindowSetup{codec, ui, folder + "config.ini", folder + "dir.txt"});
    files.write_file("one.txt");
    ui.file_choices.push_back({files.path() + "one.txt"});
    window->add_files();
    EXPECT_EQ(window->list().item_count(), 1);  // the add itself proceeds
    window.reset();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("错误"));
    EXPECT_TRUE(
        ui.messages[0].text.contains(QString::fromLocal8Bit(system_error_text(ENOTDIR).c_str())))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[0].text.contains(QString::fromStdString(config.path() + "blocker")));
}

TEST_F(MainWindowTest, RemovingItemsWithoutTagFollowsTheTagRulesMarks) {
    files.write_file("tagged.mp3", std::string("ID3\x03\0\0\0\0\0\x0B", 10) +
                                       std::string("TPE1\0\0\0\x01\0\0", 10) +
                                       std::string(1, '\0'));
    add_files_of({"plain.mp3", "note.txt"});
    ui.file_choices.push_back({files.path() + "tagged.mp3"});
    window->add_files();
    window->list_view()->selectRow(0);
    window->remove_items_without_tag();  // no tag preview yet: nothing is marked
    EXPECT_EQ(window->list().item_count(), 3);
    EXPECT_TRUE(window->list_view()->selected_rows().empty());

    window->settings().auto_preview = true;
    window->rule_tabs()->setCurrentIndex(4);
    child<QLineEdit>("MP3命名规则编辑框")->setText(QStringLiteral("#1"));
    EXPECT_EQ(child<QLineEdit>("参照编辑框")->text(), QStringLiteral("艺术家"));
    window->remove_items_without_tag();
    ASSERT_EQ(window->list().item_count(), 1);
    EXPECT_EQ(window->list().old_names()[0], "tagged.mp3");
}

TEST_F(MainWindowTest, SettingsAreSavedWhenTheWindowGoes) {
    window->settings().preview_count = 42;
    window.reset();
    const std::string saved = config.read_file("config.ini");
    EXPECT_NE(saved.find("=42"), std::string::npos);
}

}  // namespace
}  // namespace varnel
