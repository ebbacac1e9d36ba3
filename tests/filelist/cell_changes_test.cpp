// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/file_list.h"
#include "support/list_builder.h"

namespace varnel {
namespace {

using test::list_of;

// Every cell of the list, with the status image and reason folded into the
// status column's text so that a change of either counts as a change.
std::vector<std::string> snapshot(const FileList& list) {
    std::vector<std::string> cells;
    for (int row = 0; row < list.item_count(); ++row) {
        for (int c = 0; c < column_count; ++c) {
            std::string cell(list.get_cell(row, static_cast<Column>(c)));
            if (static_cast<Column>(c) == Column::rename_status)
                cell += "|" + std::to_string(static_cast<int>(list.status_image(row))) + "|" +
                        list.status_reason(row);
            cells.push_back(cell);
        }
    }
    return cells;
}

bool covered(const std::vector<CellChange>& told, int row, int column) {
    for (const CellChange& c : told)
        if (row >= c.first_row && row <= c.last_row && column >= static_cast<int>(c.first) &&
            column <= static_cast<int>(c.last))
            return true;
    return false;
}

TEST(CellChanges, EveryWrittenCellIsTold) {
    const std::vector<std::pair<const char*, std::function<void(FileList&)>>> writes = {
        {"new name", [](FileList& l) { l.set_cell(1, Column::new_name, "n"); }},
        {"status cell", [](FileList& l) { l.set_cell(2, Column::rename_status, "s"); }},
        {"tag status", [](FileList& l) { l.set_cell(0, Column::tag_status, "无标签"); }},
        {"status and image",
         [](FileList& l) { l.set_rename_status(1, "更名失败", StatusImage::failure, "why"); }},
        {"status reset", [](FileList& l) { l.reset_rename_status(); }},
        {"old name", [](FileList& l) { l.set_old_name(2, ItemName{"c2", "c2"}); }},
        {"batch of many",
         [](FileList& l) {
             const FileList::ChangeBatch batch(l);
             l.set_cell(0, Column::new_name, "x");
             l.set_cell(2, Column::tag_status, "非MP3文件");
             l.set_old_name(1, ItemName{"b2", "b2"});
         }},
    };
    for (const auto& [what, write] : writes) {
        FileList list = list_of("/d", {"a", "b", "c"});
        list.set_rename_status(0, "更名成功", StatusImage::success);
        list.set_rename_status(2, "更名失败", StatusImage::failure, "Permission denied");
        std::vector<CellChange> told;
        list.set_cell_observer([&](const CellChange& c) { told.push_back(c); });
        const auto before = snapshot(list);
        write(list);
        const auto after = snapshot(list);
        bool any = false;
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i] == after[i]) continue;
            any = true;
            const int row = static_cast<int>(i) / column_count;
            const int column = static_cast<int>(i) % column_count;
            EXPECT_TRUE(covered(told, row, column)) << what << ": row " << row << " col " << column;
        }
        EXPECT_TRUE(any) << what << " changed nothing";
    }
}

TEST(CellChanges, ABatchTellsOnceWhenTheOutermostBatchEnds) {
    FileList list = list_of("/d", {"a", "b", "c", "d"});
    std::vector<CellChange> told;
    list.set_cell_observer([&](const CellChange& c) { told.push_back(c); });
    {
        const FileList::ChangeBatch outer(list);
        {
            const FileList::ChangeBatch inner(list);
            list.set_cell(1, Column::new_name, "x");
        }
        list.set_cell(3, Column::tag_status, "无标签");
        EXPECT_TRUE(told.empty());
        list.remove_item(4);  // the noted rectangle must not outlive the rows
    }
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].first_row, 1);
    EXPECT_EQ(told[0].last_row, 2);
    EXPECT_EQ(told[0].first, Column::new_name);
    EXPECT_EQ(told[0].last, Column::tag_status);
}

}  // namespace
}  // namespace varnel
