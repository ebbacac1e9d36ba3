// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/codec.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace varnel {
namespace {

using namespace std::string_literals;

// 你好 in both encodings.
const std::string nihao_utf8 = "\xE4\xBD\xA0\xE5\xA5\xBD";
const std::string nihao_gb = "\xC4\xE3\xBA\xC3";
// U+1F600, four bytes in both encodings.
const std::string grin_utf8 = "\xF0\x9F\x98\x80";
const std::string grin_gb = "\x94\x39\xFC\x36";

TEST(Utf8Validation, AcceptsEveryBoundaryOfTheEncoding) {
    for (const std::string& text :
         {""s, "plain ascii"s, "\x7F"s, "\xC2\x80"s, "\xDF\xBF"s, "\xE0\xA0\x80"s, "\xED\x9F\xBF"s,
          "\xEE\x80\x80"s, "\xEF\xBF\xBF"s, "\xF0\x90\x80\x80"s, "\xF4\x8F\xBF\xBF"s, nihao_utf8,
          "a\0b"s})
        EXPECT_TRUE(is_valid_utf8(text)) << text;
}

TEST(Utf8Validation, RejectsOverlongsSurrogatesAndOutOfRange) {
    for (const std::string& text :
         {"\xC0\x80"s, "\xC1\xBF"s, "\xE0\x9F\xBF"s, "\xF0\x8F\xBF\xBF"s,  // overlong
          "\xED\xA0\x80"s, "\xED\xBF\xBF"s,                                // surrogates
          "\xF4\x90\x80\x80"s, "\xF5\x80\x80\x80"s, "\xFF"s,               // above U+10FFFF
          "\x80"s, "\xE4\xBD"s, "\xE4\x41\xA0"s, nihao_gb,                 // broken sequences
          "abcdefghijklmnop\xE4\xBD"s})                                    // after a long ASCII run
        EXPECT_FALSE(is_valid_utf8(text)) << testing::PrintToString(text);
}

TEST(AsciiCheck, FindsAHighByteAtAnyPosition) {
    EXPECT_TRUE(is_ascii(""));
    EXPECT_TRUE(is_ascii("a fairly long ascii only name.txt"));
    const std::string base(24, 'x');
    for (std::size_t i = 0; i < base.size(); ++i) {
        std::string text = base;
        text[i] = '\x80';
        EXPECT_FALSE(is_ascii(text)) << i;
    }
}

TEST(Codec, RefusesAnUnknownCodePage) {
    EXPECT_THROW(Codec("NO-SUCH-CODE-PAGE"), std::runtime_error);
}

TEST(Codec, ConvertsBothWays) {
    const Codec codec;
    EXPECT_EQ(codec.from_utf8(nihao_utf8 + ".txt"), nihao_gb + ".txt");
    EXPECT_EQ(codec.to_utf8(nihao_gb + ".txt"), nihao_utf8 + ".txt");
    EXPECT_EQ(codec.from_utf8(grin_utf8), grin_gb);
    EXPECT_EQ(codec.to_utf8(grin_gb), grin_utf8);
    EXPECT_EQ(codec.from_utf8("ascii.mp3"), "ascii.mp3");
    EXPECT_EQ(codec.to_utf8(""), "");
    EXPECT_EQ(codec.fs_from_text(nihao_gb), nihao_utf8);
}

TEST(Codec, ConvertsLongTextThatOutgrowsTheFirstBuffer) {
    const Codec codec;
    std::string gb;
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        gb += nihao_gb + grin_gb + "a";
        utf8 += nihao_utf8 + grin_utf8 + "a";
    }
    EXPECT_EQ(codec.to_utf8(gb), utf8);
    EXPECT_EQ(codec.from_utf8(utf8), gb);
}

TEST(Codec, RejectsMalformedInput) {
    const Codec codec;
    EXPECT_EQ(codec.from_utf8("a\xFF"), std::nullopt);
    EXPECT_EQ(codec.from_utf8("\xED\xA0\x80"), std::nullopt);  // surrogate
    EXPECT_EQ(codec.from_utf8("\xE4\xBD"), std::nullopt);      // cut short
    EXPECT_EQ(codec.to_utf8("a\xFF"), std::nullopt);
    EXPECT_EQ(codec.to_utf8("\x80"), std::nullopt);
    EXPECT_EQ(codec.to_utf8("ab\xC4"), std::nullopt);  // cut short
    EXPECT_EQ(codec.fs_from_text("\xC4"), std::nullopt);
}

TEST(Codec, FailedConversionDoesNotSpoilTheNext) {
    const Codec codec;
    EXPECT_EQ(codec.to_utf8("\xC4"), std::nullopt);
    EXPECT_EQ(codec.to_utf8(nihao_gb), nihao_utf8);
    EXPECT_EQ(codec.from_utf8("\xE4\xBD"), std::nullopt);
    EXPECT_EQ(codec.from_utf8(nihao_utf8), nihao_gb);
}

TEST(Codec, TextFromFsConvertsUtf8Names) {
    const Codec codec;
    EXPECT_EQ(codec.text_from_fs("song.mp3"), "song.mp3");
    EXPECT_EQ(codec.text_from_fs(nihao_utf8 + ".txt"), nihao_gb + ".txt");
    EXPECT_EQ(codec.text_from_fs(grin_utf8), grin_gb);
}

TEST(Codec, TextFromFsKeepsLegacyBytesAndMarksTheRest) {
    const Codec codec;
    EXPECT_EQ(codec.text_from_fs(nihao_gb + ".txt"), nihao_gb + ".txt");
    EXPECT_EQ(codec.text_from_fs("a\xFF"
                                 "b"),
              "a?b");
    EXPECT_EQ(codec.text_from_fs("\xC4\xE3\xFF\xBA\xC3"), "\xC4\xE3?\xBA\xC3");
    EXPECT_EQ(codec.text_from_fs("\x80\x80"), "??");
    EXPECT_EQ(codec.text_from_fs("abc\xC4"), "abc?");  // lead byte at the end
    EXPECT_EQ(codec.text_from_fs(grin_gb + "\xFF"), grin_gb + "?");
}

TEST(Codec, LossyConversionReplacesBadBytes) {
    const Codec codec;
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(codec.to_utf8_lossy("plain"), "plain");
    EXPECT_EQ(codec.to_utf8_lossy(nihao_gb), nihao_utf8);
    EXPECT_EQ(codec.to_utf8_lossy("a\xFF"
                                  "b"),
              "a" + replacement + "b");
    EXPECT_EQ(codec.to_utf8_lossy("\xC4\xE3\x80\xBA\xC3"),
              "\xE4\xBD\xA0" + replacement + "\xE5\xA5\xBD");
    EXPECT_EQ(codec.to_utf8_lossy("x\xC4"), "x" + replacement);
}

}  // namespace
}  // namespace varnel
