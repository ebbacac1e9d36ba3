// SPDX-License-Identifier: GPL-3.0-or-later
// One listing of a folder split into files and real subfolders.

#include "platform/folder_contents.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/folder_listing.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::sorted;

using Names = std::vector<std::string>;

TEST(FolderContents, FilesAreWhatAFolderListingGivesAndFailuresKeepTheirReason) {
    test::TempDir dir;
    const std::string at = dir.path();
    dir.write_file("file");
    ASSERT_EQ(::mkfifo((at + "pipe").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir((at + "real").c_str(), 0755), 0);
    dir.write_file("real/inside");
    ASSERT_EQ(::symlink("real", (at + "link").c_str()), 0);
    ASSERT_EQ(::symlink("missing", (at + "dangling").c_str()), 0);

    int error = -1;
    const WalkFolder root = WalkFolder::open_root(at, error);
    ASSERT_TRUE(root.open());
    EXPECT_EQ(error, 0);
    const FolderContents contents = read_folder_contents(root);
    ASSERT_EQ(contents.error, 0);
    EXPECT_EQ(sorted(contents.files), sorted(*list_folder_files(at)));
    EXPECT_EQ(sorted(contents.files), (Names{"dangling", "file", "pipe"}));
    EXPECT_EQ(contents.subfolders, Names{"real"});
    struct stat info {};
    ASSERT_EQ(::stat(at.c_str(), &info), 0);
    EXPECT_EQ(contents.device, info.st_dev);
    EXPECT_EQ(contents.inode, info.st_ino);

    // A subfolder is opened through its parent and never through a link;
    // only the chosen folder itself may be one.
    struct Case {
        std::string folder;
        bool as_root;
        int error;
    };
    const Case cases[] = {
        {"missing", false, ENOENT},
        {"file", false, ENOTDIR},
        {"link", false, ENOTDIR},  // swapped for a link while a walk was under way
        {"dangling", false, ENOTDIR},
        {"real", false, 0},
        {"..", false, EINVAL},
        {"real/", false, EINVAL},  // one entry name, never a path
        {std::string("re\0al", 5), false, EINVAL},
        {"link/", true, 0},
        {"missing", true, ENOENT},
        {std::string("re\0al", 5), true, EINVAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        int open_error = -1;
        const WalkFolder folder = c.as_root ? WalkFolder::open_root(at + c.folder, open_error)
                                            : root.open_subfolder(c.folder, open_error);
        EXPECT_EQ(open_error, c.error);
        EXPECT_EQ(folder.open(), c.error == 0);
        const FolderContents read = read_folder_contents(folder);
        EXPECT_EQ(read.error, c.error == 0 ? 0 : EBADF);
        EXPECT_EQ(read.files, c.error == 0 ? Names{"inside"} : Names{});
    }
}

}  // namespace
}  // namespace varnel
