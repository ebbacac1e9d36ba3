// SPDX-License-Identifier: GPL-3.0-or-later
// The tag window driven by object names, with a scripted desktop.

#include "id3/ui/tag_dialog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "id3/safe_rewrite.h"
#include "support/edit_records.h"
#include "support/fake_ui_services.h"
#include "support/mp3_builder.h"
#include "support/qt_text.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;
using namespace Qt::StringLiterals;

class TagDialogTest : public ::testing::Test {
protected:
    // Opens the window on file `name` holding `bytes`.
    bool open(const std::string& bytes) {
        dir.write_file("song.mp3", bytes);
        dialog = std::make_unique<TagDialog>(dir.path() + "song.mp3", dir.path() + "song.mp3",
                                             codec, ui);
        return dialog->load();
    }

    template <typename T>
    T* child(const char* name) const {
        T* found = dialog->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void update() { child<QPushButton>("更新按钮")->click(); }

    std::optional<TagFields> v1_on_disk() {
        auto file = ByteFile::open_read(dir.path() + "song.mp3");
        TagFields fields;
        if (!read_id3v1_tag(*file, fields)) return std::nullopt;
        return fields;
    }

    std::optional<TagFields> v2_on_disk() {
        auto file = ByteFile::open_read(dir.path() + "song.mp3");
        TagFields fields;
        if (!read_id3v2_tag(*file, fields, codec)) return std::nullopt;
        return fields;
    }

    TempDir dir;
    Codec codec;
    FakeUiServices ui;
    std::unique_ptr<TagDialog> dialog;
};

// Where the screen has room, the window keeps its design size.
TEST_F(TagDialogTest, KeepsItsDesignSizeOnAScreenWithRoom) {
    ASSERT_TRUE(open(fake_audio(64)));
    EXPECT_EQ(dialog->size(), QSize(564, 384));
    EXPECT_EQ(dialog->minimumSize(), QSize(564, 384));
}

TEST_F(TagDialogTest, FileWithoutTagsOpensGreyWithNothingToUpdate) {
    ASSERT_TRUE(open(fake_audio(400)));
    EXPECT_FALSE(child<QCheckBox>("ID3v1选择框")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("ID3v2选择框")->isChecked());
    EXPECT_FALSE(child<QLineEdit>("歌曲名1编辑框")->isEnabled());
    EXPECT_FALSE(child<QComboBox>("流派2组合框")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("v1复制到v2按钮")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("更新按钮")->isEnabled());

    // Ticking a box enables its group and 更新, but writes nothing by itself.
    child<QCheckBox>("ID3v1选择框")->click();
    EXPECT_TRUE(child<QLineEdit>("歌曲名1编辑框")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("更新按钮")->isEnabled());
    update();
    EXPECT_FALSE(v1_on_disk());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(dialog->modified(0));
}

TEST_F(TagDialogTest, LoadsBothTagsAndWritesEditsBack) {
    const std::string audio = fake_audio(2000);
    ASSERT_TRUE(open(id3v2_tag(text_frame("TIT2", "Title") + text_frame("TCON", "(17)Rock") +
                               text_frame("TRCK", "10/12")) +
                     audio + id3v1_block("Old", "Artist", "Album", "1999", "c", 4, 255)));
    EXPECT_EQ(child<QLineEdit>("歌曲名1编辑框")->text(), QStringLiteral("Old"));
    EXPECT_EQ(child<QLineEdit>("音轨1编辑框")->text(), QStringLiteral("4"));
    EXPECT_EQ(child<QComboBox>("流派1组合框")->currentIndex(), -1);  // genre 255
    EXPECT_EQ(child<QComboBox>("流派2组合框")->currentText(), QStringLiteral("Rock"));
    EXPECT_EQ(child<QComboBox>("流派2组合框")->currentIndex(), -1);
    EXPECT_FALSE(child<QPushButton>("更新按钮")->isEnabled());
    // Typing limits do not cut what the file holds.
    EXPECT_EQ(child<QLineEdit>("音轨2编辑框")->text(), QStringLiteral("10/12"));

    child<QLineEdit>("歌曲名1编辑框")->setText(QStringLiteral("New"));
    child<QLineEdit>("艺术家2编辑框")->setText(QStringLiteral("Someone"));
    update();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("ID3v1标签更新成功！"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::none);
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("ID3v2标签更新成功！"));
    EXPECT_EQ(ui.messages[1].title, QStringLiteral("Kelto批量更名器"));

