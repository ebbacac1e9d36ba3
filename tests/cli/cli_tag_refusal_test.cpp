// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli tag on files whose ID3v2 tag cannot be edited safely: the
// whole command is refused with the reason, and neither tag changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/mp3_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace std::string_literals;
using namespace varnel::test;

struct Refusal {
    const char* what;
    std::string file;
    std::vector<std::string> args;  // before the file's path
    const char* reason;             // a piece of the message
};

TEST(CliTagRefusal, UnclearTagsStopTheWholeCommandWithTheReason) {
    // Declared far past the end of the file, with text (no audio) after the frames.
    const std::string end_unknown =
        with_declared_size(id3v2_tag(text_frame("TIT2", "Old"), 3, 0), 9000) + "not audio" +
        id3v1_block("v1");
    // Version 2.4 frame size 00 00 01 00: neither reading reaches the padding.
    const std::string sizes_unclear =
        id3v2_tag(id3v2_frame("TALB", "\0" + std::string(255, 'a')) + "junk"s, 4) + mpeg_frames(2) +
        id3v1_block("v1");
    const std::vector<Refusal> cases = {
        {"edit of both tags",
         end_unknown,
         {"tag", "--set-v1", "title=New", "--set-v2", "title=New"},
         "where the tag ends is unknown"},
        {"removal of both tags",
         end_unknown,
         {"tag", "--remove-v1", "--remove-v2"},
         "where the tag ends is unknown"},
        {"edit with unclear v2.4 sizes",
         sizes_unclear,
         {"tag", "--set-v1", "title=New", "--set-v2", "title=New"},
         "frame sizes"},
    };
    TempDir dir;
    for (const Refusal& c : cases) {
        dir.write_file("song.mp3", c.file);
        std::vector<std::string> args = c.args;
        args.push_back(dir.path() + "song.mp3");
        const CliRun run = run_cli(args);
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.what << ": " << run.err;
        EXPECT_EQ(dir.read_file("song.mp3"), c.file) << c.what;
    }
    // Removing the tag of the file with unclear frame sizes needs no frames.
    dir.write_file("song.mp3", sizes_unclear);
    EXPECT_EQ(run_cli({"tag", "--remove-v2", dir.path() + "song.mp3"}).status, 0);
    EXPECT_EQ(dir.read_file("song.mp3"), mpeg_frames(2) + id3v1_block("v1"));
}

}  // namespace
}  // namespace varnel
