// SPDX-License-Identifier: GPL-3.0-or-later
// A batch run with its journal, and the store of automatic journals.
#include "rename/batch_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/journal_folder.h"
#include "platform/journal_store.h"
#include "rename/undo_journal.h"
#include "support/list_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class BatchRunTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Codec codec;
    RulePages pages;  // numbering from 0
    UndoLog log;

    FileList files(const std::vector<std::string>& names) {
        for (const std::string& name : names) dir.write_file(name, name);
        return test::list_of(dir.path(), names);
    }
    BatchRun run(FileList& list, const JournalPlan& plan) {
        BatchHooks hooks;
        hooks.keep_undo_log = false;
        return run_journaled_batch(plan, hooks, [&](const BatchHooks& h) {
            return rename_items(list, pages, log, codec, h);
        });
    }
};

TEST_F(BatchRunTest, TheJournalRecordsTheRenamesAndItsEnd) {
    FileList list = files({"a.txt", "b.txt"});
    const std::string journal = dir.path() + "j";
    const BatchRun done = run(list, {journal, {}});
    EXPECT_TRUE(done.ran);
    EXPECT_TRUE(done.journal_made);
    EXPECT_EQ(done.journal_entries, 2U);
    EXPECT_EQ(done.finish_error, 0);
    EXPECT_TRUE(went_well(done.outcome));
    const UndoJournalRead read = read_undo_journal(journal);
    ASSERT_TRUE(read.journal) << read.reason;
    EXPECT_TRUE(read.journal->finished);
    EXPECT_EQ(read.journal->entries.size(), 2U);
    EXPECT_TRUE(dir.exists("0.txt"));
}

// Without its journal a batch runs only when the caller agrees, and is told
// why; a journal another batch holds is told apart.
TEST_F(BatchRunTest, AJournalThatCannotBeMadeAsksBeforeRenaming) {
    struct Case {
        const char* what;
        bool agree;
    };
    for (const Case c : {Case{"refused", false}, Case{"agreed", true}}) {
        FileList list = files({"a.txt"});
        std::string told;
        const JournalPlan plan{dir.path() + "missing/j", [&](const std::string& reason, bool busy) {
                                   told = reason;
                                   EXPECT_FALSE(busy);
                                   return c.agree;
                               }};
        const BatchRun done = run(list, plan);
        EXPECT_FALSE(told.empty()) << c.what;
        EXPECT_EQ(done.ran, c.agree) << c.what;
        EXPECT_FALSE(done.journal_made);
        EXPECT_EQ(dir.exists("a.txt"), !c.agree) << c.what;
        EXPECT_EQ(dir.exists("0.txt"), c.agree) << c.what;
        if (c.agree) {
            ASSERT_EQ(::rename((dir.path() + "0.txt").c_str(), (dir.path() + "a.txt").c_str()), 0);
        }
    }
    // No question asked: the batch does not run.
    FileList list = files({"a.txt"});
    EXPECT_FALSE(run(list, {dir.path() + "missing/j", {}}).ran);
    EXPECT_TRUE(dir.exists("a.txt"));

    std::string reason;
    std::optional<UndoJournalWriter> holder =
        UndoJournalWriter::create(dir.path() + "held", reason);
    ASSERT_TRUE(holder) << reason;
    bool busy = false;
    const BatchRun second =
        run(list, {dir.path() + "held", [&](const std::string&, bool b) { return !(busy = b); }});
    EXPECT_TRUE(busy);
    EXPECT_FALSE(second.ran);
    EXPECT_TRUE(dir.exists("a.txt"));
}

class JournalStoreTest : public ::testing::Test {
protected:
    test::TempDir state;
    void SetUp() override { ::setenv("XDG_STATE_HOME", state.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_STATE_HOME"); }

    // Makes a journal in the automatic folder, as a batch does.
    std::string make_journal(const std::string& folder) {
        std::string reason;
        const std::string path = new_journal_path(folder);
        auto writer = UndoJournalWriter::create(path, reason);
        EXPECT_TRUE(writer) << reason;
        if (writer) {
            EXPECT_EQ(writer->finish(), 0);
        }
        return path;
    }
};

TEST_F(JournalStoreTest, KeepsTheNewestAndSparesAJournalStillWritten) {
    EXPECT_FALSE(automatic_journal_folder(false).path);  // nothing made yet
    const JournalFolder folder = automatic_journal_folder(true);
    ASSERT_TRUE(folder.path) << folder.reason;
    std::vector<std::string> made;
    for (int i = 0; i < 4; ++i) made.push_back(make_journal(*folder.path));
    // The oldest is still being written by a batch.
    std::string reason;
    ::unlink(made[0].c_str());
    std::optional<UndoJournalWriter> running = UndoJournalWriter::create(made[0], reason);
    ASSERT_TRUE(running) << reason;
    ASSERT_EQ(mark_journal_undone(made[3]), 0);

    prune_journals(*folder.path, 2);
    const std::vector<StoredJournal> kept = stored_journals(*folder.path);
    ASSERT_EQ(kept.size(), 3U);
    EXPECT_EQ(kept[0].path, made[3] + ".undone");  // newest first, undone ones count
    EXPECT_TRUE(kept[0].undone);
    EXPECT_EQ(kept[1].path, made[2]);
    EXPECT_EQ(kept[2].path, made[0]);  // held: left alone
    EXPECT_EQ(::access(made[1].c_str(), F_OK), -1);
    // The undone name taken already: nothing is replaced.
    ASSERT_EQ(::symlink("elsewhere", (made[2] + ".undone").c_str()), 0);
    EXPECT_EQ(mark_journal_undone(made[2]), EEXIST);
    EXPECT_EQ(::access(made[2].c_str(), F_OK), 0);
    EXPECT_TRUE(stamp_time(kept[1].stamp).ends_with(" UTC"));
    EXPECT_EQ(stamp_time("not-a-stamp"), "not-a-stamp");
}

TEST_F(JournalStoreTest, AFolderOthersMayUseIsRefused) {
    const JournalFolder made = automatic_journal_folder(true);
    ASSERT_TRUE(made.path) << made.reason;
    struct stat info {};
    ASSERT_EQ(::stat(made.path->c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700U);
    for (const mode_t mode : {0750, 0705, 0770}) {
        ASSERT_EQ(::chmod(made.path->c_str(), mode), 0);
        for (const bool create : {false, true}) {
            const JournalFolder refused = automatic_journal_folder(create);
            EXPECT_FALSE(refused.path) << std::oct << mode;
            EXPECT_NE(refused.reason.find("mode"), std::string::npos) << refused.reason;
        }
    }
    ASSERT_EQ(::chmod(made.path->c_str(), 0700), 0);
    // A symbolic link in its place is no folder of ours.
    const std::string folder = made.path->substr(0, made.path->size() - 1);
    ASSERT_EQ(::rmdir(folder.c_str()), 0);
    ASSERT_EQ(::symlink(state.path().c_str(), folder.c_str()), 0);
    EXPECT_FALSE(automatic_journal_folder(true).path);
}

}  // namespace
}  // namespace varnel
