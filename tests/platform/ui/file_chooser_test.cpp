// SPDX-License-Identifier: GPL-3.0-or-later
// The file and folder chooser driven by its controls' object names.

#include "platform/ui/file_chooser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "support/temp_dir.h"

using namespace Qt::Literals::StringLiterals;

namespace varnel {
namespace {

const std::string gbk_file = "\xC4\xE3\xBA\xC3.mp3";  // 你好.mp3, not UTF-8
const std::string gbk_folder = "\xD6\xD0";            // 中

class FileChooserTest : public testing::Test {
protected:
    FileChooserTest() {
        for (const std::string& name : {gbk_file, std::string("b.txt"), std::string("track10.mp3"),
                                        std::string("track2.mp3"), std::string(".hidden.mp3")})
            files.write_file(name, "x");
        mkdir((files.path() + gbk_folder).c_str(), 0755);
        mkdir((files.path() + "sub").c_str(), 0755);
        files.write_file(gbk_folder + "/inner.mp3");
    }

    std::unique_ptr<FileChooser> open(ChooserMode mode, const std::string& start) {
        std::vector<ChooserFilter> filters{{QStringLiteral("所有文件(*.*)"), {"*"}},
                                           {QStringLiteral("音乐文件"), {"*.mp3", "wav", "wma"}}};
        auto chooser = std::make_unique<FileChooser>(mode, QStringLiteral("标题"), start,
                                                     std::move(filters), codec);
        chooser->show();
        return chooser;
    }

