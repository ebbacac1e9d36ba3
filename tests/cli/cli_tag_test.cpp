// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli's tag commands end to end.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/edit_records.h"
#include "support/mp3_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;

TEST(CliTags, PreviewAndRenameFromTags) {
    TempDir dir;
    dir.write_file("a.mp3", id3v2_tag(text_frame("TPE1", "Band") + text_frame("TIT2", "Song")) +
                                fake_audio(200));
    dir.write_file("b.mp3", fake_audio(200));
    dir.write_file("c.txt", "text");
    const CliRun preview = run_cli(
        {"preview", "tags", "--template", "#1 - #2", "a.mp3", "b.mp3", "c.txt"}, dir.path());
    EXPECT_EQ(preview.status, 0);
    EXPECT_EQ(preview.out, "a.mp3\tBand - Song.mp3\nb.mp3\t\t无标签\nc.txt\t\t非MP3文件\n");

    const CliRun renamed = run_cli({"rename", "tags", "--template=#2", "a.mp3"}, dir.path());
    EXPECT_EQ(renamed.status, 0);
    EXPECT_TRUE(dir.exists("Song.mp3"));
    EXPECT_EQ(run_cli({"preview", "tags", "--prefer", "v3", "x.mp3"}).status, 2);
}

// Showing, the tag rule's preview and a dry run of fix-tags only read: an
// edit that a crash interrupted is told on standard error and left; the
// next edit finishes it first.
TEST(CliTags, ReadingCommandsTellOfAnInterruptedEditAndLeaveIt) {
    TempDir dir;
    TempDir state;
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    const test::CliEnv env{"zh_CN.UTF-8", state.path()};
    const std::string old_file = id3v2_tag(text_frame("TIT2", "Old one"), 3, 40) + fake_audio(3000);
    std::string torn = old_file;
    torn[21] = 'N';
    dir.write_file("s.mp3", torn);
    const std::string path = dir.path() + "s.mp3";
    ASSERT_TRUE(put_record(
        patch_record(identity_of(path), old_file, {{21, "Old", "New"}}, old_file.size())));
    const std::vector<std::vector<std::string>> reading = {{"tag", path},
                                                           {"fix-tags", "--dry-run", path}};
    for (const std::vector<std::string>& command : reading) {
        const CliRun run = run_cli(command, "/", {}, env);
        EXPECT_NE(run.err.find("上一次的标签修改没有完成"), std::string::npos) << command[0];
        EXPECT_TRUE(dir.read_file("s.mp3") == torn) << command[0];
    }
    EXPECT_EQ(run_cli({"preview", "tags", "--template", "#2", path}, "/", {}, env).out,
              "s.mp3\tNld one.mp3\n");
    EXPECT_TRUE(dir.read_file("s.mp3") == torn);

    const CliRun edit = run_cli({"tag", path, "--set-v2", "artist=A"}, "/", {}, env);
    EXPECT_EQ(edit.status, 0);
    EXPECT_NE(edit.err.find("上一次的标签修改没有完成；现已完成"), std::string::npos) << edit.err;
    EXPECT_NE(edit.out.find("v2.title=New one\nv2.artist=A\n"), std::string::npos) << edit.out;
    EXPECT_EQ(run_cli({"tag", path}, "/", {}, env).err, "");
    unsetenv("XDG_STATE_HOME");
}

