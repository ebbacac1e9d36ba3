// SPDX-License-Identifier: GPL-3.0-or-later
// The columns 大小 and 修改时间: the values read from the files of the rows,
// whatever their folders and order, and the size as people read it.

#include "filelist/row_facts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "filelist/list_order.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

struct SizeCase {
    std::int64_t bytes;
    const char* text;
};

TEST(FileSizeText, UnitsRoundingAndUnknown) {
    const std::vector<SizeCase> cases = {
        {unknown_fact, ""},
        {0, "0 B"},
        {1023, "1023 B"},
        {1024, "1.0 KB"},
        {1536, "1.5 KB"},
        {3'355'443, "3.2 MB"},          // 3.2 MiB
        {102'348, "99.9 KB"},           // 99.949 KiB: still a decimal
        {102'360, "100 KB"},            // 99.96 KiB rounds to 100: none
        {1'048'524, "1.0 MB"},          // 1023.96 KiB would show 1024.0 KB
        {5'368'709'120, "5.0 GB"},      //
        {1'649'267'441'664, "1.5 TB"},  //
        {9'223'372'036'854'775'807, "8.0 EB"},
    };
    for (const SizeCase& c : cases) EXPECT_EQ(file_size_text(c.bytes), c.text) << c.bytes;
}

class RowFacts : public testing::Test {
protected:
    // Sets the modification time of `name` in `dir` to `seconds` after 2020-01-01 00:00 UTC.
    static void stamp(const TempDir& dir, const std::string& name, int seconds) {
        const auto since_epoch = std::chrono::seconds(1'577'836'800 + seconds);
        const auto system_time = std::chrono::system_clock::time_point(since_epoch);
        fs::last_write_time(dir.path() + name, fs::file_time_type::clock::from_sys(system_time));
    }
    static std::int64_t ns_of(int seconds) { return (1'577'836'800LL + seconds) * 1'000'000'000LL; }

    TempDir a;
    TempDir b;
};

TEST_F(RowFacts, EachRowGetsItsOwnFileWhateverTheFolderAndOrder) {
    a.write_file("x.txt", std::string(10, 'x'));
    a.write_file("y.txt", std::string(2000, 'y'));
    b.write_file("x.txt", "");  // same name, other folder
    fs::create_directory(a.path() + "sub");
    stamp(a, "x.txt", 30);
    stamp(a, "y.txt", 10);
    stamp(b, "x.txt", 20);
    stamp(a, "sub", 40);
    FileList list;
    list.append_items({a.path(), a.path()}, {{"x.txt", "x.txt"}, {"sub", "sub"}});
    list.append_items({b.path(), b.path()}, {{"x.txt", "x.txt"}, {"gone", "gone"}});
    list.append_items({a.path(), a.path()}, {{"y.txt", "y.txt"}});
    // Folders mixed by the order, as after a sort.
    ASSERT_TRUE(list.reorder(std::vector<int>{4, 2, 0, 3, 1}));
    std::vector<CellChange> told;
    list.set_cell_observer([&told](const CellChange& change) { told.push_back(change); });

    read_row_facts(list);

    struct Expected {
        std::int64_t size;
        std::int64_t modified_ns;
    };
    const std::vector<Expected> expected = {
        {2000, ns_of(10)},             // a/y.txt
        {0, ns_of(20)},                // b/x.txt
        {10, ns_of(30)},               // a/x.txt
        {unknown_fact, unknown_fact},  // b/gone
        {unknown_fact, ns_of(40)},     // a/sub: a folder has no size
    };
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(list.file_facts(row).size, expected[static_cast<std::size_t>(row)].size) << row;
        EXPECT_EQ(list.file_facts(row).modified_ns,
                  expected[static_cast<std::size_t>(row)].modified_ns)
            << row;
    }
    // One change for all rows, of the two columns only.
    ASSERT_EQ(told.size(), 1U);
    EXPECT_EQ(told[0].first_row, 0);
    EXPECT_EQ(told[0].last_row, 4);
    EXPECT_EQ(told[0].first, Column::size);
    EXPECT_EQ(told[0].last, Column::modified);
    // Not texts: the filter and the text sort never see them.
    EXPECT_EQ(list.get_cell(0, Column::size), "");
}

TEST_F(RowFacts, OnlyTheRowsGivenAreReadAndAMissingFolderGivesUnknown) {
    a.write_file("old.txt", "12345");
    a.write_file("new.txt", "123");
    FileList list;
    list.append_items({a.path(), a.path()}, {{"old.txt", "old.txt"}});
    read_row_facts(list);
    a.write_file("old.txt", "1234567");  // grows behind the list
    list.append_items({a.path(), a.path()}, {{"new.txt", "new.txt"}});
    list.append_items({"/no/such/folder/", "/no/such/folder/"}, {{"f", "f"}});
    list.set_file_facts(2, FileFacts{1, 1, 1});
    read_row_facts(list, 1, 2);
    EXPECT_EQ(list.file_facts(0).size, 5);  // kept as first read
    EXPECT_EQ(list.file_facts(1).size, 3);
    EXPECT_EQ(list.file_facts(2), (FileFacts{1, 1, 1}));  // past the end given
    read_row_facts(list, 2);
    EXPECT_EQ(list.file_facts(2), FileFacts{});
    read_row_facts(list, 99);  // nothing to read
    read_row_facts(list);
    EXPECT_EQ(list.file_facts(0).size, 7);
}

}  // namespace
}  // namespace varnel
