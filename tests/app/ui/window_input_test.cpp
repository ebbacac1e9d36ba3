// SPDX-License-Identifier: GPL-3.0-or-later
// The window from the keyboard and the mouse, whatever widget the user is
// in: command keys from a rule field, files dropped on a field, and the
// preview that follows typing once the user pauses.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

using namespace Qt::Literals::StringLiterals;

namespace varnel {
namespace {

class WindowInput : public testing::Test {
protected:
    WindowInput() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    }

    void add(const std::vector<std::string>& names) {
        for (const std::string& name : names) files.write_file(name, name);
        window->add_folder_at(files.path());
    }

    // Shown, active, with the focus in 文件名前缀编辑框.
    QLineEdit* focus_prefix_field() {
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        auto* field = window->findChild<QLineEdit*>(QStringLiteral("文件名前缀编辑框"));
        field->setFocus();
        return field;
    }

    std::string cell(int row) const {
        return std::string(window->list().get_cell(row, Column::new_name));
    }

    Codec codec;
    test::FakeUiServices ui;
    test::TempDir config;
    test::TempDir files;
    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowInput, TheOperationsMenuSharesTheToolbarsActions) {
    QMenu* menu = nullptr;
    for (QAction* item : window->menuBar()->actions())
        if (item->text() == QStringLiteral("操作(&C)")) menu = item->menu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = menu->actions();
    for (QAction* action :
         {window->undo_action(), window->preview_action(), window->rename_action()})
        EXPECT_TRUE(items.contains(action)) << action->text().toStdString();
}

// Ctrl+R, F5 and Ctrl+Z typed in a rule field run the window's commands;
// the field keeps its text (its own undo would have taken the typing back).
TEST_F(WindowInput, CommandKeysWorkFromARuleField) {
    add({"a.txt", "b.txt"});
    QLineEdit* field = focus_prefix_field();
    QTest::keyClicks(field, u"p"_s);
    QTest::keyClick(field, Qt::Key_F5);
    EXPECT_EQ(cell(1), "p1.txt");

    QTest::keyClick(field, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(files.names(), (std::vector<std::string>{"p0.txt", "p1.txt"}));

    ui.answers.push_back(MessageAnswer::yes);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(files.names(), (std::vector<std::string>{"a.txt", "b.txt"}));
    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].title, QStringLiteral("询问："));
    EXPECT_EQ(field->text(), QStringLiteral("p"));

    // 撤消 is off now: Ctrl+Z in the field does nothing at all.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("p"));
    EXPECT_EQ(ui.messages.size(), 3u);
}

// A file manager's drag carries text/uri-list alone; on a rule field it adds
// the file (a legacy name byte for byte) and leaves the field's text alone.
TEST_F(WindowInput, ARawUriListDroppedOnARuleFieldAddsTheFile) {
    const std::string gbk = "\xB8\xE8 1.txt";  // 歌 1.txt in GBK
    files.write_file(gbk);
    QLineEdit* field = focus_prefix_field();
    field->setText(QStringLiteral("keep"));
    QMimeData data;
    data.setData(
        QStringLiteral("text/uri-list"),
        "file://" + QByteArray::fromStdString(files.path() + gbk).toPercentEncoding("/") + "\r\n");
    const QPoint at = field->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop);
    ASSERT_EQ(window->list().item_count(), 1);
    EXPECT_EQ(window->list().fs_name(0), gbk);
    EXPECT_EQ(field->text(), QStringLiteral("keep"));
}

// Typing computes nothing until the user pauses; then the rows shown come
// first, and rows further down when the list scrolls to them.
TEST_F(WindowInput, ThePreviewFollowsAPauseAndTheRowsShown) {
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i) names.push_back("f" + std::to_string(1000 + i) + ".txt");
    add(names);
    window->settings().auto_preview = true;
    window->settings().preview_all = true;
    window->apply_settings_to_list();
    QLineEdit* field = focus_prefix_field();
    QTest::keyClicks(field, u"xy"_s);
    EXPECT_EQ(cell(0), "0.txt");  // not yet
    ASSERT_TRUE(QTest::qWaitFor([&] { return cell(0) == "xy0.txt"; }));
    EXPECT_EQ(cell(399), "");  // far below what the list shows

    window->list_view()->scrollToBottom();
    EXPECT_EQ(cell(399), "xy399.txt");

    QTest::keyClicks(field, u"z"_s);
    window->flush_preview();
    EXPECT_EQ(cell(0), "xyz0.txt");
    EXPECT_EQ(cell(399), "xyz399.txt");
}

// Keys typed just before Ctrl+R are renamed with; the preview they had
// scheduled does not wipe the batch's outcome afterwards.
TEST_F(WindowInput, RenamingRightAfterTypingUsesTheTypedTextAndKeepsTheOutcome) {
    add({"a.txt"});
    window->settings().auto_preview = true;
    QLineEdit* field = focus_prefix_field();
    QTest::keyClicks(field, u"n"_s);
    QTest::keyClick(field, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(files.names(), (std::vector<std::string>{"n0.txt"}));
    QTest::qWait(3 * preview_delay_ms);
    EXPECT_EQ(window->list().get_cell(0, Column::rename_status),
              "\xB8\xFC\xC3\xFB\xB3\xC9\xB9\xA6");  // 更名成功
}

}  // namespace
}  // namespace varnel
