// SPDX-License-Identifier: GPL-3.0-or-later
// rename_no_replace with the real system calls.
#include "platform/rename_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/dir_handle.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

class RenameNoReplace : public testing::Test {
protected:
    int dir() const { return handle_->fd(); }

    test::TempDir temp_;
    std::optional<DirHandle> handle_ = DirHandle::open(temp_.path());
};

TEST(EntryName, AcceptsOnlySingleNamesUpTo255Bytes) {
    EXPECT_TRUE(is_valid_entry_name("a"));
    EXPECT_TRUE(is_valid_entry_name(".hidden"));
    EXPECT_TRUE(is_valid_entry_name("..."));
    EXPECT_TRUE(is_valid_entry_name(std::string(255, 'n')));
    EXPECT_TRUE(is_valid_entry_name("\xC4\xE3.txt"));
    for (const std::string& name :
         {""s, "."s, ".."s, "a/b"s, "/"s, "a\0b"s, "\0"s, std::string(256, 'n')})
        EXPECT_FALSE(is_valid_entry_name(name)) << testing::PrintToString(name);
}

TEST_F(RenameNoReplace, RenamesAFile) {
    temp_.write_file("old.txt", "content");
    EXPECT_EQ(rename_no_replace(dir(), "old.txt", "new.txt"), 0);
    EXPECT_EQ(temp_.names(), Names{"new.txt"});
    EXPECT_EQ(temp_.read_file("new.txt"), "content");
}

TEST_F(RenameNoReplace, NeverReplacesAnExistingFile) {
    temp_.write_file("a.txt", "first");
    temp_.write_file("b.txt", "second");
    EXPECT_EQ(rename_no_replace(dir(), "a.txt", "b.txt"), EEXIST);
    EXPECT_EQ(temp_.read_file("a.txt"), "first");
    EXPECT_EQ(temp_.read_file("b.txt"), "second");
}

TEST_F(RenameNoReplace, ReportsAMissingSource) {
    temp_.write_file("other.txt");
    EXPECT_EQ(rename_no_replace(dir(), "missing.txt", "new.txt"), ENOENT);
    EXPECT_EQ(temp_.names(), Names{"other.txt"});
}

TEST_F(RenameNoReplace, RefusesInvalidNamesWithoutTouchingAnything) {
    temp_.write_file("a.txt", "x");
    ASSERT_EQ(mkdir((temp_.path() + "sub").c_str(), 0755), 0);
    for (const std::string& name :
         {""s, "."s, ".."s, "sub/b.txt"s, "b\0.txt"s, std::string(256, 'n')})
        EXPECT_EQ(rename_no_replace(dir(), "a.txt", name), EINVAL) << testing::PrintToString(name);
    // A '/' in the source would pull a file out of another folder.
    temp_.write_file("sub/inner.txt");
    EXPECT_EQ(rename_no_replace(dir(), "sub/inner.txt", "inner.txt"), EINVAL);
    EXPECT_EQ(temp_.names(), (Names{"a.txt", "sub"}));
    EXPECT_TRUE(temp_.exists("sub/inner.txt"));
}

TEST_F(RenameNoReplace, SameNameSucceedsOnlyWhenTheEntryExists) {
    temp_.write_file("same.txt", "x");
    EXPECT_EQ(rename_no_replace(dir(), "same.txt", "same.txt"), 0);
    EXPECT_EQ(rename_no_replace(dir(), "gone.txt", "gone.txt"), ENOENT);
    // A dangling symbolic link is an entry too.
    ASSERT_EQ(symlink("nowhere", (temp_.path() + "link").c_str()), 0);
    EXPECT_EQ(rename_no_replace(dir(), "link", "link"), 0);
    EXPECT_EQ(temp_.read_file("same.txt"), "x");
}

TEST_F(RenameNoReplace, RoundTripsANonUtf8NameByteForByte) {
    const std::string legacy = "\xC4\xE3.txt";
    temp_.write_file(legacy, "gbk");
    ASSERT_EQ(rename_no_replace(dir(), legacy, "plain.txt"), 0);
    EXPECT_EQ(temp_.names(), Names{"plain.txt"});
    ASSERT_EQ(rename_no_replace(dir(), "plain.txt", legacy), 0);
    EXPECT_EQ(temp_.names(), Names{legacy});
    EXPECT_EQ(temp_.read_file(legacy), "gbk");
}

TEST_F(RenameNoReplace, RenamesASymbolicLinkItself) {
    temp_.write_file("target.txt", "t");
    ASSERT_EQ(symlink("target.txt", (temp_.path() + "link").c_str()), 0);
    ASSERT_EQ(rename_no_replace(dir(), "link", "renamed"), 0);
    char buffer[64] = {};
    ASSERT_GT(readlink((temp_.path() + "renamed").c_str(), buffer, sizeof buffer - 1), 0);
    EXPECT_STREQ(buffer, "target.txt");
    EXPECT_EQ(temp_.names(), (Names{"renamed", "target.txt"}));
}

// Two names of one file look like a case-insensitive match; the detour
// through a temporary name then finds the target still taken and must move
// the file back.
TEST_F(RenameNoReplace, HardLinkedTargetIsRefusedAndNothingIsLost) {
    temp_.write_file("a.txt", "shared");
    ASSERT_EQ(link((temp_.path() + "a.txt").c_str(), (temp_.path() + "b.txt").c_str()), 0);
    EXPECT_EQ(rename_no_replace(dir(), "a.txt", "b.txt"), EEXIST);
    EXPECT_EQ(temp_.names(), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(temp_.read_file("a.txt"), "shared");
}

// A case-only rename onto another file of a case-sensitive folder fails
// whatever the memo says, and a memo that knew nothing learns that the
// folder keeps case, so later failures need no listing.
TEST_F(RenameNoReplace, CaseVariantOfAnotherFileFailsWhateverTheMemoSays) {
    temp_.write_file("a.txt", "lower");
    temp_.write_file("A.TXT", "upper");
    struct Case {
        std::optional<bool> preset;
        bool learned;
    };
    for (const Case& c : {Case{std::nullopt, false}, Case{false, false}, Case{true, true}}) {
        CaseFoldingMemo memo;
        if (c.preset) memo.set(dir(), *c.preset);
        for (int round = 0; round < 3; ++round)
            EXPECT_EQ(rename_no_replace(dir(), "a.txt", "A.TXT", memo), EEXIST);
        EXPECT_EQ(memo.folds(dir()), c.learned) << testing::PrintToString(c.preset);
        EXPECT_EQ(temp_.names(), (Names{"A.TXT", "a.txt"}));
        EXPECT_EQ(temp_.read_file("a.txt"), "lower");
        EXPECT_EQ(temp_.read_file("A.TXT"), "upper");
    }
}

}  // namespace
}  // namespace varnel
