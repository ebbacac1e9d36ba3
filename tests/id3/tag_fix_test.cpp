// SPDX-License-Identifier: GPL-3.0-or-later
// 标签转为Unicode: code-page texts under encoding 0 rewritten as UTF-16,
// everything else kept; checked byte by byte and with mutagen.
#include "id3/tag_fix.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "id3/id3v2_frames.h"
#include "support/bytes.h"
#include "support/command_output.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::hex;

using namespace varnel::test;

// GBK bytes of the texts used here.
const std::string gbk_singer = "\xB8\xE8\xCA\xD6";                         // 歌手
const std::string gbk_hello = "\xC4\xE3\xBA\xC3\xA3\xAC\xD4\xF8\xBE\xAD";  // 你好，曾经
const std::string gbk_album = "\xD7\xA8\xBC\xAD";                          // 专辑
const std::string picture = std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\xFF\xFE", 13) + "pixels";

std::string apic_frame() {
    return id3v2_frame("APIC", std::string("\0image/jpeg\0\x03", 13) + gbk_album + '\0' + picture);
}

// Frame ids with encoding, text and picture as mutagen reads them, one a
// line: "ID enc=E text" (UTF-8) and "APIC data=<hex>".
constexpr const char* frame_reader_script = R"(
import sys
from mutagen.id3 import ID3
tags = ID3(sys.argv[1])
for frame in sorted(tags.values(), key=lambda f: f.HashKey):
    if frame.FrameID == 'APIC':
        print('APIC enc=%d %s data=%s' % (frame.encoding, frame.desc, frame.data.hex()))
    elif frame.FrameID in ('COMM', 'USLT'):
        print('%s enc=%d %s:%s' % (frame.FrameID, frame.encoding, frame.desc, frame.text))
    elif frame.FrameID == 'TXXX':
        print('TXXX enc=%d %s:%s' % (frame.encoding, frame.desc, '/'.join(frame.text)))
    elif hasattr(frame, 'text'):
        print('%s enc=%d %s' % (frame.FrameID, frame.encoding, '/'.join(str(t) for t in frame.text)))
)";

std::optional<std::string> mutagen_lines(const std::string& path) {
    if (std::system("/usr/bin/python3 -c 'import mutagen' >/dev/null 2>&1") != 0)
        return std::nullopt;
    TempDir temp;
    temp.write_file("read.py", frame_reader_script);
    const std::string command = "/usr/bin/python3 " + temp.path() + "read.py '" + path + "'";
    return test::command_output(command);
}

TagFileFix run_fix(const std::string& path, bool add, bool write) {
    const Codec codec;
    return fix_tag_file(path, codec, add, write);
}

