// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/dir_handle.h"
#include "platform/exe_folder.h"
#include "platform/file_id.h"
#include "platform/folder_listing.h"
#include "platform/rename_file.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

TEST(DirHandleTest, OpensOnlyFolders) {
    test::TempDir temp;
    temp.write_file("file");
    std::string without_slash = temp.path();
    without_slash.pop_back();
    EXPECT_TRUE(DirHandle::open(temp.path()));
    EXPECT_TRUE(DirHandle::open(without_slash));
    EXPECT_FALSE(DirHandle::open(temp.path() + "file"));
    EXPECT_FALSE(DirHandle::open(temp.path() + "missing"));
    EXPECT_FALSE(DirHandle::open(temp.path() + std::string("\0file", 5)));
}

TEST(DirHandleTest, MovingHandsOverTheDescriptor) {
    test::TempDir temp;
    auto first = DirHandle::open(temp.path());
    auto second = DirHandle::open(temp.path());
    ASSERT_TRUE(first && second);
    const int fd = first->fd();
    DirHandle moved(std::move(*first));
    EXPECT_EQ(first->fd(), -1);
    EXPECT_EQ(moved.fd(), fd);
    *second = std::move(moved);
    EXPECT_EQ(second->fd(), fd);
    EXPECT_EQ(moved.fd(), -1);
}

TEST(FileIdTest, IdentifiesEntriesWithoutFollowingLinks) {
    test::TempDir temp;
    temp.write_file("a");
    temp.write_file("b");
    ASSERT_EQ(link((temp.path() + "a").c_str(), (temp.path() + "hard").c_str()), 0);
    ASSERT_EQ(symlink("a", (temp.path() + "soft").c_str()), 0);
    const auto dir = DirHandle::open(temp.path());
    ASSERT_TRUE(dir);
    const auto a = file_id_at(dir->fd(), "a");
    ASSERT_TRUE(a);
    EXPECT_EQ(file_id_at(dir->fd(), "hard"), a);
    EXPECT_NE(file_id_at(dir->fd(), "b"), a);
    const auto soft = file_id_at(dir->fd(), "soft");
    ASSERT_TRUE(soft);
    EXPECT_NE(soft, a);
    EXPECT_EQ(file_id_at(dir->fd(), "missing"), std::nullopt);
    EXPECT_EQ(file_id_at(dir->fd(), std::string("a\0b", 3)), std::nullopt);
}

TEST(ExecutableFolder, HoldsTheRunningProgram) {
    const std::string folder = executable_folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
    struct stat self {};
    ASSERT_EQ(stat("/proc/self/exe", &self), 0);
    const auto names = list_folder_files(folder);
    ASSERT_TRUE(names);
    bool found = false;
    for (const auto& name : *names) {
        struct stat info {};
        if (stat((folder + name).c_str(), &info) == 0 && info.st_ino == self.st_ino &&
            info.st_dev == self.st_dev)
            found = true;
    }
    EXPECT_TRUE(found);
}

TEST(FileIdTest, ARecreatedFileIsAnotherFileEvenOnTheSameInode) {
    test::TempDir temp;
    temp.write_file("a", "same");
    const auto dir = DirHandle::open_path(temp.path());
    ASSERT_TRUE(dir);
    const auto first = file_id_at(dir->fd(), "a");
    ASSERT_TRUE(first);
    EXPECT_TRUE(is_same_file(*first, *file_id_at(dir->fd(), "a")));
    // Recreate until the file system hands out the same inode number again.
    std::optional<FileId> again;
    for (int attempt = 0; attempt < 50; ++attempt) {
        ASSERT_EQ(unlink((temp.path() + "a").c_str()), 0);
        temp.write_file("a", "same");
        again = file_id_at(dir->fd(), "a");
        if (again && again->inode == first->inode) break;
    }
    ASSERT_TRUE(again);
    if (again->inode == first->inode && !first->has_birth && again->mtime_nsec == first->mtime_nsec)
        GTEST_SKIP() << "no birth time and an equal modification time here";
    EXPECT_FALSE(is_same_file(*first, *again));
}

TEST(FileIdTest, SameFileRuleWeighsBirthInodeAndTimes) {
    FileId born{1, 2, 100, 5, true, true, 7, 8, 9};
    FileId moved_fuse = born;
    moved_fuse.device = 3;  // a FUSE remount numbers files afresh
    moved_fuse.inode = 4;
    moved_fuse.lasting_inode = false;
    FileId edited = born;  // tags written: new modification time and size
    edited.mtime_sec = 99;
    edited.size = 1;
    FileId unborn = born;
    unborn.has_birth = false;
    FileId unborn_edited = unborn;
    unborn_edited.mtime_nsec = 1;
    FileId reborn = born;
    reborn.birth_nsec = 6;
    EXPECT_TRUE(is_same_file(born, moved_fuse));
    EXPECT_TRUE(is_same_file(born, edited));
    EXPECT_TRUE(is_same_file(unborn, unborn));
    EXPECT_FALSE(is_same_file(unborn, unborn_edited));
    EXPECT_FALSE(is_same_file(born, reborn));
    FileId other_inode = born;
    other_inode.inode = 3;
    EXPECT_FALSE(is_same_file(born, other_inode));
}

// A folder its user may write and search but not read: renaming works
// there as it does with mv. Run as an ordinary user (root reads anything).
TEST(DirHandleTest, PathHandleRenamesInAWriteOnlyFolder) {
    test::TempDir temp;
    const std::string folder = temp.path() + "box/";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    temp.write_file("box/a.txt", "a");
    ASSERT_EQ(chmod(temp.path().c_str(), 0711), 0);  // the other user must reach it
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 &&
            (chown(folder.c_str(), 65534, 65534) != 0 ||
             chown((folder + "a.txt").c_str(), 65534, 65534) != 0 ||
             chmod(folder.c_str(), 0300) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        if (chmod(folder.c_str(), 0300) != 0) _exit(4);
        if (DirHandle::open(folder)) _exit(5);  // reading is refused
        const auto dir = DirHandle::open_path(folder);
        _exit(dir && rename_no_replace(dir->fd(), "a.txt", "b.txt") == 0 ? 0 : 6);
    }
    int status = 0;
    waitpid(child, &status, 0);
    chmod(folder.c_str(), 0700);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(temp.exists("box/b.txt"));
}

}  // namespace
}  // namespace varnel
