// SPDX-License-Identifier: GPL-3.0-or-later
// A rename batch whose undo journal cannot be made: the window asks, with
// the reason and 否 as the default, and renames only after 是.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QCoreApplication>

#include "app/ui/main_window.h"
#include "app/ui/qt_translations.h"
#include "platform/language.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class BatchJournalQuestion : public ::testing::Test {
protected:
    void TearDown() override {
        ASSERT_TRUE(use_language(*QCoreApplication::instance(), Language::chinese));
    }
};

TEST_F(BatchJournalQuestion, RenamesWithoutJournalOnlyAfterYes) {
    struct Case {
        Language language;
        MessageAnswer answer;
        std::vector<std::string> names_after;
        std::size_t messages;  // the question, then the summary when it ran
        const char* question_start;
    };
    for (const Case& c :
         {Case{Language::chinese, MessageAnswer::no, {"a.txt", "b.txt"}, 1, "无法建立撤消记录"},
          Case{Language::chinese, MessageAnswer::yes, {"0.txt", "1.txt"}, 2, "无法建立撤消记录"},
          Case{Language::english,
               MessageAnswer::no,
               {"a.txt", "b.txt"},
               1,
               "Cannot make the undo record"}}) {
        ASSERT_TRUE(use_language(*QCoreApplication::instance(), c.language));
        Codec codec;
        FakeUiServices ui;
        TempDir config;
        TempDir files;
        for (const char* name : {"a.txt", "b.txt"}) files.write_file(name, name);
        // The journal's folder does not exist.
        MainWindow window(MainWindowSetup{codec, ui, config.path() + "config.ini",
                                          config.path() + "dir.txt",
                                          config.path() + "missing/"});
        ui.folder_choices.push_back(files.path());
        window.add_folder_action()->trigger();
        ui.answers.push_back(c.answer);
        window.rename_action()->trigger();
        EXPECT_EQ(files.names(), c.names_after);
        ASSERT_EQ(ui.messages.size(), c.messages);
        const auto& question = ui.messages[0];
        EXPECT_EQ(question.buttons, MessageButtons::yes_no_default_no);
        EXPECT_TRUE(question.text.contains(QStringLiteral("No such file or directory")))
            << question.text.toStdString();
        EXPECT_TRUE(question.text.startsWith(QString::fromUtf8(c.question_start)))
            << question.text.toStdString();
    }
}

}  // namespace
}  // namespace varnel
