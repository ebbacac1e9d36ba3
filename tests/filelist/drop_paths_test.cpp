// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filelist/adding.h"

namespace varnel {
namespace {

using Paths = std::vector<std::string>;

struct UriCase {
    const char* name;
    std::string list;
    Paths paths;
};

TEST(UriList, LocalPathsArePercentDecodedToBytes) {
    const UriCase cases[] = {
        {"GBK name", "file:///music/%C4%E3%BA%C3.mp3\r\n", {"/music/\xC4\xE3\xBA\xC3.mp3"}},
        {"UTF-8 name", "file:///a/%E4%BD%A0.txt", {"/a/\xE4\xBD\xA0.txt"}},
        {"localhost and LF", "file://localhost/x/y.txt\nfile:///z\n", {"/x/y.txt", "/z"}},
        {"comments, blanks, other schemes and hosts",
         "# dragged\r\n\r\nhttp://host/a\r\nfile://other/b\r\nfile:///c\r\n",
         {"/c"}},
        {"folder slash dropped, root kept", "file:///music/\r\nfile:///\r\n", {"/music", "/"}},
        {"bad escapes stay", "file:///a%2/b%zz%", {"/a%2/b%zz%"}},
        {"encoded slash and space", "file:///a%20b/c%2Fd", {"/a b/c/d"}},
        {"query and fragment cut", "file:///a.txt?x#y", {"/a.txt"}},
        {"NUL refused", "file:///a%00b\r\nfile:///ok", {"/ok"}},
        {"upper-case scheme", "FILE:///up", {"/up"}},
        {"relative refused", "file:rel/a", {}},
    };
    for (const UriCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(paths_from_uri_list(c.list), c.paths);
    }
}

TEST(DroppedFiles, EachFileKeepsItsOwnFolder) {
    const std::vector<FolderRun> runs =
        runs_by_folder({"/d1/a.txt", "/d2/b.txt", "/d2/c.txt", "/d1/d.txt"});
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].folder, "/d1/");
    EXPECT_EQ(runs[0].names, Paths{"a.txt"});
    EXPECT_EQ(runs[1].folder, "/d2/");
    EXPECT_EQ(runs[1].names, (Paths{"b.txt", "c.txt"}));
    EXPECT_EQ(runs[2].folder, "/d1/");
    EXPECT_EQ(runs[2].names, Paths{"d.txt"});
}

TEST(ChooserBuffer, AnswersLongerThan8192BytesCountAsCancelled) {
    const std::string folder = "/m/";  // 3 bytes + NUL
    // One path: its bytes and a NUL.
    EXPECT_TRUE(fits_chooser_buffer({"/" + std::string(8190, 'a')}));
    EXPECT_FALSE(fits_chooser_buffer({"/" + std::string(8191, 'a')}));
    // Several: folder NUL, each name NUL, final NUL: 4 + (a + 1) + (b + 1) + 1.
    EXPECT_TRUE(
        fits_chooser_buffer({folder + std::string(4093, 'a'), folder + std::string(4092, 'b')}));
    EXPECT_FALSE(
        fits_chooser_buffer({folder + std::string(4094, 'a'), folder + std::string(4092, 'b')}));
}

}  // namespace
}  // namespace varnel
