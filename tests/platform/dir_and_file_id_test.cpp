#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/dir_handle.h"
#include "platform/exe_folder.h"
#include "platform/file_id.h"
#include "platform/folder_listing.h"
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

}  // namespace
}  // namespace varnel
