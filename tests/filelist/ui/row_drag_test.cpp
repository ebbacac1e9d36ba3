// SPDX-License-Identifier: GPL-3.0-or-later
// Rows dragged within the list, through the model's drag and drop calls as
// the view makes them: the selected rows move to the drop place in their
// order, and only this model's own drags are taken.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QSignalSpy>
#include <memory>
#include <set>

#include "filelist/ui/file_list_model.h"
#include "support/list_builder.h"

namespace varnel {
namespace {

struct DragCase {
    const char* what;
    std::vector<int> dragged;
    int row;        // the view's row argument: -1 on the empty part
    int onto = -1;  // a row dropped onto (the view's parent), -1: none
    const char* names;
    int first;  // where the dragged rows stand afterwards
};

class RowDrag : public testing::TestWithParam<DragCase> {
protected:
    FileList list = test::list_of("/m", {"a", "b", "c", "d", "e", "f"});
    Codec codec;
    FileListModel model{list, codec};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    // As the view asks: every selected cell of the dragged rows.
    std::unique_ptr<QMimeData> drag(const std::vector<int>& rows) {
        QModelIndexList cells;
        for (const int row : rows)
            for (int column = 0; column < model.columnCount(); ++column)
                cells.push_back(model.index(row, column));
        return std::unique_ptr<QMimeData>(model.mimeData(cells));
    }
    std::string names() const {
        std::string all;
        for (const std::string& name : list.old_names()) all += name;
        return all;
    }
};

TEST_P(RowDrag, MovesTheRowsToTheDropPlace) {
    const DragCase& c = GetParam();
    const std::set<int> dragged(c.dragged.begin(), c.dragged.end());
    const int top = *dragged.begin();  // goes first of them
    list.set_rename_status(top, "ok", StatusImage::success);
    const std::string moved_name = list.old_names()[static_cast<std::size_t>(top)];
    QSignalSpy moved(&model, &FileListModel::rows_moved);
    const std::unique_ptr<QMimeData> data = drag(c.dragged);
    const QModelIndex onto = c.onto >= 0 ? model.index(c.onto, 0) : QModelIndex();
    ASSERT_TRUE(model.canDropMimeData(data.get(), Qt::MoveAction, c.row, 0, onto));
    ASSERT_TRUE(model.dropMimeData(data.get(), Qt::MoveAction, c.row, 0, onto));
    EXPECT_EQ(names(), c.names);
    ASSERT_EQ(moved.size(), 1);
    EXPECT_EQ(moved[0][0].toInt(), c.first);
    EXPECT_EQ(moved[0][1].toInt(), static_cast<int>(dragged.size()));
    // The row's other cells went with it.
    EXPECT_EQ(list.old_names()[static_cast<std::size_t>(c.first)], moved_name);
    EXPECT_EQ(list.status_image(c.first), StatusImage::success);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowDrag,
    testing::Values(DragCase{"above_the_first_row", {1, 4}, 0, -1, "beacdf", 0},
                    DragCase{"between_rows", {0, 2, 5}, 4, -1, "bdacfe", 2},
                    DragCase{"below_the_last_row", {0, 3}, 6, -1, "bcefad", 4},
                    DragCase{"on_the_empty_part", {1, 2}, -1, -1, "adefbc", 4},
                    DragCase{"onto_a_row_goes_before_it", {5, 0}, -1, 3, "bcafde", 2},
                    DragCase{"within_the_dragged_rows", {2, 3}, 3, -1, "abcdef", 2},
                    DragCase{"listed_twice_and_unordered", {4, 1, 4}, 3, -1, "acbedf", 2}),
    [](const auto& param_info) { return std::string(param_info.param.what); });

TEST_F(RowDrag, OnlyAMoveOfThisModelsOwnRowsIsTaken) {
    FileList other_list = test::list_of("/n", {"x", "y", "z", "w", "v", "u", "t"});
    FileListModel other(other_list, codec);
    const std::unique_ptr<QMimeData> foreign(other.mimeData({other.index(6, 0)}));
    const std::unique_ptr<QMimeData> own = drag({0});
    QMimeData files;  // a drop of files is the window's to add
    files.setData(QStringLiteral("text/uri-list"), "file:///m/g\r\n");
    QMimeData forged;  // rows past the end
    forged.setData(QString::fromLatin1(row_drag_format),
                   own->data(QString::fromLatin1(row_drag_format)) + "\n99");
    QSignalSpy moved(&model, &FileListModel::rows_moved);
    EXPECT_FALSE(model.dropMimeData(foreign.get(), Qt::MoveAction, 3, 0, {}));
    EXPECT_FALSE(model.dropMimeData(own.get(), Qt::CopyAction, 3, 0, {}));
    EXPECT_FALSE(model.canDropMimeData(&files, Qt::MoveAction, 3, 0, {}));
    EXPECT_FALSE(model.dropMimeData(&files, Qt::MoveAction, 3, 0, {}));
    EXPECT_FALSE(model.dropMimeData(&forged, Qt::MoveAction, 3, 0, {}));
    EXPECT_EQ(names(), "abcdef");
    EXPECT_EQ(moved.size(), 0);
    // Rows can be dragged, but dropped only between rows.
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsDragEnabled);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsDropEnabled);
    EXPECT_TRUE(model.flags({}) & Qt::ItemIsDropEnabled);
}

}  // namespace
}  // namespace varnel
