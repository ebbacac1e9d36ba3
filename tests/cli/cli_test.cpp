// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli end to end, on temporary folders.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/folder_listing.h"
#include "support/exfat_mount.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::CliRun;
using test::run_cli;
using test::TempDir;

TEST(Cli, PreviewNeedsNoFilesAndCountsCodePageBytes) {
    // 中文.txt: the insert position 3 falls after the first character.
    const CliRun run = run_cli({"preview", "insert", "--text", "-", "--at", "3", "--",
                                "/nowhere/中文.txt", "/nowhere/ab.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "中文.txt\t中-文.txt\nab.txt\tab-.txt\n");
}

TEST(Cli, PreviewOfEachRule) {
    EXPECT_EQ(run_cli({"preview", "number", "--prefix", "IMG_", "--digits", "3", "--start", "8",
                       "a.jpg", "b.jpg"})
                  .out,
              "a.jpg\tIMG_008.jpg\nb.jpg\tIMG_009.jpg\n");
    EXPECT_EQ(run_cli({"preview", "replace", "--find=MP3", "--scope", "ext", "song.mp3"}).out,
              "song.mp3\tsong\n");
    EXPECT_EQ(run_cli({"preview", "replace", "--find=MP3", "--case-sensitive", "--scope", "ext",
                       "song.mp3"})
                  .out,
              "song.mp3\tsong.mp3\n");
    EXPECT_EQ(run_cli({"preview", "case", "--name", "first-upper", "--ext", "first-lower",
                       "hELLO world.Mp3"})
                  .out,
              "hELLO world.Mp3\tHELLO world.mp3\n");
    EXPECT_EQ(run_cli({"preview", "case", "--name", "title", "--ext", "title",
                       "éLAN d'ÉTÉ 2nd_mix 中文x.MP3"})
                  .out,
              "éLAN d'ÉTÉ 2nd_mix 中文x.MP3\tÉlan D'été 2nd_Mix 中文X.Mp3\n");
    EXPECT_EQ(run_cli({"preview", "insert", "--text", "X", "--same", "--at", "end", "--ext-at",
                       "end", "a.b"})
                  .out,
              "a.b\taX.bX\n");
}

TEST(Cli, UsageErrorsExitTwoAndRenameNothing) {
    TempDir dir;
    dir.write_file("a.txt");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"rename", "number"},
             {"rename", "shuffle", dir.path() + "a.txt"},
             {"rename", "number", "--bogus", "1", dir.path() + "a.txt"},
             {"rename", "case", "--name", "sideways", dir.path() + "a.txt"},
             {"rename", "number", "--journal", "/nonexistent/dir/j", dir.path() + "a.txt"},
             {"undo"},
             {"undo", "--journal", dir.path() + "missing"}}) {
        const CliRun run = run_cli(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(run_cli({"--help"}).status, 0);
}

TEST(Cli, RenameThenUndoThroughTheJournal) {
    TempDir dir;
    dir.write_file("a.txt", "A");
    dir.write_file("b.txt", "B");
    dir.write_file("1.txt", "taken");
    const std::string journal = dir.path() + "batch.journal";
    const CliRun renamed =
        run_cli({"rename", "number", "--journal", journal, "a.txt", "b.txt"}, dir.path());
    EXPECT_EQ(renamed.status, 1);
    EXPECT_EQ(renamed.out,
              "更名成功\ta.txt\t0.txt\n更名失败 (File exists)\tb.txt\t1.txt\n"
              "文件总数：2 个文件\n\n1 个文件更名成功！\n1 个文件更名失败！\n");
    EXPECT_EQ(dir.read_file("0.txt"), "A");
    EXPECT_EQ(dir.read_file("1.txt"), "taken");

    // Only the rename that happened is undone.
    const CliRun undone = run_cli({"undo", "--journal", journal});
    EXPECT_EQ(undone.status, 0);
    EXPECT_EQ(undone.out, "撤消成功\t0.txt\ta.txt\n上一次的操作已经成功撤消！\n");
    EXPECT_EQ(dir.read_file("a.txt"), "A");
    EXPECT_EQ(dir.read_file("b.txt"), "B");

    // A second undo finds the file back under its old name and leaves it.
    EXPECT_EQ(run_cli({"undo", "--journal", journal}).status, 0);
    EXPECT_EQ(dir.read_file("a.txt"), "A");
    // The impostor under the new name is not the recorded file.
    dir.write_file("0.txt", "impostor");
    ::unlink((dir.path() + "a.txt").c_str());
    EXPECT_EQ(run_cli({"undo", "--journal", journal}).status, 1);
    EXPECT_EQ(dir.read_file("0.txt"), "impostor");
}

TEST(Cli, LegacyNameRoundTripsByteExactly) {
    TempDir dir;
    const std::string legacy = "\xC4\xE3\xBA\xC3.mp3";  // 你好.mp3 in GBK
    dir.write_file(legacy, "x");
    const std::string journal = dir.path() + "j";
    const CliRun renamed =
        run_cli({"rename", "case", "--ext", "upper", "--journal", journal, dir.path() + legacy});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(renamed.out, "更名成功\t你好.mp3\t你好.MP3\n文件更名完毕！\n");
    EXPECT_TRUE(dir.exists("你好.MP3"));
    EXPECT_EQ(run_cli({"undo", "--journal", journal}).status, 0);
    EXPECT_TRUE(dir.exists(legacy));
    EXPECT_EQ(dir.read_file(legacy), "x");
}

TEST(Cli, ListsFromFilesAndStandardInputInEitherSeparator) {
    TempDir dir;
    const std::vector<std::string> names{"a b.txt", "c\td.txt", "e.txt"};
    for (const std::string& name : names) dir.write_file(name);
    dir.write_file("lines", "a b.txt\ne.txt\n\n");
    const CliRun from_file =
        run_cli({"preview", "number", "--files-from", dir.path() + "lines"}, dir.path());
    EXPECT_EQ(from_file.status, 0) << from_file.err;
    EXPECT_EQ(from_file.out, "a b.txt\t0.txt\ne.txt\t1.txt\n");
    // NUL-separated names may hold TAB and newline; the records come back NUL-ended.
    const std::string nul_list = std::string("c\td.txt") + '\0' + "e.txt" + '\0';
    const CliRun from_stdin =
        run_cli({"rename", "number", "-0", "--files-from", "-"}, dir.path(), nul_list);
    EXPECT_EQ(from_stdin.status, 0) << from_stdin.err;
    EXPECT_EQ(from_stdin.out, std::string("更名成功") + '\0' + "c\td.txt" + '\0' + "0.txt" + '\0' +
                                  "更名成功" + '\0' + "e.txt" + '\0' + "1.txt" + '\0');
    EXPECT_EQ(from_stdin.err, "文件更名完毕！\n");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"0.txt", "1.txt", "a b.txt", "lines"}));
    EXPECT_EQ(run_cli({"preview", "number", "--files-from", dir.path() + "missing"}).status, 2);
    // A FIFO, as the shell gives `--files-from <(find …)`: read in turn, it has no offsets.
    const std::string fifo = dir.path() + "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo) << "e.txt\n0.txt\n"; });
    const CliRun from_fifo = run_cli({"preview", "number", "--files-from", fifo}, dir.path());
    writer.join();
    EXPECT_EQ(from_fifo.status, 0) << from_fifo.err;
    EXPECT_EQ(from_fifo.out, "e.txt\t0.txt\n0.txt\t1.txt\n");
}