    const auto v1 = v1_on_disk();
    ASSERT_TRUE(v1);
    EXPECT_EQ(v1->title, "New");
    EXPECT_EQ(v1->genre, "255");
    EXPECT_EQ(v1->track, "4");
    const auto v2 = v2_on_disk();
    ASSERT_TRUE(v2);
    EXPECT_EQ(v2->artist, "Someone");
    EXPECT_EQ(v2->title, "Title");
    EXPECT_EQ(v2->genre, "Rock");  // the genre the box shows is kept
    const std::string bytes = dir.read_file("song.mp3");
    EXPECT_NE(bytes.find(audio), std::string::npos);
}

// Opening the window only reads: planted leftovers beside the file are
// ignored, and an edit of this user that a crash interrupted is told and
// left for 更新, which finishes it first.
TEST_F(TagDialogTest, OpeningNeverWritesAndUpdateFinishesAnInterruptedEdit) {
    TempDir state;
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    const std::string old_file =
        id3v2_tag(text_frame("TIT2", "Old one"), 3, 40) + fake_audio(3000) + id3v1_block("v1");
    std::string torn = old_file;
    torn[21] = 'N';  // "Nld one": the record's "New" only partly written
    dir.write_file("song.mp3", torn);
    const std::string path = dir.path() + "song.mp3";
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    const std::string redo = ".song.mp3.varnel-redo-" + std::to_string(info.st_ino);
    dir.write_file(redo, std::string(512, 'A'));
    const std::string attribute = "VNLUNDA1" + std::string(16, '\0') + "XXXX";
    setxattr(path.c_str(), "user.varnel.undo", attribute.data(), attribute.size(), 0);

    ASSERT_TRUE(put_record(
        patch_record(identity_of(path), old_file, {{21, "Old", "New"}}, old_file.size())));

    dialog = std::make_unique<TagDialog>(path, path, codec, ui);
    ASSERT_TRUE(dialog->load());
    EXPECT_TRUE(dir.read_file("song.mp3") == torn);
    EXPECT_EQ(dir.read_file(redo), std::string(512, 'A'));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("上一次的标签修改没有完成：")));
    EXPECT_TRUE(ui.messages[0].text.contains(QString::fromUtf8(path.c_str())));

    child<QLineEdit>("艺术家2编辑框")->setText(QStringLiteral("Someone"));
    update();
    ASSERT_EQ(ui.messages.size(), 4u);  // finished, then both groups' outcome
    EXPECT_TRUE(ui.messages[1].text.contains(QStringLiteral("现已完成")));
    EXPECT_EQ(ui.messages[3].text, QStringLiteral("ID3v2标签更新成功！"));
    const auto v2 = v2_on_disk();
    ASSERT_TRUE(v2);
    EXPECT_EQ(v2->title, "Nld one");  // what the window showed, written as shown
    EXPECT_EQ(v2->artist, "Someone");
    EXPECT_NE(dir.read_file("song.mp3").find(fake_audio(3000) + id3v1_block("v1")),
              std::string::npos);
    EXPECT_EQ(dir.read_file(redo), std::string(512, 'A'));
    std::optional<ByteFile> reading = ByteFile::open_read(path);
    EXPECT_FALSE(reading && has_unfinished_edit(*reading));
    unsetenv("XDG_STATE_HOME");
}

TEST_F(TagDialogTest, ChosenGenreIsWrittenAsNumberAndName) {
    ASSERT_TRUE(open(id3v2_tag(text_frame("TIT2", "T")) + fake_audio(100)));
    auto* genre = child<QComboBox>("流派2组合框");
    genre->setCurrentIndex(genre->findText(QStringLiteral("Rock")));
    update();
    auto file = ByteFile::open_read(dir.path() + "song.mp3");
    std::string head(1100, '\0');
    ASSERT_TRUE(file->read(head.data(), head.size()));
    EXPECT_NE(head.find("(17)Rock"), std::string::npos);
}

TEST_F(TagDialogTest, UncheckingALoadedTagRemovesItSilently) {
    ASSERT_TRUE(open(fake_audio(300) + id3v1_block("Gone")));
    child<QCheckBox>("ID3v1选择框")->click();
    update();
    EXPECT_FALSE(v1_on_disk());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dir.read_file("song.mp3").size(), 300u);
}

