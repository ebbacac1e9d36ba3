// SPDX-License-Identifier: GPL-3.0-or-later
// The window tells the truth about a batch: undo covers every file the
// batch renamed, a batch that cannot run does not run, and names no file can
// have are marked, with their reasons, before and after renaming.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class BatchTruthTest : public ::testing::Test {
protected:
    BatchTruthTest() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
        window->settings().auto_preview = true;
        window->settings().preview_all = true;
        window->apply_settings_to_list();
        // The rename summary opens while the batch's last progress shows.
        ui.on_message = [this] { progress_at_message.push_back(window->status_text(1)); };
    }

    void add_folder(const std::vector<std::string>& names, const TempDir& folder) {
        for (const std::string& name : names) folder.write_file(name, name);
        ui.folder_choices.push_back(folder.path());
        window->add_folder_action()->trigger();
    }
    void add_folder(const std::vector<std::string>& names) { add_folder(names, files); }

    template <typename T>
    T* child(const char* name) const {
        T* found = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // The field typed in, and the preview that waits for a pause run at once.
    void set_field(const char* name, const QString& text) {
        child<QLineEdit>(name)->setText(text);
        window->flush_preview();
    }

    // The 命名状态 cell as the list shows it.
    QString status_shown(int row) const {
        const QAbstractItemModel* model = window->list_view()->model();
        return model->data(model->index(row, 3)).toString();
    }

    QString last_message() const {
        return ui.messages.empty() ? QString() : ui.messages.back().text;
    }

    Codec codec;
    FakeUiServices ui;
    std::vector<QString> progress_at_message;
    TempDir config;
    TempDir files;
    std::unique_ptr<MainWindow> window;
};

const QString undo_success = QStringLiteral("上一次的操作已经成功撤消！");

