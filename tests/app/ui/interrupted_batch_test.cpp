// SPDX-License-Identifier: GPL-3.0-or-later
// A rename batch of the desktop program cut short (the journal has no end):
// the next start says so and offers to undo it.

#include <gtest/gtest.h>

#include <fstream>

#include "app/ui/main_window.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class InterruptedBatchTest : public ::testing::Test {
protected:
    std::unique_ptr<MainWindow> start() {
        return std::make_unique<MainWindow>(MainWindowSetup{codec, ui, config.path() + "config.ini",
                                                            config.path() + "dir.txt", journal});
    }

    // Renames three files through the window, then cuts the journal's end
    // off as a crash before the batch finished would have left it.
    void crashed_batch() {
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.write_file(name, name);
        auto window = start();
        ui.folder_choices.push_back(files.path());
        window->toolbar_command(0);
        window->toolbar_command(5);
        ASSERT_EQ(files.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
        std::string text = config.read_file("journal");
        ASSERT_TRUE(text.ends_with("end\n"));
        text.resize(text.size() - 4);
        config.write_file("journal", text);
    }

    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;
    std::string journal = config.path() + "journal";
};

TEST_F(InterruptedBatchTest, YesUndoesTheBatchAndForgetsTheJournal) {
    crashed_batch();
    auto window = start();
    ui.messages.clear();
    ui.answers.push_back(MessageAnswer::yes);
    window->offer_interrupted_undo();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::yes_no);
    EXPECT_EQ(ui.messages[0].text,
              QString::fromUtf8("上一次的批量更名没有完成。是否撤消它已做的更名？"));
    EXPECT_EQ(ui.messages[1].text, QString::fromUtf8("上一次的操作已经成功撤消！"));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(files.read_file("b.txt"), "b.txt");
    EXPECT_FALSE(config.exists("journal"));
}

TEST_F(InterruptedBatchTest, NoLeavesTheFilesAndAFinishedBatchAsksNothing) {
    crashed_batch();
    auto window = start();
    ui.messages.clear();
    window->offer_interrupted_undo();  // the fake user says No
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(files.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
    EXPECT_FALSE(config.exists("journal"));

    // A batch that ran to its end is no question at the next start.
    window->toolbar_command(5);
    ui.messages.clear();
    start()->offer_interrupted_undo();
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnel
