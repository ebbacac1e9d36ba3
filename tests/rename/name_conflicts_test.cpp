// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/name_conflicts.h"

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "support/exfat_mount.h"
#include "support/list_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::list_of;
constexpr auto none = NameConflict::none;
constexpr auto same = NameConflict::same_name;
constexpr auto exists = NameConflict::target_exists;

struct Case {
    const char* what;
    std::vector<std::string> old_names;
    std::vector<std::string> new_names;
    std::vector<std::string> others;  // entries of the folder outside the list
    bool case_insensitive;
    RenameOrder order;
    std::vector<NameConflict> expected;
};

std::vector<NameConflict> conflicts_of(const Case& c) {
    FileList list = list_of("/d", c.old_names);
    for (std::size_t i = 0; i < c.new_names.size(); ++i) list.new_names()[i] = c.new_names[i];
    FolderNames folder{c.old_names, c.case_insensitive};
    folder.names.insert(folder.names.end(), c.others.begin(), c.others.end());
    int reads = 0;
    const Codec codec;
    auto out = find_name_conflicts(list, static_cast<int>(c.new_names.size()), c.order, codec,
                                   [&](const std::string& path) {
                                       ++reads;
                                       EXPECT_EQ(path, "/d/");
                                       return std::make_shared<const FolderNames>(folder);
                                   });
    EXPECT_EQ(reads, 1) << c.what;
    return out;
}

TEST(NameConflicts, MarksClashesAndExistingTargetsAsTheBatchWillMeetThem) {
    const auto in_order = RenameOrder::in_order;
    const auto smart = RenameOrder::smart;
    const std::vector<Case> cases = {
        {"no conflict", {"a", "b"}, {"x", "y"}, {"z"}, false, in_order, {none, none}},
        {"same new name",
         {"a", "b", "c"},
         {"x", "x", "y"},
         {},
         false,
         in_order,
         {same, same, none}},
        {"unchanged name taken by another",
         {"a", "b"},
         {"a", "a"},
         {},
         false,
         in_order,
         {same, same}},
        {"existing file stays", {"a"}, {"z"}, {"z"}, false, in_order, {exists}},
        {"folder entry of other case", {"a"}, {"z"}, {"Z"}, false, in_order, {none}},
        {"folder entry of other case, folding", {"a"}, {"z"}, {"Z"}, true, in_order, {exists}},
        {"case-only rename, folding", {"abc"}, {"ABC"}, {}, true, in_order, {none}},
        {"freed by an earlier row", {"b", "a"}, {"c", "b"}, {}, false, in_order, {none, none}},
        {"freed only later in order", {"a", "b"}, {"b", "c"}, {}, false, in_order, {exists, none}},
        {"freed later, smart order", {"a", "b"}, {"b", "c"}, {}, false, smart, {none, none}},
        {"swap, smart order", {"a", "b"}, {"b", "a"}, {}, false, smart, {none, none}},
        {"swap, in order", {"a", "b"}, {"b", "a"}, {}, false, in_order, {exists, none}},
        {"only previewed rows", {"a", "b", "c"}, {"x"}, {}, false, in_order, {none}},
        {"names no file can have",
         {"a", "b", "c", "d", "e", "f", "g", "h"},
         {"", "", ".", "..", "x/y", std::string("x\0y", 3), std::string(256, 'n'),
          std::string(255, 'n')},
         {},
         false,
         in_order,
         {NameConflict::empty_name, NameConflict::empty_name, NameConflict::dots,
          NameConflict::dots, NameConflict::separator, NameConflict::separator,
          NameConflict::too_long, none}},
    };
    for (const Case& c : cases) EXPECT_EQ(conflicts_of(c), c.expected) << c.what;
}

TEST(NameConflicts, RowsAddedAtDifferentTimesShareTheirFolder) {
    FileList list = list_of("/d", {"a"});
    list.append_items(ItemFolder{"/d/", "/d/"}, {{"b", "b"}});
    list.new_names()[0] = "x";
    list.new_names()[1] = "x";
    const Codec codec;
    int reads = 0;
    const auto conflicts =
        find_name_conflicts(list, 2, RenameOrder::in_order, codec, [&](const std::string&) {
            ++reads;
            return std::make_shared<const FolderNames>(FolderNames{{"a", "b"}, false});
        });
    EXPECT_EQ(conflicts, (std::vector<NameConflict>{same, same}));
    EXPECT_EQ(reads, 1);
}

