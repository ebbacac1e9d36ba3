// varnel-cli's tag commands end to end.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace varnel
