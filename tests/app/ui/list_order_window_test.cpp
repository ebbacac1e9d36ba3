// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting by a header and moving rows: the numbering preview follows the
// list's new order at once, and the selection stays on the moved rows.

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class ListOrderWindowTest : public ::testing::Test {
protected:
    ListOrderWindowTest() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
        window->settings().auto_preview = true;
        window->settings().preview_all = true;
        window->apply_settings_to_list();
        for (const char* name : {"f3.txt", "f20.txt", "f1.txt", "f10.txt", "f2.txt"})
            files.write_file(name);
        ui.folder_choices.push_back(files.path());
        window->add_folder_action()->trigger();
        window->findChild<QLineEdit*>(QStringLiteral("文件名前缀编辑框"))->setText(u"n_"_qs);
        window->flush_preview();
    }

    // Each row as "old>new", as the list shows it.
    std::vector<std::string> rows_shown() const {
        const QAbstractItemModel* model = window->list_view()->model();
        std::vector<std::string> rows;
        for (int row = 0; row < model->rowCount(); ++row)
            rows.push_back((model->data(model->index(row, 0)).toString() + u'>' +
                            model->data(model->index(row, 1)).toString())
                               .toStdString());
        return rows;
    }

    void select(std::initializer_list<int> rows) {
        QItemSelectionModel* selection = window->list_view()->selectionModel();
        selection->clear();
        for (int row : rows)
            selection->select(window->list_view()->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ListOrderWindowTest, SortingAndMovingRenumberInListOrder) {
    QHeaderView* header = window->list_view()->horizontalHeader();
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> rows;
        std::vector<int> selected;
    };
    const std::vector<Step> steps = {
        {"sorted by 旧文件名",
         [&] { emit header->sectionClicked(0); },
         {"f1.txt>n_0.txt", "f2.txt>n_1.txt", "f3.txt>n_2.txt", "f10.txt>n_3.txt",
          "f20.txt>n_4.txt"},
         {}},
        {"reversed by a second click",
         [&] { emit header->sectionClicked(0); },
         {"f20.txt>n_0.txt", "f10.txt>n_1.txt", "f3.txt>n_2.txt", "f2.txt>n_3.txt",
          "f1.txt>n_4.txt"},
         {}},
        {"two rows up",
         [&] {
             select({2, 4});
             window->move_up_action()->trigger();
         },
         {"f20.txt>n_0.txt", "f3.txt>n_1.txt", "f10.txt>n_2.txt", "f1.txt>n_3.txt",
          "f2.txt>n_4.txt"},
         {1, 3}},
        {"a run down",
         [&] {
             select({0, 1});
             window->move_down_action()->trigger();
         },
         {"f10.txt>n_0.txt", "f20.txt>n_1.txt", "f3.txt>n_2.txt", "f1.txt>n_3.txt",
          "f2.txt>n_4.txt"},
         {1, 2}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(rows_shown(), step.rows) << step.what;
        if (!step.selected.empty()) {
            EXPECT_EQ(window->list_view()->selected_rows(), step.selected) << step.what;
        }
    }
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(window->move_up_action()->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Up));
}

}  // namespace
}  // namespace varnel