// The length that counts is the name's length on disk: 86 characters of
// two GB18030 bytes each are 258 bytes in UTF-8.
TEST(NameConflicts, NameLengthCountsTheBytesWrittenToDisk) {
    const Codec codec;
    FileList list = list_of("/d", {"a", "b"});
    std::string chars85;
    for (int i = 0; i < 85; ++i) chars85 += "名";
    list.new_names()[0] = codec.from_utf8(chars85).value();
    list.new_names()[1] = codec.from_utf8(chars85 + "名").value();
    ASSERT_LT(list.new_names()[1].size(), 255u);
    const auto conflicts =
        find_name_conflicts(list, 2, RenameOrder::in_order, codec, [](const std::string&) {
            return std::make_shared<const FolderNames>(FolderNames{{"a", "b"}, false});
        });
    EXPECT_EQ(conflicts, (std::vector<NameConflict>{none, NameConflict::too_long}));
}

// Rows of two folders, interleaved and added one at a time: equal new names
// in different folders do not clash; within a folder a clash and an
// existing entry are found among a thousand names, each folder read once.
TEST(NameConflicts, InterleavedFoldersAreJudgedEachOnItsOwn) {
    FileList list;
    for (int i = 0; i < 2000; ++i) {
        const std::string folder = i % 2 == 0 ? "/p/" : "/q/";
        const std::string name = "old" + std::to_string(i);
        list.append_items(ItemFolder{folder, folder}, {{name, name}});
        list.new_names()[static_cast<std::size_t>(i)] = "new" + std::to_string(i / 2);
    }
    list.new_names()[1998] = "new7";  // a second new7 in /p
    std::map<std::string, int> reads;
    const Codec codec;
    const auto conflicts = find_name_conflicts(
        list, 2000, RenameOrder::in_order, codec, [&](const std::string& folder) {
            ++reads[folder];
            std::vector<std::string> names{folder == "/q/" ? "new500" : "unrelated"};
            return std::make_shared<const FolderNames>(FolderNames{names, false});
        });
    std::vector<NameConflict> expected(2000, none);
    expected[14] = same;      // /p: new7
    expected[1998] = same;    // /p: new7 again
    expected[1001] = exists;  // /q: new500 is on disk
    EXPECT_EQ(conflicts, expected);
    EXPECT_EQ(reads, (std::map<std::string, int>{{"/p/", 1}, {"/q/", 1}}));
}

TEST(NameConflicts, ShownInTheStatusColumnAndClearedWhenGone) {
    const Codec codec;
    FileList list = list_of("/d", {"a", "b", "c", "d"});
    list.set_rename_status(3, "更名成功", StatusImage::success);
    show_name_conflicts(list, {same, same, exists, none});
    EXPECT_EQ(list.get_cell(0, Column::rename_status), conflict_same_name());
    EXPECT_EQ(list.get_cell(2, Column::rename_status), conflict_target_exists());
    EXPECT_EQ(list.status_image(2), StatusImage::failure);
    EXPECT_EQ(list.get_cell(3, Column::rename_status), "更名成功");
    show_name_conflicts(list, {NameConflict::empty_name});
    EXPECT_EQ(codec.to_utf8(list.get_cell(0, Column::rename_status)), "新名称为空");
    show_name_conflicts(list, {none});  // a shorter preview
    for (int row : {0, 1, 2}) EXPECT_EQ(list.get_cell(row, Column::rename_status), "") << row;
    EXPECT_EQ(list.get_cell(3, Column::rename_status), "更名成功");
}

TEST(FolderNames, ListsEveryEntryOnceAndSeesCaseSensitivity) {
    test::TempDir dir;
    dir.write_file("Track.mp3", "x");
    dir.write_file(".hidden", "x");
    ASSERT_EQ(mkdir((dir.path() + "/Sub").c_str(), 0700), 0);
    const auto folder = read_folder_names(dir.path());
    ASSERT_TRUE(folder);
    auto names = folder->names;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "Sub", "Track.mp3"}));
    EXPECT_FALSE(folder->case_insensitive);
    EXPECT_FALSE(read_folder_names(dir.path() + "/missing"));
}

TEST(FolderNames, AnExfatMountFoldsCaseAndTheMarksFollowIt) {
    test::ExfatMount exfat;
    if (!exfat.mounted()) GTEST_SKIP() << "cannot mount an exFAT image through FUSE here";
    for (const char* name : {"Song.MP3", "b.mp3"}) {
        std::FILE* file = std::fopen((exfat.mount_point() + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
    }
    const auto folder = read_folder_names(exfat.mount_point());
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->case_insensitive);
    FileList list = list_of(exfat.mount_point(), {"b.mp3"});
    list.new_names()[0] = "song.mp3";
    const Codec codec;
    EXPECT_EQ(find_name_conflicts(list, 1, RenameOrder::in_order, codec, read_shared_folder_names),
              std::vector<NameConflict>{exists});
}

}  // namespace
}  // namespace varnel
