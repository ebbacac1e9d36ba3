// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/renamer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "filelist/item_names.h"
#include "platform/folder_listing.h"
#include "rename/batch_texts.h"
#include "support/list_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::list_of;
using test::TempDir;

class RenamerTest : public ::testing::Test {
protected:
    // Creates each file with its own name as content, and a list of them.
    FileList files(const std::vector<std::string>& names) {
        for (const std::string& name : names) dir.write_file(name, name);
        return list_of(dir.path(), names);
    }

    BatchOutcome rename(FileList& list) { return rename_items(list, pages, log, codec, nullptr); }

    TempDir dir;
    Codec codec;
    RulePages pages;
    UndoLog log;
};

TEST_F(RenamerTest, DefaultNumberingRenamesEveryFile) {
    FileList list = files({"a.txt", "b.txt", "c.txt"});
    const BatchOutcome outcome = rename(list);
    EXPECT_TRUE(outcome.all_succeeded());
    EXPECT_EQ(outcome.summary, texts::rename_all_done());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
    EXPECT_EQ(dir.read_file("1.txt"), "b.txt");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list.get_cell(row, Column::rename_status), texts::rename_succeeded());
        EXPECT_EQ(list.status_image(row), StatusImage::success);
    }
    EXPECT_EQ(list.get_cell(2, Column::old_name), "2.txt");
    EXPECT_EQ(log.entries[0].name, "a.txt");
}

TEST_F(RenamerTest, SameTargetTwiceFailsTheSecondAndLosesNothing) {
    FileList list = files({"a.txt", "b.txt"});
    pages.number.start = "5";
    pages.number.step = "0";
    const BatchOutcome outcome = rename(list);
    EXPECT_EQ(outcome.successes, 1);
    // "文件总数：2 个文件\r\n\r\n1 个文件更名成功！\r\n1 个文件更名失败！"
    EXPECT_EQ(outcome.summary,
              "\xCE\xC4\xBC\xFE\xD7\xDC\xCA\xFD\xA3\xBA"
              "2 \xB8\xF6\xCE\xC4\xBC\xFE\r\n\r\n"
              "1 \xB8\xF6\xCE\xC4\xBC\xFE\xB8\xFC\xC3\xFB\xB3\xC9\xB9\xA6\xA3\xA1\r\n"
              "1 \xB8\xF6\xCE\xC4\xBC\xFE\xB8\xFC\xC3\xFB\xCA\xA7\xB0\xDC\xA3\xA1");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"5.txt", "b.txt"}));
    EXPECT_EQ(dir.read_file("5.txt"), "a.txt");
    EXPECT_EQ(list.get_cell(1, Column::rename_status), texts::rename_failed());
    EXPECT_EQ(list.status_image(1), StatusImage::failure);
    EXPECT_EQ(list.get_cell(1, Column::new_name), "5.txt");
    EXPECT_EQ(list.get_cell(1, Column::old_name), "b.txt");
    EXPECT_EQ(list.status_reason(1), "File exists");
    EXPECT_EQ(list.status_reason(0), "");
    EXPECT_EQ(log.entries.size(), 1u);
}

TEST_F(RenamerTest, ExistingTargetIsNeverReplaced) {
    FileList list = files({"x.txt"});
    dir.write_file("0.txt", "precious");
    rename(list);
    EXPECT_EQ(dir.read_file("0.txt"), "precious");
    EXPECT_EQ(dir.read_file("x.txt"), "x.txt");
}

TEST_F(RenamerTest, ChainWhoseTargetStillExistsFailsAndUndoRestoresTheRest) {
    // a.txt -> 0.txt fails: 0.txt is still there, it only moves on to 1.txt later.
    FileList list = files({"a.txt", "0.txt"});
    const BatchOutcome outcome = rename(list);
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(list.get_cell(0, Column::rename_status), texts::rename_failed());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"1.txt", "a.txt"}));
    EXPECT_EQ(dir.read_file("1.txt"), "0.txt");

    // The batch renamed one file, and that one comes back: the whole batch
    // is undone. The row whose rename failed had nothing to undo and keeps
    // its mark.
    const BatchOutcome undone = undo_rename(list, log, codec);
    EXPECT_EQ(undone.count, 1);
    EXPECT_EQ(undone.summary, texts::undo_all_done());
    EXPECT_EQ(list.get_cell(0, Column::rename_status), texts::rename_failed());
    EXPECT_EQ(list.get_cell(1, Column::rename_status), texts::undo_succeeded());
    EXPECT_EQ(list.get_cell(1, Column::old_name), "0.txt");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"0.txt", "a.txt"}));
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(RenamerTest, NamesThatWouldLeaveTheFolderFail) {
    ::mkdir((dir.path() + "sub").c_str(), 0755);
    FileList list = files({"sub_a", "xx"});
    pages.active = RulePage::replace;
    pages.replace.find = "_";
    pages.replace.with = "/";
    BatchOutcome outcome = rename(list);
    EXPECT_EQ(list.get_cell(0, Column::rename_status), texts::rename_failed());
    EXPECT_TRUE(dir.exists("sub_a"));
    EXPECT_FALSE(dir.exists("sub/a"));

    pages.replace.find = "xx";
    pages.replace.with = "..";
    outcome = rename(list);
    EXPECT_EQ(list.get_cell(1, Column::rename_status), texts::rename_failed());
    EXPECT_TRUE(dir.exists("xx"));
}

