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

TEST(FolderContents, FilesAreWhatAFolderListingGivesAndOnlyRealFoldersAreSubfolders) {
    test::TempDir dir;
    const std::string at = dir.path();
    dir.write_file("song.mp3");
    dir.write_file(".hidden");
    dir.write_file("\xC4\xE3\xBA\xC3.txt");
    ASSERT_EQ(::mkdir((at + "\xD6\xD0").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((at + ".config").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo((at + "pipe").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("song.mp3", (at + "to-file").c_str()), 0);
    ASSERT_EQ(::symlink("\xD6\xD0", (at + "to-folder").c_str()), 0);
    ASSERT_EQ(::symlink("..", (at + "to-parent").c_str()), 0);
    ASSERT_EQ(::symlink("missing", (at + "dangling").c_str()), 0);

    const FolderContents contents = read_folder_contents(at, false);
    ASSERT_EQ(contents.error, 0);
    EXPECT_EQ(sorted(contents.files), sorted(*list_folder_files(at)));
    EXPECT_EQ(sorted(contents.files), sorted({"song.mp3", ".hidden", "\xC4\xE3\xBA\xC3.txt", "pipe",
                                              "to-file", "dangling"}));
    EXPECT_EQ(sorted(contents.subfolders), sorted({"\xD6\xD0", ".config"}));
    struct stat info {};
    ASSERT_EQ(::stat(at.c_str(), &info), 0);
    EXPECT_EQ(contents.device, info.st_dev);
    EXPECT_EQ(contents.inode, info.st_ino);
}

TEST(FolderContents, FailuresKeepTheirReason) {
    test::TempDir dir;
    dir.write_file("file");
    ASSERT_EQ(::mkdir((dir.path() + "real").c_str(), 0755), 0);
    dir.write_file("real/inside");
    ASSERT_EQ(::symlink("real", (dir.path() + "link").c_str()), 0);
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
        const FolderContents contents = read_folder_contents(dir.path() + c.folder, c.follow_link);
        EXPECT_EQ(contents.error, c.error);
        EXPECT_EQ(contents.files, c.error == 0 ? Names{"inside"} : Names{});
    }
}

}  // namespace
}  // namespace varnel
