// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/name_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace varnel {
namespace {

// "中" and "文" in GBK, and a two-byte character whose second byte is 'A'.
constexpr const char* kZhong = "\xD6\xD0";
constexpr const char* kWen = "\xCE\xC4";
constexpr const char* kLeadA = "\x81\x41";
constexpr const char* kLeadSmallA = "\x81\x61";  // second byte 'a'
constexpr const char* kFullOne = "\xA3\xB1";     // full-width 1
constexpr const char* kFullTwo = "\xA3\xB2";     // full-width 2

std::string s(const char* a, const char* b = "", const char* c = "") {
    return std::string(a) + b + c;
}

TEST(NameTextSlices, LeftAndMidCutAtTheEndsAndRejectBadArguments) {
    EXPECT_EQ(length(s(kZhong, "ab")), 4);
    EXPECT_EQ(left("abc", 2), "ab");
    EXPECT_EQ(left("abc", 9), "abc");
    EXPECT_EQ(left("abc", 0), "");
    EXPECT_EQ(left("abc", -1), "");
    EXPECT_EQ(mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(mid("abcdef", 5, 9), "ef");
    EXPECT_EQ(mid("abcdef", 6, 1), "f");
    EXPECT_EQ(mid("abcdef", 7, 1), "");
    EXPECT_EQ(mid("abcdef", 0, 3), "");
    EXPECT_EQ(mid("abcdef", 1, 0), "");
}

TEST(NameTextFindLast, FindsTheLastOccurrenceAtACharacterStart) {
    EXPECT_EQ(find_last("a.tar.gz", "."), 6);
    EXPECT_EQ(find_last("abab", "ab"), 3);
    EXPECT_EQ(find_last("abc", "x"), -1);
    EXPECT_EQ(find_last("abc", ""), -1);
    EXPECT_EQ(find_last("ab", "abc"), -1);
    // The 'A' inside the two-byte character is not a match; the later one is.
    EXPECT_EQ(find_last(kLeadA, "A"), -1);
    EXPECT_EQ(find_last(s(kLeadA, "A"), "A"), 3);
    EXPECT_EQ(find_last(s("A", kLeadA), "A"), 1);
    EXPECT_EQ(find_last(s("ab", kZhong), kZhong), 3);
    EXPECT_EQ(find_last("\x81\x82\x81\x82", "\x82\x81"), -1);
    EXPECT_EQ(find_last("aaa", "aa"), 2);
}

TEST(NameTextReplaceAt, ClampsTheStartAndTheRemovedCount) {
    EXPECT_EQ(replace_at("abc", 10, 0, "X"), "abcX");
    EXPECT_EQ(replace_at("abc", 0, 0, "X"), "Xabc");
    EXPECT_EQ(replace_at("abc", 2, 5, ""), "a");
    EXPECT_EQ(replace_at("abc", 2, 1, "XY"), "aXYc");
    EXPECT_EQ(replace_at("abc", 2, -3, "X"), "aXbc");
    EXPECT_EQ(replace_at("abc", INT_MIN, 1, "X"), "Xbc");
    EXPECT_EQ(replace_at("abc", INT_MAX, INT_MAX, "X"), "abcX");
    // Bytes, not characters: position 2 splits the two-byte character.
    EXPECT_EQ(replace_at(kZhong, 2, 0, "X"), "\xD6X\xD0");
}

TEST(NameTextReplaceAll, ReplacesLeftToRightWithoutOverlapOrRescan) {
    EXPECT_EQ(replace_all("aaaa", "aa", "b", 1, true), "bb");
    EXPECT_EQ(replace_all("aaa", "aa", "b", 1, true), "ba");
    EXPECT_EQ(replace_all("aa", "a", "aa", 1, true), "aaaa");
    EXPECT_EQ(replace_all("my_song_1", "_", " ", 1, true), "my song 1");
    EXPECT_EQ(replace_all("abc", "", "X", 1, true), "abc");
    EXPECT_EQ(replace_all("", "a", "X", 1, true), "");
}

TEST(NameTextReplaceAll, StartsAtTheGivenByte) {
    EXPECT_EQ(replace_all("a.a.a", ".", "", 2, true), "aaa");
    EXPECT_EQ(replace_all("a.a.a", ".", "", 3, true), "a.aa");
    EXPECT_EQ(replace_all(".mp3", ".", "", 2, true), ".mp3");
    EXPECT_EQ(replace_all("abab", "ab", "X", 2, true), "abX");
    EXPECT_EQ(replace_all("abab", "ab", "X", 0, true), "XX");
    EXPECT_EQ(replace_all("abab", "ab", "X", 99, true), "abab");
}

TEST(NameTextReplaceAll, CaseFoldingOnlyWhenNotCaseSensitive) {
    EXPECT_EQ(replace_all(".mp3", "MP3", "", 2, false), ".");
    EXPECT_EQ(replace_all(".mp3", "MP3", "", 2, true), ".mp3");
    EXPECT_EQ(replace_all("aAbB", "ab", "-", 1, false), "a-B");
    // Folding also applies to the second byte of a two-byte character.
    EXPECT_EQ(replace_all(s(kLeadSmallA, "z"), kLeadA, "X", 1, false), "Xz");
    EXPECT_EQ(replace_all(s(kLeadSmallA, "z"), kLeadA, "X", 1, true), s(kLeadSmallA, "z"));
    // Bytes of 0x80 and above are never folded.
    EXPECT_EQ(replace_all("\xE1x", "\xC1x", "X", 1, false), "\xE1x");
}

TEST(NameTextReplaceAll, MatchesTwoByteCharactersWhole) {
    const std::string text = std::string("a") + kZhong + "b" + kZhong;
    EXPECT_EQ(replace_all(text, kZhong, "-", 1, false), "a-b-");
    // 81 82 | 81 82: the bytes 82 81 in the middle span two characters.
    EXPECT_EQ(replace_all("\x81\x82\x81\x82", "\x82\x81", "X", 1, true), "\x81\x82\x81\x82");
    EXPECT_EQ(replace_all(s(kWen, kZhong, "_A"), "_a", "+", 1, false), s(kWen, kZhong, "+"));
}

TEST(NameTextReplaceAll, AppendVariantAddsToTheGivenText) {
    std::string out = "pre:";
    append_replace_all(out, "a_b_c", "_", "--", 1, true);
    EXPECT_EQ(out, "pre:a--b--c");
    append_replace_all(out, "|xyz", "q", "", 1, true);
    EXPECT_EQ(out, "pre:a--b--c|xyz");
    append_replace_all(out, "|XYZ", "y", "", 1, false);
    EXPECT_EQ(out, "pre:a--b--c|xyz|XZ");
    append_replace_all(out, "|k", "", "", 1, false);
    EXPECT_EQ(out, "pre:a--b--c|xyz|XZ|k");
}

TEST(NameTextReplaceAll, NeverMatchesAtASecondByte) {
    EXPECT_EQ(replace_all(kLeadA, "A", "X", 1, false), kLeadA);
    EXPECT_EQ(replace_all(s(kLeadA, "A"), "A", "X", 1, true), s(kLeadA, "X"));
    // A start on the second byte does not make that byte a character start.
    EXPECT_EQ(replace_all(s(kLeadA, "A"), "A", "X", 2, true), s(kLeadA, "X"));
    // A pattern ending in a lead byte matches the first half of a character;
    // the scan resumes after that character, not at its second byte.
    EXPECT_EQ(replace_all("\x81\x81\x81\x81", "\x81", "X", 1, true), "X\x81X\x81");
}

TEST(NameTextCase, ChangesAsciiLettersOnly) {
    EXPECT_EQ(to_upper("My Song-1.mp3"), "MY SONG-1.MP3");
    EXPECT_EQ(to_lower("ReadMe.TXT"), "readme.txt");
    // The second byte of "\x81\x61" is 'a' but belongs to the character.
    EXPECT_EQ(to_upper(s(kLeadSmallA, "b")), s(kLeadSmallA, "B"));
    EXPECT_EQ(to_lower(s(kLeadA, "B")), s(kLeadA, "b"));
    // A lead byte at the very end is copied as it is.
    EXPECT_EQ(to_upper("a\xD6"), "A\xD6");
}

TEST(NameTextToInteger, ReadsADecimalNumberAndTruncatesTowardZero) {
    EXPECT_EQ(to_integer("42"), 42);
    EXPECT_EQ(to_integer("  -3.9"), -3);
    EXPECT_EQ(to_integer("+7"), 7);
    EXPECT_EQ(to_integer("3.99"), 3);
    EXPECT_EQ(to_integer("-0.5"), 0);
    EXPECT_EQ(to_integer(".5e1"), 5);
    EXPECT_EQ(to_integer("5."), 5);
    EXPECT_EQ(to_integer("1e3"), 1000);
    EXPECT_EQ(to_integer("1E+2"), 100);
    EXPECT_EQ(to_integer("12e-1"), 1);
    EXPECT_EQ(to_integer("2.5e1x"), 25);
    EXPECT_EQ(to_integer("12abc"), 12);
    EXPECT_EQ(to_integer("\t\n 8"), 8);
}

TEST(NameTextToInteger, NonNumericTextReadsAsZero) {
    EXPECT_EQ(to_integer(""), 0);
    EXPECT_EQ(to_integer("abc"), 0);
    EXPECT_EQ(to_integer("-"), 0);
    EXPECT_EQ(to_integer("."), 0);
    EXPECT_EQ(to_integer("- 5"), 0);
    EXPECT_EQ(to_integer("inf"), 0);
    EXPECT_EQ(to_integer("nan"), 0);
    EXPECT_EQ(to_integer("0x10"), 0);
    EXPECT_EQ(to_integer(kZhong), 0);
    // An 'e' without exponent digits ends the number before it.
    EXPECT_EQ(to_integer("7e"), 7);
    EXPECT_EQ(to_integer("7e+"), 7);
}

TEST(NameTextToInteger, ClampsToThirtyTwoBits) {
    EXPECT_EQ(to_integer("2147483647"), INT32_MAX);
    EXPECT_EQ(to_integer("2147483648"), INT32_MAX);
    EXPECT_EQ(to_integer("-2147483648"), INT32_MIN);
    EXPECT_EQ(to_integer("-2147483649"), INT32_MIN);
    EXPECT_EQ(to_integer("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(to_integer("1e400"), INT32_MAX);
    EXPECT_EQ(to_integer("-1e99999999999"), INT32_MIN);
    EXPECT_EQ(to_integer("1e9999999999999999999"), INT32_MAX);
    EXPECT_EQ(to_integer("1e-400"), 0);
    EXPECT_EQ(to_integer("0e99999999"), 0);
    EXPECT_EQ(to_integer("2147483647.9"), INT32_MAX);
    EXPECT_EQ(to_integer("000000000000000000012"), 12);
}

TEST(NameTextToInteger, ReadsFullWidthFormsAsAscii) {
    EXPECT_EQ(to_integer(s(kFullOne, kFullTwo)), 12);
    EXPECT_EQ(to_integer("\xA1\xA1\xA3\xAD\xA3\xB3\xA3\xAE\xA3\xB9"), -3);  // "　－３．９"
    EXPECT_EQ(to_integer(s(kFullOne, "\xA3\xC5", kFullTwo)), 100);          // full-width E
    EXPECT_EQ(to_integer(s("1", kFullTwo, "3")), 123);
    // Other two-byte characters end the number.
    EXPECT_EQ(to_integer(s("12", kZhong, "3")), 12);
    EXPECT_EQ(to_integer(s("\xA3\xA1", "5")), 0);  // full-width '!'

    EXPECT_EQ(to_integer("\xA3"), 0);
}

TEST(NameTextToText, WritesDecimalWithMinusSign) {
    EXPECT_EQ(to_text(0), "0");
    EXPECT_EQ(to_text(-1), "-1");
    EXPECT_EQ(to_text(INT32_MAX), "2147483647");
    EXPECT_EQ(to_text(INT32_MIN), "-2147483648");
}

TEST(NameTextHasExtension, ComparesTheTextAfterTheLastDotIgnoringCase) {
    EXPECT_TRUE(has_extension("song.mp3", "MP3"));
    EXPECT_TRUE(has_extension("song.Mp3", "mp3"));
    EXPECT_TRUE(has_extension("a.b.MP3", "mP3"));
    EXPECT_FALSE(has_extension("song.mp3.txt", "MP3"));
    EXPECT_FALSE(has_extension("mp3", "MP3"));
    EXPECT_FALSE(has_extension("song.mp", "MP3"));
    EXPECT_FALSE(has_extension("song.mp3x", "MP3"));
    EXPECT_TRUE(has_extension("x.", ""));
    EXPECT_FALSE(has_extension("x", ""));
}

TEST(NameTextSplitName, SplitsAtTheLastDotOutsideTwoByteCharacters) {
    auto check = [](const std::string& name, const std::string& main, const std::string& ext) {
        const NameParts p = split_name(name);
        EXPECT_EQ(p.main, main) << name;
        EXPECT_EQ(p.ext, ext) << name;
    };
    check("song.mp3", "song", ".mp3");
    check("README", "README", "");
    check(".profile", "", ".profile");
    check("a.tar.gz", "a.tar", ".gz");
    check("x.", "x", ".");
    check("..x.txt", "..x", ".txt");
    check("", "", "");
    // 0x2E after a lead byte is that character's second byte, not a dot.
    check("a.b\x81.c", "a", ".b\x81.c");
    check(s(kZhong, kWen, ".txt"), s(kZhong, kWen), ".txt");
}

// GB18030 four-byte characters (bytes 2 and 4 are ASCII digits) are one
// character to every search, cut and case change.
TEST(NameTextFourByte, OneCharacterToEveryOperation) {
    const std::string t_cedilla = "\x81\x30\x95\x30";  // ţ
    const std::string a_grave = "\x81\x30\x86\x38";    // À
    const std::string kiss = "\x95\x30\x81\x30";       // 😘: the middle bytes of ţÀ
    const std::string n_tilde = "\x81\x30\x8A\x39";    // ñ
    const std::string both = t_cedilla + a_grave;
    struct Replace {
        std::string t, s, r, expected;
    };
    for (const Replace& c : {
             Replace{both + ".txt", kiss, "", both + ".txt"},
             Replace{both, a_grave, "A", t_cedilla + "A"},
             Replace{n_tilde + "0" + n_tilde + "9", "0", "_", n_tilde + "_" + n_tilde + "9"},
             Replace{n_tilde + "9", "9", "_", n_tilde + "_"},
             Replace{"\x81\x30", "0", "_", "\x81\x30"},  // cut short: a two-byte character
             Replace{kZhong + n_tilde, "\x30", "x", kZhong + n_tilde},
             Replace{"a" + n_tilde + "b", "\x81\x30", "", "a" + n_tilde + "b"},  // half of ñ
         }) {
        EXPECT_EQ(replace_all(c.t, c.s, c.r, 1, true), c.expected);
        EXPECT_EQ(replace_all(c.t, c.s, c.r, 1, false), c.expected);
    }
    EXPECT_FALSE(contains_text(both, kiss, true));
    EXPECT_EQ(find_last(both, kiss), -1);
    EXPECT_EQ(find_last(both + both, a_grave), 13);
    EXPECT_EQ(find_last(n_tilde + "0", "0"), 5);
    EXPECT_EQ(left_whole(both, 3), "");
    EXPECT_EQ(left_whole(both, 7), t_cedilla);
    EXPECT_EQ(left_whole(both, 8), both);
    EXPECT_EQ(to_upper(n_tilde + "ab"), n_tilde + "AB");
    EXPECT_EQ(to_lower(n_tilde + "AB"), n_tilde + "ab");
    EXPECT_EQ(split_name(n_tilde + "9.mp3").ext, ".mp3");
    EXPECT_EQ(to_integer(n_tilde + "12"), 0);
    EXPECT_EQ(to_integer("12" + n_tilde + "3"), 12);
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

TEST(ContainsText, MatchesAtCharacterStartsWithoutCase) {
    EXPECT_TRUE(contains_text("xAB.txt", "ab", false));
    EXPECT_TRUE(contains_text("cab.mp3", "ab", false));
    EXPECT_FALSE(contains_text("xAB.txt", "ab", true));
    EXPECT_FALSE(contains_text("x.txt", "", false));
    // 0x81 0x41 is one two-byte character whose second byte is 'A'.
    EXPECT_FALSE(contains_text("\x81\x41", "A", false));
    EXPECT_TRUE(
        contains_text("\x81\x41"
                      "A",
                      "a", false));
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

TEST(LeftWhole, NeverSplitsATwoByteCharacter) {
    EXPECT_EQ(left_whole("ab\xD6\xD0", 3), "ab");
    EXPECT_EQ(left_whole("ab\xD6\xD0", 4), "ab\xD6\xD0");
    EXPECT_EQ(left_whole("abc", 2), "ab");
    EXPECT_EQ(left_whole("abc", 9), "abc");
    EXPECT_EQ(left_whole("abc", 0), "");
}

}  // namespace
}  // namespace varnel
