// SPDX-License-Identifier: GPL-3.0-or-later
// The windows 文件名转为标签 and 批量编辑标签 over MP3 and FLAC files tagged by
// mutagen, driven by object names with a scripted desktop; what they wrote
// read back by mutagen, and undone from their journal.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/ui/qt_translations.h"
#include "audio/tag_journal.h"
#include "audio/ui/batch_tag_dialog.h"
#include "audio/ui/tags_from_names_dialog.h"
#include "support/command_output.h"
#include "support/fake_ui_services.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;
using namespace Qt::StringLiterals;

const std::string python = "/usr/bin/python3";
const std::string script = python + " " VARNEL_TAGGED_FILES_SCRIPT;

// Every frame or comment of `path` as mutagen reads it, by key, and
// "audio". Empty ID3v2 text frames are left out: the writer always writes
// its twelve frames, the empty ones too.
std::map<std::string, std::string> dump(const std::string& path) {
    std::map<std::string, std::string> read;
    for (const std::string& line : command_output_lines(script + " dump '" + path + "'")) {
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (value != key + "=") read[key] = value;
    }
    return read;
}

// Each table row as "文件|字段|原文字|新文字|状态".
std::vector<QString> rows(QWidget& window) {
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("标签预览表"));
    std::vector<QString> shown;
    for (int row = 0; table && row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        shown.push_back(cells.join(QLatin1Char('|')));
    }
    return shown;
}

void click(QWidget& window, const char* button) {
    auto* found = window.findChild<QPushButton*>(QString::fromUtf8(button));
    ASSERT_NE(found, nullptr) << button;
    ASSERT_TRUE(found->isEnabled()) << button;
    found->click();
}

// Field `number` (1..12) of 批量编辑标签: its text typed through the input
// method, as Chinese is typed, which checks its box.
void type_field(QWidget& window, int number, const QString& text) {
    auto* edit = window.findChild<QLineEdit*>(QStringLiteral("字段编辑框%1").arg(number));
    ASSERT_NE(edit, nullptr);
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(edit, &typed);
    auto* box = window.findChild<QCheckBox*>(QStringLiteral("字段选择框%1").arg(number));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isChecked());
}

void check_field(QWidget& window, int number) {
    auto* box = window.findChild<QCheckBox*>(QStringLiteral("字段选择框%1").arg(number));
    ASSERT_NE(box, nullptr);
    box->setChecked(true);
}

class TagBatchWindowTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_STATE_HOME", state.path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_STATE_HOME"); }

    // A file of tagged_files.py; false when no python3 with mutagen is there.
    bool make(const std::string& name) {
        if (command_output(python + " -c 'import mutagen' 2>/dev/null && echo yes") != "yes\n")
            return false;
        (void)command_output(script + " make '" + dir.path() + name + "'");
        return dir.exists(name);
    }

    std::vector<std::string> paths(const std::vector<std::string>& names) const {
        std::vector<std::string> full;
        for (const std::string& name : names) full.push_back(dir.path() + name);
        return full;
    }

    TagBatchSetup setup() {
        return {ui, codec, V2TextEncoding::unicode,
                [this](const std::string& journal) { journals.push_back(journal); }};
    }

    // Undoes the one journal the window told of; every file its old bytes again.
    void expect_undo_restores(const std::map<std::string, std::string>& before) {
        ASSERT_EQ(journals.size(), 1u);
        ASSERT_FALSE(journals[0].empty());
        std::string reason;
        const auto undone = undo_tag_journal(journals[0], reason);
        ASSERT_TRUE(undone) << reason;
        for (const auto& [name, bytes] : before) EXPECT_EQ(dir.read_file(name), bytes) << name;
    }

    std::map<std::string, std::string> bytes_of(const std::vector<std::string>& names) const {
        std::map<std::string, std::string> bytes;
        for (const std::string& name : names) bytes[name] = dir.read_file(name);
        return bytes;
    }

    TempDir dir;
    TempDir state;
    Codec codec;
    FakeUiServices ui;
    std::vector<std::string> journals;  // what each batch told on_written
};