TEST(TagFix, GbkTextsBecomeUtf16AndEverythingElseStays) {
    TempDir dir;
    const std::string utf16_composer = std::string("\x01\xFF\xFE\x60\x4F\0\0", 7);  // 你
    const std::string frames =
        text_frame("TPE1", gbk_singer) + text_frame("TIT2", gbk_hello) +
        text_frame("TALB", gbk_album) + text_frame("TRCK", "3") +
        id3v2_frame("TCOM", utf16_composer) +
        id3v2_frame("TXXX", std::string("\0", 1) + gbk_album + '\0' + gbk_singer) +
        id3v2_frame("COMM", std::string("\0chi", 4) + '\0' + gbk_hello) + apic_frame();
    const std::string audio = fake_audio(20'000) + id3v1_block("v1");
    const std::string original = id3v2_tag(frames, 3, 400) + audio;
    dir.write_file("song.mp3", original);
    const std::string path = dir.path() + "song.mp3";

    const TagFileFix preview = run_fix(path, false, false);
    EXPECT_EQ(tag_fix_status(preview, false), "\xBD\xAB\xD7\xAA\xBB\xBB");  // 将转换
    std::vector<std::string> fields;
    for (const TagTextChange& change : preview.outcome.plan.changes) {
        fields.push_back(change.field);
        EXPECT_EQ(change.before, change.after) << change.field;  // the same Chinese
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"TPE1", "TIT2", "TALB", "TXXX", "COMM"}));
    EXPECT_EQ(dir.read_file("song.mp3"), original);  // a preview writes nothing

    const TagFileFix fixed = run_fix(path, false, true);
    ASSERT_TRUE(fixed.outcome.result.ok) << fixed.reason;
    const std::string after = dir.read_file("song.mp3");
    ASSERT_EQ(after.size(), original.size());  // in place: the padding took the growth
    EXPECT_EQ(after.substr(after.size() - audio.size()), audio);
    for (const std::string& kept :
         {text_frame("TRCK", "3"), id3v2_frame("TCOM", utf16_composer), apic_frame()})
        EXPECT_NE(after.find(kept), std::string::npos) << kept.substr(0, 4);
    EXPECT_NE(after.find(id3v2_frame("TPE1", "\x01" + utf16_with_mark("歌手"))), std::string::npos);

    const std::optional<std::string> seen = mutagen_lines(path);
    if (!seen) GTEST_SKIP() << "python3-mutagen is not installed";
    // The picture's description stays GBK bytes (mutagen reads Latin-1).
    EXPECT_EQ(*seen, "APIC enc=0 \u00D7\u00A8\u00BC\u00AD data=" + hex(picture) + "\n" +
                         "COMM enc=1 :['你好，曾经']\n"
                         "TALB enc=1 专辑\n"
                         "TCOM enc=1 你\n"
                         "TIT2 enc=1 你好，曾经\n"
                         "TPE1 enc=1 歌手\n"
                         "TRCK enc=0 3\n"
                         "TXXX enc=1 专辑:歌手\n");

    // Once converted, there is nothing more to do.
    const TagFileFix again = run_fix(path, false, true);
    EXPECT_EQ(again.outcome.plan.action, TagFixAction::none);
    EXPECT_EQ(dir.read_file("song.mp3"), after);
}

// A file with only an ID3v1 tag: left alone without the option; with it,
// an ID3v2 tag in UTF-16 made from the fields, the audio and the ID3v1 tag
// kept. Bytes that are not code-page text are never converted.
TEST(TagFix, Id3v1OnlyFilesAndUndecodableBytes) {
    TempDir dir;
    const std::string path = dir.path() + "song.mp3";
    const std::string audio =
        fake_audio(5000) + id3v1_block(gbk_hello, gbk_singer, "", "1999", "", 7, 17);
    dir.write_file("song.mp3", audio);
    EXPECT_EQ(run_fix(path, false, true).outcome.plan.action, TagFixAction::none);
    EXPECT_EQ(dir.read_file("song.mp3"), audio);
    const TagFileFix added = run_fix(path, true, true);
    ASSERT_TRUE(added.outcome.result.ok) << added.reason;
    EXPECT_EQ(added.outcome.plan.action, TagFixAction::add_from_v1);
    const std::string after = dir.read_file("song.mp3");
    EXPECT_EQ(after.substr(after.size() - audio.size()), audio);
    if (const std::optional<std::string> seen = mutagen_lines(path)) {
        for (const char* line : {"TIT2 enc=1 你好，曾经\n", "TPE1 enc=1 歌手\n",
                                 "TCON enc=1 Rock\n", "TRCK enc=1 7\n"})
            EXPECT_NE(seen->find(line), std::string::npos) << line << *seen;
    }

    // 0x80 alone and a lead byte before ASCII are no GB18030 text: kept.
    const std::string odd = id3v2_tag(text_frame("TIT2",
                                                 "\x80"
                                                 "abc") +
                                      text_frame("TPE1", "\xC4 a")) +
                            fake_audio(100);
    dir.write_file("odd.mp3", odd);
    EXPECT_EQ(run_fix(dir.path() + "odd.mp3", false, true).outcome.plan.action, TagFixAction::none);
    EXPECT_EQ(dir.read_file("odd.mp3"), odd);
}

}  // namespace
}  // namespace varnel
