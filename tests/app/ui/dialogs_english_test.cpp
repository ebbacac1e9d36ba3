// SPDX-License-Identifier: GPL-3.0-or-later
// The settings, about, filter, tag and 标签转为Unicode windows in English:
// no Chinese in any text they show, nor in the message boxes they raise.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>
#include <algorithm>
#include <memory>

#include "app/settings.h"
#include "app/ui/about_dialog.h"
#include "app/ui/qt_translations.h"
#include "app/ui/settings_dialog.h"
#include "filelist/ui/file_list_model.h"
#include "filelist/ui/filter_dialog.h"
#include "id3/ui/tag_dialog.h"
#include "id3/ui/tag_fix_dialog.h"
#include "support/fake_ui_services.h"
#include "support/list_builder.h"
#include "support/mp3_builder.h"
#include "support/qt_text.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::has_chinese;

// Boxes whose entries are data rather than words: the stand-in characters
// for '/', and the language names, each written in its own language.
bool lists_data(const QWidget* widget) {
    const QString name = widget->objectName();
    return name == QStringLiteral("斜杠替换组合框") || name == QStringLiteral("界面语言组合框");
}

// Every text `window` shows: its title, captions, tips, entries and table
// headings.
QStringList shown_texts(const QWidget& window) {
    QStringList texts{window.windowTitle(), window.toolTip()};
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        texts << widget->toolTip();
        if (auto* label = qobject_cast<const QLabel*>(widget)) texts << label->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(widget)) texts << button->text();
        if (auto* group = qobject_cast<const QGroupBox*>(widget)) texts << group->title();
        if (auto* edit = qobject_cast<const QLineEdit*>(widget)) texts << edit->placeholderText();
        if (auto* box = qobject_cast<const QComboBox*>(widget); box && !lists_data(box))
            for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
        if (auto* table = qobject_cast<const QTableWidget*>(widget))
            for (int column = 0; column < table->columnCount(); ++column)
                texts << table->horizontalHeaderItem(column)->text();
    }
    return texts;
}

class DialogsInEnglish : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(use_language(*QCoreApplication::instance(), Language::english));
        files.write_file("song.mp3", test::id3v2_tag(test::text_frame("TIT2", "Song")) +
                                         test::fake_audio(200) + test::id3v1_block("Song"));
    }
    void TearDown() override {
        EXPECT_TRUE(use_language(*QCoreApplication::instance(), Language::chinese));
    }

    // The texts of `window` and of every message box so far that are Chinese.
    QStringList chinese_texts(const QWidget& window) const {
        QStringList texts = shown_texts(window);
        for (const auto& message : ui.messages) texts << message.title << message.text;
        for (const QString& label : ui.progress_labels) texts << label;
        QStringList found;
        for (const QString& text : texts)
            if (has_chinese(text)) found << text;
        return found;
    }

    template <typename T = QAbstractButton>
    static T* control(const QWidget& window, const char* name) {
        T* found = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    Codec codec;
    test::FakeUiServices ui;
    test::TempDir files;
    const std::string song = files.path() + "song.mp3";
};

TEST_F(DialogsInEnglish, TheFilterWindowAndItsRefusals) {
    FileList list = test::list_of("/m", {"a.mp3"});
    FileListModel model(list, codec);
    FilterDialog window(model, codec, ui);
    window.show();
    control<QComboBox>(window, "扩展名组合框")->setEditText(QString());
    control(window, "确定按钮")->click();  // empty extension
    control(window, "包含内容单选框")->click();
    control(window, "确定按钮")->click();  // empty contained text
    control<QComboBox>(window, "操作方式组合框")->setCurrentIndex(-1);
    control(window, "确定按钮")->click();  // no operation
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Filter"));
    EXPECT_EQ(chinese_texts(window), QStringList{});
}

TEST_F(DialogsInEnglish, TheSettingsWindowAndTheLanguageNote) {
    Settings settings;
    SettingsDialog window(settings, codec, ui, [] {});
    window.show();
    auto* language = control<QComboBox>(window, "界面语言组合框");
    EXPECT_EQ(language->itemText(0), QStringLiteral("Automatic"));
    language->setCurrentIndex(2);
    emit language->activated(2);
    control(window, "确定按钮")->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(settings.language, LanguageChoice::english);
    EXPECT_EQ(chinese_texts(window), QStringList{});
}

TEST_F(DialogsInEnglish, TheAboutWindowAndTheUpdateMessages) {
    for (const bool update_check : {false, true}) {
        AboutDialog window(codec, ui, nullptr, update_check);
        window.show();
        if (update_check) {
            const std::string page = *codec.from_utf8("////开始最新版=1.3</p>////结束");
            ui.pages.push_back(QByteArray(page.data(), static_cast<qsizetype>(page.size())));
        }
        control(window, "按钮2")->click();
        EXPECT_EQ(chinese_texts(window), QStringList{}) << update_check;
    }
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(DialogsInEnglish, TheTagWindowAndItsMessages) {
    TagDialog missing(files.path() + "none.mp3", files.path() + "none.mp3", codec, ui);
    EXPECT_FALSE(missing.load());

    const test::TempDir state;
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    TagDialog window(song, song, codec, ui);
    ASSERT_TRUE(window.load());
    window.show();
    control<QLineEdit>(window, "歌曲名1编辑框")->setText(QStringLiteral("New"));
    control<QLineEdit>(window, "歌曲名2编辑框")->setText(QStringLiteral("New"));
    control(window, "更新按钮")->click();  // both groups written

    // The recovery records cannot be reached: nothing is written.
    state.write_file("not-a-folder", "");
    setenv("XDG_STATE_HOME", (state.path() + "not-a-folder").c_str(), 1);
    control<QLineEdit>(window, "歌曲名2编辑框")->setText(QStringLiteral("Newer"));
    control(window, "更新按钮")->click();
    unsetenv("XDG_STATE_HOME");
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(chinese_texts(window), QStringList{});
}

// The window's own texts and the table's field and change columns; the file
// name and the tag texts are the files' own.
TEST_F(DialogsInEnglish, TheTagFixWindowAndItsSummary) {
    files.write_file("gbk.mp3", test::id3v2_tag(test::text_frame("TPE1", "\xB8\xE8\xCA\xD6")) +
                                    test::fake_audio(200));
    run_tag_fix(nullptr, {files.path() + "gbk.mp3"}, ui, codec, false);
    QPointer<QWidget> window;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QStringLiteral("标签转为Unicode窗口") && widget->isVisible())
            window = widget;
    ASSERT_TRUE(window);
    QStringList texts = chinese_texts(*window);
    const auto* table = window->findChild<QTableWidget*>(QStringLiteral("转换预览表"));
    ASSERT_TRUE(table);
    ASSERT_GT(table->rowCount(), 0);
    for (int row = 0; row < table->rowCount(); ++row)
        for (const int column : {1, 4})
            if (has_chinese(table->item(row, column)->text()))
                texts << table->item(row, column)->text();
    control(*window, "确定按钮")->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(texts, QStringList{});
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Converted 1 file"));
    EXPECT_FALSE(has_chinese(ui.messages[0].title));
    ASSERT_EQ(ui.progress_labels.size(), 1u);
    EXPECT_FALSE(has_chinese(ui.progress_labels[0]));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace varnel