TEST_F(RenamerTest, ProgressGrowsInTwentySquares) {
    FileList list = files({"a", "b", "c", "d", "e", "f", "g"});
    std::vector<std::size_t> shown;
    (void)rename_items(list, pages, log, codec, [&](std::string_view text) {
        shown.push_back(text.size() / texts::progress_square().size());
    });
    EXPECT_EQ(shown, (std::vector<std::size_t>{2, 5, 8, 11, 14, 17, 20}));
}

TEST_F(RenamerTest, UndoFollowsTheFilesNotTheRows) {
    FileList list = files({"a", "b", "c", "d"});
    pages.number.prefix = "n";
    rename(list);  // n0 n1 n2 n3
    ASSERT_EQ(log.entries.size(), 4u);
    list.remove_item(2);  // n0 n2 n3: rows moved up
    dir.write_file("late");
    list.append_items(list.item_folder(0), {ItemName{"late", "late"}});
    // n3 replaced on disk by another file of the same name.
    ::unlink((dir.path() + "n3").c_str());
    dir.write_file("n3", "impostor");

    // The removed row's file comes back too; the replaced one does not, and
    // the summary says which and why.
    const BatchOutcome outcome = undo_rename(list, log, codec);
    EXPECT_EQ(outcome.count, 4);
    EXPECT_EQ(outcome.successes, 3);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a", "b", "c", "late", "n3"}));
    EXPECT_EQ(dir.read_file("b"), "b");
    EXPECT_EQ(dir.read_file("n3"), "impostor");
    EXPECT_EQ(list.get_cell(1, Column::old_name), "c");
    EXPECT_EQ(list.get_cell(2, Column::rename_status), texts::undo_failed());
    const std::string reason = list.status_reason(2);
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(outcome.summary.find(texts::undo_partial_summary(4, 3)), std::string::npos);
    EXPECT_NE(outcome.summary.find(dir.path() + "n3"), std::string::npos) << outcome.summary;
    EXPECT_NE(outcome.summary.find(reason), std::string::npos);
    EXPECT_EQ(list.get_cell(3, Column::rename_status), "");  // "late" was no part of it
    // What failed stays to undo, and only that.
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].renamed_fs_name, "n3");
}

// A batch that could change nothing does not run and keeps the undo of the
// batch before it.
TEST_F(RenamerTest, ABatchThatCannotRunKeepsTheLog) {
    FileList list = files({"a", "b"});
    pages.number.prefix = "n";
    rename(list);
    ASSERT_EQ(log.entries.size(), 2u);
    pages.active = RulePage::replace;
    struct Case {
        const char* what;
        ReplaceOptions replace;
        std::string refused_start;
    };
    const std::vector<Case> cases = {
        {"invalid pattern", {"(n", "x", false, NameScope::both, true}, "正则表达式错误："},
        {"nothing changes", {"zzz", "x", false, NameScope::both, false}, "没有需要更名的文件"},
    };
    for (const Case& c : cases) {
        pages.replace = c.replace;
        const BatchOutcome outcome = rename(list);
        EXPECT_TRUE(codec.to_utf8(outcome.refused).value_or("").starts_with(c.refused_start))
            << c.what;
        EXPECT_EQ(log.entries.size(), 2u) << c.what;
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"n0", "n1"})) << c.what;
    }
}

// Names no file can have fail with their own reasons, in either order, and
// the row is reported (status and the twentieth square of progress).
TEST_F(RenamerTest, ImpossibleNamesFailWithTheirReasonsInBothOrders) {
    struct Case {
        const char* old_name;
        const char* find;
        std::string with;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"e", "e", "", "新名称为空"},
        {"s.txt", "s", "a/b", "名称含有/"},
        {"l", "l", std::string(256, 'x'), "名称过长"},
        {"d", "d", "..", "名称不能是.或.."},
    };
    for (const RenameOrder order : {RenameOrder::in_order, RenameOrder::smart}) {
        for (const Case& c : cases) {
            FileList list = files({c.old_name});
            pages.active = RulePage::replace;
            pages.replace = ReplaceOptions{c.find, c.with, false, NameScope::main_name, false};
            std::string shown;
            BatchHooks hooks;
            hooks.order = order;
            hooks.progress = [&](std::string_view text) { shown = text; };
            const BatchOutcome outcome = rename_items(list, pages, log, codec, hooks);
            EXPECT_EQ(outcome.successes, 0) << c.old_name;
            EXPECT_EQ(list.get_cell(0, Column::rename_status), texts::rename_failed())
                << c.old_name;
            EXPECT_EQ(codec.to_utf8(list.status_reason(0)), c.reason) << c.old_name;
            EXPECT_EQ(shown, texts::progress_text(20)) << c.old_name;
            EXPECT_TRUE(dir.exists(c.old_name)) << c.old_name;
        }
    }
}

