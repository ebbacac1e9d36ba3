// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/file_list.h"

#include <gtest/gtest.h>

#include "support/list_builder.h"

namespace varnel {
namespace {

using test::list_of;

TEST(FileList, AppendKeepsOrderDuplicatesAndSharedFolder) {
    FileList list = list_of("/a", {"x.txt", "y.txt"});
    const int first =
        list.append_items(ItemFolder{"/b/", "/b/"}, {{"x.txt", "x.txt"}, {"x.txt", "x.txt"}});
    EXPECT_EQ(first, 2);
    ASSERT_EQ(list.item_count(), 4);
    EXPECT_EQ(list.get_cell(3, Column::old_name), "x.txt");
    EXPECT_EQ(list.get_cell(0, Column::folder), "/a/");
    EXPECT_EQ(list.get_cell(2, Column::folder), "/b/");
    EXPECT_EQ(list.folder_index(2), list.folder_index(3));
    EXPECT_EQ(list.new_names().size(), 4u);
}

TEST(FileList, MissingCellsReadEmptyAndIgnoreWrites) {
    FileList list = list_of("/a", {"x"});
    EXPECT_EQ(list.get_cell(1, Column::old_name), "");
    EXPECT_EQ(list.get_cell(-1, Column::folder), "");
    list.set_cell(5, Column::new_name, "z");
    list.set_cell(0, Column::old_name, "changed");
    EXPECT_EQ(list.get_cell(0, Column::old_name), "x");
}

TEST(FileList, AddingClearsTheWholeStatusColumnOnlyWhenRowZeroHasAStatus) {
    FileList list = list_of("/a", {"a", "b"});
    list.set_rename_status(1, "failed", StatusImage::failure);
    list.append_items(ItemFolder{"/a/", "/a/"}, {{"c", "c"}});
    EXPECT_EQ(list.get_cell(1, Column::rename_status), "failed");  // row 0 was empty

    list.set_rename_status(0, "ok", StatusImage::success);
    list.append_items(ItemFolder{"/a/", "/a/"}, {{"d", "d"}});
    for (int row = 0; row < list.item_count(); ++row) {
        EXPECT_EQ(list.get_cell(row, Column::rename_status), "");
        EXPECT_EQ(list.status_image(row), StatusImage::none);
    }
}

TEST(FileList, SelectionCountsAndFirstSelected) {
    FileList list = list_of("/a", {"a", "b", "c", "d"});
    EXPECT_EQ(list.first_selected_row(), -1);
    list.select_row(2);
    list.select_row(2);
    list.select_row(1);
    EXPECT_EQ(list.selected_count(), 2);
    EXPECT_EQ(list.first_selected_row(), 1);
    list.unselect_row(1);
    list.unselect_row(1);
    EXPECT_EQ(list.selected_count(), 1);
    list.select_all();
    EXPECT_EQ(list.selected_count(), 4);
}

TEST(FileList, RemovingKeepsArraysRowsAndSelectionInStep) {
    FileList list = list_of("/a", {"a", "b", "c", "d", "e"});
    for (int row = 0; row < 5; ++row)
        list.new_names()[static_cast<std::size_t>(row)] = "n" + std::to_string(row);
    list.select_row(1);
    list.select_row(3);
    list.remove_item(1);  // item 1 is row 0
    EXPECT_EQ(list.get_cell(0, Column::old_name), "b");
    EXPECT_EQ(list.new_names()[0], "n1");
    EXPECT_EQ(list.selected_count(), 2);

    EXPECT_EQ(list.remove_selected_items(), 2);  // b and d
    ASSERT_EQ(list.item_count(), 2);
    EXPECT_EQ(list.old_names()[0], "c");
    EXPECT_EQ(list.old_names()[1], "e");
    EXPECT_EQ(list.new_names()[1], "n4");
    EXPECT_EQ(list.selected_count(), 0);
    EXPECT_EQ(list.first_selected_row(), -1);

    list.remove_item(3);  // no such item
    EXPECT_EQ(list.item_count(), 2);
    list.clear();
    EXPECT_EQ(list.item_count(), 0);
    EXPECT_EQ(list.folder_count(), 0u);
}

}  // namespace
}  // namespace varnel
