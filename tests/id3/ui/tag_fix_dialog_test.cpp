// SPDX-License-Identifier: GPL-3.0-or-later
// The window 标签转为Unicode driven by object names, with a scripted desktop.

#include "id3/ui/tag_fix_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

#include "audio/tag_journal.h"
#include "support/fake_ui_services.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;

// The open window of run_tag_fix, found among the top-level widgets.
TagFixDialog* open_window() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QStringLiteral("标签转为Unicode窗口") && widget->isVisible())
            return static_cast<TagFixDialog*>(widget);
    return nullptr;
}

QString cell(QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

class TagFixDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_STATE_HOME", state.path().c_str(), 1);
        dir.write_file("gbk.mp3", gbk);
        dir.write_file("moved.mp3", gbk);
        dir.write_file("plain.mp3", plain);
        paths = {dir.path() + "gbk.mp3", dir.path() + "moved.mp3", dir.path() + "plain.mp3"};
    }
    void TearDown() override { unsetenv("XDG_STATE_HOME"); }

    TagFixDialog* open() {
        run_tag_fix(nullptr, paths, ui, codec, false,
                    [this](const std::string& journal) { journals.push_back(journal); });
        TagFixDialog* window = open_window();
        EXPECT_NE(window, nullptr);
        return window;
    }

    template <typename T>
    static T* child(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    const std::string gbk = id3v2_tag(text_frame("TPE1", "\xB8\xE8\xCA\xD6") +  // 歌手
                                      text_frame("TIT2", "Song")) +
                            fake_audio(500);
    const std::string plain = id3v2_tag(text_frame("TIT2", "Song")) + fake_audio(500);
    TempDir dir;
    TempDir state;
    std::vector<std::string> journals;  // told after each batch that wrote
    Codec codec;
    FakeUiServices ui;
    std::vector<std::string> paths;
};

// The preview lists each changed text once and each other file once; 确定
// writes, and a file that went away meanwhile is reported with its reason.
TEST_F(TagFixDialogTest, PreviewThenWriteReportsEachFailure) {
    QPointer<TagFixDialog> window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("标签转为Unicode"));
    auto* table = child<QTableWidget>(window, "转换预览表");
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(cell(table, 0, 0), QStringLiteral("gbk.mp3"));
    EXPECT_EQ(table->item(0, 0)->toolTip(), QString::fromStdString(dir.path() + "gbk.mp3"));
    EXPECT_EQ(cell(table, 0, 1), QStringLiteral("TPE1"));
    EXPECT_EQ(cell(table, 0, 2), QStringLiteral("歌手"));
    EXPECT_EQ(cell(table, 0, 3), QStringLiteral("歌手"));
    EXPECT_EQ(cell(table, 0, 4), QStringLiteral("将转换 编码0 (GBK) → 编码1 (UTF-16)"));
    EXPECT_EQ(cell(table, 2, 4), QStringLiteral("无需转换"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dir.read_file("gbk.mp3"), gbk);  // the preview writes nothing

    // The second file is replaced by a folder after the preview.
    ASSERT_EQ(unlink((dir.path() + "moved.mp3").c_str()), 0);
    ASSERT_EQ(mkdir((dir.path() + "moved.mp3").c_str(), 0700), 0);
    child<QPushButton>(window, "确定按钮")->click();
    EXPECT_NE(dir.read_file("gbk.mp3"), gbk);
    EXPECT_NE(
        dir.read_file("gbk.mp3").find("TPE1\0\0\0\x07\0\0\x01\xFF\xFE\x4C\x6B\x4B\x62", 0, 17),
        std::string::npos);
    EXPECT_EQ(dir.read_file("plain.mp3"), plain);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::error);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("已转换 1 个文件\n")))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(
        ui.messages[0].text.contains(QStringLiteral("moved.mp3: 转换失败 (Is a directory)")))
        << ui.messages[0].text.toStdString();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);  // closed and deleted
}

// Where the screen has room, the window opens at its design size.
TEST_F(TagFixDialogTest, OpensAtItsDesignSizeOnAScreenWithRoom) {
    QPointer<TagFixDialog> window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->size(), QSize(760, 420));
    window->close();
}

