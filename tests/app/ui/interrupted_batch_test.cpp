// SPDX-License-Identifier: GPL-3.0-or-later
// A rename batch of the desktop program cut short (the journal has no end):
// the next start says so and offers to undo it, and the record stays until
// it is undone or discarded.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <fstream>

#include "app/ui/main_window.h"
#include "platform/journal_store.h"
#include "rename/ui/rule_tabs.h"
#include "rename/undo_journal.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class InterruptedBatchTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0); }
    std::unique_ptr<MainWindow> start() {
        return std::make_unique<MainWindow>(MainWindowSetup{codec, ui, config.path() + "config.ini",
                                                            config.path() + "dir.txt", folder});
    }
    // The one journal of the folder's history, as the file-system path and
    // its name under `config`.
    std::string only_journal() {
        const std::vector<StoredJournal> journals = stored_journals(folder);
        EXPECT_EQ(journals.size(), 1U);
        return journals.empty() ? std::string() : journals[0].path;
    }
    std::string in_config(const std::string& path) { return path.substr(config.path().size()); }

    // Renames three files through the window, then cuts the journal's end
    // off as a crash before the batch finished would have left it.
    void crashed_batch() {
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.write_file(name, name);
        auto window = start();
        ui.folder_choices.push_back(files.path());
        window->add_folder_action()->trigger();
        window->rename_action()->trigger();
        ASSERT_EQ(files.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
        journal = only_journal();
        std::string text = config.read_file(in_config(journal));
        const std::size_t end = text.rfind("end\n");
        ASSERT_NE(end, std::string::npos);
        text.resize(end);
        config.write_file(in_config(journal), text);
    }
    // The journal is kept in the history, marked undone.
    void expect_marked_undone() {
        EXPECT_FALSE(config.exists(in_config(journal)));
        EXPECT_TRUE(config.exists(in_config(journal) + ".undone"));
    }

    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;
    std::string folder = config.path() + "journals/";
    std::string journal;
};

QAction* menu_action(const MainWindow& window, const char* text) {
    for (QAction* menu : window.menuBar()->actions())
        if (menu->menu())
            for (QAction* action : menu->menu()->actions())
                if (action->text() == QString::fromUtf8(text)) return action;
    ADD_FAILURE() << "no menu item " << text;
    static QAction none;
    return &none;
}

TEST_F(InterruptedBatchTest, YesUndoesTheBatchAndForgetsTheJournal) {
    crashed_batch();
    auto window = start();
    ui.messages.clear();
    ui.answers.push_back(MessageAnswer::yes);
    window->offer_interrupted_undo();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::yes_no);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QString::fromUtf8("上一次的批量更名没有完成。")));
    EXPECT_TRUE(ui.messages[0].text.contains(QString::fromUtf8("是否撤消它已做的更名？")));
    EXPECT_EQ(ui.messages[1].text, QString::fromUtf8("上一次的操作已经成功撤消！"));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(files.read_file("b.txt"), "b.txt");
    expect_marked_undone();
    EXPECT_FALSE(menu_action(*window, "撤消未完成的批量更名…")->isEnabled());
}

// 取消 after the first file keeps the journal: undoing it again later
// brings back the rest.
TEST_F(InterruptedBatchTest, CancelledUndoKeepsTheJournalForTheRest) {
    crashed_batch();
    auto window = start();
    ui.messages.clear();
    ui.answers.push_back(MessageAnswer::yes);
    ui.cancel_after = 1;
    window->offer_interrupted_undo();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.messages[1].text.startsWith(QString::fromUtf8("已取消：文件总数：1 个文件")))
        << ui.messages[1].text.toStdString();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"0.txt", "1.txt", "c.txt"}));
    EXPECT_TRUE(config.exists(in_config(journal)));
    ASSERT_TRUE(menu_action(*window, "撤消未完成的批量更名…")->isEnabled());

    ui.cancel_after = -1;
    ui.answers.push_back(MessageAnswer::yes);
    window->undo_interrupted_batch();
    EXPECT_EQ(ui.messages.back().text, QString::fromUtf8("上一次的操作已经成功撤消！"));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    expect_marked_undone();
}

