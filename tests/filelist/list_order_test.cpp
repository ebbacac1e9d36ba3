// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/list_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/list_builder.h"

namespace varnel {
namespace {

using test::list_of;
using Order = std::vector<int>;

struct Move {
    const char* what;
    int count;
    std::vector<int> rows;
    bool up;
    Order expected;
};

class MovedByOne : public testing::TestWithParam<Move> {};

TEST_P(MovedByOne, MovesEachRunPastItsNeighbour) {
    const Move& c = GetParam();
    EXPECT_EQ(rows_moved_by_one(c.count, c.rows, c.up), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MovedByOne,
    testing::Values(Move{"one_up", 4, {2}, true, {0, 2, 1, 3}},
                    Move{"one_down", 4, {1}, false, {0, 2, 1, 3}},
                    Move{"run_up", 5, {3, 2}, true, {0, 2, 3, 1, 4}},
                    Move{"run_down", 5, {1, 2}, false, {0, 3, 1, 2, 4}},
                    Move{"two_runs_up", 5, {1, 3}, true, {1, 0, 3, 2, 4}},
                    Move{"top_stays", 4, {0, 1}, true, {0, 1, 2, 3}},
                    Move{"bottom_stays", 4, {3}, false, {0, 1, 2, 3}},
                    Move{"top_run_stays_other_moves", 5, {0, 3}, true, {0, 1, 3, 2, 4}},
                    Move{"outside_and_twice_ignored", 3, {-1, 2, 2, 7}, true, {0, 2, 1}},
                    Move{"nothing", 3, {}, false, {0, 1, 2}}, Move{"empty_list", 0, {0}, true, {}}),
    [](const auto& param_info) { return std::string(param_info.param.what); });

struct Drop {
    const char* what;
    int count;
    std::vector<int> rows;
    int before;
    Order expected;
};

class MovedBefore : public testing::TestWithParam<Drop> {};

TEST_P(MovedBefore, PutsTheRowsInFrontOfTheTarget) {
    const Drop& c = GetParam();
    EXPECT_EQ(rows_moved_before(c.count, c.rows, c.before), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MovedBefore,
                         testing::Values(Drop{"to_top", 4, {2, 3}, 0, {2, 3, 0, 1}},
                                         Drop{"to_end", 4, {0, 2}, 4, {1, 3, 0, 2}},
                                         Drop{"keeps_their_order", 5, {4, 1}, 3, {0, 2, 1, 4, 3}},
                                         Drop{"onto_a_moved_row", 5, {1, 2}, 2, {0, 1, 2, 3, 4}},
                                         Drop{"beyond_end_clamped", 3, {0}, 99, {1, 2, 0}},
                                         Drop{"before_start_clamped", 3, {2}, -5, {2, 0, 1}}),
                         [](const auto& param_info) { return std::string(param_info.param.what); });

TEST(RowsSortedBy, NaturalOrderAndItsReverseKeepEqualRowsInOrder) {
    FileList list = list_of("/m", {"track10.mp3", "Track2.mp3", "a.mp3", "track2.mp3", "b.mp3"});
    EXPECT_EQ(rows_sorted_by(list, Column::old_name, false), (Order{2, 4, 1, 3, 0}));
    EXPECT_EQ(rows_sorted_by(list, Column::old_name, true), (Order{0, 3, 1, 4, 2}));
    // Equal folder texts: the order stays as it was, both ways.
    EXPECT_EQ(rows_sorted_by(list, Column::folder, false), (Order{0, 1, 2, 3, 4}));
    EXPECT_EQ(rows_sorted_by(list, Column::folder, true), (Order{0, 1, 2, 3, 4}));
}

// Rows of names with sizes and times; ties on the number go in natural
// order of the names, whichever way the numbers go.
struct NumberSort {
    const char* what;
    Column column;
    bool descending;
    Order expected;
};

class SortedByNumber : public testing::TestWithParam<NumberSort> {};

TEST_P(SortedByNumber, NumbersFirstThenNamesInNaturalOrder) {
    const NumberSort& c = GetParam();
    //                                  0         1        2         3          4        5
    FileList list = list_of("/m", {"b10.txt", "b9.txt", "c.txt", "folder", "a.txt", "b9.txt"});
    const std::vector<FileFacts> facts = {{300, 5},          {300, 7},           {20, 7},
                                          {unknown_fact, 1}, {20, unknown_fact}, {300, 5}};
    for (int row = 0; row < list.item_count(); ++row)
        list.set_file_facts(row, facts[static_cast<std::size_t>(row)]);
    // Rows 1 and 5 (equal names and sizes) keep their order both ways.
    EXPECT_EQ(rows_sorted_by(list, c.column, c.descending), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortedByNumber,
    testing::Values(
        // The folder's unknown size below every size; 20: a < c; 300: b9, b9, b10.
        NumberSort{"size_up", Column::size, false, {3, 4, 2, 1, 5, 0}},
        // Numbers reversed, names still in natural order.
        NumberSort{"size_down", Column::size, true, {1, 5, 0, 4, 2, 3}},
        NumberSort{"time_up", Column::modified, false, {4, 3, 5, 0, 1, 2}},
        NumberSort{"time_down", Column::modified, true, {1, 2, 5, 0, 3, 4}}),
    [](const auto& param_info) { return std::string(param_info.param.what); });

TEST(Reorder, EveryCellFollowsItsRowAndTheObserverHearsTheOrder) {
    FileList list = list_of("/m", {"a", "b", "c"});
    list.append_items({"/n/", "/n/"}, {{"d", "d"}});
    list.new_names()[0] = "A";
    list.set_cell(0, Column::new_name, "A");
    list.set_rename_status(1, "ok", StatusImage::success);
    std::vector<RowsChange> heard;
    std::vector<Order> orders;
    list.set_rows_observer([&](const RowsChange& change) {
        heard.push_back(change);
        orders.emplace_back(change.order.begin(), change.order.end());
    });
    const Order order{3, 0, 2, 1};
    ASSERT_TRUE(list.reorder(order));
    const std::vector<std::string> names{list.old_names().begin(), list.old_names().end()};
    EXPECT_EQ(names, (std::vector<std::string>{"d", "a", "c", "b"}));
    EXPECT_EQ(list.new_names()[1], "A");
    EXPECT_EQ(list.get_cell(1, Column::new_name), "A");
    EXPECT_EQ(list.status_image(3), StatusImage::success);
    EXPECT_EQ(list.item_folder(0).text, "/n/");
    EXPECT_EQ(list.fs_name(0), "d");
    ASSERT_EQ(heard.size(), 2U);
    EXPECT_FALSE(heard[0].done);
    EXPECT_TRUE(heard[1].done);
    EXPECT_EQ(orders[0], order);
    EXPECT_EQ(orders[1], order);
}

TEST(Reorder, AnythingButAPermutationChangesNothing) {
    FileList list = list_of("/m", {"a", "b", "c"});
    for (const Order& bad : {Order{0, 1}, Order{0, 1, 1}, Order{0, 1, 3}, Order{-1, 0, 1}})
        EXPECT_FALSE(list.reorder(bad));
    EXPECT_EQ(list.old_names()[0], "a");
    EXPECT_EQ(list.old_names()[2], "c");
}

}  // namespace
}  // namespace varnel