TEST_F(RenamerTest, WriteAheadHookSeesEveryRenameFirstAndCanStopIt) {
    FileList list = files({"a", "b", "same"});
    pages.active = RulePage::replace;
    pages.replace.find = "a";
    pages.replace.with = "x";
    std::vector<std::string> recorded;
    std::vector<std::size_t> failed;
    BatchHooks hooks;
    hooks.before_renames = [&](std::span<const UndoEntry> entries) {
        for (const UndoEntry& e : entries) {
            recorded.push_back(e.fs_name + ">" + e.renamed_fs_name);
            EXPECT_TRUE(dir.exists(e.fs_name));  // not renamed yet
        }
        return 0;
    };
    hooks.rename_failed = [&](std::size_t index) { failed.push_back(index); };
    dir.write_file("x");                                 // a -> x fails
    (void)rename_items(list, pages, log, codec, hooks);  // a -> x fails, told through the hooks
    EXPECT_EQ(recorded, (std::vector<std::string>{"a>x", "same>sxme"}));
    EXPECT_EQ(failed, (std::vector<std::size_t>{0}));

    FileList more = files({"c"});
    pages.replace.find = "c";
    hooks.before_renames = [](std::span<const UndoEntry>) { return ENOSPC; };
    const BatchOutcome outcome = rename_items(more, pages, log, codec, hooks);
    EXPECT_EQ(outcome.successes, 0);
    EXPECT_TRUE(dir.exists("c"));
    EXPECT_EQ(more.status_reason(0), "No space left on device");
}

TEST_F(RenamerTest, UndoNeverReplacesAFileThatTookTheOldName) {
    FileList list = files({"a", "b"});
    rename(list);  // 0 1
    dir.write_file("a", "newcomer");
    const BatchOutcome outcome = undo_rename(list, log, codec);
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(dir.read_file("a"), "newcomer");
    EXPECT_EQ(dir.read_file("0"), "a");
    EXPECT_EQ(dir.read_file("b"), "b");
}

TEST_F(RenamerTest, UndoCountsPositionsBeyondTheLogAsFailures) {
    std::vector<std::string> names;
    for (int i = 0; i < 52; ++i) names.push_back("f" + std::to_string(i));
    FileList list = files(names);
    pages.number.prefix = "g";
    rename(list);
    log.entries.resize(50);
    const BatchOutcome outcome = undo_rename(list, log, codec);
    EXPECT_EQ(outcome.successes, 50);
    EXPECT_TRUE(dir.exists("g51"));
}

TEST_F(RenamerTest, LegacyNameIsListedRenamedAndUndoneByteExactly) {
    const std::string legacy = "\xC4\xE3.txt";  // 你.txt in GBK, not valid UTF-8
    dir.write_file(legacy, "data");
    FileList list;
    auto names = list_folder_files(dir.path());
    ASSERT_TRUE(names);
    ASSERT_EQ(names->size(), 1u);
    list.append_items(item_folder_from_fs(dir.path(), codec), item_names_from_fs(*names, codec));
    EXPECT_EQ(list.get_cell(0, Column::old_name), legacy);  // already code-page text

    pages.active = RulePage::insert;
    pages.insert.text = "01_";
    EXPECT_TRUE(rename(list).all_succeeded());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"01_\xE4\xBD\xA0.txt"}));  // UTF-8 on disk
    EXPECT_EQ(list.get_cell(0, Column::old_name), "01_" + legacy);

    EXPECT_TRUE(undo_rename(list, log, codec).all_succeeded());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{legacy}));
    EXPECT_EQ(dir.read_file(legacy), "data");
}

TEST_F(RenamerTest, UnchangedLegacyNameStaysAsItIs) {
    const std::string legacy = "\xC4\xE3.TXT";
    dir.write_file(legacy, "data");
    FileList list;
    list.append_items(item_folder_from_fs(dir.path(), codec), item_names_from_fs({legacy}, codec));
    pages.active = RulePage::letter_case;
    EXPECT_TRUE(rename(list).all_succeeded());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{legacy}));
}

}  // namespace
}  // namespace varnel