// Rows removed or cleared after a batch do not shrink its undo.
TEST_F(BatchTruthTest, UndoCoversTheBatchWhateverHappenedToTheRows) {
    struct Case {
        const char* what;
        std::function<void(MainWindow&)> change_rows;
    };
    const std::vector<Case> cases = {
        {"two rows deleted",
         [](MainWindow& w) {
             QItemSelectionModel* selection = w.list_view()->selectionModel();
             for (int row : {0, 1})
                 selection->select(w.list_view()->model()->index(row, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
             QTest::keyClick(w.list_view(), Qt::Key_Delete);
             ASSERT_EQ(w.list().item_count(), 3);
         }},
        {"list cleared", [](MainWindow& w) { w.clear_list(); }},
    };
    for (const Case& c : cases) {
        const TempDir folder;
        window->clear_list();
        add_folder({"f1.txt", "f2.txt", "f3.txt", "f4.txt", "f5.txt"}, folder);
        set_field("文件名前缀编辑框", QStringLiteral("u_"));
        window->rename_action()->trigger();
        ASSERT_EQ(folder.names(),
                  (std::vector<std::string>{"u_0.txt", "u_1.txt", "u_2.txt", "u_3.txt", "u_4.txt"}))
            << c.what;
        c.change_rows(*window);
        EXPECT_TRUE(window->undo_action()->isEnabled()) << c.what;
        ui.answers.push_back(MessageAnswer::yes);
        window->undo_command();
        EXPECT_EQ(folder.names(),
                  (std::vector<std::string>{"f1.txt", "f2.txt", "f3.txt", "f4.txt", "f5.txt"}))
            << c.what;
        EXPECT_EQ(last_message(), undo_success) << c.what;
        EXPECT_FALSE(window->undo_action()->isEnabled()) << c.what;
    }
}

// A partial undo says what did not come back and why, and the rest can be
// undone once the obstacle is gone.
TEST_F(BatchTruthTest, APartialUndoIsReportedAndStaysUndoable) {
    add_folder({"f1.txt", "f2.txt", "f3.txt"});
    set_field("文件名前缀编辑框", QStringLiteral("u_"));
    window->rename_action()->trigger();
    files.write_file("f2.txt", "newcomer");  // takes an old name
    ui.answers.push_back(MessageAnswer::yes);
    window->undo_command();
    const QString summary = last_message();
    EXPECT_NE(summary, undo_success);
    EXPECT_TRUE(summary.contains(QStringLiteral("2 个文件撤消成功！"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("1 个文件撤消失败！"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("u_1.txt："))) << summary.toStdString();
    EXPECT_EQ(ui.messages.back().icon, MessageIcon::warning);
    EXPECT_TRUE(status_shown(1).startsWith(QStringLiteral("撤消失败：")))
        << status_shown(1).toStdString();
    ASSERT_TRUE(window->undo_action()->isEnabled());

    ::unlink((files.path() + "f2.txt").c_str());
    ui.answers.push_back(MessageAnswer::yes);
    window->undo_command();
    EXPECT_EQ(last_message(), undo_success);
    EXPECT_EQ(files.read_file("f2.txt"), "f2.txt");
    EXPECT_FALSE(window->undo_action()->isEnabled());
}

// An invalid pattern stops the batch before anything happens; a batch that
// changes no name says so; the earlier batch can still be undone.
TEST_F(BatchTruthTest, ABatchThatCannotRunDoesNotRun) {
    add_folder({"TRACK1.txt", "TRACK2.txt"});
    set_field("文件名前缀编辑框", QStringLiteral("p"));
    window->rename_action()->trigger();
    ASSERT_EQ(files.names(), (std::vector<std::string>{"p0.txt", "p1.txt"}));
    const std::size_t messages_before = ui.messages.size();

    window->rule_tabs()->setCurrentIndex(1);
    child<QCheckBox>("正则表达式")->click();
    set_field("查找内容编辑框", QStringLiteral("p(\\d"));
    EXPECT_FALSE(window->rename_action()->isEnabled());
    const QString error = window->status_text(1);
    EXPECT_TRUE(error.startsWith(QStringLiteral("正则表达式错误："))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("missing closing parenthesis")))
        << error.toStdString();
    const auto* panel = child<QLabel>("状态条面板1");
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(error));

    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    window->rename_command();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"p0.txt", "p1.txt"}));
    EXPECT_EQ(window->status_text(1), error);  // still shown whole

    // A pattern that matches nothing: the batch would rename nothing.
    set_field("查找内容编辑框", QStringLiteral("zzz"));
    EXPECT_TRUE(window->rename_action()->isEnabled());
    EXPECT_EQ(window->status_text(1), QString());
    window->rename_action()->trigger();
    ASSERT_EQ(ui.messages.size(), messages_before + 1);
    EXPECT_EQ(last_message(), QStringLiteral("没有需要更名的文件"));

    ASSERT_TRUE(window->undo_action()->isEnabled());
    ui.answers.push_back(MessageAnswer::yes);
    window->undo_command();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"TRACK1.txt", "TRACK2.txt"}));
    EXPECT_EQ(last_message(), undo_success);
}

// Each name no file can have is marked with its own reason in the preview,
// and a batch shows that reason in the row.
TEST_F(BatchTruthTest, NamesThatCannotBeMadeAreMarkedWithTheirReasons) {
    add_folder({"a.txt", "b.txt", "c", "ok.txt"});
    window->rule_tabs()->setCurrentIndex(1);
    struct Case {
        const char* what;
        QString find;
        QString with;
        int row;
        QString mark;
    };
    const std::vector<Case> cases = {
        {"separator", QStringLiteral("a"), QStringLiteral("x/y"), 0, QStringLiteral("名称含有/")},
        {"too long in UTF-8 bytes", QStringLiteral("b"), QString(86, QChar(u'名')), 1,
         QStringLiteral("名称过长")},
        {"dot-dot", QStringLiteral("c"), QStringLiteral(".."), 2,
         QStringLiteral("名称不能是.或..")},
        {"empty", QStringLiteral("c"), QString(), 2, QStringLiteral("新名称为空")},
    };
    for (const Case& c : cases) {
        set_field("查找内容编辑框", c.find);
        set_field("替换为编辑框", c.with);
        EXPECT_EQ(status_shown(c.row), c.mark) << c.what;
        EXPECT_EQ(status_shown(3), QString()) << c.what;
    }
    window->rename_action()->trigger();  // "c" gets an empty name
    EXPECT_EQ(status_shown(2), QStringLiteral("更名失败：新名称为空"));
    EXPECT_TRUE(files.exists("c"));
}

