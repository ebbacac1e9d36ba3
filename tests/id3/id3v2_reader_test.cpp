// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v2_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace std::string_literals;
using test::fake_audio;
using test::id3v2_frame;
using test::id3v2_tag;
using test::text_frame;

// A version 2.4 frame: the size is syncsafe.
std::string frame_2_4(std::string_view id, std::string_view data) {
    std::string frame(id);
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 21; shift >= 0; shift -= 7) frame += static_cast<char>((size >> shift) & 0x7F);
    return frame + std::string(2, '\0') + std::string(data);
}

// A version 2.2 frame: three-letter id, three-byte size, no flags.
std::string frame_2_2(std::string_view id, std::string_view data) {
    std::string frame(id);
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 16; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
    return frame + std::string(data);
}

class Id3v2ReaderTest : public ::testing::Test {
protected:
    ByteFile file_with(const std::string& bytes) {
        dir_.write_file("a.mp3", bytes);
        auto file = ByteFile::open_read(dir_.path() + "a.mp3");
        if (!file) throw std::runtime_error("cannot open the test file");
        return std::move(*file);
    }

    // The fields read from `bytes`; throws when the reader finds no tag.
    TagFields read(const std::string& bytes) {
        ByteFile file = file_with(bytes);
        TagFields fields;
        if (!read_id3v2_tag(file, fields, codec_)) throw std::runtime_error("no tag found");
        return fields;
    }

    // The text of frame `id` in a version 2.3 tag holding the single frame
    // `id` with `data`.
    std::string text_of(std::string_view id, const std::string& data) {
        return find_frame_text(id3v2_tag(id3v2_frame(id, data)), id, codec_);
    }

    Codec codec_;
    test::TempDir dir_;
};

// --- Header ----------------------------------------------------------------

TEST_F(Id3v2ReaderTest, RecognisesTheHeader) {
    const std::string tag = id3v2_tag(text_frame("TIT2", "x")) + fake_audio(100);
    {
        ByteFile file = file_with(tag);
        EXPECT_TRUE(has_id3v2_header(file));
    }
    for (std::size_t at : {3u, 4u, 5u}) {
        std::string broken = tag;
        broken[at] = '\xFF';  // version, revision or flags
        ByteFile file = file_with(broken);
        EXPECT_FALSE(has_id3v2_header(file)) << at;
    }
    for (std::size_t at : {6u, 7u, 8u, 9u}) {
        std::string broken = tag;
        broken[at] = '\x80';
        ByteFile file = file_with(broken);
        EXPECT_FALSE(has_id3v2_header(file)) << at;
    }
    for (const std::string& other : {"ID2"s + tag.substr(3), tag.substr(0, 9), ""s}) {
        ByteFile file = file_with(other);
        EXPECT_FALSE(has_id3v2_header(file));
    }
}

TEST_F(Id3v2ReaderTest, TagLengthIsTheSyncsafeSizePlusTheHeader) {
    {
        ByteFile file = file_with("ID3\x03\x00\x00\x00\x02\x00\x01"s);
        EXPECT_EQ(id3v2_tag_length(file), 2u * 16384 + 1 + 10);
    }
    {
        ByteFile file = file_with("ID3\x03\x00\x00\x00\x00\x02\x01"s + fake_audio(10));
        EXPECT_EQ(id3v2_tag_length(file), 2u * 128 + 1 + 10);
    }
    {
        ByteFile file = file_with("ID3\x04\x00\x00\x7F\x7F\x7F\x7F"s);
        EXPECT_EQ(id3v2_tag_length(file), 0x0FFFFFFFu + 10);
    }
    {
        ByteFile file = file_with(fake_audio(100));
        EXPECT_EQ(id3v2_tag_length(file), std::nullopt);
    }
}

// --- Reading the record ----------------------------------------------------

