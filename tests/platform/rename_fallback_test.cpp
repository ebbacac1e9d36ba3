// SPDX-License-Identifier: GPL-3.0-or-later
// rename_no_replace on file systems acted out by replacing its system calls:
// without RENAME_NOREPLACE, without hard links, and case-insensitive.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dir_handle.h"
#include "platform/file_id.h"
#include "platform/rename_file.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using Names = std::vector<std::string>;

// What the acted-out file system does. Plain function pointers cannot
// capture, so the fakes read this one global, reset by every test.
struct FakeFileSystem {
    int renameat2_error = 0;  // nonzero: renameat2 fails with it
    int linkat_error = 0;     // nonzero: linkat fails with it
    std::string unlink_refused;
    int unlink_error = 0;
    int renameat_calls = 0;
    int renameat_error = 0;  // nonzero: renameat fails with it
    int linkat_calls = 0;
    // Two spellings of one entry, as on a case-insensitive file system: the
    // test makes them hard links, and the fakes remove the other spelling
    // whenever one goes away.
    std::string alias_a;
    std::string alias_b;
};

FakeFileSystem fake;

void entry_gone(int dir, const char* name) {
    const std::string other = name == fake.alias_a   ? fake.alias_b
                              : name == fake.alias_b ? fake.alias_a
                                                     : std::string();
    if (other.empty()) return;
    fake.alias_a.clear();
    fake.alias_b.clear();
    ::unlinkat(dir, other.c_str(), 0);
}

int fake_renameat2(int old_dir, const char* old_name, int new_dir, const char* new_name,
                   unsigned int flags) {
    if (fake.renameat2_error != 0) {
        errno = fake.renameat2_error;
        return -1;
    }
    const int result = system_rename_calls().renameat2(old_dir, old_name, new_dir, new_name, flags);
    if (result == 0) entry_gone(old_dir, old_name);
    return result;
}

int fake_renameat(int old_dir, const char* old_name, int new_dir, const char* new_name) {
    ++fake.renameat_calls;
    if (fake.renameat_error != 0) {
        errno = fake.renameat_error;
        return -1;
    }
    const int result = ::renameat(old_dir, old_name, new_dir, new_name);
    if (result == 0) entry_gone(old_dir, old_name);
    return result;
}

int fake_linkat(int old_dir, const char* old_name, int new_dir, const char* new_name, int flags) {
    ++fake.linkat_calls;
    if (fake.linkat_error != 0) {
        errno = fake.linkat_error;
        return -1;
    }
    return ::linkat(old_dir, old_name, new_dir, new_name, flags);
}

int fake_unlinkat(int dir, const char* name, int flags) {
    if (name == fake.unlink_refused) {
        errno = fake.unlink_error;
        return -1;
    }
    const int result = ::unlinkat(dir, name, flags);
    if (result == 0) entry_gone(dir, name);
    return result;
}

const RenameCalls fake_calls{fake_renameat2, fake_renameat, fake_linkat, fake_unlinkat};

struct Mode {
    const char* name;
    int renameat2_error;
    int linkat_error;
};

void PrintTo(const Mode& mode, std::ostream* out) {
    *out << mode.name;
}

class RenameFallback : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override {
        fake = FakeFileSystem{};
        fake.renameat2_error = GetParam().renameat2_error;
        fake.linkat_error = GetParam().linkat_error;
    }
    int dir() const { return handle_->fd(); }
    std::string at(const std::string& name) const { return temp_.path() + name; }

    test::TempDir temp_;
    std::optional<DirHandle> handle_ = DirHandle::open(temp_.path());
};

TEST_P(RenameFallback, MovesTheSameFileToAFreeName) {
    temp_.write_file("old.txt", "content");
    const auto before = file_id_at(dir(), "old.txt");
    ASSERT_EQ(rename_no_replace(dir(), "old.txt", "new.txt", fake_calls), 0);
    EXPECT_EQ(temp_.names(), Names{"new.txt"});
    EXPECT_EQ(temp_.read_file("new.txt"), "content");
    EXPECT_EQ(file_id_at(dir(), "new.txt"), before);
}

TEST_P(RenameFallback, NeverReplacesAnExistingFile) {
    temp_.write_file("a.txt", "first");
    temp_.write_file("b.txt", "second");
    EXPECT_EQ(rename_no_replace(dir(), "a.txt", "b.txt", fake_calls), EEXIST);
    EXPECT_EQ(temp_.read_file("a.txt"), "first");
    EXPECT_EQ(temp_.read_file("b.txt"), "second");
    EXPECT_EQ(fake.renameat_calls, 0);
}

TEST_P(RenameFallback, ReportsAMissingSource) {
    temp_.write_file("other.txt");
    EXPECT_EQ(rename_no_replace(dir(), "missing.txt", "new.txt", fake_calls), ENOENT);
    EXPECT_EQ(temp_.names(), Names{"other.txt"});
}