// Tags from other taggers: a "1/10" track and a "/" inside a field never
// make a path; an MP3 file without a tag gets an empty name, not a clash.
TEST_F(BatchTruthTest, TagFieldsNeverPutASlashIntoAName) {
    const auto gbk = [this](const char* utf8) { return codec.from_utf8(utf8).value(); };
    files.write_file("song.mp3", test::id3v2_tag(test::text_frame("TPE1", gbk("周杰伦")) +
                                                 test::text_frame("TALB", gbk("七里香专辑")) +
                                                 test::text_frame("TYER", "2004") +
                                                 test::text_frame("TIT2", gbk("七里香")) +
                                                 test::text_frame("TRCK", "1/10")) +
                                     test::fake_audio(200));
    files.write_file("acdc.mp3", test::id3v2_tag(test::text_frame("TPE1", "AC/DC") +
                                                 test::text_frame("TIT2", "T.N.T") +
                                                 test::text_frame("TRCK", "2")) +
                                     test::fake_audio(200));
    files.write_file("untagged.mp3", test::fake_audio(200));
    ui.folder_choices.push_back(files.path());
    window->add_folder_action()->trigger();
    window->rule_tabs()->setCurrentIndex(4);
    set_field("MP3命名规则编辑框", QStringLiteral("#1-#3-#5-#2-#4"));
    const auto new_name = [this](int row) {
        return QString::fromUtf8(
            codec.to_utf8(window->list().get_cell(row, Column::new_name)).value_or("?"));
    };
    // Natural order: acdc.mp3, song.mp3, untagged.mp3.
    EXPECT_EQ(new_name(0), QStringLiteral("AC／DC---T.N.T-2.mp3"));
    EXPECT_EQ(new_name(1), QStringLiteral("周杰伦-七里香专辑-2004-七里香-1.mp3"));
    EXPECT_EQ(status_shown(0), QString());
    EXPECT_EQ(status_shown(1), QString());
    EXPECT_EQ(status_shown(2), QStringLiteral("新名称为空"));
    window->rename_action()->trigger();
    EXPECT_TRUE(files.exists("AC／DC---T.N.T-2.mp3"));
    EXPECT_TRUE(files.exists("周杰伦-七里香专辑-2004-七里香-1.mp3"));
}

// In the smart order a row with an empty new name is reported like any
// other: 更名失败 with its reason, and the progress reaches 20 squares.
TEST_F(BatchTruthTest, SmartOrderReportsEveryRow) {
    window->settings().smart_order = true;
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        const std::string name = "t" + std::to_string(100 + i) + ".mp3";
        files.write_file(name, i % 5 == 0 ? test::fake_audio(100)
                                          : test::id3v2_tag(test::text_frame(
                                                "TIT2", "title" + std::to_string(i))) +
                                                test::fake_audio(100));
    }
    ui.folder_choices.push_back(files.path());
    window->add_folder_action()->trigger();
    window->rule_tabs()->setCurrentIndex(4);
    set_field("MP3命名规则编辑框", QStringLiteral("#2"));
    progress_at_message.clear();
    window->rename_action()->trigger();
    ASSERT_EQ(progress_at_message.size(), 1u);
    EXPECT_EQ(progress_at_message[0], QString(20, QChar(u'■')));
    for (int row = 0; row < 20; ++row) {
        const QString expected =
            row % 5 == 0 ? QStringLiteral("更名失败：新名称为空") : QStringLiteral("更名成功");
        EXPECT_EQ(status_shown(row), expected) << row;
    }
    EXPECT_EQ(
        last_message(),
        QStringLiteral("文件总数：20 个文件\r\n\r\n16 个文件更名成功！\r\n4 个文件更名失败！"));
}

}  // namespace
}  // namespace varnel
