// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/ui/filter_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "filelist/ui/file_list_model.h"
#include "platform/codec.h"
#include "support/fake_ui_services.h"
#include "support/list_builder.h"

namespace varnel {
namespace {

using Names = std::vector<std::string>;

class FilterWindow : public testing::Test {
protected:
    // Opens a window on a list of `names`; the window's signal and the
    // model's resets are counted.
    void open(const std::string& folder, const Names& names) {
        list_ = test::list_of(folder, names);
        model_ = std::make_unique<FileListModel>(list_, codec_);
        QObject::connect(model_.get(), &QAbstractItemModel::modelReset, [this] { ++resets_; });
        window_ = std::make_unique<FilterDialog>(*model_, codec_, services_);
        QObject::connect(window_.get(), &FilterDialog::filtered, [this] {
            ++filtered_;
            busy_when_filtered_ = services_.busy_depth;
            rows_when_filtered_ = model_->rowCount();
        });
        window_->show();
    }

    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = window_->findChild<T*>(QString::fromUtf8(name));
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    QComboBox* operation_box() const { return control<QComboBox>("操作方式组合框"); }
    QComboBox* extension_box() const { return control<QComboBox>("扩展名组合框"); }
    QLineEdit* text_edit() const { return control<QLineEdit>("包含内容编辑框"); }
    void click(const char* name) const { control<QAbstractButton>(name)->click(); }