TEST_F(Id3v2ReaderTest, FillsEveryFieldFromItsFrame) {
    const std::string frames =
        text_frame("TIT2", "Title") + text_frame("TPE1", "Artist") + text_frame("TALB", "Album") +
        text_frame("TYER", "2001") + text_frame("TRCK", "3/12") + text_frame("TCON", "(17)") +
        id3v2_frame("COMM", "\0eng\0Comment"s) + text_frame("TOPE", "Original") +
        text_frame("TCOP", "(c) Me") + text_frame("TCOM", "Composer") +
        id3v2_frame("WXXX", "\0\0http://x.org"s) + text_frame("TENC", "Encoder");
    const TagFields fields = read(id3v2_tag(frames) + fake_audio(500));
    EXPECT_EQ(fields, (TagFields{"Title", "Artist", "Album", "3/12", "2001", "Rock", "Comment",
                                 "Composer", "Original", "(c) Me", "http://x.org", "Encoder"}));
}

TEST_F(Id3v2ReaderTest, OverwritesEveryFieldEvenWithoutItsFrame) {
    TagFields fields{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"};
    ByteFile file = file_with(id3v2_tag(text_frame("TPE1", "Artist")));
    ASSERT_TRUE(read_id3v2_tag(file, fields, codec_));
    TagFields expected;
    expected.artist = "Artist";
    EXPECT_EQ(fields, expected);
}

TEST_F(Id3v2ReaderTest, LeavesTheRecordUntouchedWithoutATag) {
    TagFields fields;
    fields.title = "before";
    ByteFile file = file_with(fake_audio(5000));
    EXPECT_FALSE(read_id3v2_tag(file, fields, codec_));
    EXPECT_EQ(fields.title, "before");
}

TEST_F(Id3v2ReaderTest, ReadsFramesFarIntoALargeTag) {
    const std::string frames =
        text_frame("TXXX", std::string(20000, 'x')) + text_frame("TALB", "Far");
    EXPECT_EQ(read(id3v2_tag(frames, 3, 3000) + fake_audio(1000)).album, "Far");
}

TEST_F(Id3v2ReaderTest, SearchesOnlyTheTagNotTheAudio) {
    const std::string tag = id3v2_tag(text_frame("TIT2", "x"));
    EXPECT_EQ(read(tag + text_frame("TALB", "in the audio")).album, "");
}

TEST_F(Id3v2ReaderTest, FileShorterThanItsTagIsSearchedAsFarAsItGoes) {
    std::string tag = id3v2_tag(text_frame("TIT2", "Title") + text_frame("TALB", "Album"), 3, 0);
    tag[8] = 0x7F;  // declares far more than the file holds
    const TagFields fields = read(tag.substr(0, tag.size() - 2));
    EXPECT_EQ(fields.title, "Title");
    EXPECT_EQ(fields.album, "Alb");
}

TEST_F(Id3v2ReaderTest, ResolvesTheGenreText) {
    EXPECT_EQ(read(id3v2_tag(text_frame("TCON", "(17)Rock"))).genre, "Rock");
    EXPECT_EQ(read(id3v2_tag(text_frame("TCON", "(31)"))).genre, "Trance");
    EXPECT_EQ(read(id3v2_tag(text_frame("TCON", ""))).genre, "");
    EXPECT_EQ(read(id3v2_tag(text_frame("TIT2", "x"))).genre, "");
}

TEST_F(Id3v2ReaderTest, NeverTakesAFrameIdInsideAnEarlierFramesDataForAFrame) {
    const std::string frames =
        text_frame("TIT2", "xTPE1\0\0\0\x03\0\0\0in"s) + text_frame("TPE1", "Real");
    EXPECT_EQ(read(id3v2_tag(frames)).artist, "Real");
}

TEST_F(Id3v2ReaderTest, ReadsVersion22Frames) {
    const std::string frames = frame_2_2("TT2", "\0Title"s) + frame_2_2("TP1", "\0Artist"s) +
                               frame_2_2("TAL", "\0Album"s) +
                               frame_2_2("TYE",
                                         "\0"
                                         "1990"s) +
                               frame_2_2("TRK",
                                         "\0"
                                         "4"s) +
                               frame_2_2("TCO", "(8)"s.insert(0, 1, '\0')) +
                               frame_2_2("COM", "\0eng\0Comment"s) + frame_2_2("TOA", "\0Orig"s) +
                               frame_2_2("TCR", "\0Copy"s) + frame_2_2("TCM", "\0Comp"s) +
                               frame_2_2("WXX", "\0\0http://u"s) +
                               frame_2_2("TEN",
                                         "\x01\xFF\xFE"
                                         "E\0n\0c\0"s);
    const TagFields fields = read(id3v2_tag(frames, 2) + fake_audio(300));
    EXPECT_EQ(fields, (TagFields{"Title", "Artist", "Album", "4", "1990", "Jazz", "Comment", "Comp",
                                 "Orig", "Copy", "http://u", "Enc"}));
}

TEST_F(Id3v2ReaderTest, Version22TagWithoutKnownFramesGivesEmptyFields) {
    const TagFields fields = read(id3v2_tag(frame_2_2("PIC", "xyz"), 2));
    EXPECT_EQ(fields, TagFields{});
}

// --- Version 2.4 frame sizes -----------------------------------------------

TEST_F(Id3v2ReaderTest, Version24FrameSizesAreSyncsafe) {
    const std::string title(200, 'a');
    const std::string frames = frame_2_4("TIT2", "\0"s + title) + frame_2_4("TPE1", "\0Artist"s);
    const TagFields fields = read(id3v2_tag(frames, 4));
    EXPECT_EQ(fields.title, title);
    EXPECT_EQ(fields.artist, "Artist");
}

TEST_F(Id3v2ReaderTest, Version24FallsBackToPlainSizesThatLandOnTheNextFrame) {
    // Plain 256 is 00 00 01 00, which read syncsafe is 128: inside the text.
    const std::string title(255, 'a');
    const std::string frames =
        id3v2_frame("TIT2", "\0"s + title) + id3v2_frame("TPE1", "\0Artist"s);
    const TagFields fields = read(id3v2_tag(frames, 4));
    EXPECT_EQ(fields.title, title);
    EXPECT_EQ(fields.artist, "Artist");
}

TEST_F(Id3v2ReaderTest, Version23SizesStayPlainEvenWhenSyncsafeWouldFit) {
    // Syncsafe 200 (00 00 01 48) read plain is 328 bytes: the text runs on.
    const std::string frames =
        frame_2_4("TIT2", "\0"s + std::string(199, 'a')) + frame_2_4("TPE1", "\0A"s);
    EXPECT_EQ(read(id3v2_tag(frames, 3)).title, std::string(199, 'a') + "TPE1");
}

// --- Frame texts -----------------------------------------------------------

TEST_F(Id3v2ReaderTest, TextFramesDropTheEncodingByte) {
    EXPECT_EQ(text_of("TIT2", "\0Hello"s), "Hello");
    EXPECT_EQ(text_of("TIT2", "\x01\xFF\xFEH\0e\0l\0l\0o\0"s), "Hello");
    EXPECT_EQ(text_of("TIT2", "\x01\xFE\xFF\0H\0i"s), "Hi");
    EXPECT_EQ(text_of("TIT2", "\x02\0H\0i"s), "Hi");
    EXPECT_EQ(text_of("TIT2", "\x03Hi"s), "Hi");
    EXPECT_EQ(text_of("TIT2", ""s), "");
    EXPECT_EQ(text_of("TIT2", "\x01"s), "");
}

TEST_F(Id3v2ReaderTest, MissingFrameGivesEmptyText) {
    EXPECT_EQ(find_frame_text(id3v2_tag(text_frame("TIT2", "x")), "TPE1", codec_), "");
    EXPECT_EQ(find_frame_text("", "TIT2", codec_), "");
    EXPECT_EQ(find_frame_text("TIT2", "TIT2", codec_), "");
}

TEST_F(Id3v2ReaderTest, CommentSkipsLanguageAndDescription) {
    EXPECT_EQ(text_of("COMM", "\0eng\0Text"s), "Text");
    EXPECT_EQ(text_of("COMM", "\0engDescription\0Text"s), "Text");
    EXPECT_EQ(text_of("COMM",
                      "\x01"
                      "eng\xFF\xFE"
                      "D\0\0\0\xFF\xFE"
                      "T\0x\0"s),
              "Tx");
    EXPECT_EQ(text_of("COMM",
                      "\x02"
                      "eng\0D\0\0\0T\0x"s),
              "Tx");
    EXPECT_EQ(text_of("COMM",
                      "\x03"
                      "engD\0Tx"s),
              "Tx");
    // No end of description: the text starts after the language.
    EXPECT_EQ(text_of("COMM", "\0engText"s), "Text");
}

TEST_F(Id3v2ReaderTest, UrlFrameSkipsTheDescriptionInItsEncoding) {
    EXPECT_EQ(text_of("WXXX", "\0\0http://a.b"s), "http://a.b");
    EXPECT_EQ(text_of("WXXX", "\0Home page\0http://a.b"s), "http://a.b");
    // The URL itself is single-byte text whatever the encoding byte says.
    EXPECT_EQ(text_of("WXXX", "\x01\xFF\xFEH\0p\0\0\0http://a.b"s), "http://a.b");
    EXPECT_EQ(text_of("WXXX", "\x01\xFF\xFE\0\0http://a.b"s), "http://a.b");
    EXPECT_EQ(text_of("WXXX", "\x02\0H\0\0http://a.b\0junk"s), "http://a.b");
    EXPECT_EQ(text_of("WXXX", "\0http://a.b"s), "http://a.b");
}

TEST_F(Id3v2ReaderTest, DecodesNonAsciiTextIntoTheCodePage) {
    const std::string zhongwen = "\xD6\xD0\xCE\xC4";  // two characters in GB18030
    EXPECT_EQ(text_of("TIT2", "\x01\xFF\xFE\x2D\x4E\x87\x65"s), zhongwen);
    EXPECT_EQ(text_of("TIT2", "\x01\xFE\xFF\x4E\x2D\x65\x87"s), zhongwen);
    EXPECT_EQ(text_of("TIT2", "\x02\x4E\x2D\x65\x87"s), zhongwen);
    EXPECT_EQ(text_of("TIT2", "\x03\xE4\xB8\xAD\xE6\x96\x87"s), zhongwen);
    // Encoding 0x00 keeps its bytes: legacy files carry GBK there.
    EXPECT_EQ(text_of("TIT2", "\0"s + zhongwen), zhongwen);
    // Outside the Basic Multilingual Plane: a surrogate pair.
    EXPECT_EQ(text_of("TIT2", "\x01\xFF\xFE\x3D\xD8\x00\xDE"s), "\x94\x39\xFC\x36");
}

TEST_F(Id3v2ReaderTest, TextEndsAtItsTerminator) {
    EXPECT_EQ(text_of("TIT2", "\0One\0Two"s), "One");
    EXPECT_EQ(text_of("TIT2", "\x03One\0Two"s), "One");
    EXPECT_EQ(text_of("TIT2", "\x01\xFF\xFEO\0n\0\0\0T\0"s), "On");
    // 41 00 00 4E is "A" and U+4E00: the zero pair across two code units is
    // no terminator.
    EXPECT_EQ(text_of("TIT2", "\x01\xFF\xFE\x41\0\0\x4E"s), "A\xD2\xBB");
}

TEST_F(Id3v2ReaderTest, DropsWhatCannotBeDecoded) {
    // An odd last byte, an unpaired surrogate, bytes that are not UTF-8.
    EXPECT_EQ(text_of("TIT2", "\x01\xFF\xFEO\0k\0!"s), "Ok");
    EXPECT_EQ(text_of("TIT2", "\x01\xFF\xFEO\0\x00\xD8k\0"s), "Ok");
    EXPECT_EQ(text_of("TIT2", "\x02\xDC\x00\0O\0k"s), "Ok");
    EXPECT_EQ(text_of("TIT2", "\x03O\xFFk\xE4\xB8"s), "Ok");
}

TEST_F(Id3v2ReaderTest, ChoosesTheByteOrderMarkThatStartsTheText) {
    // The description's mark and the text's own.
    EXPECT_EQ(text_of("COMM",
                      "\x01"
                      "eng\xFF\xFE"
                      "d\0\0\0\xFF\xFE"
                      "t\0"s),
              "t");
    EXPECT_EQ(text_of("COMM",
                      "\x01"
                      "eng\xFF\xFE"
                      "d\0\0\0\xFE\xFF\0t"s),
              "t");
    // A stray mark after the one that starts the text is not text.
    EXPECT_EQ(text_of("TIT2", "\x02\xFE\xFF\0H\0i"s), "Hi");
}

// Only the mark at the start of each text counts: FF FE inside a text is
// two characters' bytes ("，曾" is 0C FF FE 66, "（图）" 08 FF FE 56 09 FF).
TEST_F(Id3v2ReaderTest, ByteOrderMarkCountsOnlyAtTheStartOfEachText) {
    struct Case {
        std::string_view id;
        std::string data;
        std::string utf8;
    };
    const std::string hello = "\xFF\xFE\x60\x4F\x7D\x59\x0C\xFF\xFE\x66\xCF\x7E"s;  // 你好，曾经
    const std::string picture = "\xFF\xFE\x08\xFF\xFE\x56\x09\xFF"s;                // （图）
    for (const Case& c : {
             Case{"TIT2", "\x01" + hello, "你好，曾经"},
             Case{"TPE1", "\x01" + picture, "（图）"},
             Case{"COMM",
                  "\x01"
                  "chi" +
                      picture + "\0\0"s + hello,
                  "你好，曾经"},
             Case{"COMM",
                  "\x01"
                  "chi\xFE\xFF\0d\0\0"s +
                      picture,
                  "（图）"},
         }) {
        EXPECT_EQ(text_of(c.id, c.data), codec_.from_utf8(c.utf8).value()) << c.utf8;
    }
}

TEST_F(Id3v2ReaderTest, UnsynchronisedVersion23TagIsReadAfterUndoingIt) {
    // 你好 as UTF-16LE with its mark: FF FE 60 4F 7D 59; unsynchronised, the
    // FF gains a 00.
    std::string tag = id3v2_tag(id3v2_frame("TPE1", "\x01\xFF\xFE\x60\x4F\x7D\x59"s));
    tag.insert(tag.find("\xFF\xFE") + 1, 1, '\0');
    tag[5] = '\x80';
    tag[9] = static_cast<char>(tag[9] + 1);
    EXPECT_EQ(read(tag + fake_audio(10)).artist, "\xC4\xE3\xBA\xC3");
}

TEST_F(Id3v2ReaderTest, Utf16WithoutAnyMarkIsTakenFromItsStart) {
    EXPECT_EQ(text_of("TIT2", "\x01H\0i\0"s), "Hi");
    EXPECT_EQ(text_of("TIT2", "\x01\0H\0i"s), "Hi");  // plainly big-endian
    EXPECT_EQ(text_of("COMM",
                      "\x01"
                      "engd\0\0\0t\0x\0"s),
              "tx");
}

TEST_F(Id3v2ReaderTest, FrameDataIsCutAtTheTagEnd) {
    std::string frame = text_frame("TIT2", "Title");
    frame[7] = 100;  // size 100, the tag holds far fewer bytes
    EXPECT_EQ(find_frame_text(id3v2_tag(frame, 3, 0), "TIT2", codec_), "Title");
}

TEST_F(Id3v2ReaderTest, FrameSizeWithTheTopBitSetGivesNoText) {
    std::string frame = text_frame("TIT2", "Title");
    frame[4] = '\x80';
    EXPECT_EQ(find_frame_text(id3v2_tag(frame), "TIT2", codec_), "");
}

// --- Genre text ------------------------------------------------------------

TEST(ResolveGenreText, TurnsNumbersIntoNamesAndKeepsWords) {
    EXPECT_EQ(resolve_genre_text("(17)"), "Rock");
    EXPECT_EQ(resolve_genre_text("(17)Rock"), "Rock");
    EXPECT_EQ(resolve_genre_text("Rock"), "Rock");
    EXPECT_EQ(resolve_genre_text("(RX)"), "Blues");  // no digits read as 0
    EXPECT_EQ(resolve_genre_text("(125)"), "Dance Hall");
    EXPECT_EQ(resolve_genre_text("(2x)"), "Country");  // leading digits only
}

TEST(ResolveGenreText, TakesTheTextAfterLongBrackets) {
    EXPECT_EQ(resolve_genre_text("Rock (live)"), "");
    EXPECT_EQ(resolve_genre_text("(12345)"), "");
    EXPECT_EQ(resolve_genre_text("(1234)x"), "x");
    EXPECT_EQ(resolve_genre_text("(Cover)Pop"), "Pop");
}

TEST(ResolveGenreText, UnclosedBracketDropsEverythingUpToIt) {
    EXPECT_EQ(resolve_genre_text("(17"), "17");
    EXPECT_EQ(resolve_genre_text("ab(cd"), "cd");
    EXPECT_EQ(resolve_genre_text("(1)(2"), "2");
}

TEST(ResolveGenreText, UsesTheLastOpeningBracket) {
    EXPECT_EQ(resolve_genre_text("(1)(2)"), "Country");
    EXPECT_EQ(resolve_genre_text("ab)"), "Blues");  // no "(": from the start
}

TEST(ResolveGenreText, KeepsANumberWithoutAName) {
    EXPECT_EQ(resolve_genre_text("(255)"), "(255)");
    EXPECT_EQ(resolve_genre_text("(126)Other"), "(126)Other");
}

TEST(ResolveGenreText, BracketsInsideTwoByteCharactersDoNotCount) {
    // 81 28 is one character: its trail byte is no "(".
    EXPECT_EQ(resolve_genre_text("\x81(5)"), "Blues");
    // 81 29 is one character: its trail byte is no ")".
    EXPECT_EQ(resolve_genre_text("(1\x81)"), "1\x81)");
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

TEST(Id3v2Version4, YearComesFromTheRecordingTimeWhenTyerIsMissing) {
    test::TempDir dir;
    const auto frame24 = [](std::string_view id, std::string_view text) {
        std::string frame(id);
        const std::size_t size = text.size() + 1;  // syncsafe, small
        frame += std::string(3, '\0');
        frame += static_cast<char>(size);
        frame += std::string(2, '\0');
        return frame + '\0' + std::string(text);
    };
    const std::string header = std::string("ID3\x04\x00\x00", 6);
    std::string frames = frame24("TIT2", "T") + frame24("TDRC", "2014-05-01");
    std::string tag = header + std::string(3, '\0') + static_cast<char>(frames.size()) + frames;
    dir.write_file("a.mp3", tag + "audio");
    auto file = ByteFile::open_read(dir.path() + "a.mp3");
    TagFields fields;
    const Codec codec;
    ASSERT_TRUE(read_id3v2_tag(*file, fields, codec));
    EXPECT_EQ(fields.year, "2014");

    frames = frame24("TYER", "1999") + frame24("TDRC", "2014");
    tag = header + std::string(3, '\0') + static_cast<char>(frames.size()) + frames;
    dir.write_file("b.mp3", tag);
    auto second = ByteFile::open_read(dir.path() + "b.mp3");
    ASSERT_TRUE(read_id3v2_tag(*second, fields, codec));
    EXPECT_EQ(fields.year, "1999");
}

}  // namespace
}  // namespace varnel
