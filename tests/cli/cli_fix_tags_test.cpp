// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli fix-tags end to end.

#include <gtest/gtest.h>

#include <string>

#include "cli_fixture.h"
#include "support/mp3_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;

TEST(CliFixTags, PreviewsConvertsAndReports) {
    TempDir dir;
    // 歌手 in GBK, and a title with a line break that must not forge a line.
    const std::string tag = id3v2_tag(
        text_frame("TPE1", "\xB8\xE8\xCA\xD6") + text_frame("TIT2", "\xB8\xE8\nx"), 3, 200);
    const std::string gbk = tag + fake_audio(1000);
    dir.write_file("gbk.mp3", gbk);
    dir.write_file("plain.mp3", id3v2_tag(text_frame("TIT2", "Song")) + fake_audio(100));
    dir.write_file("v1.mp3", fake_audio(100) + id3v1_block("Title"));
    const std::string change = "\t编码0 (GBK) → 编码1 (UTF-16)\n";

    const CliRun preview = run_cli(
        {"fix-tags", "--dry-run", "gbk.mp3", "plain.mp3", "v1.mp3", "missing.mp3"}, dir.path());
    EXPECT_EQ(preview.status, 1);  // the missing file
    EXPECT_EQ(preview.out, "将转换\tgbk.mp3\tTPE1\t歌手\t歌手" + change +
                               "将转换\tgbk.mp3\tTIT2\t歌\\nx\t歌\\nx" + change +
                               "无需转换\tplain.mp3\t\t\t\t\n"
                               "无需转换\tv1.mp3\t\t\t\t\n"
                               "转换失败 (No such file or directory)\tmissing.mp3\t\t\t\t\n"
                               "将转换 1 个文件，无需转换 2 个文件，转换失败 1 个文件\n");
    EXPECT_EQ(dir.read_file("gbk.mp3"), gbk);

    const CliRun fixed = run_cli({"fix-tags", "--add-v2-from-v1", "gbk.mp3", "v1.mp3"}, dir.path());
    EXPECT_EQ(fixed.status, 0) << fixed.err;
    EXPECT_NE(fixed.out.find("已转换\tgbk.mp3\tTPE1\t歌手\t歌手\t"), std::string::npos);
    EXPECT_NE(fixed.out.find("已添加ID3v2标签\tv1.mp3\tTIT2\t\tTitle\tID3v1 → ID3v2 (UTF-16)\n"),
              std::string::npos)
        << fixed.out;
    EXPECT_NE(
        dir.read_file("gbk.mp3").find("TPE1\0\0\0\x07\0\0\x01\xFF\xFE\x4C\x6B\x4B\x62", 0, 17),
        std::string::npos);
    const CliRun shown = run_cli({"tag", dir.path() + "v1.mp3"});
    EXPECT_NE(shown.out.find("v2.title=Title\n"), std::string::npos) << shown.out;

    EXPECT_EQ(run_cli({"fix-tags"}).status, 2);
    EXPECT_EQ(run_cli({"fix-tags", "--bogus", "a.mp3"}).status, 2);
    EXPECT_NE(run_cli({"fix-tags", "--help"}).out.find("--add-v2-from-v1"), std::string::npos);
}

using CliFixTagsTest = CliFolderTest;

// fix-tags records each file's old tag before writing it: undo --tags
// puts every file back byte for byte.
TEST_F(CliFixTagsTest, UndoTagsRestoresTheConvertedFiles) {
    const std::string gbk = id3v2_tag(text_frame("TPE1", "\xB8\xE8\xCA\xD6"), 3, 0) +
                            fake_audio(1000) + id3v1_block("v1 title");
    const std::string v1_only = fake_audio(500) + id3v1_block("Title", "Band");
    dir.write_file("gbk.mp3", gbk);
    dir.write_file("v1.mp3", v1_only);
    const CliRun fixed = cli({"fix-tags", "--add-v2-from-v1", "gbk.mp3", "v1.mp3"});
    ASSERT_EQ(fixed.status, 0) << fixed.err;
    ASSERT_NE(dir.read_file("gbk.mp3"), gbk);
    ASSERT_NE(dir.read_file("v1.mp3"), v1_only);
    const CliRun undone = cli({"undo", "--tags"});
    EXPECT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(dir.read_file("gbk.mp3"), gbk);
    EXPECT_EQ(dir.read_file("v1.mp3"), v1_only);
}

// Without a journal fix-tags refuses with a hint, writing nothing (a dry
// run needs none); --no-journal writes and leaves nothing to undo.
TEST_F(CliFixTagsTest, RefusesToWriteWithoutAJournalUnlessTold) {
    const std::string gbk = id3v2_tag(text_frame("TPE1", "\xB8\xE8\xCA\xD6")) + fake_audio(500);
    dir.write_file("gbk.mp3", gbk);
    const std::string usable = env.state_home;
    state.write_file("not a folder", "");
    env.state_home = state.path() + "not a folder";
    const CliRun refused = cli({"fix-tags", "gbk.mp3"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--no-journal"), std::string::npos) << refused.err;
    EXPECT_EQ(dir.read_file("gbk.mp3"), gbk);
    EXPECT_EQ(cli({"fix-tags", "--dry-run", "gbk.mp3"}).status, 0);

    env.state_home = usable;
    const CliRun unjournaled = cli({"fix-tags", "--no-journal", "gbk.mp3"});
    EXPECT_EQ(unjournaled.status, 0) << unjournaled.err;
    EXPECT_NE(dir.read_file("gbk.mp3"), gbk);
    EXPECT_EQ(cli({"undo", "--tags"}).status, 2);
}

}  // namespace
}  // namespace varnel
