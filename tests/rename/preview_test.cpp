// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/preview.h"

#include <gtest/gtest.h>

#include "support/list_builder.h"

namespace varnel {
namespace {

using test::list_of;
using test::new_name_cells;

const Codec names_codec;

FileList numbered_list(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("f" + std::to_string(i) + ".txt");
    return list_of("/tmp", names);
}

int filled_rows(const FileList& list) {
    int filled = 0;
    for (const std::string& cell : new_name_cells(list)) filled += cell.empty() ? 0 : 1;
    return filled;
}

TEST(Preview, AutomaticRefreshDoesNothingWhileAutoPreviewIsOff) {
    FileList list = numbered_list(5);
    const ListChange change =
        refresh_preview(list, RulePages{}, PreviewSettings{}, false, names_codec);
    EXPECT_GT(change.first_row, change.last_row);
    EXPECT_EQ(filled_rows(list), 0);
}

TEST(Preview, ExplicitCommandComputesEverythingEvenWithAutoPreviewOff) {
    FileList list = numbered_list(12);
    refresh_preview(list, RulePages{}, PreviewSettings{false, false, 3}, true, names_codec);
    EXPECT_EQ(filled_rows(list), 12);
    EXPECT_EQ(list.get_cell(11, Column::new_name), "11.txt");
}

TEST(Preview, CountLimitsAndStaleNamesAreWiped) {
    FileList list = numbered_list(120);
    const PreviewSettings all{true, true, 50};
    refresh_preview(list, RulePages{}, all, false, names_codec);
    EXPECT_EQ(filled_rows(list), 120);

    const ListChange change =
        refresh_preview(list, RulePages{}, PreviewSettings{true, false, 50}, false, names_codec);
    EXPECT_EQ(filled_rows(list), 50);
    EXPECT_EQ(list.get_cell(49, Column::new_name), "49.txt");
    EXPECT_EQ(list.get_cell(50, Column::new_name), "");
    EXPECT_EQ(change.first_row, 0);
    EXPECT_EQ(change.last_row, 119);
}

TEST(Preview, CleanupStopsAtTheFirstEmptyCell) {
    FileList list = numbered_list(6);
    refresh_preview(list, RulePages{}, PreviewSettings{true, true, 0}, false, names_codec);
    list.set_cell(3, Column::new_name, "");
    refresh_preview(list, RulePages{}, PreviewSettings{true, false, 1}, false, names_codec);
    EXPECT_EQ(new_name_cells(list),
              (std::vector<std::string>{"0.txt", "", "", "", "4.txt", "5.txt"}));
}

TEST(Preview, CountZeroClearsFromRowZero) {
    FileList list = numbered_list(3);
    refresh_preview(list, RulePages{}, PreviewSettings{true, true, 0}, false, names_codec);
    const ListChange change =
        refresh_preview(list, RulePages{}, PreviewSettings{true, false, 0}, false, names_codec);
    EXPECT_EQ(filled_rows(list), 0);
    EXPECT_EQ(change.first_row, 0);
    EXPECT_EQ(change.last_row, 2);
}

TEST(Preview, TagPageAlwaysCoversTheWholeList) {
    FileList list = numbered_list(20);
    RulePages pages;
    pages.active = RulePage::tags;
    pages.tags.tag_template = "#1";
    const ListChange change =
        refresh_preview(list, pages, PreviewSettings{true, false, 5}, false, names_codec);
    EXPECT_EQ(change.last_row, 19);
    for (int row = 0; row < 20; ++row)  // none is an MP3 file
        EXPECT_EQ(list.get_cell(row, Column::tag_status), tag_status_not_mp3());
}

TEST(Preview, RefreshClearsTheLastBatchStatus) {
    FileList list = numbered_list(3);
    list.set_rename_status(0, "done", StatusImage::success);
    list.set_rename_status(2, "failed", StatusImage::failure);
    const ListChange change =
        refresh_preview(list, RulePages{}, PreviewSettings{true, false, 1}, false, names_codec);
    EXPECT_TRUE(change.status_reset);
    EXPECT_EQ(list.get_cell(2, Column::rename_status), "");
    EXPECT_EQ(list.status_image(2), StatusImage::none);
}

TEST(Preview, DispatchUsesTheActivePage) {
    FileList list = list_of("/tmp", {"My Song.mp3"});
    RulePages pages;
    pages.active = RulePage::letter_case;
    EXPECT_EQ(dispatch_rule(list, pages, 99, names_codec), 1);
    EXPECT_EQ(list.new_names()[0], "MY SONG.MP3");
    pages.active = RulePage::replace;
    pages.replace.find = " ";
    pages.replace.with = "_";
    dispatch_rule(list, pages, 1, names_codec);
    EXPECT_EQ(list.new_names()[0], "My_Song.mp3");
}

// A pattern whose result passes the name limit marks that row 名称过长 and
// leaves the others; the next preview, with a fitting replacement, takes
// the mark away again.
TEST(Preview, RegexFaultsAreMarkedAndClearedByTheNextPreview) {
    FileList list = list_of("/tmp", {"b.txt", "ab.txt", "c.txt"});
    RulePages pages;
    pages.active = RulePage::replace;
    pages.replace = ReplaceOptions{"a", std::string(300, 'x'), true, NameScope::main_name, true};
    const PreviewSettings settings{true, true, 10};
    const ListChange change = refresh_preview(list, pages, settings, false, names_codec);
    EXPECT_EQ(change.rule_error, "");
    const std::string too_long = names_codec.from_utf8_lossy("名称过长");
    EXPECT_EQ(list.get_cell(1, Column::rename_status), too_long);
    EXPECT_EQ(list.status_image(1), StatusImage::failure);
    EXPECT_EQ(list.get_cell(1, Column::new_name), "ab.txt");
    EXPECT_EQ(list.get_cell(0, Column::rename_status), "");
    pages.replace.with = "y";
    refresh_preview(list, pages, settings, false, names_codec);
    EXPECT_EQ(list.get_cell(1, Column::rename_status), "");
    EXPECT_EQ(list.status_image(1), StatusImage::none);
    EXPECT_EQ(list.get_cell(1, Column::new_name), "yb.txt");
}

}  // namespace
}  // namespace varnel