TEST_F(TagDialogTest, CopyingV2IntoV1CutsTextsToThirtyBytes) {
    ASSERT_TRUE(open(fake_audio(100)));
    child<QCheckBox>("ID3v2选择框")->click();
    child<QLineEdit>("歌曲名2编辑框")->setText(QString(40, QLatin1Char('t')));
    // 29 ASCII bytes, then a Chinese character that would cross the limit.
    child<QLineEdit>("艺术家2编辑框")
        ->setText(QString(29, QLatin1Char('a')) + QStringLiteral("中"));
    child<QLineEdit>("年代2编辑框")->setText(QStringLiteral("1999-12-31"));
    // 27 ASCII bytes, then an emoji: four bytes in GB18030, one character.
    child<QLineEdit>("专辑2编辑框")->setText(QString(27, QLatin1Char('b')) + QStringLiteral("🎵"));
    child<QPushButton>("v2复制到v1按钮")->click();
    EXPECT_TRUE(child<QCheckBox>("ID3v1选择框")->isChecked());
    EXPECT_EQ(child<QLineEdit>("歌曲名1编辑框")->text(), QString(30, QLatin1Char('t')));
    EXPECT_EQ(child<QLineEdit>("艺术家1编辑框")->text(), QString(29, QLatin1Char('a')));
    EXPECT_EQ(child<QLineEdit>("专辑1编辑框")->text(), QString(27, QLatin1Char('b')));
    EXPECT_EQ(child<QLineEdit>("年代1编辑框")->text(), QStringLiteral("1999-12-31"));
}

TEST_F(TagDialogTest, ChoosingTheSameGenreAgainChangesNothing) {
    ASSERT_TRUE(open(fake_audio(100) + id3v1_block("x", "", "", "", "", 0, 17)));
    auto* genre = child<QComboBox>("流派1组合框");
    EXPECT_EQ(genre->currentText(), QStringLiteral("Rock"));
    emit genre->currentIndexChanged(genre->currentIndex());
    EXPECT_FALSE(child<QPushButton>("更新按钮")->isEnabled());
    genre->setCurrentIndex(0);
    EXPECT_TRUE(child<QPushButton>("更新按钮")->isEnabled());
}

// A missing file, a FIFO or a folder named *.mp3: reported at once with the
// system's reason (a FIFO never blocks the window), and the window is not
// shown.
TEST_F(TagDialogTest, MissingFileIsReportedWithItsReasonAndTheWindowNotShown) {
    ASSERT_EQ(mkfifo((dir.path() + "pipe.mp3").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((dir.path() + "folder.mp3").c_str(), 0700), 0);
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {{"none.mp3", "No such file or directory"},
                 {"pipe.mp3", "No such device"},
                 {"folder.mp3", "Is a directory"}};
    for (const auto& c : cases) {
        ui.messages.clear();
        const std::string path = dir.path() + c.name;
        dialog = std::make_unique<TagDialog>(path, path, codec, ui);
        EXPECT_FALSE(dialog->load());
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("错误"));
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("打开文件：") + QString::fromStdString(path) +
                                           QStringLiteral("失败！\n") +
                                           QString::fromUtf8(c.reason));
    }
}

// When the records of interrupted edits cannot be read (here the state
// folder's place is taken by a file), 更新 says so with the reason and
// writes nothing, rather than editing past an edit it cannot finish.
TEST_F(TagDialogTest, UpdateThatCannotCheckForAnInterruptedEditWritesNothingAndSaysWhy) {
    const std::string bytes = id3v2_tag(text_frame("TIT2", "Old")) + fake_audio(300);
    ASSERT_TRUE(open(bytes));
    TempDir state;
    state.write_file("blocked", "");
    setenv("XDG_STATE_HOME", (state.path() + "blocked").c_str(), 1);
    child<QLineEdit>("歌曲名2编辑框")->setText(u"New"_s);
    update();
    unsetenv("XDG_STATE_HOME");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Kelto批量更名器"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::error);
    EXPECT_TRUE(ui.messages[0].text.contains(QString::fromStdString(dir.path() + "song.mp3")));
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral("标签没有更新。\nNot a directory")))
        << ui.messages[0].text.toStdString();
    EXPECT_EQ(dir.read_file("song.mp3"), bytes);
}