TEST(CliTags, ShowsSetsAndRemovesTags) {
    TempDir dir;
    const std::string audio = fake_audio(5000);
    dir.write_file("s.mp3", audio);
    const std::string path = dir.path() + "s.mp3";
    EXPECT_EQ(run_cli({"tag", path}).out, "v1=none\nv2=none\n");

    const CliRun set = run_cli({"tag", path, "--set-v1", "title=标题", "--set-v1", "track=7",
                                "--set-v2", "artist=歌手", "--set-v2", "genre=(17)Rock"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(
        set.out,
        "v1.title=标题\nv1.artist=\nv1.album=\nv1.track=7\nv1.year=\nv1.genre=255\nv1.comment=\n"
        "v2.title=\nv2.artist=歌手\nv2.album=\nv2.track=\nv2.year=\nv2.genre=Rock\nv2.comment=\n"
        "v2.composer=\nv2.original_artist=\nv2.copyright=\nv2.url=\nv2.encoder=\n");
    const std::string bytes = dir.read_file("s.mp3");
    EXPECT_EQ(bytes.size(), 1024 + 4 + 8 + audio.size() + 128);
    EXPECT_EQ(bytes.substr(bytes.size() - 128 - audio.size(), audio.size()), audio);

    const CliRun removed = run_cli({"tag", path, "--remove-v1", "--remove-v2"});
    EXPECT_EQ(removed.out, "v1=none\nv2=none\n");
    EXPECT_EQ(dir.read_file("s.mp3"), audio);

    EXPECT_EQ(run_cli({"tag", path, "--set-v1", "composer=x"}).status, 2);  // not an ID3v1 field
    EXPECT_EQ(run_cli({"tag", path, "--bogus"}).status, 2);
}

// Every field and value is checked before anything is written: a bad
// value anywhere in the command is a usage error and the file stays as it was.
TEST(CliTags, BadFieldsAndValuesWriteNothing) {
    TempDir dir;
    const std::string audio = fake_audio(3000);
    dir.write_file("s.mp3", audio);
    const std::string path = dir.path() + "s.mp3";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string genre_line;  // what `tag` then shows
    };
    const std::vector<Case> cases = {
        {{"--set-v2", "title=x", "--set-v1", "genre=Rokc"}, 2, ""},
        {{"--set-v1", "genre=256"}, 2, ""},
        {{"--set-v1", "genre=-1"}, 2, ""},
        {{"--set-v1", "track=x7"}, 2, ""},
        {{"--set-v1", "genre=rock"}, 0, "v1.genre=17\n"},
        {{"--set-v1", "genre=Hip-Hop"}, 0, "v1.genre=7\n"},
        {{"--set-v1", "genre=200"}, 0, "v1.genre=200\n"},
    };
    for (const Case& c : cases) {
        dir.write_file("s.mp3", audio);
        std::vector<std::string> args{"tag", path};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = run_cli(args);
        EXPECT_EQ(run.status, c.status) << c.args.back() << run.err;
        if (c.status == 2)
            EXPECT_EQ(dir.read_file("s.mp3"), audio) << c.args.back();
        else
            EXPECT_NE(run.out.find(c.genre_line), std::string::npos) << run.out;
    }
}

// A FIFO, a folder or a link to a device named *.mp3 cannot be opened: the
// commands return at once and write nothing.
TEST(CliTags, OnlyRegularFilesAreOpened) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir.path() + "pipe.mp3").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((dir.path() + "folder.mp3").c_str(), 0700), 0);
    ASSERT_EQ(symlink("/dev/zero", (dir.path() + "device.mp3").c_str()), 0);
    for (const std::string name : {"pipe.mp3", "folder.mp3", "device.mp3"}) {
        const CliRun shown = run_cli({"tag", dir.path() + name});
        EXPECT_EQ(shown.status, 1) << name;
        EXPECT_NE(shown.err.find(name), std::string::npos) << shown.err;
        EXPECT_EQ(run_cli({"tag", dir.path() + name, "--set-v2", "title=x"}).status, 1) << name;
        const CliRun preview = run_cli({"preview", "tags", "--template", "#2", name}, dir.path());
        EXPECT_EQ(preview.status, 0) << name;
        EXPECT_EQ(preview.out, name + "\t\n") << name;  // left as it was
    }
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"device.mp3", "folder.mp3", "pipe.mp3"}));

    // A link named *.mp3 into a text file: nothing is written through it.
    dir.write_file("notes.txt", "keep me");
    ASSERT_EQ(symlink("notes.txt", (dir.path() + "notes.mp3").c_str()), 0);
    EXPECT_EQ(run_cli({"tag", dir.path() + "notes.mp3", "--set-v2", "title=x"}).status, 1);
    EXPECT_EQ(run_cli({"tag", dir.path() + "notes.mp3", "--set-v1", "title=x"}).status, 1);
    EXPECT_EQ(dir.read_file("notes.txt"), "keep me");
}

