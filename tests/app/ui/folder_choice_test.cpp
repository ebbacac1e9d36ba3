// SPDX-License-Identifier: GPL-3.0-or-later
// Adding a folder through the folder picker: where it opens, hidden files,
// and the question before the home folder or a very large folder.

#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>
#include <set>

#include "app/ui/main_window.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class FolderChoiceTest : public testing::Test {
protected:
    FolderChoiceTest() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    }

    std::set<std::string> added() const {
        std::set<std::string> paths;
        for (int row = 0; row < window->list().item_count(); ++row)
            paths.insert(window->list().item_folder(row).fs.substr(files.path().size()) +
                         window->list().fs_name(row));
        return paths;
    }

    Codec codec;
    test::FakeUiServices ui;
    test::TempDir config;
    test::TempDir files;
    std::unique_ptr<MainWindow> window;
};

TEST_F(FolderChoiceTest, OpensAtTheFolderOfTheLastAddedFiles) {
    window->add_folder();
    ASSERT_EQ(ui.choose_folder_starts.size(), 1u);
    EXPECT_EQ(ui.choose_folder_starts[0], "");  // no dir.txt: the picker's home folder
    EXPECT_FALSE(config.exists("dir.txt"));     // not made by the folder picker

    files.write_file("a.txt");
    ui.file_choices.push_back({files.path() + "a.txt"});
    window->add_files();
    window->add_folder();
    ASSERT_EQ(ui.choose_folder_starts.size(), 2u);
    EXPECT_EQ(ui.choose_folder_starts[1], files.path());
}

TEST_F(FolderChoiceTest, HiddenFilesOnlyWhenThePickerShowedThem) {
    const struct {
        bool with_subfolders;
        bool show_hidden;
        std::set<std::string> expected;
    } cases[] = {
        {false, false, {"a.txt"}},
        {false, true, {"a.txt", ".profile"}},
        {true, false, {"a.txt", "sub/b.txt"}},
        {true, true, {"a.txt", ".profile", "sub/b.txt", "sub/.c", ".git/config"}},
    };
    for (const char* folder : {"sub", ".git"})
        std::filesystem::create_directory(files.path() + folder);
    for (const char* name : {"a.txt", ".profile", "sub/b.txt", "sub/.c", ".git/config"})
        files.write_file(name);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.with_subfolders << c.show_hidden);
        window->clear_list();
        ui.folder_choices.push_back(files.path());
        ui.subfolder_choices.push_back(c.with_subfolders);
        ui.hidden_choices.push_back(c.show_hidden);
        window->add_folder();
        EXPECT_EQ(added(), c.expected);
    }
}

// The home folder itself (whatever its size), or more than 10,000 files:
// asked first; No adds nothing.
TEST_F(FolderChoiceTest, TheHomeFolderOrAVeryLargeFolderIsAskedFirst) {
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(files.path() + "home"));
    std::filesystem::create_directory(files.path() + "home");
    files.write_file("home/a.txt");
    test::TempDir large;
    for (std::size_t i = 0; i <= confirm_files_over; ++i) large.write_file(std::to_string(i));
    const struct {
        std::string folder;
        bool with_subfolders;
        MessageAnswer answer;
        int added;
    } cases[] = {
        {files.path() + "home", false, MessageAnswer::no, 0},
        {files.path() + "home", true, MessageAnswer::yes, 1},
        {large.path(), false, MessageAnswer::no, 0},
        {large.path(), false, MessageAnswer::yes, static_cast<int>(confirm_files_over) + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        window->clear_list();
        ui.messages.clear();
        ui.folder_choices.push_back(c.folder);
        ui.subfolder_choices.push_back(c.with_subfolders);
        ui.answers.push_back(c.answer);
        window->add_folder();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("询问："));
        EXPECT_EQ(ui.messages[0].buttons, MessageButtons::yes_no);
        EXPECT_EQ(window->list().item_count(), c.added);
    }
    // A folder of a few files is added without a question.
    ui.messages.clear();
    ui.folder_choices.push_back(files.path() + "home/../");
    window->add_folder();
    EXPECT_TRUE(ui.messages.empty());
    qputenv("HOME", home);
}

}  // namespace
}  // namespace varnel