TEST(Cli, NamesAreEscapedSoTheyCannotDriveTheTerminalOrSplitFields) {
    const CliRun run = run_cli(
        {"preview", "insert", "--text", "", "--", "/x/red\x1b[31m\tname\nline\\\x7f\xc2\x9b.txt"});
    EXPECT_EQ(run.out,
              "red\\033[31m\\tname\\nline\\\\\\177\\u009b.txt\t"
              "red\\033[31m\\tname\\nline\\\\\\177\\u009b.txt\n");
}

// Every bidirectional control is escaped, so "evil\u202egpj.exe" cannot
// print as "evilexe.jpg"; the characters just outside their ranges are
// printed as they are.
TEST(Cli, BidiControlsAreEscapedAndTheirNeighboursAreNot) {
    struct Case {
        const char* raw;
        const char* printed;
    };
    const std::vector<Case> cases{
        {"\u200e", "\\u200e"}, {"\u200f", "\\u200f"}, {"\u202a", "\\u202a"}, {"\u202b", "\\u202b"},
        {"\u202c", "\\u202c"}, {"\u202d", "\\u202d"}, {"\u202e", "\\u202e"}, {"\u2066", "\\u2066"},
        {"\u2067", "\\u2067"}, {"\u2068", "\\u2068"}, {"\u2069", "\\u2069"}, {"\u200d", "\u200d"},
        {"\u2010", "\u2010"},  {"\u2029", "\u2029"},  {"\u202f", "\u202f"},  {"\u2065", "\u2065"},
        {"\u206a", "\u206a"},  {"脮", "脮"},
    };
    std::vector<std::string> arguments{"preview", "insert", "--text", "", "--"};
    std::string expected;
    for (const Case& c : cases) {
        const std::string name = std::string("evil") + c.raw + "gpj.exe";
        const std::string printed = std::string("evil") + c.printed + "gpj.exe";
        arguments.push_back("/x/" + name);
        expected += printed + "\t" + printed + "\n";
    }
    EXPECT_EQ(run_cli(arguments).out, expected);
}

