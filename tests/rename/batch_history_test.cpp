// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history of rename and tag batches: listed newest first with
// their states, undone newest first up to a chosen batch, stopped with the
// reason at a batch that cannot come back, and journals that cannot be
// trusted refused.

#include "rename/batch_history.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "audio/batch_tag_edit.h"
#include "platform/journal_folder.h"
#include "platform/language.h"
#include "rename/batch_run.h"
#include "rename/batch_texts.h"
#include "rename/undo_journal.h"
#include "support/history_batches.h"
#include "support/list_builder.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class BatchHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.empty()) << home.reason();
        files.write_file("f.txt", "F");
        files.write_file("song.mp3", song_bytes);
    }

    // Renames the one file `from` to "<prefix>0.txt" as a journaled batch.
    void rename_batch(const std::string& from, const std::string& prefix) {
        FileList list = test::list_of(files.path(), {from});
        RulePages pages;
        pages.number.prefix = prefix;
        UndoLog log;
        BatchHooks hooks;
        hooks.keep_undo_log = false;
        const BatchRun run = run_journaled_batch(
            {new_journal_path(folder), {}}, hooks,
            [&](const BatchHooks& h) { return rename_items(list, pages, log, codec, h); });
        ASSERT_TRUE(run.ran && went_well(run.outcome)) << run.journal_error;
    }
    // Sets song.mp3's title as a journaled tag batch; its bytes before.
    std::string tag_batch(const std::string& title) {
        const std::string before = files.read_file("song.mp3");
        EXPECT_FALSE(test::title_batch({files.path() + "song.mp3"}, title, codec).empty());
        return before;
    }
    // Five batches, oldest first: rename f → a0, tag T2, rename a0 → b0,
    // tag T4, rename b0 → c0. The song's bytes after batch 2.
    std::string five_batches() {
        rename_batch("f.txt", "a");
        (void)tag_batch("T2");
        rename_batch("a0.txt", "b");
        const std::string after_2 = tag_batch("T4");
        rename_batch("b0.txt", "c");
        return after_2;
    }
    std::vector<HistoryBatch> history() { return batch_history(folder, {}, codec); }

    test::StateHome home;
    const test::TempDir& state = home.dir();
    test::TempDir files;
    std::string folder = home.journals();
    Codec codec;
    const std::string song_bytes =
        test::id3v2_tag(test::text_frame("TIT2", "T0")) + test::fake_audio(3000);
};

std::vector<HistoryState> states_of(const std::vector<HistoryBatch>& history) {
    std::vector<HistoryState> states;
    for (const HistoryBatch& batch : history) states.push_back(batch.state);
    return states;
}

TEST_F(BatchHistoryTest, ListsBothKindsNewestFirst) {
    (void)five_batches();
    const std::vector<HistoryBatch> listed = history();
    ASSERT_EQ(listed.size(), 5U);
    const std::vector<JournalKind> kinds{listed[0].kind, listed[1].kind, listed[2].kind,
                                         listed[3].kind, listed[4].kind};
    using enum JournalKind;
    EXPECT_EQ(kinds, (std::vector<JournalKind>{rename, tags, rename, tags, rename}));
    for (const HistoryBatch& batch : listed) {
        EXPECT_EQ(batch.state, HistoryState::undoable) << batch.path;
        EXPECT_EQ(batch.files, 1U);
        EXPECT_EQ(batch.folders, std::vector<std::string>{files.path()});
    }
}