// The preview rows are exactly the fields that change; 确定 writes them and
// nothing else: every other frame, comment and picture and the audio stay
// as mutagen read them. A name that does not match changes nothing.
TEST_F(TagBatchWindowTest, TagsFromNamesWritesTheNamedFieldsOnly) {
    const std::vector<std::string> names = {"歌手甲 - 歌一.mp3", "乐队 - 曲子.flac", "no match.mp3",
                                            "Old Artist - Old Title.mp3"};
    for (const std::string& name : names)
        if (!make(name)) GTEST_SKIP() << "no python3 with mutagen";
    const auto before = bytes_of(names);
    std::map<std::string, std::map<std::string, std::string>> read_before;
    for (const std::string& name : names) read_before[name] = dump(dir.path() + name);

    TagsFromNamesDialog window(paths(names), setup(), "#1 - #2");
    const std::vector<QString> preview = rows(window);
    ASSERT_EQ(preview.size(), 6u);
    EXPECT_EQ(preview[0], u"歌手甲 - 歌一.mp3|歌曲名|Old Title|歌一|将写入"_s);
    EXPECT_EQ(preview[1], u"歌手甲 - 歌一.mp3|艺术家|Old Artist|歌手甲|将写入"_s);
    EXPECT_EQ(preview[2], u"乐队 - 曲子.flac|歌曲名|Old Title|曲子|将写入"_s);
    EXPECT_EQ(preview[3], u"乐队 - 曲子.flac|艺术家|Old Artist|乐队|将写入"_s);
    EXPECT_TRUE(preview[4].startsWith(u"no match.mp3|—||文件名与模板不符|"_s))
        << preview[4].toStdString();
    EXPECT_EQ(preview[5], u"Old Artist - Old Title.mp3||||无需改动"_s);
    EXPECT_EQ(bytes_of(names), before);  // the preview writes nothing

    click(window, "确定按钮");
    const std::vector<QString> after = rows(window);
    for (std::size_t row = 0; row < 4; ++row)
        EXPECT_TRUE(after[row].endsWith(u"|已写入"_s)) << after[row].toStdString();
    struct Expected {
        std::string name;
        std::map<std::string, std::string> changed;  // keys that differ, as mutagen reads them
    };
    const std::vector<Expected> expected = {
        {names[0], {{"TPE1", "TPE1=歌手甲"}, {"TIT2", "TIT2=歌一"}}},
        {names[1], {{"artist", "乐队"}, {"title", "曲子"}}},
    };
    for (const Expected& e : expected) {
        std::map<std::string, std::string> wanted = read_before[e.name];
        for (const auto& [key, value] : e.changed) wanted[key] = value;
        EXPECT_EQ(dump(dir.path() + e.name), wanted) << e.name;
    }
    EXPECT_EQ(dir.read_file(names[2]), before.at(names[2]));
    EXPECT_EQ(dir.read_file(names[3]), before.at(names[3]));
    expect_undo_restores(before);
}

// A checked field is written to every file it applies to (an empty box
// clears it); the ID3-only fields leave the FLAC file alone.
TEST_F(TagBatchWindowTest, BatchEditWritesTheCheckedFieldsWhereTheyApply) {
    const std::vector<std::string> names = {"a.mp3", "b.flac"};
    for (const std::string& name : names)
        if (!make(name)) GTEST_SKIP() << "no python3 with mutagen";
    const auto before = bytes_of(names);
    std::map<std::string, std::map<std::string, std::string>> read_before;
    for (const std::string& name : names) read_before[name] = dump(dir.path() + name);

    BatchTagDialog window(paths(names), setup());
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("确定按钮"))->isEnabled());
    type_field(window, 3, u"新专辑"_s);
    type_field(window, 8, u"作曲者"_s);
    check_field(window, 2);  // 艺术家, its box empty: cleared
    EXPECT_EQ(rows(window),
              (std::vector<QString>{
                  u"a.mp3|艺术家|Old Artist||将写入"_s, u"a.mp3|专辑|旧专辑|新专辑|将写入"_s,
                  u"a.mp3|作曲家||作曲者|将写入"_s, u"b.flac|艺术家|Old Artist||将写入"_s,
                  u"b.flac|专辑|旧专辑|新专辑|将写入"_s}));
    click(window, "确定按钮");
    EXPECT_TRUE(ui.messages.empty());

    std::map<std::string, std::string> mp3 = read_before["a.mp3"];
    mp3.erase("TPE1");
    mp3["TALB"] = "TALB=新专辑";
    mp3["TCOM"] = "TCOM=作曲者";
    EXPECT_EQ(dump(dir.path() + "a.mp3"), mp3);
    std::map<std::string, std::string> flac = read_before["b.flac"];
    flac.erase("artist");
    flac["album"] = "新专辑";
    EXPECT_EQ(dump(dir.path() + "b.flac"), flac);
    expect_undo_restores(before);
}

