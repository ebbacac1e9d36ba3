// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/insert_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnel {
namespace {

using Names = std::vector<std::string>;

Names run(const InsertOptions& options, const Names& old) {
    Names out(old.size());
    compute_new_names(options, old, out);
    return out;
}

InsertOptions main_text(std::string text, std::string position) {
    InsertOptions o;
    o.text = std::move(text);
    o.position = std::move(position);
    return o;
}

InsertOptions ext_text(std::string text, std::string position) {
    InsertOptions o;
    o.ext_text = std::move(text);
    o.ext_position = std::move(position);
    return o;
}

TEST(InsertRule, EmptyTextsLeaveNamesUnchanged) {
    const Names old{"song.mp3", "README", ".profile", "x."};
    InsertOptions o;
    EXPECT_EQ(run(o, old), old);
    o.at_end = true;
    o.ext_at_end = true;
    o.position = "7";
    EXPECT_EQ(run(o, old), old);
}

TEST(InsertRule, MainTextGoesAtTheBytePosition) {
    EXPECT_EQ(run(main_text("01_", "1"), {"song.mp3"}), (Names{"01_song.mp3"}));
    EXPECT_EQ(run(main_text("X", "3"), {"abcdef.txt"}), (Names{"abXcdef.txt"}));
    EXPECT_EQ(run(main_text("X", "7"), {"abcdef.txt"}), (Names{"abcdefX.txt"}));
    EXPECT_EQ(run(main_text("X", "50"), {"abcdef.txt"}), (Names{"abcdefX.txt"}));
    EXPECT_EQ(run(main_text("X", "0"), {"ab.txt"}), (Names{"Xab.txt"}));
    EXPECT_EQ(run(main_text("X", "-9"), {"ab.txt"}), (Names{"Xab.txt"}));
    EXPECT_EQ(run(main_text("X", ""), {"ab.txt"}), (Names{"Xab.txt"}));
    EXPECT_EQ(run(main_text("X", "1"), {".profile"}), (Names{"X.profile"}));
}

TEST(InsertRule, MainTextAtTheEnd) {
    InsertOptions o = main_text("X", "1");
    o.at_end = true;
    EXPECT_EQ(run(o, {"abcdef.txt", "README", ".profile"}),
              (Names{"abcdefX.txt", "READMEX", "X.profile"}));
}

TEST(InsertRule, ExtensionPositionCountsAfterTheDot) {
    const Names old{"song.mp3"};
    EXPECT_EQ(run(ext_text("X", "1"), old), (Names{"song.Xmp3"}));
    EXPECT_EQ(run(ext_text("X", "3"), old), (Names{"song.mpX3"}));
    EXPECT_EQ(run(ext_text("X", "9"), old), (Names{"song.mp3X"}));
    EXPECT_EQ(run(ext_text("X", "2147483647"), old), (Names{"song.mp3X"}));
    // Position 0 (also an emptied field) is before the dot.
    EXPECT_EQ(run(ext_text("X", "0"), old), (Names{"songX.mp3"}));
    EXPECT_EQ(run(ext_text("X", ""), old), (Names{"songX.mp3"}));
    EXPECT_EQ(run(ext_text("X", "-3"), old), (Names{"songX.mp3"}));
}

TEST(InsertRule, ExtensionTextAtTheEnd) {
    InsertOptions o = ext_text("X", "1");
    o.ext_at_end = true;
    EXPECT_EQ(run(o, {"song.mp3", "x."}), (Names{"song.mp3X", "x.X"}));
}

TEST(InsertRule, ExtensionTextCreatesAMissingExtension) {
    InsertOptions o = ext_text("bak", "3");
    EXPECT_EQ(run(o, {"README"}), (Names{"README.bak"}));
    o.ext_at_end = true;
    EXPECT_EQ(run(o, {"README"}), (Names{"README.bak"}));
}

TEST(InsertRule, MainAndExtensionAreBothProcessed) {
    InsertOptions o = main_text("A", "2");
    o.ext_text = "B";
    o.ext_position = "2";
    EXPECT_EQ(run(o, {"xy.mp3", "z"}), (Names{"xAy.mBp3", "zA.B"}));
}

TEST(InsertRule, PositionOnASecondByteMovesAfterTheCharacter) {
    const std::string zhong_wen = "\xD6\xD0\xCE\xC4";
    // Byte 2 is the second byte of the first character.
    EXPECT_EQ(run(main_text("X", "2"), {zhong_wen + ".t"}), (Names{"\xD6\xD0X\xCE\xC4.t"}));
    EXPECT_EQ(run(main_text("X", "3"), {zhong_wen + ".t"}), (Names{"\xD6\xD0X\xCE\xC4.t"}));
    EXPECT_EQ(run(main_text("X", "4"), {zhong_wen + ".t"}), (Names{"\xD6\xD0\xCE\xC4X.t"}));
    // In the extension, position 2 is the second byte of the character after the dot.
    EXPECT_EQ(run(ext_text("X", "2"), {"a." + zhong_wen}), (Names{"a.\xD6\xD0X\xCE\xC4"}));
    EXPECT_EQ(run(ext_text("X", "1"), {"a." + zhong_wen}), (Names{"a.X\xD6\xD0\xCE\xC4"}));
}

TEST(InsertRule, APositionInsideAFourByteCharacterMovesPastIt) {
    const std::string t_cedilla = "\x81\x30\x95\x30";  // ţ (GB18030 four-byte)
    const std::string a_grave = "\x81\x30\x86\x38";    // À
    for (const char* position : {"2", "3", "4", "5"})
        EXPECT_EQ(run(main_text("-", position), {t_cedilla + a_grave + ".txt"}),
                  (Names{t_cedilla + "-" + a_grave + ".txt"}))
            << position;
    EXPECT_EQ(run(ext_text("-", "2"), {"a." + t_cedilla}), (Names{"a." + t_cedilla + "-"}));
}

}  // namespace
}  // namespace varnel