TEST_F(BatchHistoryTest, UndoesBatchThreeOnlyAfterFiveAndFour) {
    const std::string song_after_2 = five_batches();
    std::vector<HistoryBatch> listed = history();
    const HistoryUndo undo = undo_through(listed, 2, codec, {});
    EXPECT_TRUE(undo.reached) << undo.stop.refused << undo.stop.outcome.summary;
    EXPECT_EQ(undo.undone, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(files.names(), (std::vector<std::string>{"a0.txt", "song.mp3"}));
    EXPECT_EQ(files.read_file("song.mp3"), song_after_2);
    using enum HistoryState;
    EXPECT_EQ(states_of(history()),
              (std::vector<HistoryState>{undone, undone, undone, undoable, undoable}));
    // The rest, later: nothing undone twice.
    listed = history();
    EXPECT_TRUE(undo_through(listed, 4, codec, {}).reached);
    EXPECT_EQ(files.names(), (std::vector<std::string>{"f.txt", "song.mp3"}));
    EXPECT_EQ(files.read_file("song.mp3"), song_bytes);
}

// Batch 4 cannot come back (the song changed since its tag was written):
// batch 5 is undone, then the undo stops there with the reason, and batch 3
// stays as it is.
TEST_F(BatchHistoryTest, StopsWithTheReasonWhereABatchCannotComeBack) {
    (void)five_batches();
    const std::string changed = files.read_file("song.mp3") + "more";
    files.write_file("song.mp3", changed);
    std::vector<HistoryBatch> listed = history();
    const HistoryUndo undo = undo_through(listed, 2, codec, {});
    EXPECT_FALSE(undo.reached);
    EXPECT_EQ(undo.stopped_at, 1U);
    EXPECT_EQ(undo.undone, std::vector<std::size_t>{0});
    EXPECT_NE(undo.stop.outcome.summary.find(
                  say("文件在标签写入之后被改动过", "The file changed after its tag was written")),
              std::string::npos)
        << undo.stop.outcome.summary;
    EXPECT_EQ(files.names(), (std::vector<std::string>{"b0.txt", "song.mp3"}));
    EXPECT_EQ(files.read_file("song.mp3"), changed);
    using enum HistoryState;
    EXPECT_EQ(states_of(history()),
              (std::vector<HistoryState>{undone, undoable, undoable, undoable, undoable}));
}

// A batch whose process died shows as interrupted, one still running as
// running; the undo does not reach past a running one.
TEST_F(BatchHistoryTest, InterruptedAndRunningBatches) {
    rename_batch("f.txt", "a");
    (void)tag_batch("T1");
    std::vector<HistoryBatch> listed = history();
    for (HistoryBatch& batch : listed) {
        // Cut the end off, as a kill before the batch's end leaves it.
        std::string text = state.read_file(batch.path.substr(state.path().size()));
        const std::size_t end = text.rfind(batch.kind == JournalKind::tags ? "E\n" : "end\n");
        ASSERT_NE(end, std::string::npos);
        text.resize(end);
        state.write_file(batch.path.substr(state.path().size()), text);
    }
    EXPECT_EQ(states_of(history()),
              (std::vector<HistoryState>{HistoryState::interrupted, HistoryState::interrupted}));

    std::string reason;
    std::optional<UndoJournalWriter> running =
        UndoJournalWriter::create(new_journal_path(folder), reason);
    ASSERT_TRUE(running) << reason;
    listed = history();
    ASSERT_EQ(listed.size(), 3U);
    EXPECT_EQ(listed[0].state, HistoryState::running);
    const HistoryUndo undo = undo_through(listed, 2, codec, {});
    EXPECT_FALSE(undo.reached);
    EXPECT_EQ(undo.stopped_at, 0U);
    EXPECT_EQ(undo.stop.refused, texts::another_batch_running());
    EXPECT_TRUE(files.exists("a0.txt"));
    running.reset();
}

// A journal others may write, a symbolic link in a journal's place and a
// journal of another user are refused with a reason, and undo stops there.
TEST_F(BatchHistoryTest, JournalsThatCannotBeTrustedAreRefused) {
    struct Case {
        const char* what;
        void (*spoil)(const std::string& journal);
        bool needs_root;
    };
    const std::vector<Case> cases{
        {"others may write", [](const std::string& j) { ASSERT_EQ(::chmod(j.c_str(), 0666), 0); },
         false},
        {"symbolic link",
         [](const std::string& j) {
             ASSERT_EQ(::rename(j.c_str(), (j + ".real").c_str()), 0);
             ASSERT_EQ(::symlink((j + ".real").c_str(), j.c_str()), 0);
         },
         false},
        {"another user",
         [](const std::string& j) { ASSERT_EQ(::chown(j.c_str(), 65534, 65534), 0); }, true},
    };
    // Two batches made afresh for every case: a rename, then a tag batch.
    std::vector<HistoryBatch> good;
    const auto fresh = [&] {
        for (const HistoryBatch& batch : good) ::unlink((batch.path + ".real").c_str());
        for (const StoredJournal& journal : stored_journals(folder)) ::unlink(journal.path.c_str());
        for (const std::string& name : files.names()) ::unlink((files.path() + name).c_str());
        files.write_file("f.txt", "F");
        files.write_file("song.mp3", song_bytes);
        rename_batch("f.txt", "a");
        (void)tag_batch("T1");
        good = history();
    };
    for (const Case& c : cases) {
        if (c.needs_root && ::geteuid() != 0) continue;
        for (std::size_t spoiled = 0; spoiled < 2; ++spoiled) {
            SCOPED_TRACE(std::string(c.what) + ", batch " + std::to_string(spoiled));
            fresh();
            ASSERT_EQ(good.size(), 2U);
            const std::string song_tagged = files.read_file("song.mp3");
            c.spoil(good[spoiled].path);
            std::vector<HistoryBatch> listed = history();
            ASSERT_EQ(listed.size(), 2U);
            EXPECT_EQ(listed[spoiled].state, HistoryState::refused);
            EXPECT_FALSE(listed[spoiled].reason.empty());
            EXPECT_FALSE(not_undoable_reason(listed[spoiled]).empty());
            const HistoryUndo undo = undo_through(listed, 1, codec, {});
            EXPECT_FALSE(undo.reached);
            EXPECT_EQ(undo.stopped_at, spoiled);
            EXPECT_FALSE(undo.stop.refused.empty());
            EXPECT_TRUE(files.exists("a0.txt"));
            if (spoiled == 0) {
                EXPECT_EQ(files.read_file("song.mp3"), song_tagged);
            }
        }
    }
}

}  // namespace
}  // namespace varnel