// Frames that cannot be kept: asked once for the batch, default No; No
// leaves such a file as it was (its row says why) and writes the others.
TEST_F(TagBatchWindowTest, FramesThatCannotBeKeptAreNotDroppedWithoutConsent) {
    const std::string compressed("TSOP\0\0\0\x03\0\x08zzz", 13);
    const std::string odd =
        id3v2_tag(text_frame("TIT2", "Old") + compressed, 4, 10) + fake_audio(300);
    const std::string plain = id3v2_tag(text_frame("TIT2", "Old")) + fake_audio(300);
    for (const MessageAnswer answer : {MessageAnswer::no, MessageAnswer::yes}) {
        dir.write_file("odd.mp3", odd);
        dir.write_file("plain.mp3", plain);
        ui.messages.clear();
        ui.answers = {answer};
        BatchTagDialog window(paths({"odd.mp3", "plain.mp3"}), setup());
        type_field(window, 1, u"New"_s);
        click(window, "确定按钮");
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].buttons, MessageButtons::yes_no_default_no);
        EXPECT_NE(ui.messages[0].text.indexOf(u"TSOP"_s), -1) << ui.messages[0].text.toStdString();
        const std::vector<QString> after = rows(window);
        ASSERT_EQ(after.size(), 2u);
        if (answer == MessageAnswer::no) {
            EXPECT_EQ(dir.read_file("odd.mp3"), odd);
            EXPECT_TRUE(after[0].contains(u"|未写入 ("_s)) << after[0].toStdString();
        } else {
            EXPECT_NE(dir.read_file("odd.mp3"), odd);
            EXPECT_EQ(dir.read_file("odd.mp3").find("TSOP"), std::string::npos);
            EXPECT_TRUE(after[0].endsWith(u"|已写入"_s)) << after[0].toStdString();
        }
        EXPECT_TRUE(after[1].endsWith(u"|已写入"_s)) << after[1].toStdString();
    }
}

// A long batch is written in groups under the progress window; 取消 stops
// after the group being written, the files not reached keep their bytes
// and say so, and the written ones are in the journal.
TEST_F(TagBatchWindowTest, CancelStopsAfterTheGroupBeingWritten) {
    const std::string bytes = id3v2_tag(text_frame("TIT2", "Old")) + fake_audio(300);
    std::vector<std::string> names;
    for (int i = 0; i < 150; ++i) {
        names.push_back("f" + std::to_string(i) + ".mp3");
        dir.write_file(names.back(), bytes);
    }
    ui.cancel_after = 1;
    BatchTagDialog window(paths(names), setup());
    type_field(window, 1, u"New"_s);
    click(window, "确定按钮");
    EXPECT_EQ(ui.progress_labels.back(), u"正在写入标签……"_s);
    EXPECT_EQ(ui.progress_values.back(), 64);
    const std::vector<QString> after = rows(window);
    ASSERT_EQ(after.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool reached = i < 64;
        EXPECT_EQ(dir.read_file(names[i]) != bytes, reached) << names[i];
        EXPECT_TRUE(after[i].endsWith(reached ? u"|已写入"_s : u"|未写入 (已取消)"_s))
            << after[i].toStdString();
    }
    std::map<std::string, std::string> before;
    for (const std::string& name : names) before[name] = bytes;
    expect_undo_restores(before);
}

// Root may write anything: the batch runs as another user for the while.
class AsOtherUser {
public:
    AsOtherUser() : switched_(geteuid() == 0 && seteuid(65534) == 0) {}
    ~AsOtherUser() {
        if (switched_) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }
    AsOtherUser(const AsOtherUser&) = delete;
    AsOtherUser& operator=(const AsOtherUser&) = delete;

private:
    bool switched_;
};

