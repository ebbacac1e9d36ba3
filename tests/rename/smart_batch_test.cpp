// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <ostream>

#include "platform/folder_listing.h"
#include "rename/renamer.h"
#include "support/list_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::list_of;

// Files named by `names`, each holding its own name; renamed by numbering
// from `start`, so that the order of `names` makes chains and cycles.
struct SmartBatchCase {
    const char* what;
    std::vector<std::string> names;
    const char* start;
    std::vector<std::string> expected_new;  // name each file ends under
    int in_order_successes;                 // what the row-by-row order manages
};

// Test names and their printed parameter are the case's `what`, so they stay
// the same from run to run.
void PrintTo(const SmartBatchCase& c, std::ostream* out) {
    *out << c.what;
}

std::string case_name(const ::testing::TestParamInfo<SmartBatchCase>& info) {
    std::string name = info.param.what;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class SmartBatchTest : public ::testing::TestWithParam<SmartBatchCase> {};

std::vector<std::string> sorted_listing(const std::string& folder) {
    auto names = list_folder_files(folder).value();
    std::sort(names.begin(), names.end());
    return names;
}

// The case's files written into `dir`, listed.
FileList write_case(const SmartBatchCase& c, const test::TempDir& dir) {
    for (const std::string& name : c.names) dir.write_file(name, "was " + name);
    return list_of(dir.path(), c.names);
}

// The case's numbering run over `list` in `order`, asking `cancelled`.
BatchOutcome rename_case(const SmartBatchCase& c, FileList& list, UndoLog& log, RenameOrder order,
                         const std::function<bool(int, int)>& cancelled = {}) {
    RulePages pages;
    pages.number.start = c.start;
    BatchHooks hooks;
    hooks.order = order;
    hooks.cancelled = cancelled;
    return rename_items(list, pages, log, Codec(), hooks);
}

TEST_P(SmartBatchTest, RenamesEveryFileWithoutLossAndUndoesEveryName) {
    const SmartBatchCase& c = GetParam();
    for (const RenameOrder order : {RenameOrder::in_order, RenameOrder::smart}) {
        test::TempDir dir;
        FileList list = write_case(c, dir);
        const auto before = sorted_listing(dir.path());
        UndoLog log;
        const Codec codec;
        const BatchOutcome done = rename_case(c, list, log, order);
        EXPECT_EQ(sorted_listing(dir.path()).size(), before.size()) << c.what;
        if (order == RenameOrder::in_order) {
            EXPECT_EQ(done.successes, c.in_order_successes) << c.what;
        } else {
            EXPECT_TRUE(done.all_succeeded()) << c.what;
            for (std::size_t i = 0; i < c.names.size(); ++i) {
                EXPECT_EQ(dir.read_file(c.expected_new[i]), "was " + c.names[i]) << c.what;
                EXPECT_EQ(list.old_names()[i], c.expected_new[i]) << c.what;
            }
        }
        const BatchOutcome undone = undo_rename(list, log, codec, {});
        if (order == RenameOrder::smart) {
            EXPECT_TRUE(undone.all_succeeded()) << c.what;
            EXPECT_EQ(sorted_listing(dir.path()), before) << c.what;
            for (const std::string& name : c.names)
                EXPECT_EQ(dir.read_file(name), "was " + name) << c.what;
        }
    }
}

// 取消 at the first chance leaves every file under its old name or its new
// one, none under a temporary name, and the undo brings back what was done.
TEST_P(SmartBatchTest, CancelledBatchLeavesEveryFileNamedAndUndoable) {
    const SmartBatchCase& c = GetParam();
    for (const RenameOrder order : {RenameOrder::in_order, RenameOrder::smart}) {
        SCOPED_TRACE(order == RenameOrder::smart ? "smart order" : "in order");
        test::TempDir dir;
        FileList list = write_case(c, dir);
        const auto before = sorted_listing(dir.path());
        UndoLog log;
        const Codec codec;
        const BatchOutcome done = rename_case(c, list, log, order, [](int, int) { return true; });
        EXPECT_LE(done.count, static_cast<int>(c.names.size())) << c.what;
        const auto now = sorted_listing(dir.path());
        for (const std::string& name : now)
            EXPECT_TRUE(
                std::ranges::count(c.names, name) + std::ranges::count(c.expected_new, name) > 0)
                << c.what << ": " << name;
        const auto holds = [&](const std::string& name, const std::string& content) {
            return std::ranges::count(now, name) > 0 && dir.read_file(name) == content;
        };
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            const std::string content = "was " + c.names[i];
            EXPECT_TRUE(holds(c.names[i], content) || holds(c.expected_new[i], content))
                << c.what << ": " << c.names[i];
        }
        const BatchOutcome undone = undo_rename(list, log, codec, {});
        EXPECT_TRUE(undone.all_succeeded()) << c.what;
        EXPECT_EQ(sorted_listing(dir.path()), before) << c.what;
        for (const std::string& name : c.names)
            EXPECT_EQ(dir.read_file(name), "was " + name) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ChainsAndCycles, SmartBatchTest,
    ::testing::Values(
        SmartBatchCase{"swap", {"1.txt", "0.txt"}, "0", {"0.txt", "1.txt"}, 0},
        SmartBatchCase{
            "three-cycle", {"1.txt", "2.txt", "0.txt"}, "0", {"0.txt", "1.txt", "2.txt"}, 0},
        SmartBatchCase{"chain", {"0.txt", "1.txt", "2.txt"}, "1", {"1.txt", "2.txt", "3.txt"}, 1},
        SmartBatchCase{"chain beside a free item",
                       {"0.txt", "1.txt", "x.txt"},
                       "1",
                       {"1.txt", "2.txt", "3.txt"},
                       2}),
    case_name);

TEST(SmartBatch, ASwapOfFilesAddedAtDifferentTimesStillSwaps) {
    test::TempDir dir;
    dir.write_file("1.txt", "one");
    dir.write_file("0.txt", "zero");
    FileList list = list_of(dir.path(), {"1.txt"});
    list.append_items(ItemFolder{dir.path(), dir.path()}, {{"0.txt", "0.txt"}});
    RulePages pages;
    UndoLog log;
    const Codec codec;
    BatchHooks hooks;
    hooks.order = RenameOrder::smart;
    EXPECT_TRUE(rename_items(list, pages, log, codec, hooks).all_succeeded());
    EXPECT_EQ(dir.read_file("0.txt"), "one");
    EXPECT_EQ(dir.read_file("1.txt"), "zero");
}

// On a file system that swaps names (the test folder is on ext4 or tmpfs) a
// cycle is made of swaps: no temporary name ever exists.
TEST(SmartBatch, TheJournalHoldsEverySwapAndUndoesACycleLastFirst) {
    test::TempDir dir;
    for (const char* name : {"1.txt", "2.txt", "0.txt"}) dir.write_file(name, name);
    FileList list = list_of(dir.path(), {"1.txt", "2.txt", "0.txt"});
    RulePages pages;
    UndoLog log;
    const Codec codec;
    BatchHooks hooks;
    hooks.order = RenameOrder::smart;
    hooks.keep_undo_log = false;
    std::vector<UndoEntry> journal;
    hooks.before_renames = [&](std::span<const UndoEntry> entries) {
        journal.insert(journal.end(), entries.begin(), entries.end());
        return 0;
    };
    hooks.before_claim = [](std::size_t, const std::string& name) {
        ADD_FAILURE() << "claimed " << name;
        return 0;
    };
    ASSERT_TRUE(rename_items(list, pages, log, codec, hooks).all_succeeded());
    ASSERT_EQ(journal.size(), 2u);  // a cycle of three is two swaps
    for (const UndoEntry& e : journal) {
        EXPECT_TRUE(e.exchange);
        EXPECT_FALSE(e.renamed_fs_name.starts_with(".varnel"));
    }
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
    EXPECT_EQ(dir.read_file("0.txt"), "1.txt");
    EXPECT_EQ(dir.read_file("2.txt"), "0.txt");
    EXPECT_EQ(std::vector<std::string>(list.old_names().begin(), list.old_names().end()),
              (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
    EXPECT_TRUE(log.entries.empty());
    EXPECT_TRUE(undo_entries(journal, codec, {}).all_succeeded());
    for (const char* name : {"1.txt", "2.txt", "0.txt"}) EXPECT_EQ(dir.read_file(name), name);
}

}  // namespace
}  // namespace varnel
