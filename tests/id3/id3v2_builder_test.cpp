// SPDX-License-Identifier: GPL-3.0-or-later
// What a tag edit keeps of the old tag: other frames byte for byte or in
// their version 2.3 form, untouched texts in their encoding; what it cannot keep.
#include "id3/id3v2_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "id3/id3v2_frames.h"
#include "id3/id3v2_reader.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace std::string_literals;

// A version 2.4 frame: syncsafe size, flag bytes as given.
std::string v24_frame(std::string_view id, std::string_view data, char status = 0,
                      char format = 0) {
    std::string frame(id);
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 21; shift >= 0; shift -= 7) frame += static_cast<char>((size >> shift) & 0x7F);
    frame += status;
    frame += format;
    return frame + std::string(data);
}

// A version 2.2 frame: three-letter id, three-byte size.
std::string v22_frame(std::string_view id, std::string_view data) {
    std::string frame(id);
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 16; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
    return frame + std::string(data);
}

const std::string utf16_singer = "\x01\xFF\xFE\x4C\x6B\x4B\x62"s;  // 歌手, UTF-16LE with a mark
const std::string apic =
    test::id3v2_frame("APIC", "\0image/png\0\x03\0"s + std::string(700, '\x89'));
const std::string uslt = test::id3v2_frame("USLT", "\0eng\0la la la"s);
const std::string txxx = test::id3v2_frame("TXXX", "\0replaygain_track_gain\0-6.50 dB"s);
const std::string popm = test::id3v2_frame("POPM", "a@b.c\0\xC4\0\0\0\x07"s);
const std::string priv = test::id3v2_frame("PRIV", "owner\0\x01\x02"s);

// The frames of a built frame area, by id, in order.
std::vector<TagFrame> frames_of(const std::string& area) {
    return read_frames(wrap_id3v2_tag(area, 0));
}

const TagFrame* find(const std::vector<TagFrame>& frames, std::string_view id) {
    for (const TagFrame& frame : frames)
        if (frame.id == id) return &frame;
    return nullptr;
}

class BuilderTest : public ::testing::Test {
protected:
    // The record the tag window or varnel-cli would hold: what the reader
    // gives, with a new title.
    TagFields read_then_retitle(const std::string& tag) {
        dir_.write_file("song.mp3", tag + test::fake_audio(100));
        std::optional<ByteFile> file = ByteFile::open_read(dir_.path() + "song.mp3");
        TagFields fields;
        EXPECT_TRUE(file && read_id3v2_tag(*file, fields, codec_));
        fields.title = "New";
        return fields;
    }

    Codec codec_;
    test::TempDir dir_;
};

TEST_F(BuilderTest, TitleEditKeepsEveryOtherFrameAndTheUtf16ArtistByteForByte) {
    const std::string artist = test::id3v2_frame("TPE1", utf16_singer);
    const std::string tag = test::id3v2_tag(
        test::text_frame("TIT2", "Old") + artist + apic + uslt + txxx + popm + priv, 3, 64);
    const BuiltFrames built = build_id3v2_frames(read_then_retitle(tag), tag, {}, codec_);
    EXPECT_TRUE(built.unconvertible.empty());
    // The artist frame as it was, in its slot; the others after the twelve.
    EXPECT_NE(built.frames.find(artist + test::text_frame("TIT2", "New")), std::string::npos);
    EXPECT_TRUE(built.frames.ends_with(apic + uslt + txxx + popm + priv));
    EXPECT_EQ(frames_of(built.frames).size(), 12u + 5u);
}

TEST_F(BuilderTest, ChangedTextsFollowTheEncodingSetting) {
    const std::string tag = test::id3v2_tag(test::text_frame("TIT2", "Old"), 3, 0);
    TagFields fields = read_then_retitle(tag);
    fields.title = "\xC4\xE3\xBA\xC3";  // 你好
    fields.comment = "A";
    fields.url = "http://x/";
    const BuiltFrames gbk = build_id3v2_frames(fields, tag, {}, codec_);
    const BuiltFrames wide =
        build_id3v2_frames(fields, tag, {V2TextEncoding::unicode, false}, codec_);
    struct Case {
        const BuiltFrames& built;
        std::string_view id;
        std::string data;
    };
    for (const Case& c : {
             Case{gbk, "TIT2", "\0\xC4\xE3\xBA\xC3"s},
             Case{wide, "TIT2", "\x01\xFF\xFE\x60\x4F\x7D\x59"s},
             Case{gbk, "COMM", "\0CHS\0A"s},
             Case{wide, "COMM",
                  "\x01"
                  "CHS\xFF\xFE\0\0\xFF\xFE"
                  "A\0"s},
             Case{wide, "WXXX", "\0\0http://x/"s},  // URLs stay single-byte
             Case{wide, "TALB", "\x01\xFF\xFE"s},
         }) {
        const std::vector<TagFrame> frames = frames_of(c.built.frames);
        const TagFrame* frame = find(frames, c.id);
        ASSERT_NE(frame, nullptr) << c.id;
        EXPECT_EQ(frame->data, c.data) << c.id;
        EXPECT_EQ(frame_text(*frame, codec_), c.id == "TALB"   ? ""
                                              : c.id == "COMM" ? "A"
                                              : c.id == "WXXX" ? fields.url
                                                               : fields.title);
    }
}