    template <typename T>
    static T* child(FileChooser& chooser, const char* name) {
        T* found = chooser.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static QStringList shown(FileChooser& chooser) {
        QStringList texts;
        auto* entries = child<QListWidget>(chooser, "文件列表框");
        for (int row = 0; row < entries->count(); ++row)
            texts.push_back(entries->item(row)->text());
        return texts;
    }

    static QListWidgetItem* item(FileChooser& chooser, const QString& text) {
        auto* entries = child<QListWidget>(chooser, "文件列表框");
        const auto found = entries->findItems(text, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << text.toStdString();
        return found.value(0);
    }

    static void double_click(FileChooser& chooser, const QString& text) {
        auto* entries = child<QListWidget>(chooser, "文件列表框");
        QListWidgetItem* target = item(chooser, text);
        ASSERT_NE(target, nullptr);
        emit entries->itemDoubleClicked(target);
    }

    Codec codec;
    test::TempDir files;
};

TEST_F(FileChooserTest, ShowsLegacyNamesInChineseFoldersFirstInNaturalOrder) {
    auto chooser = open(ChooserMode::files, files.path());
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("标题"));
    EXPECT_EQ(shown(*chooser), (QStringList{u"sub"_s, u"中"_s, u"b.txt"_s, u"track2.mp3"_s,
                                            u"track10.mp3"_s, u"你好.mp3"_s}));
    child<QCheckBox>(*chooser, "显示隐藏文件选择框")->click();
    EXPECT_EQ(shown(*chooser).value(2), QStringLiteral(".hidden.mp3"));
    child<QComboBox>(*chooser, "文件类型组合框")->setCurrentIndex(1);
    EXPECT_EQ(shown(*chooser), (QStringList{u"sub"_s, u"中"_s, u".hidden.mp3"_s, u"track2.mp3"_s,
                                            u"track10.mp3"_s, u"你好.mp3"_s}));
}

TEST_F(FileChooserTest, ReturnsTheSelectedFilesByteForByteInListOrder) {
    auto chooser = open(ChooserMode::files, files.path());
    item(*chooser, QStringLiteral("你好.mp3"))->setSelected(true);
    item(*chooser, QStringLiteral("track2.mp3"))->setSelected(true);
    EXPECT_EQ(child<QLineEdit>(*chooser, "文件名编辑框")->text(),
              QStringLiteral("\"track2.mp3\" \"你好.mp3\""));
    child<QPushButton>(*chooser, "打开按钮")->click();
    EXPECT_EQ(chooser->result(), QDialog::Accepted);
    EXPECT_EQ(chooser->chosen(),
              (std::vector<std::string>{files.path() + "track2.mp3", files.path() + gbk_file}));

    // Selecting a folder instead drops the names; 打开 then enters it.
    child<QListWidget>(*chooser, "文件列表框")->clearSelection();
    item(*chooser, QStringLiteral("sub"))->setSelected(true);
    EXPECT_EQ(child<QLineEdit>(*chooser, "文件名编辑框")->text(), QString());
    child<QPushButton>(*chooser, "打开按钮")->click();
    EXPECT_EQ(chooser->folder(), files.path() + "sub/");
}

TEST_F(FileChooserTest, TypedNamesNeedNotExistAndChineseFindsTheLegacyFile) {
    struct Case {
        QString typed;
        std::vector<std::string> chosen;
    };
    const Case cases[] = {
        {QStringLiteral("new name.mp3"), {"new name.mp3"}},
        {QStringLiteral("你好.mp3"), {gbk_file}},
        {QStringLiteral("\"b.txt\" \"absent\""), {"b.txt", "absent"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        auto chooser = open(ChooserMode::files, files.path());
        QLineEdit* name = child<QLineEdit>(*chooser, "文件名编辑框");
        name->setText(c.typed);
        QTest::keyClick(name, Qt::Key_Return);  // Enter is 打开
        ASSERT_EQ(chooser->result(), QDialog::Accepted);
        std::vector<std::string> expected;
        for (const std::string& n : c.chosen) expected.push_back(files.path() + n);
        EXPECT_EQ(chooser->chosen(), expected);
    }
}

TEST_F(FileChooserTest, NavigatesByDoubleClickUpFolderFieldAndTypedFolder) {
    auto chooser = open(ChooserMode::files, files.path());
    double_click(*chooser, QStringLiteral("中"));
    EXPECT_EQ(chooser->folder(), files.path() + gbk_folder + "/");
    EXPECT_TRUE(child<QLineEdit>(*chooser, "目录编辑框")->text().endsWith(QStringLiteral("/中/")));
    EXPECT_EQ(shown(*chooser), QStringList{u"inner.mp3"_s});
    child<QPushButton>(*chooser, "上一级按钮")->click();
    EXPECT_EQ(chooser->folder(), files.path());

    // The folder field: a legacy folder typed in Chinese, then one that
    // does not exist (nothing changes).
    QLineEdit* field = child<QLineEdit>(*chooser, "目录编辑框");
    field->setText(QString::fromStdString(files.path()) + QStringLiteral("中"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(chooser->folder(), files.path() + gbk_folder + "/");
    child<QLineEdit>(*chooser, "文件名编辑框")->setText(QStringLiteral("typed.mp3"));
    field->setFocus();
    field->setText(QStringLiteral("/no/such/folder"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(chooser->folder(), files.path() + gbk_folder + "/");
    EXPECT_EQ(chooser->result(), 0);  // still open

    // A typed folder name is entered, not returned.
    chooser->show_folder(files.path());
    child<QLineEdit>(*chooser, "文件名编辑框")->setFocus();
    child<QLineEdit>(*chooser, "文件名编辑框")->setText(QStringLiteral("sub"));
    child<QPushButton>(*chooser, "打开按钮")->click();
    EXPECT_EQ(chooser->folder(), files.path() + "sub/");
    EXPECT_NE(chooser->result(), QDialog::Accepted);

    // A double-clicked file is the answer.
    chooser->show_folder(files.path());
    double_click(*chooser, QStringLiteral("你好.mp3"));
    EXPECT_EQ(chooser->chosen(), std::vector<std::string>{files.path() + gbk_file});
}

TEST_F(FileChooserTest, FolderModeShowsFoldersAndReturnsTheSelectedOrShownOne) {
    auto chooser = open(ChooserMode::folder, files.path());
    EXPECT_EQ(chooser->findChild<QLineEdit*>(QStringLiteral("文件名编辑框")), nullptr);
    EXPECT_EQ(shown(*chooser), (QStringList{u"sub"_s, u"中"_s}));
    item(*chooser, QStringLiteral("中"))->setSelected(true);
    child<QPushButton>(*chooser, "打开按钮")->click();
    EXPECT_EQ(chooser->chosen(), std::vector<std::string>{files.path() + gbk_folder});

    auto shown_folder = open(ChooserMode::folder, files.path() + "sub");
    child<QPushButton>(*shown_folder, "打开按钮")->click();
    EXPECT_EQ(shown_folder->chosen(), std::vector<std::string>{files.path() + "sub"});
}

// 包含子文件夹: folder mode only, off whenever a chooser opens, answered
// beside the folder and changing nothing that the chooser shows.
TEST_F(FileChooserTest, IncludeSubfoldersIsAFolderModeCheckBoxOffUnlessSet) {
    auto files_chooser = open(ChooserMode::files, files.path());
    EXPECT_EQ(files_chooser->findChild<QCheckBox*>(QStringLiteral("包含子文件夹")), nullptr);
    EXPECT_FALSE(files_chooser->with_subfolders());

    for (const bool checked : {true, false}) {
        SCOPED_TRACE(checked);
        auto chooser = open(ChooserMode::folder, files.path());
        auto* box = child<QCheckBox>(*chooser, "包含子文件夹");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("包含子文件夹"));
        EXPECT_FALSE(box->isChecked());
        if (checked) QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(shown(*chooser), (QStringList{u"sub"_s, u"中"_s}));
        item(*chooser, QStringLiteral("中"))->setSelected(true);
        child<QPushButton>(*chooser, "打开按钮")->click();
        EXPECT_EQ(chooser->result(), QDialog::Accepted);
        EXPECT_EQ(chooser->chosen(), std::vector<std::string>{files.path() + gbk_folder});
        EXPECT_EQ(chooser->with_subfolders(), checked);
    }
    // Opened as last chosen: checked, and the user may still clear it.
    auto again = open(ChooserMode::folder, files.path());
    again->set_with_subfolders(true);
    auto* box = child<QCheckBox>(*again, "包含子文件夹");
    EXPECT_TRUE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    child<QPushButton>(*again, "打开按钮")->click();
    EXPECT_FALSE(again->with_subfolders());
    files_chooser->set_with_subfolders(true);
    EXPECT_FALSE(files_chooser->with_subfolders());
}

// The folder picker takes a typed path: the focus starts in 目录编辑框,
// Enter goes to the typed folder without taking it, 打开 then takes it.
TEST_F(FileChooserTest, FolderModeStartsInThePathFieldAndEnterOnlyGoesThere) {
    auto chooser = open(ChooserMode::folder, files.path());
    auto* field = child<QLineEdit>(*chooser, "目录编辑框");
    EXPECT_EQ(chooser->focusWidget(), field);
    field->setText(QString::fromStdString(files.path() + "sub"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(chooser->folder(), files.path() + "sub/");
    EXPECT_EQ(chooser->result(), QDialog::Rejected);
    EXPECT_TRUE(chooser->chosen().empty());
    child<QPushButton>(*chooser, "打开按钮")->click();
    EXPECT_EQ(chooser->chosen(), std::vector<std::string>{files.path() + "sub"});
}

TEST_F(FileChooserTest, AnUnreadableStartFolderFallsBackToHome) {
    auto chooser = open(ChooserMode::files, files.path() + "missing/");
    EXPECT_NE(chooser->folder(), files.path() + "missing/");
    EXPECT_FALSE(chooser->folder().empty());
    EXPECT_EQ(chooser->folder().back(), '/');
}

}  // namespace
}  // namespace varnel
