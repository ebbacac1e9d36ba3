// SPDX-License-Identifier: GPL-3.0-or-later
// A rename batch whose undo journal cannot be made: the window asks, with
// the reason and 否 as the default, and renames only after 是.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ui/main_window.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

TEST(BatchJournalQuestion, RenamesWithoutJournalOnlyAfterYes) {
    struct Case {
        MessageAnswer answer;
        std::vector<std::string> names_after;
        std::size_t messages;  // the question, then the summary when it ran
    };
    for (const Case& c : {Case{MessageAnswer::no, {"a.txt", "b.txt"}, 1},
                          Case{MessageAnswer::yes, {"0.txt", "1.txt"}, 2}}) {
        Codec codec;
        FakeUiServices ui;
        TempDir config;
        TempDir files;
        for (const char* name : {"a.txt", "b.txt"}) files.write_file(name, name);
        // The journal's folder does not exist.
        MainWindow window(MainWindowSetup{codec, ui, config.path() + "config.ini",
                                          config.path() + "dir.txt",
                                          config.path() + "missing/journal"});
        ui.folder_choices.push_back(files.path());
        window.toolbar_command(0);
        ui.answers.push_back(c.answer);
        window.toolbar_command(5);
        EXPECT_EQ(files.names(), c.names_after);
        ASSERT_EQ(ui.messages.size(), c.messages);
        const auto& question = ui.messages[0];
        EXPECT_EQ(question.buttons, MessageButtons::yes_no_default_no);
        EXPECT_TRUE(question.text.contains(QStringLiteral("No such file or directory")))
            << question.text.toStdString();
        EXPECT_TRUE(question.text.startsWith(QStringLiteral("无法建立撤消记录")));
    }
}

}  // namespace
}  // namespace varnel