// Enter in any box neither copies one tag into the other nor writes.
TEST_F(TagDialogTest, EnterInABoxNeitherCopiesNorWrites) {
    const std::string bytes =
        id3v2_tag(text_frame("TIT2", "v2 title")) + fake_audio(300) + id3v1_block("v1 title");
    ASSERT_TRUE(open(bytes));
    dialog->show();
    for (const char* name : {"歌曲名1编辑框", "年代1编辑框", "歌曲名2编辑框", "URL编辑框"}) {
        auto* box = child<QLineEdit>(name);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    }
    for (const char* name : {"v1复制到v2按钮", "v2复制到v1按钮", "更新按钮", "关闭按钮"}) {
        EXPECT_FALSE(child<QPushButton>(name)->autoDefault()) << name;
        EXPECT_FALSE(child<QPushButton>(name)->isDefault()) << name;
    }
    EXPECT_EQ(child<QLineEdit>("歌曲名2编辑框")->text(), u"v2 title"_s);
    EXPECT_EQ(child<QLineEdit>("歌曲名1编辑框")->text(), u"v1 title"_s);
    EXPECT_EQ(dir.read_file("song.mp3"), bytes);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(ui.messages.empty());
}

// Typing past a byte limit is refused: text and caret stay; a paste is
// cut to what fits, keeping the text after the caret.
TEST_F(TagDialogTest, TypingPastAByteLimitIsRefused) {
    ASSERT_TRUE(open(fake_audio(100) + id3v1_block("")));
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    auto* title = child<QLineEdit>("歌曲名1编辑框");
    title->setFocus();
    title->setText(QString(27, u'a') + u"#2"_s);  // 29 bytes
    title->setCursorPosition(27);
    test::type_text(title, u"b"_s);  // 30 bytes: fits
    EXPECT_EQ(title->text(), QString(27, u'a') + u"b#2"_s);
    test::type_text(title, u"c"_s);  // would be 31
    EXPECT_EQ(title->text(), QString(27, u'a') + u"b#2"_s);
    EXPECT_EQ(title->cursorPosition(), 28);
    title->setText(u"ab"_s);
    title->setCursorPosition(1);
    test::type_text(title, u"中"_s);  // two bytes still fit, "你" would be 31 after 28 more
    EXPECT_EQ(title->text(), u"a中b"_s);

    auto* year = child<QLineEdit>("年代1编辑框");
    year->setFocus();
    year->setText(QString());
    title->setFocus();
    year->setFocus();
    test::type_text(year, u"19999"_s);
    EXPECT_EQ(year->text(), u"1999"_s);

    auto* comment = child<QPlainTextEdit>("注释1编辑框");
    comment->setFocus();
    test::type_text(comment, QString(29, u'x'));
    test::type_text(comment, u"中"_s);  // 31 bytes
    EXPECT_EQ(comment->toPlainText(), QString(29, u'x'));
    test::type_text(comment, u"y"_s);
    EXPECT_EQ(comment->toPlainText(), QString(30, u'x').replace(29, 1, u'y'));
    EXPECT_EQ(comment->textCursor().position(), 30);
}

// Frames that cannot be kept: 更新 asks first; "no" writes nothing.
TEST_F(TagDialogTest, UpdateAsksBeforeDroppingFramesThatCannotBeKept) {
    const std::string compressed("TSOP\0\0\0\x03\0\x08zzz", 13);
    const std::string bytes =
        id3v2_tag(text_frame("TIT2", "Old") + compressed, 4, 10) + fake_audio(300);
    ASSERT_TRUE(open(bytes));
    child<QLineEdit>("歌曲名2编辑框")->setText(u"New"_s);
    ui.answers.push_back(MessageAnswer::no);
    update();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.indexOf(u"TSOP"_s), -1);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::yes_no);
    EXPECT_EQ(dir.read_file("song.mp3"), bytes);

    ui.answers.push_back(MessageAnswer::yes);
    update();
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[2].text, u"ID3v2标签更新成功！"_s);
    EXPECT_EQ(v2_on_disk()->title, "New");
}

// A refused update names the reason on a second line (here: the file has
// become a folder since the window opened).
TEST_F(TagDialogTest, FailedUpdateGivesTheReason) {
    ASSERT_TRUE(open(id3v2_tag(text_frame("TIT2", "Old")) + fake_audio(300)));
    child<QLineEdit>("歌曲名2编辑框")->setText(u"New"_s);
    ASSERT_EQ(unlink((dir.path() + "song.mp3").c_str()), 0);
    ASSERT_EQ(mkdir((dir.path() + "song.mp3").c_str(), 0700), 0);
    update();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, u"ID3v2标签更新失败！\nIs a directory"_s);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::error);
}

}  // namespace
}  // namespace varnel
