// SPDX-License-Identifier: GPL-3.0-or-later
// One listing of a folder split into files and real subfolders.

#include "platform/folder_contents.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/folder_listing.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using Names = std::vector<std::string>;

Names sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FolderContents, FilesAreWhatAFolderListingGivesAndFailuresKeepTheirReason) {
    test::TempDir dir;
    const std::string at = dir.path();
    dir.write_file("file");
    ASSERT_EQ(::mkfifo((at + "pipe").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir((at + "real").c_str(), 0755), 0);
    dir.write_file("real/inside");
    ASSERT_EQ(::symlink("real", (at + "link").c_str()), 0);
    ASSERT_EQ(::symlink("missing", (at + "dangling").c_str()), 0);

    const FolderContents contents = read_folder_contents(at, false);
    ASSERT_EQ(contents.error, 0);
    EXPECT_EQ(sorted(contents.files), sorted(*list_folder_files(at)));
    EXPECT_EQ(sorted(contents.files), (Names{"dangling", "file", "pipe"}));
    EXPECT_EQ(contents.subfolders, Names{"real"});
    struct stat info {};
    ASSERT_EQ(::stat(at.c_str(), &info), 0);
    EXPECT_EQ(contents.device, info.st_dev);
    EXPECT_EQ(contents.inode, info.st_ino);

    struct Case {
        std::string folder;
        bool follow_link;
        int error;
    };
    const Case cases[] = {
        {"missing", true, ENOENT},
        {"file", true, ENOTDIR},
        {"link", false, ENOTDIR},  // swapped for a link while a walk was under way
        {"link/", true, 0},        // the chosen folder may be a link
        {std::string("re\0al", 5), true, EINVAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const FolderContents read = read_folder_contents(at + c.folder, c.follow_link);
        EXPECT_EQ(read.error, c.error);
        EXPECT_EQ(read.files, c.error == 0 ? Names{"inside"} : Names{});
    }
}

}  // namespace
}  // namespace varnel
