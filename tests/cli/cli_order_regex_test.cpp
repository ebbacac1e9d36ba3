// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli: the smart order and regular expressions.

#include <gtest/gtest.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::CliRun;
using test::run_cli;
using test::TempDir;

TEST(CliSmartOrder, ASwapRenamesAndItsJournalUndoesIt) {
    TempDir dir;
    dir.write_file("1.txt", "one");
    dir.write_file("0.txt", "zero");
    const std::string journal = dir.path() + "/swap.journal";
    const CliRun in_order = run_cli({"rename", "number", "1.txt", "0.txt"}, dir.path());
    EXPECT_EQ(in_order.status, 1);  // row by row, a swap cannot succeed
    const CliRun smart = run_cli(
        {"rename", "number", "--order", "smart", "--journal", journal, "1.txt", "0.txt"},
        dir.path());
    EXPECT_EQ(smart.status, 0) << smart.out << smart.err;
    EXPECT_EQ(dir.read_file("0.txt"), "one");
    EXPECT_EQ(dir.read_file("1.txt"), "zero");
    EXPECT_EQ(run_cli({"undo", "--journal", journal}).status, 0);
    EXPECT_EQ(dir.read_file("1.txt"), "one");
    EXPECT_EQ(dir.read_file("0.txt"), "zero");
    EXPECT_EQ(run_cli({"rename", "number", "--order", "sideways", "x"}).status, 2);
}

TEST(CliRegex, ReplacesByPatternAndRefusesABadOne) {
    const CliRun run = run_cli({"preview", "replace", "--regex", "--find", "^(.+) - (.+)$",
                                "--with", "$2 - $1", "/m/歌手 - 歌名.mp3"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "歌手 - 歌名.mp3\t歌名 - 歌手.mp3\n");
    const CliRun bad = run_cli({"preview", "replace", "--regex", "--find", "(", "/m/a.mp3"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("missing closing parenthesis"), std::string::npos) << bad.err;
}

TEST(CliFixNames, RespellsLegacyNamesAndLeavesUtf8Alone) {
    TempDir dir;
    const std::string gbk = "\xC4\xE3\xBA\xC3.mp3";  // 你好.mp3 in GBK bytes
    dir.write_file(gbk, "song");
    dir.write_file("plain.txt", "text");
    const CliRun run = run_cli({"fix-names", gbk, "plain.txt"}, dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.read_file("你好.mp3"), "song");
    EXPECT_EQ(dir.read_file("plain.txt"), "text");
    EXPECT_NE(run.out.find("你好.mp3"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace varnel
