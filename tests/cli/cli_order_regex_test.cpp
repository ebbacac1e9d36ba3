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
    const CliRun smart =
        run_cli({"rename", "number", "--order", "smart", "--journal", journal, "1.txt", "0.txt"},
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

// A group the pattern lacks is refused like a bad pattern, before any file
// is touched; a name that would not fit on disk fails on its own in either
// order, with its reason, while the others are renamed.
TEST(CliRegex, RefusesMissingGroupsAndFailsOnlyTheNameTooLong) {
    for (const char* with : {"$5", "${nope}", "$"}) {
        const CliRun bad =
            run_cli({"rename", "replace", "--regex", "--find", "(a)", "--with", with, "/m/a.txt"});
        EXPECT_EQ(bad.status, 2) << with;
        EXPECT_NE(bad.err.find("option --with"), std::string::npos) << bad.err;
    }
    for (const char* order : {"in-order", "smart"}) {
        TempDir dir;
        dir.write_file("short.txt", "s");
        dir.write_file(std::string(130, 'l') + ".txt", "l");
        const CliRun run =
            run_cli({"rename", "replace", "--regex", "--find", "^(.+)$", "--with", "$1$1",
                     "--order", order, "short.txt", std::string(130, 'l') + ".txt"},
                    dir.path());
        EXPECT_EQ(run.status, 1) << order;
        EXPECT_NE(run.out.find("更名成功\tshort.txt\tshortshort.txt\n"), std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("更名失败 (名称过长)\t" + std::string(130, 'l') + ".txt"),
                  std::string::npos)
            << run.out;
        EXPECT_EQ(dir.names(),
                  (std::vector<std::string>{std::string(130, 'l') + ".txt", "shortshort.txt"}));
        const CliRun preview = run_cli({"preview", "replace", "--regex", "--find", "^(.+)$",
                                        "--with", "$1$1", "/m/" + std::string(130, 'l')});
        EXPECT_EQ(preview.status, 1);
        EXPECT_EQ(preview.out,
                  std::string(130, 'l') + "\t" + std::string(130, 'l') + "\t名称过长\n");
    }
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