// No (and Escape, which the fake desktop answers as No) keeps the only
// record of the renames: the question names what the batch did, comes once
// per journal, and the batch can still be undone from the 文件 menu.
TEST_F(InterruptedBatchTest, NoKeepsTheJournalForTheFileMenuAndAsksOnce) {
    crashed_batch();
    auto window = start();
    ui.messages.clear();
    window->offer_interrupted_undo();
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString question = ui.messages[0].text;
    EXPECT_TRUE(question.contains(QString::fromStdString(files.path()))) << question.toStdString();
    EXPECT_TRUE(question.contains(QString::fromUtf8("已更名：3 个文件"))) << question.toStdString();
    EXPECT_TRUE(
        question.contains(QRegularExpression(QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:"))))
        << question.toStdString();
    EXPECT_TRUE(config.exists(in_config(journal)));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));

    window = start();
    window->offer_interrupted_undo();
    EXPECT_EQ(ui.messages.size(), 1u);  // asked once
    QAction* undo = menu_action(*window, "撤消未完成的批量更名…");
    ASSERT_TRUE(undo->isEnabled());
    ui.answers.push_back(MessageAnswer::yes);
    undo->trigger();
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[2].text, QString::fromUtf8("上一次的操作已经成功撤消！"));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    expect_marked_undone();
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(InterruptedBatchTest, DiscardForgetsTheJournal) {
    crashed_batch();
    auto window = start();
    window->offer_interrupted_undo();  // No
    QAction* discard = menu_action(*window, "丢弃未完成的批量更名记录…");
    ASSERT_TRUE(discard->isEnabled());
    discard->trigger();  // asked, and No again: nothing goes
    EXPECT_TRUE(config.exists(in_config(journal)));
    ui.answers.push_back(MessageAnswer::yes);
    discard->trigger();
    EXPECT_FALSE(config.exists(in_config(journal)));
    EXPECT_FALSE(discard->isEnabled());
    EXPECT_EQ(files.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
}

// A kept journal stays in the history when the next batch writes its own:
// the 文件 menu still offers it, and a new start does not ask again.
TEST_F(InterruptedBatchTest, ANewBatchKeepsTheUnfinishedOne) {
    crashed_batch();
    auto window = start();
    window->offer_interrupted_undo();  // No
    ASSERT_TRUE(menu_action(*window, "撤消未完成的批量更名…")->isEnabled());
    ui.folder_choices.push_back(files.path());
    window->add_folder_action()->trigger();
    window->rule_tabs()
        ->findChild<QLineEdit*>(QStringLiteral("文件名前缀编辑框"))
        ->setText(QStringLiteral("n"));
    window->rename_action()->trigger();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"n0.txt", "n1.txt", "n2.txt"}));
    EXPECT_TRUE(menu_action(*window, "撤消未完成的批量更名…")->isEnabled());
    EXPECT_EQ(stored_journals(folder).size(), 2U);
    ui.messages.clear();
    start()->offer_interrupted_undo();
    EXPECT_TRUE(ui.messages.empty());  // asked once; the new batch finished
}

// Another process (a window still renaming) holds the journal: the new
// window says so instead of asking, and touches neither files nor journal.
TEST_F(InterruptedBatchTest, AJournalAnotherProcessStillWritesIsNotOffered) {
    crashed_batch();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        std::string reason;
        auto journal_writer = UndoJournalWriter::create(journal, reason);
        const char byte = journal_writer ? '1' : '0';
        (void)!::write(ready[1], &byte, 1);
        sleep(30);  // killed by the test long before
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, '1');
    auto window = start();
    ui.messages.clear();
    ui.answers.push_back(MessageAnswer::yes);
    window->offer_interrupted_undo();
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::ok);
    EXPECT_EQ(ui.messages[0].text, QString::fromUtf8("另一个Varnel正在执行这批更名"));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
    EXPECT_TRUE(config.exists(in_config(journal)));
}

}  // namespace
}  // namespace varnel