TEST_P(RenameFallback, CaseOnlyRenameGoesThroughATemporaryName) {
    temp_.write_file("song.mp3", "music");
    ASSERT_EQ(link(at("song.mp3").c_str(), at("SONG.mp3").c_str()), 0);
    fake.alias_a = "song.mp3";
    fake.alias_b = "SONG.mp3";
    const auto before = file_id_at(dir(), "song.mp3");
    ASSERT_EQ(rename_no_replace(dir(), "song.mp3", "SONG.mp3", fake_calls), 0);
    EXPECT_EQ(temp_.names(), Names{"SONG.mp3"});
    EXPECT_EQ(temp_.read_file("SONG.mp3"), "music");
    EXPECT_EQ(file_id_at(dir(), "SONG.mp3"), before);
}

INSTANTIATE_TEST_SUITE_P(Modes, RenameFallback,
                         testing::Values(Mode{"NoReplaceFlag", 0, 0},
                                         Mode{"LinkWhenFlagInvalid", EINVAL, 0},
                                         Mode{"LinkWhenNoSyscall", ENOSYS, 0},
                                         Mode{"LinkWhenFlagUnsupported", EOPNOTSUPP, 0},
                                         Mode{"ReserveWhenLinkForbidden", EINVAL, EPERM},
                                         Mode{"ReserveWhenLinkUnsupported", ENOTSUP, ENOTSUP},
                                         Mode{"ReserveWhenLinkCrossesDevices", EINVAL, EXDEV},
                                         Mode{"ReserveWhenTooManyLinks", EINVAL, EMLINK}),
                         [](const testing::TestParamInfo<Mode>& mode) {
                             return std::string(mode.param.name);
                         });

class RenameFallbackErrors : public testing::Test {
protected:
    void SetUp() override { fake = FakeFileSystem{}; }
    int dir() const { return handle_->fd(); }

    test::TempDir temp_;
    std::optional<DirHandle> handle_ = DirHandle::open(temp_.path());
};

TEST_F(RenameFallbackErrors, FailedUnlinkRemovesTheNewLinkAgain) {
    temp_.write_file("a.txt", "keep");
    fake.renameat2_error = EINVAL;
    fake.unlink_refused = "a.txt";
    fake.unlink_error = EROFS;
    EXPECT_EQ(rename_no_replace(dir(), "a.txt", "b.txt", fake_calls), EROFS);
    EXPECT_EQ(temp_.names(), Names{"a.txt"});
    EXPECT_EQ(temp_.read_file("a.txt"), "keep");
}

TEST_F(RenameFallbackErrors, AFailedRenameOverTheReservationRemovesIt) {
    temp_.write_file("a.txt", "keep");
    fake.renameat2_error = EINVAL;
    fake.linkat_error = EPERM;
    fake.renameat_error = EACCES;
    EXPECT_EQ(rename_no_replace(dir(), "a.txt", "b.txt", fake_calls), EACCES);
    EXPECT_EQ(fake.renameat_calls, 1);
    EXPECT_EQ(temp_.names(), Names{"a.txt"});
    EXPECT_EQ(temp_.read_file("a.txt"), "keep");
}

TEST_F(RenameFallbackErrors, OtherRenameErrorsAreReportedWithoutFallback) {
    temp_.write_file("a.txt");
    fake.renameat2_error = EACCES;
    EXPECT_EQ(rename_no_replace(dir(), "a.txt", "b.txt", fake_calls), EACCES);
    EXPECT_EQ(fake.linkat_calls, 0);
    EXPECT_EQ(temp_.names(), Names{"a.txt"});
}

TEST_F(RenameFallbackErrors, OtherLinkErrorsAreReportedWithoutFallback) {
    temp_.write_file("a.txt");
    fake.renameat2_error = EINVAL;
    fake.linkat_error = EACCES;
    EXPECT_EQ(rename_no_replace(dir(), "a.txt", "b.txt", fake_calls), EACCES);
    EXPECT_EQ(fake.renameat_calls, 0);
    EXPECT_EQ(temp_.names(), Names{"a.txt"});
}

TEST_F(RenameFallbackErrors, LinkFallbackKeepsASymbolicLinkALink) {
    ASSERT_EQ(symlink("nowhere", (temp_.path() + "link").c_str()), 0);
    fake.renameat2_error = EINVAL;
    ASSERT_EQ(rename_no_replace(dir(), "link", "moved", fake_calls), 0);
    char buffer[32] = {};
    ASSERT_GT(readlink((temp_.path() + "moved").c_str(), buffer, sizeof buffer - 1), 0);
    EXPECT_STREQ(buffer, "nowhere");
    EXPECT_EQ(temp_.names(), Names{"moved"});
}

}  // namespace
}  // namespace varnel