// A file that cannot be written is reported with the system's reason; the
// others are written.
TEST_F(TagBatchWindowTest, AFileThatCannotBeWrittenGivesItsReason) {
    const std::string bytes = id3v2_tag(text_frame("TIT2", "Old")) + fake_audio(300);
    dir.write_file("locked.mp3", bytes);
    dir.write_file("open.mp3", bytes);
    ASSERT_EQ(chmod((dir.path() + "locked.mp3").c_str(), 0444), 0);
    ASSERT_EQ(chmod((dir.path() + "open.mp3").c_str(), 0666), 0);
    for (const std::string& folder : {dir.path(), state.path()})
        ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    BatchTagDialog window(paths({"locked.mp3", "open.mp3"}), setup());
    type_field(window, 1, u"New"_s);
    {
        const AsOtherUser other;
        click(window, "确定按钮");
    }
    const std::vector<QString> after = rows(window);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_TRUE(after[0].endsWith(u"|写入失败 (Permission denied)"_s)) << after[0].toStdString();
    EXPECT_TRUE(after[1].endsWith(u"|已写入"_s)) << after[1].toStdString();
    EXPECT_EQ(dir.read_file("locked.mp3"), bytes);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("结果标签"))->text(),
              u"已写入 1 个文件，1 个文件未能写入"_s);
}

// No journal can be made: asked first, default No; No writes nothing and
// leaves 确定 for another try; Yes goes on without undo (here the file's
// own crash record has no folder either, so its row tells that reason).
TEST_F(TagBatchWindowTest, WithoutAJournalNothingIsWrittenUnlessAgreed) {
    const std::string bytes = id3v2_tag(text_frame("TIT2", "Old")) + fake_audio(300);
    dir.write_file("a.mp3", bytes);
    state.write_file("not a folder", "");
    setenv("XDG_STATE_HOME", (state.path() + "not a folder").c_str(), 1);
    BatchTagDialog window(paths({"a.mp3"}), setup());
    type_field(window, 1, u"New"_s);
    click(window, "确定按钮");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::yes_no_default_no);
    EXPECT_TRUE(ui.messages[0].text.startsWith(u"无法建立标签的撤消记录："_s))
        << ui.messages[0].text.toStdString();
    EXPECT_EQ(dir.read_file("a.mp3"), bytes);
    EXPECT_TRUE(rows(window).at(0).endsWith(u"|将写入"_s));
    EXPECT_TRUE(window.outcomes().empty());

    ui.answers = {MessageAnswer::yes};
    click(window, "确定按钮");
    ASSERT_EQ(window.outcomes().size(), 1u);
    EXPECT_TRUE(window.outcomes()[0].has_value());
    EXPECT_TRUE(rows(window).at(0).contains(u"|写入失败 ("_s)) << rows(window).at(0).toStdString();
    EXPECT_TRUE(journals.empty());  // nothing was written
}

// Under English the windows speak English, the engine's reasons included.
class EnglishTagBatchWindowTest : public TagBatchWindowTest {
protected:
    void SetUp() override {
        TagBatchWindowTest::SetUp();
        ASSERT_TRUE(use_language(*QApplication::instance(), Language::english));
    }
    void TearDown() override {
        (void)use_language(*QApplication::instance(), Language::chinese);
        TagBatchWindowTest::TearDown();
    }
};

TEST_F(EnglishTagBatchWindowTest, TextsAndReasonsAreEnglish) {
    dir.write_file("a - b.mp3", id3v2_tag(text_frame("TIT2", "Old")) + fake_audio(300));
    dir.write_file("notes.txt", "text");
    TagsFromNamesDialog names(paths({"a - b.mp3", "notes.txt"}), setup(), "#1 - #2");
    EXPECT_EQ(names.windowTitle(), u"Tags from File Names"_s);
    EXPECT_EQ(rows(names),
              (std::vector<QString>{u"a - b.mp3|Title|Old|b|To be written"_s,
                                    u"a - b.mp3|Artist||a|To be written"_s,
                                    u"notes.txt||||Cannot be read (Not an audio file)"_s}));
    BatchTagDialog batch(paths({"a - b.mp3"}), setup());
    EXPECT_EQ(batch.windowTitle(), u"Edit Tags of Many Files"_s);
    EXPECT_EQ(batch.findChild<QLineEdit*>(QStringLiteral("字段编辑框1"))->placeholderText(),
              u"Keep as it is"_s);
}

}  // namespace
}  // namespace varnel
