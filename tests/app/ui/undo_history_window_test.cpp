// SPDX-License-Identifier: GPL-3.0-or-later
// The window's undo of rename and tag batches: 撤消 goes back through this
// session's batches newest first, 撤消历史… undoes an older batch after the
// newer ones and says where and why it stopped, and a tag batch whose
// process died is offered for undo at the next start.

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>

#include "app/ui/main_window.h"
#include "app/ui/undo_history_dialog.h"
#include "audio/batch_tag_edit.h"
#include "platform/journal_folder.h"
#include "support/fake_ui_services.h"
#include "support/history_batches.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class UndoHistoryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.empty()) << home.reason();
        files.write_file("a.txt", "A");
        files.write_file("song.mp3", song_bytes);
        window = start();
        ui.file_choices.push_back({files.path() + "a.txt"});
        window->add_files_action()->trigger();
        ASSERT_EQ(window->list().item_count(), 1);
    }

    std::unique_ptr<MainWindow> start() {
        return std::make_unique<MainWindow>(MainWindowSetup{codec, ui, config.path() + "config.ini",
                                                            config.path() + "dir.txt", folder});
    }
    // Renames the listed file to "<prefix>0.txt" through the window.
    void rename_batch(const char* prefix) {
        window->findChild<QLineEdit*>(QStringLiteral("文件名前缀编辑框"))
            ->setText(QString::fromUtf8(prefix));
        window->rename_action()->trigger();
        ASSERT_TRUE(files.exists(std::string(prefix) + "0.txt"));
    }
    // Sets the song's title as the window's tag batches do; its journal.
    // `ended` false leaves the journal as a killed batch leaves it.
    std::string tag_batch(const char* title, bool ended = true) {
        std::string journal = test::title_batch({files.path() + "song.mp3"}, title, codec, ended);
        EXPECT_FALSE(journal.empty());
        return journal;
    }
    void undo() {
        ui.answers.push_back(MessageAnswer::yes);
        window->undo_action()->trigger();
    }
    std::string listed_name() const { return window->list().old_names().front(); }

    Codec codec;
    FakeUiServices ui;
    test::StateHome home;
    const TempDir& state = home.dir();
    TempDir config;
    TempDir files;
    std::string folder = home.journals();
    std::unique_ptr<MainWindow> window;
    const std::string song_bytes =
        test::id3v2_tag(test::text_frame("TIT2", "T0")) + test::fake_audio(3000);
};

// A rename batch, then a tag batch: the first 撤消 puts the tag back byte
// for byte, the second the name; then nothing is left to undo.
TEST_F(UndoHistoryWindowTest, UndoGoesBackThroughRenameAndTagBatches) {
    rename_batch("r");
    window->note_tag_batch(tag_batch("T1"));
    ASSERT_NE(files.read_file("song.mp3"), song_bytes);
    undo();
    EXPECT_EQ(ui.messages.back().text, QString::fromUtf8("上一次的操作已经成功撤消！"));
    EXPECT_EQ(files.read_file("song.mp3"), song_bytes);
    EXPECT_TRUE(files.exists("r0.txt"));
    ASSERT_TRUE(window->undo_action()->isEnabled());
    undo();
    EXPECT_EQ(ui.messages.back().text, QString::fromUtf8("上一次的操作已经成功撤消！"));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"a.txt", "song.mp3"}));
    EXPECT_EQ(listed_name(), "a.txt");
    EXPECT_FALSE(window->undo_action()->isEnabled());
    for (const StoredJournal& journal : stored_journals(folder)) EXPECT_TRUE(journal.undone);
}

class HistoryDialogTest : public UndoHistoryWindowTest {
protected:
    // Five batches: rename r, tag T2, rename s, tag T4, rename t.
    void SetUp() override {
        UndoHistoryWindowTest::SetUp();
        rename_batch("r");
        window->note_tag_batch(tag_batch("T2"));
        song_after_2 = files.read_file("song.mp3");
        rename_batch("s");
        window->note_tag_batch(tag_batch("T4"));
        rename_batch("t");
        window->undo_history_action()->trigger();
        dialog = window->findChild<UndoHistoryDialog*>();
        ASSERT_NE(dialog, nullptr);
    }
    QString cell(int row, int column) const { return dialog->table()->item(row, column)->text(); }

    std::string song_after_2;
    UndoHistoryDialog* dialog = nullptr;
};

TEST_F(HistoryDialogTest, ListsTheBatchesAndUndoesTheThirdAfterTheNewerOnes) {
    ASSERT_EQ(dialog->table()->rowCount(), 5);
    const std::vector<const char*> kinds{"更名", "标签", "更名", "标签", "更名"};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(cell(row, 1), QString::fromUtf8(kinds[static_cast<std::size_t>(row)]));
        EXPECT_EQ(cell(row, 2), QStringLiteral("1"));
        EXPECT_EQ(cell(row, 3), QString::fromStdString(files.path()));
        EXPECT_EQ(cell(row, 4), QString::fromUtf8("可撤消"));
    }
    dialog->table()->selectRow(2);
    ASSERT_TRUE(dialog->undo_button()->isEnabled());
    ui.answers.push_back(MessageAnswer::yes);
    dialog->undo_button()->click();
    ASSERT_GE(ui.messages.size(), 2U);
    EXPECT_TRUE(ui.messages[ui.messages.size() - 2].text.contains(QStringLiteral("3")));
    EXPECT_EQ(ui.messages.back().text, QString::fromUtf8("已撤消 3 批操作。"));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"r0.txt", "song.mp3"}));
    EXPECT_EQ(listed_name(), "r0.txt");  // the row followed
    EXPECT_EQ(files.read_file("song.mp3"), song_after_2);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(cell(row, 4), QString::fromUtf8(row < 3 ? "已撤消" : "可撤消"));
    dialog->table()->selectRow(1);
    EXPECT_FALSE(dialog->undo_button()->isEnabled());
    // 撤消 in the window goes on with this session's next batch: the tag T2.
    undo();
    EXPECT_EQ(files.read_file("song.mp3"), song_bytes);
    EXPECT_TRUE(files.exists("r0.txt"));
}