    // Types `text` into a combo box's edit key by key, as a user would.
    static void type_at_cursor(QComboBox* box, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box->lineEdit(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
    // Replaces the text of a combo box's edit by typing.
    static void type_into(QComboBox* box, const QString& text) {
        box->lineEdit()->selectAll();
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        type_at_cursor(box, text);
    }
    void choose_operation(int entry) const { operation_box()->setCurrentIndex(entry); }
    void filter_by_extension(const QString& ext) const {
        click("扩展名单选框");
        type_into(extension_box(), ext);
        click("确定按钮");
    }
    void filter_by_text(const QString& text) const {
        click("包含内容单选框");
        text_edit()->setText(text);
        click("确定按钮");
    }

    Names names() const { return {list_.old_names().begin(), list_.old_names().end()}; }
    bool closed_by_ok() const {
        return !window_->isVisible() && window_->result() == QDialog::Accepted;
    }
    // The one message shown, or a failure when there was not exactly one.
    QString only_message() const {
        if (services_.messages.size() != 1) {
            ADD_FAILURE() << services_.messages.size() << " messages";
            return {};
        }
        const auto& message = services_.messages.front();
        EXPECT_EQ(message.title, QStringLiteral("过滤设置"));
        EXPECT_EQ(message.icon, MessageIcon::exclamation);
        EXPECT_EQ(message.buttons, MessageButtons::ok);
        return message.text;
    }
    // After a refused 确定: the window is open and nothing else happened.
    void expect_refused(const Names& before) const {
        EXPECT_TRUE(window_->isVisible());
        EXPECT_EQ(window_->result(), 0);
        EXPECT_EQ(names(), before);
        EXPECT_EQ(filtered_, 0);
        EXPECT_EQ(resets_, 0);
        EXPECT_EQ(services_.busy_calls, 0);
    }

    Codec codec_;
    test::FakeUiServices services_;
    FileList list_;
    std::unique_ptr<FileListModel> model_;
    std::unique_ptr<FilterDialog> window_;
    int filtered_ = 0;
    int resets_ = 0;
    int busy_when_filtered_ = -1;
    int rows_when_filtered_ = -1;
};

const Names mp3_names = {"a.mp3", "b.MP3", "c.mp3.txt", "d"};

TEST_F(FilterWindow, OpensWithTheDesignedControlsAndStates) {
    open("/m", mp3_names);
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("过滤设置"));
    EXPECT_EQ(window_->size(), QSize(348, 189));
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
    EXPECT_EQ(control<QLabel>("标签1")->text(), QStringLiteral("操作方式："));

    QComboBox* operation = operation_box();
    EXPECT_TRUE(operation->isEditable());
    ASSERT_EQ(operation->count(), 2);
    EXPECT_EQ(operation->itemText(0), QStringLiteral("删除"));
    EXPECT_EQ(operation->itemText(1), QStringLiteral("保留"));
    EXPECT_EQ(operation->currentIndex(), 0);
    EXPECT_EQ(operation->currentText(), QStringLiteral("删除"));

    QComboBox* extension = extension_box();
    EXPECT_TRUE(extension->isEditable());
    QStringList entries;
    for (int i = 0; i < extension->count(); ++i) entries << extension->itemText(i);
    EXPECT_EQ(entries.join(u' '),
              QStringLiteral("txt mp3 jpg bmp gif jpeg wav wma fla swf rm avi htm html doc ppt"));
    EXPECT_EQ(extension->currentText(), QStringLiteral("txt"));
    EXPECT_TRUE(extension->isEnabled());

    EXPECT_EQ(control<QRadioButton>("扩展名单选框")->text(), QStringLiteral("扩展名"));
    EXPECT_TRUE(control<QRadioButton>("扩展名单选框")->isChecked());
    EXPECT_EQ(control<QRadioButton>("包含内容单选框")->text(), QStringLiteral("包含内容"));
    EXPECT_FALSE(control<QRadioButton>("包含内容单选框")->isChecked());
    EXPECT_TRUE(text_edit()->text().isEmpty());
    EXPECT_TRUE(text_edit()->isEnabled());
    auto* close_box = control<QCheckBox>("过滤完成后关闭对话框选择框");
    EXPECT_EQ(close_box->text(), QStringLiteral("过滤完成后关闭对话框"));
    EXPECT_TRUE(close_box->isChecked());
    EXPECT_EQ(control<QPushButton>("确定按钮")->text(), QStringLiteral("确定"));
    EXPECT_EQ(control<QPushButton>("取消按钮")->text(), QStringLiteral("取消"));
}

TEST_F(FilterWindow, RadioButtonsEnableTheirOwnInput) {
    open("/m", mp3_names);
    click("包含内容单选框");
    EXPECT_FALSE(extension_box()->isEnabled());
    EXPECT_TRUE(text_edit()->isEnabled());
    click("扩展名单选框");
    EXPECT_TRUE(extension_box()->isEnabled());
    EXPECT_FALSE(text_edit()->isEnabled());
}

TEST_F(FilterWindow, RemoveByExtensionTakesOnlyNamesEndingInIt) {
    open("/m", mp3_names);
    filter_by_extension(QStringLiteral("mp3"));
    EXPECT_EQ(names(), (Names{"c.mp3.txt", "d"}));
    EXPECT_TRUE(services_.messages.empty());
    EXPECT_TRUE(closed_by_ok());
    EXPECT_EQ(filtered_, 1);
    EXPECT_EQ(rows_when_filtered_, 2);  // views were told before the owner
    EXPECT_EQ(resets_, 1);
    EXPECT_EQ(busy_when_filtered_, 1);
    EXPECT_EQ(services_.busy_calls, 1);
    EXPECT_EQ(services_.busy_depth, 0);
}

TEST_F(FilterWindow, KeepByExtensionRemovesAllOthers) {
    open("/m", mp3_names);
    choose_operation(1);
    filter_by_extension(QStringLiteral("mp3"));
    EXPECT_EQ(names(), (Names{"a.mp3", "b.MP3"}));
    EXPECT_TRUE(closed_by_ok());
}

TEST_F(FilterWindow, ExtensionGivenWithItsDotRemovesNothing) {
    open("/m", {"a.txt", "b.TXT"});
    filter_by_extension(QStringLiteral(".txt"));
    EXPECT_EQ(names(), (Names{"a.txt", "b.TXT"}));
    EXPECT_EQ(filtered_, 1);
}

TEST_F(FilterWindow, ExtensionGivenWithItsDotKeepsNothing) {
    open("/m", {"a.txt", "b.TXT"});
    choose_operation(1);
    filter_by_extension(QStringLiteral(".txt"));
    EXPECT_TRUE(names().empty());
    EXPECT_EQ(rows_when_filtered_, 0);
    EXPECT_TRUE(closed_by_ok());
}

TEST_F(FilterWindow, TypedExtensionIsNotCompletedToAnEntry) {
    open("/m", {"a.jpg", "b.jp"});
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    extension_box()->lineEdit()->setFocus();
    filter_by_extension(QStringLiteral("jp"));  // a prefix of jpg and jpeg
    EXPECT_EQ(names(), (Names{"a.jpg"}));
}

TEST_F(FilterWindow, ContainedTextIgnoresCaseAndNeverSearchesTheFolder) {
    // "\xC4\x61" is one two-byte character whose second byte is 'a'.
    open("/tab/ab", {"xAB.txt", "cab.mp3", "a_b.txt",
                     "\xC4\x61"
                     "b.txt",
                     "ba"});
    filter_by_text(QStringLiteral("ab"));
    EXPECT_EQ(names(), (Names{"a_b.txt",
                              "\xC4\x61"
                              "b.txt",
                              "ba"}));
    EXPECT_TRUE(closed_by_ok());
}

TEST_F(FilterWindow, ContainedTextIsSearchedInTheCodePage) {
    const std::string song = "\xCE\xD2\xB5\xC4\xB8\xE8.mp3";  // 我的歌.mp3
    open("/m", {song, "other.mp3"});
    choose_operation(1);
    filter_by_text(QStringLiteral("歌"));
    EXPECT_EQ(names(), (Names{song}));
}

TEST_F(FilterWindow, EmptyExtensionIsRefused) {
    open("/m", mp3_names);
    filter_by_extension(QString());
    EXPECT_EQ(only_message(), QStringLiteral("扩展名不能空！"));
    expect_refused(mp3_names);
}

TEST_F(FilterWindow, EmptyContainedTextIsRefused) {
    open("/m", mp3_names);
    filter_by_text(QString());
    EXPECT_EQ(only_message(), QStringLiteral("'包含内容'不能空！"));
    expect_refused(mp3_names);
}

TEST_F(FilterWindow, TypedOperationSelectsNoEntryAndIsRefused) {
    open("/m", mp3_names);
    type_into(operation_box(), QStringLiteral("删"));
    EXPECT_EQ(operation_box()->currentIndex(), -1);
    EXPECT_EQ(operation_box()->currentText(), QStringLiteral("删"));  // the typed text stays
    EXPECT_EQ(operation_box()->count(), 2);
    filter_by_extension(QString());  // the operation is reported first
    EXPECT_EQ(only_message(), QStringLiteral("请选择操作方式！"));
    expect_refused(mp3_names);
}

TEST_F(FilterWindow, TypedOperationTextStaysAsTyped) {
    open("/m", mp3_names);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));  // completers act only then
    QLineEdit* edit = operation_box()->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Home);
    type_at_cursor(operation_box(), QStringLiteral("ab"));  // leaves entry 删除 mid-text
    EXPECT_EQ(operation_box()->currentText(), QStringLiteral("ab删除"));
    EXPECT_EQ(operation_box()->currentIndex(), -1);

