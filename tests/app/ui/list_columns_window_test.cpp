// SPDX-License-Identifier: GPL-3.0-or-later
// The list's columns 大小 and 修改时间, and rows dragged within the list, as
// the user meets them in the window: the numbering preview follows every
// new order at once, dragged rows stay selected, and files dropped from a
// file manager are still added.

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <chrono>
#include <filesystem>
#include <memory>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class ListColumnsWindow : public ::testing::Test {
protected:
    ListColumnsWindow() {
        // name, size in bytes, minutes after 2024-03-05 06:07 UTC
        const std::vector<std::tuple<const char*, int, int>> made = {
            {"f3.txt", 300, 2}, {"f20.txt", 20, 0}, {"f1.txt", 300, 1}, {"f10.txt", 0, 3}};
        for (const auto& [name, size, minutes] : made) {
            files.write_file(name, std::string(static_cast<std::size_t>(size), 'x'));
            stamp(name, minutes);
        }
        window = std::make_unique<MainWindow>(setup);
        window->settings().auto_preview = true;
        window->settings().preview_all = true;
        window->apply_settings_to_list();
        window->resize(900, 700);
        window->show();
        ui.folder_choices.push_back(files.path());
        window->add_folder_action()->trigger();  // f1 f3 f10 f20, natural order
        window->findChild<QLineEdit*>(QStringLiteral("文件名前缀编辑框"))->setText(u"n_"_qs);
        window->flush_preview();
    }

    void stamp(const std::string& name, int minutes) const {
        using namespace std::chrono;
        const sys_seconds time =
            sys_days(year(2024) / 3 / 5) + hours(6) + std::chrono::minutes(7 + minutes);
        std::filesystem::last_write_time(files.path() + name,
                                         std::filesystem::file_time_type::clock::from_sys(time));
    }

    QAbstractItemModel* model() const { return window->list_view()->model(); }
    QString cell(int row, Column column, int role = Qt::DisplayRole) const {
        return model()->index(row, static_cast<int>(column)).data(role).toString();
    }
    // Each row as "old>new".
    std::vector<std::string> rows_shown() const {
        std::vector<std::string> rows;
        for (int row = 0; row < model()->rowCount(); ++row)
            rows.push_back(
                (cell(row, Column::old_name) + u'>' + cell(row, Column::new_name)).toStdString());
        return rows;
    }
    QAction* column_entry(Column column) const {
        for (QAction* action : window->list_view()->column_menu()->actions())
            if (action->data().toInt() == static_cast<int>(column)) return action;
        return nullptr;
    }
    void select(std::initializer_list<int> rows) const {
        QItemSelectionModel* selection = window->list_view()->selectionModel();
        selection->clear();
        for (const int row : rows)
            selection->select(model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // A drag and drop of `data` at `at` in the list, as Qt delivers it.
    void drop(const QMimeData& data, QPoint at) const {
        QWidget* viewport = window->list_view()->viewport();
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QDropEvent dropped(QPointF(at), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &dropped);
    }
    // The top edge of row `row`, where a drop goes above it.
    QPoint above(int row) const {
        return window->list_view()->visualRect(model()->index(row, 0)).topLeft() + QPoint(5, 1);
    }

    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;
    MainWindowSetup setup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"};
    std::unique_ptr<MainWindow> window;
};

TEST_F(ListColumnsWindow, HiddenAtFirstShownFromTheHeaderMenuAndRemembered) {
    FileListView* view = window->list_view();
    for (const Column column : FileListView::optional_columns) {
        EXPECT_FALSE(view->is_shown(column));
        ASSERT_NE(column_entry(column), nullptr);
        EXPECT_TRUE(column_entry(column)->isCheckable());
        EXPECT_FALSE(column_entry(column)->isChecked());
    }
    EXPECT_EQ(column_entry(Column::size)->text(), u"大小"_qs);
    EXPECT_EQ(column_entry(Column::modified)->text(), u"修改时间"_qs);

    column_entry(Column::size)->trigger();
    EXPECT_TRUE(view->is_shown(Column::size));
    EXPECT_FALSE(view->is_shown(Column::modified));
    // Read when shown: f1 (300 B) first, f10 empty file third.
    EXPECT_EQ(cell(0, Column::size), u"300 B"_qs);
    EXPECT_EQ(cell(2, Column::size), u"0 B"_qs);
    EXPECT_EQ(cell(0, Column::size, Qt::ToolTipRole), u"300 字节"_qs);

    window.reset();  // saves config.ini
    window = std::make_unique<MainWindow>(setup);
    EXPECT_TRUE(window->list_view()->is_shown(Column::size));
    EXPECT_TRUE(column_entry(Column::size)->isChecked());
    EXPECT_FALSE(window->list_view()->is_shown(Column::modified));
    // Shown from the start: files added are read as they come.
    ui.folder_choices.push_back(files.path());
    window->add_folder_action()->trigger();
    EXPECT_EQ(cell(3, Column::size), u"20 B"_qs);
    column_entry(Column::size)->trigger();
    column_entry(Column::modified)->trigger();
    window.reset();
    window = std::make_unique<MainWindow>(setup);
    EXPECT_FALSE(window->list_view()->is_shown(Column::size));
    EXPECT_TRUE(window->list_view()->is_shown(Column::modified));
}

TEST_F(ListColumnsWindow, SortingBySizeAndTimeRenumbersAtOnce) {
    column_entry(Column::size)->trigger();
    column_entry(Column::modified)->trigger();
    QHeaderView* header = window->list_view()->horizontalHeader();
    struct Step {
        const char* what;
        Column column;
        std::vector<std::string> rows;
    };
    const std::vector<Step> steps = {
        {"size, smallest first; equal sizes by name",
         Column::size,
         {"f10.txt>n_0.txt", "f20.txt>n_1.txt", "f1.txt>n_2.txt", "f3.txt>n_3.txt"}},
        {"size reversed; equal sizes still by name",
         Column::size,
         {"f1.txt>n_0.txt", "f3.txt>n_1.txt", "f20.txt>n_2.txt", "f10.txt>n_3.txt"}},
        {"time, oldest first",
         Column::modified,
         {"f20.txt>n_0.txt", "f1.txt>n_1.txt", "f3.txt>n_2.txt", "f10.txt>n_3.txt"}},
        {"time reversed",
         Column::modified,
         {"f10.txt>n_0.txt", "f3.txt>n_1.txt", "f1.txt>n_2.txt", "f20.txt>n_3.txt"}},
    };
    for (const Step& step : steps) {
        emit header->sectionClicked(static_cast<int>(step.column));
        EXPECT_EQ(rows_shown(), step.rows) << step.what;
    }
    EXPECT_EQ(header->sortIndicatorSection(), static_cast<int>(Column::modified));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

// Local time to the minute, whatever the machine's zone: the test sets its own.
TEST_F(ListColumnsWindow, TimesShowInLocalTimeToTheMinute) {
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Asia/Shanghai");  // UTC+8 all year
    column_entry(Column::modified)->trigger();
    EXPECT_EQ(cell(0, Column::modified), u"2024-03-05 14:08"_qs);  // f1: 06:08 UTC
    EXPECT_EQ(cell(0, Column::modified, Qt::ToolTipRole), u"2024-03-05 14:08:00"_qs);
    if (zone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
}

// Where rows land for each drop place is the model's table (row_drag_test);
// here the drag arrives as Qt delivers it.
TEST_F(ListColumnsWindow, DraggedRowsMoveStaySelectedAndRenumber) {
    select({0, 2});  // f1 and f10, apart
    const std::unique_ptr<QMimeData> data(
        model()->mimeData({model()->index(0, 0), model()->index(2, 0)}));
    drop(*data, above(3));
    EXPECT_EQ(rows_shown(), (std::vector<std::string>{"f3.txt>n_0.txt", "f1.txt>n_1.txt",
                                                      "f10.txt>n_2.txt", "f20.txt>n_3.txt"}));
    EXPECT_EQ(window->list_view()->selected_rows(), (std::vector<int>{1, 2}));
}

TEST_F(ListColumnsWindow, FilesDroppedFromAFileManagerAreAddedNotMoved) {
    TempDir more;
    more.write_file("new.txt", "abc");
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"),
                 QByteArray("file://") + QByteArray::fromStdString(more.path()) + "new.txt\r\n");
    drop(data, above(1));
    EXPECT_EQ(rows_shown(),
              (std::vector<std::string>{"f1.txt>n_0.txt", "f3.txt>n_1.txt", "f10.txt>n_2.txt",
                                        "f20.txt>n_3.txt", "new.txt>n_4.txt"}));
}

// A rename shows what the file is now: the values are read again.
TEST_F(ListColumnsWindow, ARenamedRowShowsItsFileAnew) {
    column_entry(Column::size)->trigger();
    files.write_file("f1.txt", std::string(2048, 'x'));  // grows behind the list
    EXPECT_EQ(cell(0, Column::size), u"300 B"_qs);
    window->rename_action()->trigger();
    ASSERT_TRUE(files.exists("n_0.txt"));
    EXPECT_EQ(cell(0, Column::old_name), u"n_0.txt"_qs);
    EXPECT_EQ(cell(0, Column::size), u"2.0 KB"_qs);
}

}  // namespace
}  // namespace varnel