TEST_F(TagFixDialogTest, CancelWritesNothing) {
    QPointer<TagFixDialog> window = open();
    ASSERT_TRUE(window);
    child<QPushButton>(window, "取消按钮")->click();
    EXPECT_EQ(dir.read_file("gbk.mp3"), gbk);
    EXPECT_TRUE(ui.messages.empty());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

// 取消 in the progress window stops after the file being written.
TEST_F(TagFixDialogTest, CancelledWritingStopsAfterTheCurrentFile) {
    QPointer<TagFixDialog> window = open();
    ASSERT_TRUE(window);
    ui.cancel_after = 1;
    child<QPushButton>(window, "确定按钮")->click();
    EXPECT_NE(dir.read_file("gbk.mp3"), gbk);
    EXPECT_EQ(dir.read_file("moved.mp3"), gbk);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("已取消：已转换 1 个文件"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::warning);
}

// Nothing to convert: 确定 is disabled, until the check box adds an ID3v2
// tag to the file that has only an ID3v1 tag.
TEST_F(TagFixDialogTest, NothingToDoDisablesOkUntilV1FilesGetAV2Tag) {
    const std::string v1_only = fake_audio(300) + id3v1_block("Title", "Band");
    dir.write_file("v1.mp3", v1_only);
    paths = {dir.path() + "plain.mp3", dir.path() + "v1.mp3"};
    QPointer<TagFixDialog> window = open();
    ASSERT_TRUE(window);
    auto* ok = child<QPushButton>(window, "确定按钮");
    auto* table = child<QTableWidget>(window, "转换预览表");
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(table->rowCount(), 2);
    child<QCheckBox>(window, "v1生成v2复选框")->click();
    ASSERT_EQ(table->rowCount(), 3);  // plain.mp3, then title and artist of v1.mp3
    EXPECT_EQ(cell(table, 1, 1), QStringLiteral("TIT2"));
    EXPECT_EQ(cell(table, 2, 3), QStringLiteral("Band"));
    EXPECT_EQ(cell(table, 2, 4), QStringLiteral("将添加ID3v2标签 ID3v1 → ID3v2 (UTF-16)"));
    ASSERT_TRUE(ok->isEnabled());
    ok->click();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::information);
    const std::string after = dir.read_file("v1.mp3");
    EXPECT_TRUE(after.starts_with("ID3\x03"));
    EXPECT_TRUE(after.ends_with(v1_only));
}

// Each converted file's old tag is in the batch's journal before the write:
// undo puts every file back byte for byte, the one with only an ID3v1 tag too.
TEST_F(TagFixDialogTest, ConversionIsUndoneFromItsJournal) {
    const std::string v1_only = fake_audio(300) + id3v1_block("Title", "Band");
    dir.write_file("v1.mp3", v1_only);
    paths = {dir.path() + "gbk.mp3", dir.path() + "plain.mp3", dir.path() + "v1.mp3"};
    QPointer<TagFixDialog> window = open();
    ASSERT_TRUE(window);
    child<QCheckBox>(window, "v1生成v2复选框")->click();
    child<QPushButton>(window, "确定按钮")->click();
    ASSERT_NE(dir.read_file("gbk.mp3"), gbk);
    ASSERT_NE(dir.read_file("v1.mp3"), v1_only);
    ASSERT_EQ(journals.size(), 1u);
    std::string reason;
    const auto undone = undo_tag_journal(journals[0], reason);
    ASSERT_TRUE(undone) << reason;
    EXPECT_EQ(undone->size(), 2u);  // the file that needed nothing is not in it
    EXPECT_EQ(dir.read_file("gbk.mp3"), gbk);
    EXPECT_EQ(dir.read_file("v1.mp3"), v1_only);
    EXPECT_EQ(dir.read_file("plain.mp3"), plain);
}

// No journal can be made: asked first (default No); No writes nothing and
// the window stays for another try.
TEST_F(TagFixDialogTest, WithoutAJournalAsksBeforeWriting) {
    state.write_file("not a folder", "");
    setenv("XDG_STATE_HOME", (state.path() + "not a folder").c_str(), 1);
    QPointer<TagFixDialog> window = open();
    ASSERT_TRUE(window);
    child<QPushButton>(window, "确定按钮")->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::yes_no_default_no);
    EXPECT_EQ(dir.read_file("gbk.mp3"), gbk);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(journals.empty());
    window->close();
}

}  // namespace
}  // namespace varnel
