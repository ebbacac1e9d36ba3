// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/list_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/list_builder.h"

namespace varnel {
namespace {

using test::list_of;

std::vector<std::string> old_names(const FileList& list) {
    return {list.old_names().begin(), list.old_names().end()};
}

// Matches names that start with `prefix`.
NameMatch starts_with(std::string prefix) {
    return [prefix](std::string_view name) { return name.starts_with(prefix); };
}

TEST(FilterItems, RemoveTakesEveryMatchIncludingNeighboursAndKeepsOrder) {
    FileList list = list_of("/d", {"a1", "a2", "b1", "a3", "b2", "a1"});
    EXPECT_EQ(filter_items(list, FilterOperation::remove, starts_with("a")), 4);
    EXPECT_EQ(old_names(list), (std::vector<std::string>{"b1", "b2"}));
}

TEST(FilterItems, KeepTakesEveryItemThatDoesNotMatch) {
    FileList list = list_of("/d", {"b0", "a1", "b1", "b2", "a2"});
    EXPECT_EQ(filter_items(list, FilterOperation::keep, starts_with("a")), 3);
    EXPECT_EQ(old_names(list), (std::vector<std::string>{"a1", "a2"}));
}

TEST(FilterItems, CanEmptyTheListOrLeaveItWhole) {
    FileList all_match = list_of("/d", {"a1", "a2"});
    EXPECT_EQ(filter_items(all_match, FilterOperation::remove, starts_with("a")), 2);
    EXPECT_EQ(all_match.item_count(), 0);

    FileList none_match = list_of("/d", {"b1", "b2"});
    EXPECT_EQ(filter_items(none_match, FilterOperation::remove, starts_with("a")), 0);
    EXPECT_EQ(old_names(none_match), (std::vector<std::string>{"b1", "b2"}));
    EXPECT_EQ(filter_items(none_match, FilterOperation::keep, starts_with("a")), 2);
    EXPECT_EQ(none_match.item_count(), 0);
}

TEST(FilterItems, TestsOnlyOldNamesEachOnce) {
    FileList list = list_of("/a/", {"x", "y", "z"});
    list.new_names()[1] = "a-new";
    list.set_cell(2, Column::new_name, "a-cell");
    std::vector<std::string> seen;
    const NameMatch record = [&seen](std::string_view name) {
        seen.emplace_back(name);
        return name.find('a') != std::string_view::npos;  // folder, new names, cells
    };
    EXPECT_EQ(filter_items(list, FilterOperation::remove, record), 0);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"x", "y", "z"}));
}

TEST(FilterItems, RemainingItemsKeepTheirCellsAndSelection) {
    FileList list = list_of("/d", {"a1", "b1", "a2", "b2"});
    list.new_names()[1] = "new-b1";
    list.new_names()[3] = "new-b2";
    list.set_cell(3, Column::tag_status, "mark");
    list.select_row(0);
    list.select_row(3);
    filter_items(list, FilterOperation::remove, starts_with("a"));
    ASSERT_EQ(list.item_count(), 2);
    EXPECT_EQ(list.new_names()[0], "new-b1");
    EXPECT_EQ(list.new_names()[1], "new-b2");
    EXPECT_EQ(list.get_cell(1, Column::tag_status), "mark");
    EXPECT_EQ(list.selected_count(), 1);
    EXPECT_EQ(list.first_selected_row(), 1);
}

TEST(FilterItems, EmptyListCallsNoTest) {
    FileList list;
    int calls = 0;
    const NameMatch count = [&calls](std::string_view) { return ++calls > 0; };
    EXPECT_EQ(filter_items(list, FilterOperation::keep, count), 0);
    EXPECT_EQ(calls, 0);
}

TEST(FilterOperationIndex, OnlyTheTwoEntriesAreOperations) {
    EXPECT_EQ(filter_operation(0), FilterOperation::remove);
    EXPECT_EQ(filter_operation(1), FilterOperation::keep);
    EXPECT_EQ(filter_operation(-1), std::nullopt);
    EXPECT_EQ(filter_operation(2), std::nullopt);
}

TEST(CheckFilter, MissingOperationIsReportedBeforeAnEmptyText) {
    EXPECT_EQ(check_filter(std::nullopt, FilterBy::extension, ""), FilterProblem::no_operation);
    EXPECT_EQ(check_filter(std::nullopt, FilterBy::contained_text, "x"),
              FilterProblem::no_operation);
    EXPECT_EQ(check_filter(std::nullopt, FilterBy::none, ""), FilterProblem::no_operation);
}

TEST(CheckFilter, EmptyTextIsReportedForTheChosenCriterionOnly) {
    const auto keep = FilterOperation::keep;
    EXPECT_EQ(check_filter(keep, FilterBy::extension, ""), FilterProblem::empty_extension);
    EXPECT_EQ(check_filter(keep, FilterBy::contained_text, ""),
              FilterProblem::empty_contained_text);
    EXPECT_EQ(check_filter(keep, FilterBy::none, ""), FilterProblem::none);
    EXPECT_EQ(check_filter(FilterOperation::remove, FilterBy::extension, " "), FilterProblem::none);
    EXPECT_EQ(check_filter(keep, FilterBy::contained_text, "a"), FilterProblem::none);
}

}  // namespace
}  // namespace varnel
