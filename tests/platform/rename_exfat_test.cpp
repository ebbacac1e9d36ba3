// SPDX-License-Identifier: GPL-3.0-or-later
// rename_no_replace and file identity on exFAT through FUSE: no
// RENAME_NOREPLACE, no hard links, case-insensitive names that each get
// their own inode number, and inode numbers that change at every mount.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/dir_handle.h"
#include "platform/file_id.h"
#include "platform/folder_listing.h"
#include "platform/rename_file.h"
#include "support/exfat_mount.h"

namespace varnel {
namespace {

#define REQUIRE_EXFAT(mount) \
    if (!(mount).mounted())  \
    GTEST_SKIP() << "cannot mount an exFAT image through FUSE here (needs /dev/fuse, exfat-fuse)"

void put(const std::string& path, const std::string& content) {
    ASSERT_TRUE(test::put_file(path, content)) << path;
}

std::string get(const std::string& path) {
    return test::get_file(path);
}

// One batch's memo: the first case-only rename lists the folder and learns
// that it folds case; the later ones rely on that and still never replace.
TEST(RenameOnExfat, CaseOnlyRenamesShareWhatTheFirstLearned) {
    test::ExfatMount exfat;
    REQUIRE_EXFAT(exfat);
    const std::string m = exfat.mount_point();
    for (const char* name : {"one.txt", "two.txt", "three.txt"}) put(m + name, name);
    const auto dir = DirHandle::open_path(m);
    ASSERT_TRUE(dir);
    CaseFoldingMemo memo;
    EXPECT_EQ(rename_no_replace(dir->fd(), "one.txt", "ONE.TXT", memo), 0);
    EXPECT_EQ(memo.folds(dir->fd()), true);
    EXPECT_EQ(rename_no_replace(dir->fd(), "two.txt", "Two.txt", memo), 0);
    EXPECT_EQ(rename_no_replace(dir->fd(), "three.txt", "TWO.TXT", memo), EEXIST);
    auto names = list_folder_files(m);
    ASSERT_TRUE(names);
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{"ONE.TXT", "Two.txt", "three.txt"}));
    EXPECT_EQ(get(m + "Two.txt"), "two.txt");
    EXPECT_EQ(get(m + "three.txt"), "three.txt");
}

TEST(RenameOnExfat, NeverReplacesAndChangesCaseOnly) {
    test::ExfatMount exfat;
    REQUIRE_EXFAT(exfat);
    const std::string m = exfat.mount_point();
    put(m + "Abc.Txt", "abc");
    put(m + "other.txt", "other");
    const auto dir = DirHandle::open_path(m);
    ASSERT_TRUE(dir);
    EXPECT_FALSE(dir->lasting_inodes());
    struct Case {
        const char* from;
        const char* to;
        int error;
    };
    for (const Case& c : {Case{"Abc.Txt", "other.txt", EEXIST},
                          Case{"Abc.Txt", "OTHER.TXT", EEXIST}, Case{"Abc.Txt", "ABC.TXT", 0},
                          Case{"ABC.TXT", "moved.txt", 0}, Case{"missing.txt", "x.txt", ENOENT}}) {
        EXPECT_EQ(rename_no_replace(dir->fd(), c.from, c.to), c.error) << c.from << " -> " << c.to;
    }
    auto names = list_folder_files(m);
    ASSERT_TRUE(names);
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{"moved.txt", "other.txt"}));
    EXPECT_EQ(get(m + "moved.txt"), "abc");
    EXPECT_EQ(get(m + "other.txt"), "other");
}

// Letters beyond ASCII change case as ASCII ones do; a name that is another
// file still refuses, and the file stays where it was.
TEST(RenameOnExfat, NonAsciiCaseOnlyRenamesWork) {
    test::ExfatMount exfat;
    REQUIRE_EXFAT(exfat);
    const std::string m = exfat.mount_point();
    put(m + "café.txt", "coffee");
    put(m + "été.txt", "summer");
    const auto dir = DirHandle::open_path(m);
    ASSERT_TRUE(dir);
    EXPECT_EQ(rename_no_replace(dir->fd(), "café.txt", "CAFÉ.txt"), 0);
    EXPECT_EQ(rename_no_replace(dir->fd(), "CAFÉ.txt", "ÉTÉ.txt"), EEXIST);
    auto names = list_folder_files(m);
    ASSERT_TRUE(names);
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{"CAFÉ.txt", "été.txt"}));
    EXPECT_EQ(get(m + "CAFÉ.txt"), "coffee");
    EXPECT_EQ(get(m + "été.txt"), "summer");
}

TEST(RenameOnExfat, IdentitySurvivesARemount) {
    test::ExfatMount exfat;
    REQUIRE_EXFAT(exfat);
    put(exfat.mount_point() + "song.mp3", "music");
    std::optional<FileId> before;
    {
        const auto dir = DirHandle::open_path(exfat.mount_point());
        ASSERT_TRUE(dir);
        before = file_id_at(dir->fd(), "song.mp3", dir->lasting_inodes());
    }
    ASSERT_TRUE(before);
    ASSERT_TRUE(exfat.remount());
    const auto dir = DirHandle::open_path(exfat.mount_point());
    ASSERT_TRUE(dir);
    const auto after = file_id_at(dir->fd(), "song.mp3", dir->lasting_inodes());
    ASSERT_TRUE(after);
    EXPECT_TRUE(is_same_file(*before, *after));
}

// Two processes rename their own files into the same names at once: each
// name ends up holding exactly one of the files, and no file is lost.
TEST(RenameOnExfat, TwoBatchesIntoTheSameNamesLoseNothing) {
    test::ExfatMount exfat;
    REQUIRE_EXFAT(exfat);
    const std::string m = exfat.mount_point();
    constexpr int files = 800;
    for (int i = 0; i < files; ++i) {
        put(m + "a" + std::to_string(i), "a" + std::to_string(i));
        put(m + "b" + std::to_string(i), "b" + std::to_string(i));
    }
    pid_t children[2];
    for (int side = 0; side < 2; ++side) {
        children[side] = fork();
        ASSERT_GE(children[side], 0);
        if (children[side] == 0) {
            const auto dir = DirHandle::open_path(m);
            const std::string prefix = side == 0 ? "a" : "b";
            for (int i = 0; dir && i < files; ++i)
                // The race decides which one wins: the files are counted below.
                (void)rename_no_replace(*dir, prefix + std::to_string(i), "n" + std::to_string(i));
            _exit(0);
        }
    }
    for (pid_t child : children) waitpid(child, nullptr, 0);
    const auto names = list_folder_files(m);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->size(), 2u * files) << "files lost";
    int intact = 0;
    for (const std::string& name : *names) {
        const std::string content = get(m + name);
        const bool kept = content == name;
        const bool moved =
            name[0] == 'n' && (content == "a" + name.substr(1) || content == "b" + name.substr(1));
        intact += kept || moved ? 1 : 0;
    }
    EXPECT_EQ(intact, 2 * files);
}

}  // namespace
}  // namespace varnel