TEST(CliTags, FramesThatCannotBeKeptNeedDropUnconvertible) {
    TempDir dir;
    // A version 2.4 tag with a compressed frame (format flag 0x08).
    const std::string compressed("TSOP\0\0\0\x03\0\x08zzz", 13);
    const std::string tag = id3v2_tag(text_frame("TIT2", "Old") + compressed, 4, 10);
    const std::string audio = fake_audio(1000);
    dir.write_file("s.mp3", tag + audio);
    const std::string path = dir.path() + "s.mp3";
    const CliRun refused = run_cli({"tag", path, "--set-v1", "title=x", "--set-v2", "title=New"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("TSOP"), std::string::npos) << refused.err;
    EXPECT_EQ(dir.read_file("s.mp3"), tag + audio);  // not even the ID3v1 tag

    const CliRun dropped = run_cli({"tag", path, "--set-v2", "title=New", "--drop-unconvertible"});
    EXPECT_EQ(dropped.status, 0) << dropped.err;
    EXPECT_NE(dropped.out.find("v2.title=New\n"), std::string::npos);
    EXPECT_EQ(dir.read_file("s.mp3").find("TSOP"), std::string::npos);
}

TEST(CliTags, SetTextsFollowTheChosenEncoding) {
    TempDir dir;
    const std::string path = dir.path() + "s.mp3";
    for (const std::string encoding : {"gbk", "unicode"}) {
        dir.write_file("s.mp3", fake_audio(100));
        const CliRun run =
            run_cli({"tag", path, "--v2-encoding", encoding, "--set-v2", "title=你好"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("v2.title=你好\n"), std::string::npos);
        const std::string bytes = dir.read_file("s.mp3");
        const std::string expected =
            encoding == "gbk" ? std::string("TIT2\0\0\0\x05\0\0\0\xC4\xE3\xBA\xC3", 15)
                              : std::string("TIT2\0\0\0\x07\0\0\x01\xFF\xFE\x60\x4F\x7D\x59", 17);
        EXPECT_NE(bytes.find(expected), std::string::npos) << encoding;
    }
    EXPECT_EQ(run_cli({"tag", path, "--v2-encoding", "utf8"}).status, 2);
}

// Tag texts are printed escaped: control characters, TABs and line breaks
// in a tag cannot drive the terminal or forge another line.
TEST(CliTags, ShownTextsAreEscaped) {
    TempDir dir;
    const std::string path = dir.path() + "s.mp3";
    struct Case {
        std::string text;     // bytes of the TIT2 text (encoding 0)
        std::string printed;  // what follows "v2.title="
    };
    const std::vector<Case> cases = {
        {"a\tb", "a\\tb"},
        {"one\nv2.artist=forged", "one\\nv2.artist=forged"},
        {"x\ry", "x\\ry"},
        {"\x1b[2J", "\\033[2J"},
        {"back\\slash", "back\\\\slash"},
        {"del\x7f", "del\\177"},
        {"\xB8\xE8\xCA\xD6", "歌手"},  // GBK bytes
    };
    for (const Case& c : cases) {
        dir.write_file("s.mp3", id3v2_tag(text_frame("TIT2", c.text)) + fake_audio(100));
        const CliRun run = run_cli({"tag", path});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("\nv2.title=" + c.printed + "\nv2.artist=\n"), std::string::npos)
            << c.printed << ": " << run.out;
    }
}

TEST(CliTags, TemplateLongerThanFiftyBytesIsAUsageError) {
    EXPECT_EQ(run_cli({"preview", "tags", "--template", std::string(50, '#'), "a.mp3"}).status, 0);
    EXPECT_EQ(run_cli({"preview", "tags", "--template", std::string(51, '#'), "a.mp3"}).status, 2);
    // 25 Chinese characters are 50 bytes in the code page, 75 in UTF-8.
    std::string chinese;
    for (int i = 0; i < 25; ++i) chinese += "歌";
    EXPECT_EQ(run_cli({"preview", "tags", "--template", chinese, "a.mp3"}).status, 0);
    EXPECT_EQ(run_cli({"preview", "tags", "--template", chinese + "x", "a.mp3"}).status, 2);
}

}  // namespace
}  // namespace varnel
