// SPDX-License-Identifier: GPL-3.0-or-later
// 取消 in the progress window of a rename or an undo stops the batch after
// the current file: the files done stay done, the others are untouched, the
// summary says so with the counts, and 撤消 reverses exactly what was done.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QAbstractItemModel>
#include <QAction>
#include <QLineEdit>
#include <algorithm>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class BatchCancelTest : public ::testing::Test {
protected:
    BatchCancelTest() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
        window->settings().auto_preview = true;
        window->settings().preview_all = true;
        window->apply_settings_to_list();
    }

    // The ten files in the list and the prefix rule set.
    void add_files() {
        for (const std::string& name : originals) files.write_file(name, name);
        ui.folder_choices.push_back(files.path());
        window->add_folder_action()->trigger();
        window->findChild<QLineEdit*>(QStringLiteral("文件名前缀编辑框"))
            ->setText(QStringLiteral("u_"));
        window->flush_preview();
    }

    // How many files on disk carry the new prefix, and the original names
    // still on disk.
    int renamed_count() const {
        const std::vector<std::string> names = files.names();
        return static_cast<int>(
            std::ranges::count_if(names, [](const std::string& n) { return n.starts_with("u_"); }));
    }
    std::vector<std::string> untouched() const {
        std::vector<std::string> left;
        for (const std::string& n : files.names())
            if (!n.starts_with("u_")) left.push_back(n);
        return left;
    }
    QString status_shown(int row) const {
        const QAbstractItemModel* model = window->list_view()->model();
        return model->data(model->index(row, 3)).toString();
    }
    const FakeUiServices::Message& last_message() const { return ui.messages.back(); }
    void undo() {
        ui.answers.push_back(MessageAnswer::yes);
        window->undo_command();
    }

    const std::vector<std::string> originals = {"f0.txt", "f1.txt", "f2.txt", "f3.txt", "f4.txt",
                                                "f5.txt", "f6.txt", "f7.txt", "f8.txt", "f9.txt"};
    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;
    std::unique_ptr<MainWindow> window;
};

// In either order the rename stops after the third file.
TEST_F(BatchCancelTest, CancelledRenameKeepsWhatWasDoneAndUndoReversesIt) {
    add_files();
    for (const bool smart : {false, true}) {
        SCOPED_TRACE(smart ? "smart order" : "in order");
        window->settings().smart_order = smart;
        window->flush_preview();
        ui.messages.clear();
        ui.progress_labels.clear();
        ui.cancel_after = 3;
        window->rename_action()->trigger();
        EXPECT_EQ(ui.progress_labels.size(), 1U);
        EXPECT_EQ(renamed_count(), 3);
        EXPECT_EQ(untouched(), std::vector<std::string>(originals.begin() + 3, originals.end()));
        ASSERT_FALSE(ui.messages.empty());
        const QString summary = last_message().text;
        EXPECT_TRUE(summary.startsWith(QStringLiteral("已取消："))) << summary.toStdString();
        EXPECT_TRUE(summary.contains(QStringLiteral("文件总数：3 个文件")))
            << summary.toStdString();
        EXPECT_TRUE(summary.contains(QStringLiteral("3 个文件更名成功！")))
            << summary.toStdString();
        EXPECT_EQ(last_message().icon, MessageIcon::warning);
        EXPECT_EQ(status_shown(2), QStringLiteral("更名成功"));
        for (int row = 3; row < 10; ++row)
            EXPECT_FALSE(status_shown(row).startsWith(QStringLiteral("更名"))) << row;

        ui.cancel_after = -1;
        ASSERT_TRUE(window->undo_action()->isEnabled());
        undo();
        EXPECT_EQ(files.names(), originals);
        EXPECT_EQ(last_message().text, QStringLiteral("上一次的操作已经成功撤消！"));
    }
}

TEST_F(BatchCancelTest, CancelledUndoLeavesTheRestToUndo) {
    add_files();
    window->rename_action()->trigger();
    ASSERT_EQ(renamed_count(), 10);
    ui.cancel_after = 4;
    undo();
    // Undo goes last file first: the last four come back.
    EXPECT_EQ(untouched(), std::vector<std::string>(originals.begin() + 6, originals.end()));
    EXPECT_EQ(renamed_count(), 6);
    const QString summary = last_message().text;
    EXPECT_TRUE(summary.startsWith(QStringLiteral("已取消："))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("4 个文件撤消成功！"))) << summary.toStdString();
    EXPECT_TRUE(window->undo_action()->isEnabled());

    ui.cancel_after = -1;
    undo();
    EXPECT_EQ(files.names(), originals);
    EXPECT_FALSE(window->undo_action()->isEnabled());
}

// The tree is walked folder by folder: 取消 keeps the folders already
// added and says how many files came in.
TEST_F(BatchCancelTest, CancelledTreeAddingKeepsTheFoldersAdded) {
    files.write_file("top.txt", "t");
    for (const char* sub : {"a", "b", "c", "d"}) {
        ASSERT_EQ(::mkdir((files.path() + sub).c_str(), 0755), 0);
        files.write_file(std::string(sub) + "/" + sub + ".txt", sub);
    }
    ui.cancel_after = 2;
    ui.folder_choices.push_back(files.path());
    ui.subfolder_choices.push_back(true);
    window->add_folder_action()->trigger();
    ASSERT_EQ(window->list().item_count(), 2);
    EXPECT_EQ(window->list().fs_name(0), "top.txt");
    EXPECT_EQ(window->list().fs_name(1), "a.txt");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(last_message().text, QStringLiteral("已取消：已添加 2 个文件"));
}

}  // namespace
}  // namespace varnel
