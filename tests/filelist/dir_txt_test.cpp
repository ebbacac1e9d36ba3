// SPDX-License-Identifier: GPL-3.0-or-later
// dir.txt, the remembered folder of the add-files dialog: its first line,
// created empty when missing, and never written through a symbolic link.

#include <gtest/gtest.h>
#include <unistd.h>

#include "filelist/adding.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using Names = std::vector<std::string>;

TEST(DirTxt, ReadsTheFirstLineAndCreatesAMissingFile) {
    struct Case {
        const char* content;
        std::size_t size;
        const char* line;
    };
    const Case cases[] = {
        {"/music/\r\n", 9, "/music/"},
        {"/a/\nsecond\n", 11, "/a/"},
        {"/a/\0b\n", 6, "/a/"},
        {"/a/\x1A"
         "b",
         5, "/a/"},
        {"/no/end", 7, "/no/end"},
        {"", 0, ""},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        dir.write_file("dir.txt", std::string(c.content, c.size));
        EXPECT_EQ(read_last_folder(dir.path() + "dir.txt"), std::string(c.line)) << c.content;
    }
    test::TempDir dir;
    EXPECT_EQ(read_last_folder(dir.path() + "dir.txt"), std::string());
    EXPECT_EQ(dir.names(), Names{"dir.txt"});
    EXPECT_EQ(read_last_folder(dir.path() + "missing/dir.txt"), std::nullopt);
}

TEST(DirTxt, LinksAreNeverWrittenThrough) {
    test::TempDir dir;
    const std::string link = dir.path() + "dir.txt";
    const std::string target = dir.path() + "target";

    // A dangling link: reading does not create its target, and is no file to use.
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_EQ(read_last_folder(link), std::nullopt);
    EXPECT_FALSE(dir.exists("target"));

    // A link to a file: read through, but writing replaces the link itself.
    dir.write_file("target", "/from/target/\r\n");
    EXPECT_EQ(read_last_folder(link), std::string("/from/target/"));
    EXPECT_TRUE(write_last_folder(link, "/music/"));
    EXPECT_EQ(dir.read_file("target"), "/from/target/\r\n");
    EXPECT_EQ(dir.read_file("dir.txt"), "/music/\r\n");
    char buffer[8];
    EXPECT_EQ(readlink(link.c_str(), buffer, sizeof buffer), -1);  // a plain file now
    EXPECT_EQ(dir.names(), (Names{"dir.txt", "target"}));
}

}  // namespace
}  // namespace varnel