TEST(Cli, VersionHelpAndRefusedJournals) {
    const CliRun version = run_cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("varnel-cli ")) << version.out;
    EXPECT_GT(version.out.size(), std::string("varnel-cli \n").size());
    const CliRun undo_help = run_cli({"undo", "--help"}, "/", {}, {"C"});
    EXPECT_EQ(undo_help.status, 0);
    EXPECT_NE(undo_help.out.find("last rename"), std::string::npos);
    EXPECT_EQ(undo_help.out.find("RULE number"), std::string::npos);
    EXPECT_NE(run_cli({"rename", "case", "--help"}, "/", {}, {"C"}).out.find("RULE number"),
              std::string::npos);

    // `--journal a.mp3 b.mp3`: a.mp3 is a file to keep, not a journal.
    TempDir dir;
    dir.write_file("a.mp3", "ID3 song");
    dir.write_file("b.mp3", "ID3 other");
    const CliRun refused = run_cli({"rename", "case", "--journal", "a.mp3", "b.mp3"}, dir.path());
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "varnel-cli: a.mp3 exists and is not a journal\n");
    dir.write_file("empty.txt");
    EXPECT_EQ(run_cli({"rename", "case", "--journal", "./empty.txt", dir.path() + "empty.txt"},
                      dir.path())
                  .status,
              2);
    EXPECT_TRUE(dir.exists("empty.txt"));
    EXPECT_EQ(dir.read_file("a.mp3"), "ID3 song");
    EXPECT_TRUE(dir.exists("b.mp3"));
}

// On an exFAT card (FUSE): a case-only rename, and an undo after the card
// was mounted again (FUSE numbers the files afresh).
TEST(Cli, RenameAndUndoOnExfatAcrossARemount) {
    test::ExfatMount exfat;
    if (!exfat.mounted()) GTEST_SKIP() << "cannot mount an exFAT image through FUSE here";
    TempDir dir;
    const std::string m = exfat.mount_point();
    for (const char* name : {"Track One.Mp3", "track two.mp3"}) {
        FILE* file = std::fopen((m + name).c_str(), "wb");
        ASSERT_TRUE(file);
        std::fputs(name, file);
        std::fclose(file);
    }
    const std::string journal = dir.path() + "j";
    const CliRun renamed =
        run_cli({"rename", "case", "--journal", journal, m + "Track One.Mp3", m + "track two.mp3"});
    EXPECT_EQ(renamed.status, 0) << renamed.out;
    const auto upper = list_folder_files(m);
    ASSERT_TRUE(upper);
    EXPECT_EQ(std::set<std::string>(upper->begin(), upper->end()),
              (std::set<std::string>{"TRACK ONE.MP3", "TRACK TWO.MP3"}));
    ASSERT_TRUE(exfat.remount());
    const CliRun undone = run_cli({"undo", "--journal", journal});
    EXPECT_EQ(undone.status, 0) << undone.out;
    const auto restored = list_folder_files(m);
    ASSERT_TRUE(restored);
    EXPECT_EQ(std::set<std::string>(restored->begin(), restored->end()),
              (std::set<std::string>{"Track One.Mp3", "track two.mp3"}));
    for (const char* name : {"Track One.Mp3", "track two.mp3"}) {
        FILE* file = std::fopen((m + name).c_str(), "rb");
        ASSERT_TRUE(file) << name;
        char content[64] = {};
        EXPECT_GT(std::fread(content, 1, sizeof content - 1, file), 0u);
        std::fclose(file);
        EXPECT_STREQ(content, name);
    }
}

// The journal's file system fills up in the middle of a batch: the renames
// it can no longer record fail with the reason, and undo restores the rest.
TEST(Cli, AFullJournalDiskStopsTheRenamesItCannotRecord) {
    TempDir dir;
    const std::string small = dir.path() + "small/";
    ASSERT_EQ(::mkdir(small.c_str(), 0700), 0);
    if (::mount("varnel-test", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    std::string list;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "file number " + std::to_string(i) + ".dat";
        dir.write_file(name, name);
        list += dir.path() + name + "\n";
    }
    dir.write_file("list", list);
    const std::string journal = small + "journal";
    const CliRun renamed =
        run_cli({"rename", "number", "--journal", journal, "--files-from", dir.path() + "list"});
    EXPECT_EQ(renamed.status, 1);
    EXPECT_NE(renamed.out.find("更名成功\tfile number 0.dat"), std::string::npos);
    EXPECT_NE(renamed.out.find("(No space left on device)"), std::string::npos);
    const CliRun undone = run_cli({"undo", "--journal", journal});
    ::umount2(small.c_str(), MNT_DETACH);
    EXPECT_EQ(undone.status, 0) << undone.err;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "file number " + std::to_string(i) + ".dat";
        ASSERT_EQ(dir.read_file(name), name);
    }
}

}  // namespace
}  // namespace varnel