TEST_F(BuilderTest, Version24FramesTakeTheirVersion23Form) {
    const std::string tag = test::id3v2_tag(
        v24_frame("TIT2", "\x03Old"s) + v24_frame("TPE1", "\x03\xE6\xAD\x8C\xE6\x89\x8B"s) +
            v24_frame("TDRC",
                      "\x03"
                      "2001-05-03T10:20"s) +
            v24_frame("TXXX", "\x03gain\0-6 dB"s) +
            v24_frame("RVA2", "track\0\x01\xFF\x00\x00"s, '\x40') +
            // grouped, unsynchronised, with a data length indicator
            v24_frame("TCOP", "\x07\0\0\0\x05\x00(c)\xFF\x00"s, 0, '\x43') +
            v24_frame("TSOP", "\x00zz"s, 0, '\x08') +  // compressed
            v24_frame("SEEK", "\0\0\x10\0"s),
        4, 10);
    const BuiltFrames built = build_id3v2_frames(read_then_retitle(tag), tag, {}, codec_);
    const std::vector<TagFrame> frames = frames_of(built.frames);
    struct Case {
        std::string_view id;
        std::string data;
        char status;
        char format;
    };
    for (const Case& c : {
             Case{"TPE1", "\x01\xFF\xFE\x4C\x6B\x4B\x62"s, 0, 0},  // UTF-8 -> UTF-16
             Case{"TYER",
                  "\x01\xFF\xFE"
                  "2\0"
                  "0\0"
                  "0\0"
                  "1\0"s,
                  0, 0},
             Case{"TDAT",
                  "\x01\xFF\xFE"
                  "0\0"
                  "3\0"
                  "0\0"
                  "5\0"s,
                  0, 0},
             Case{"TIME",
                  "\x01\xFF\xFE"
                  "1\0"
                  "0\0"
                  "2\0"
                  "0\0"s,
                  0, 0},
             Case{"TXXX",
                  "\x01\xFF\xFEg\0a\0i\0n\0\0\0\xFF\xFE-\0"
                  "6\0 \0d\0B\0"s,
                  0, 0},
             Case{"RVA2", "track\0\x01\xFF\x00\x00"s, '\x80', 0},
             Case{"TCOP", "\x07\0(c)\xFF"s, 0, '\x20'},
         }) {
        const TagFrame* frame = find(frames, c.id);
        ASSERT_NE(frame, nullptr) << c.id;
        EXPECT_EQ(frame->data, c.data) << c.id;
        EXPECT_EQ(frame->status, c.status) << c.id;  // v2.4 0x40 is v2.3 0x80
        EXPECT_EQ(frame->format, c.format) << c.id;  // grouping 0x40 is 0x20
    }
    EXPECT_EQ(find(frames, "TDRC"), nullptr);  // became TYER, TDAT, TIME
    EXPECT_EQ(built.unconvertible, (std::vector<std::string>{"TSOP", "SEEK"}));
    EXPECT_EQ(find(frames, "TSOP"), nullptr);
}

TEST_F(BuilderTest, Version22FramesTakeTheirVersion23Names) {
    const std::string tag =
        test::id3v2_tag(v22_frame("TT2", "\0Old"s) + v22_frame("TP1", utf16_singer) +
                            v22_frame("PIC", "\0JPG\x03\0\xFF\xD8\xFF"s) +
                            v22_frame("ULT", "\0eng\0words"s) + v22_frame("COM", "\0eng\0note"s) +
                            v22_frame("CNT", "\0\0\0\x09"s) + v22_frame("XYZ", "secret"s),
                        2, 8);
    const BuiltFrames built = build_id3v2_frames(read_then_retitle(tag), tag, {}, codec_);
    const std::vector<TagFrame> frames = frames_of(built.frames);
    struct Case {
        std::string_view id;
        std::string data;
    };
    for (const Case& c : {
             Case{"TPE1", utf16_singer},
             Case{"APIC", "\0image/jpeg\0\x03\0\xFF\xD8\xFF"s},
             Case{"USLT", "\0eng\0words"s},
             Case{"COMM", "\0eng\0note"s},  // untouched comment: its frame as it was
             Case{"PCNT", "\0\0\0\x09"s},
             Case{"TIT2", "\0New"s},
         }) {
        const TagFrame* frame = find(frames, c.id);
        ASSERT_NE(frame, nullptr) << c.id;
        EXPECT_EQ(frame->data, c.data) << c.id;
    }
    EXPECT_EQ(built.unconvertible, std::vector<std::string>{"XYZ"});
}

TEST_F(BuilderTest, UnsynchronisedVersion23TagIsReadAndKeptPlain) {
    // 歌手 in UTF-16LE holds no FF; a picture byte FF E0 must be escaped.
    const std::string plain = test::id3v2_frame("TPE1", utf16_singer) +
                              test::id3v2_frame("APIC", "\0image/png\0\x03\0\xFF\xE0\xFF\x00"s);
    std::string escaped;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        escaped += plain[i];
        if (plain[i] == '\xFF' && (i + 1 == plain.size() || plain[i + 1] == '\0' ||
                                   (static_cast<unsigned char>(plain[i + 1]) & 0xE0) == 0xE0))
            escaped += '\0';
    }
    std::string tag = test::id3v2_tag(escaped, 3, 4);
    tag[5] = '\x80';  // unsynchronisation
    const BuiltFrames built = build_id3v2_frames(read_then_retitle(tag), tag, {}, codec_);
    EXPECT_NE(built.frames.find(plain.substr(0, 17)), std::string::npos);  // the artist frame
    EXPECT_TRUE(built.frames.ends_with(plain.substr(17)));                 // the picture
}

}  // namespace
}  // namespace varnel