// The song changed after batch 4 wrote its tag: batch 5 comes back, batch 4
// is refused with its reason, batch 3 is left alone.
TEST_F(HistoryDialogTest, StopsAtABatchWhoseFileChangedAndSaysWhy) {
    const std::string changed = files.read_file("song.mp3") + "more";
    files.write_file("song.mp3", changed);
    ui.answers.push_back(MessageAnswer::yes);
    dialog->undo_through_row(2);
    const QString told = ui.messages.back().text;
    EXPECT_TRUE(told.startsWith(QString::fromUtf8("已撤消 1 批操作。"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QString::fromUtf8("标签批操作没有全部撤消"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QString::fromUtf8("文件在标签写入之后被改动过")))
        << told.toStdString();
    EXPECT_EQ(ui.messages.back().icon, MessageIcon::warning);
    EXPECT_EQ(files.names(), (std::vector<std::string>{"s0.txt", "song.mp3"}));
    EXPECT_EQ(files.read_file("song.mp3"), changed);
    EXPECT_EQ(cell(0, 4), QString::fromUtf8("已撤消"));
    EXPECT_EQ(cell(1, 4), QString::fromUtf8("可撤消"));
}

// A journal others may write is shown as 不可用 and cannot be chosen.
TEST_F(HistoryDialogTest, AnUntrustedJournalIsShownUnusable) {
    const std::vector<StoredJournal> journals = stored_journals(folder);
    ASSERT_EQ(journals.size(), 5U);
    ASSERT_EQ(::chmod(journals[1].path.c_str(), 0666), 0);
    dialog->reload();
    EXPECT_EQ(cell(1, 4), QString::fromUtf8("不可用"));
    EXPECT_FALSE(dialog->table()->item(1, 4)->toolTip().isEmpty());
    dialog->table()->selectRow(1);
    EXPECT_FALSE(dialog->undo_button()->isEnabled());
    ui.answers.push_back(MessageAnswer::yes);
    dialog->undo_through_row(3);
    EXPECT_TRUE(ui.messages.back().text.startsWith(QString::fromUtf8("已撤消 1 批操作。")));
    EXPECT_EQ(files.read_file("song.mp3").substr(0, 3), "ID3");
    EXPECT_NE(files.read_file("song.mp3"), song_after_2);  // batch 4 was not reached
}

// A tag batch whose process died is offered at the next start; 是 puts the
// tag back and marks the journal undone.
TEST_F(UndoHistoryWindowTest, AnUnfinishedTagBatchIsOfferedAtStart) {
    const std::string journal = tag_batch("T9", false);
    ASSERT_NE(files.read_file("song.mp3"), song_bytes);
    window = start();
    ui.messages.clear();
    ui.answers.push_back(MessageAnswer::yes);
    window->offer_interrupted_undo();
    ASSERT_EQ(ui.messages.size(), 2U);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QString::fromUtf8("上一次的标签批量编辑没有完成。")))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[0].text.contains(QString::fromUtf8("已记录：1 个文件")));
    EXPECT_TRUE(ui.messages[0].text.contains(QString::fromStdString(files.path())));
    EXPECT_EQ(ui.messages[1].text, QString::fromUtf8("上一次的操作已经成功撤消！"));
    EXPECT_EQ(files.read_file("song.mp3"), song_bytes);
    EXPECT_TRUE(state.exists(journal.substr(state.path().size()) + ".undone"));
    // Once undone, nothing is asked again.
    ui.messages.clear();
    start()->offer_interrupted_undo();
    EXPECT_TRUE(ui.messages.empty());
}

// No keeps the unfinished tag batch for the 文件 menu, whose discard asks
// about tags and removes the journal, leaving the tags as they are.
TEST_F(UndoHistoryWindowTest, AnUnfinishedTagBatchCanBeDiscardedFromTheFileMenu) {
    const std::string journal = tag_batch("T9", false);
    const std::string tagged = files.read_file("song.mp3");
    window = start();
    window->offer_interrupted_undo();  // No
    ui.answers.push_back(MessageAnswer::yes);
    ui.messages.clear();
    window->discard_interrupted_batch();
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QString::fromUtf8("是否丢弃未完成的标签批量编辑")));
    EXPECT_FALSE(state.exists(journal.substr(state.path().size())));
    EXPECT_EQ(files.read_file("song.mp3"), tagged);
    ui.messages.clear();
    window->undo_interrupted_batch();  // nothing is left to offer
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnel
