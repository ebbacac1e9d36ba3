// SPDX-License-Identifier: GPL-3.0-or-later
// Undo of a batch tag edit when files changed afterwards, and journals
// that cannot be trusted.

#include "audio/tag_journal.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "audio/batch_tag_edit.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class TagJournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(setenv("XDG_STATE_HOME", (dir_.path() + "state").c_str(), 1), 0);
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) dir_.write_file(name, old_);
        std::string reason;
        std::optional<TagJournal> journal = TagJournal::create(journal_, reason);
        ASSERT_TRUE(journal) << reason;
        TagEditRequest request;
        request.fields[0] = "New";
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            ASSERT_EQ(edit_file_tags(dir_.path() + name, request, codec_, &*journal).status,
                      TagEditStatus::written);
    }

    test::TempDir dir_;
    const std::string journal_ = dir_.path() + "tag.journal";
    const std::string old_ =
        test::id3v2_tag(test::text_frame("TIT2", "Old")) + test::fake_audio(3000);
    const Codec codec_;
};

// A file counts as changed when its tags are not the bytes the write left:
// a file only touched since (same bytes, new time) comes back, as does one
// whose tags a later batch's undo put back; one whose title another program
// rewrote, even at the same size, does not.
TEST_F(TagJournalTest, RefusesFilesChangedSinceAndRestoresTheOthers) {
    // b: another program appended to it; c: its title rewritten in place.
    dir_.write_file("b.mp3", dir_.read_file("b.mp3") + "x");
    std::string c = dir_.read_file("c.mp3");
    const std::size_t title = c.find("New");
    ASSERT_NE(title, std::string::npos);
    c.replace(title, 3, "Nex");
    dir_.write_file("c.mp3", c);
    // a: only touched.
    const std::string a = dir_.path() + "a.mp3";
    struct timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, a.c_str(), times, 0), 0);
    std::string reason;
    const auto outcomes = undo_tag_journal(journal_, reason);
    ASSERT_TRUE(outcomes) << reason;
    ASSERT_EQ(outcomes->size(), 3U);
    for (const TagUndoOutcome& o : *outcomes) {
        SCOPED_TRACE(o.path);
        const bool is_a = o.path == dir_.path() + "a.mp3";
        EXPECT_EQ(o.restored, is_a);
        EXPECT_EQ(o.reason.empty(), is_a);
    }
    EXPECT_EQ(dir_.read_file("a.mp3"), old_);
    EXPECT_NE(dir_.read_file("b.mp3"), old_);
    EXPECT_TRUE(std::filesystem::exists(journal_));  // kept: not every tag is back
}

TEST_F(TagJournalTest, RefusesDamagedForeignOrMissingJournals) {
    std::string reason;
    const std::string good = dir_.read_file("tag.journal");
    for (const std::string& damaged : std::vector<std::string>{
             good.substr(0, 5), "varnel-tag-journal 1\nF\tzz\n",
             "varnel-tag-journal 1\nF\t00\t\t\t99999999999999999999999\tx\t-\t0\n",
             "varnel-tag-journal 1\nD\t00\t1\t2\t3\t4\n"}) {
        dir_.write_file("tag.journal", damaged);
        reason.clear();
        EXPECT_FALSE(undo_tag_journal(journal_, reason)) << damaged;
        EXPECT_FALSE(reason.empty());
    }
    dir_.write_file("tag.journal", good);
    ASSERT_EQ(chmod(journal_.c_str(), 0666), 0);  // another user may have written it
    EXPECT_FALSE(undo_tag_journal(journal_, reason));
    std::filesystem::remove(journal_);
    EXPECT_FALSE(undo_tag_journal(journal_, reason));
    EXPECT_NE(dir_.read_file("a.mp3"), old_);  // nothing was undone
}

}  // namespace
}  // namespace varnel