    type_into(operation_box(), QStringLiteral("保"));  // a prefix of 保留, not completed
    EXPECT_EQ(operation_box()->currentText(), QStringLiteral("保"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(operation_box()->count(), 2);
    EXPECT_EQ(operation_box()->currentIndex(), -1);
    EXPECT_EQ(operation_box()->currentText(), QStringLiteral("保"));
}

TEST_F(FilterWindow, TypingAnEntryExactlySelectsIt) {
    open("/m", mp3_names);
    type_into(operation_box(), QStringLiteral("保留"));
    EXPECT_EQ(operation_box()->currentIndex(), 1);
    QTest::keyClick(operation_box()->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(operation_box()->currentIndex(), -1);
    type_at_cursor(operation_box(), QStringLiteral("留"));
    filter_by_extension(QStringLiteral("mp3"));
    EXPECT_TRUE(services_.messages.empty());
    EXPECT_EQ(names(), (Names{"a.mp3", "b.MP3"}));
}

TEST_F(FilterWindow, CancelLeavesTheListAlone) {
    open("/m", mp3_names);
    click("取消按钮");
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->result(), QDialog::Rejected);
    EXPECT_EQ(names(), mp3_names);
    EXPECT_EQ(filtered_, 0);
    EXPECT_EQ(resets_, 0);
}

TEST_F(FilterWindow, StaysOpenForMoreFiltersWhenTheBoxIsCleared) {
    open("/m", mp3_names);
    click("过滤完成后关闭对话框选择框");
    filter_by_extension(QStringLiteral("mp3"));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->result(), 0);
    EXPECT_EQ(names(), (Names{"c.mp3.txt", "d"}));

    filter_by_text(QStringLiteral("D"));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(names(), (Names{"c.mp3.txt"}));
    EXPECT_EQ(filtered_, 2);
    EXPECT_EQ(resets_, 2);
}

}  // namespace
}  // namespace varnel
