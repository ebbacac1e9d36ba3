#include "rename/case_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnel {
namespace {

using Names = std::vector<std::string>;

Names run(CaseChoice name, CaseChoice ext, const Names& old) {
    Names out(old.size());
    compute_new_names(CaseOptions{name, ext}, old, out);
    return out;
}

constexpr CaseChoice kUpper = CaseChoice::upper;
constexpr CaseChoice kLower = CaseChoice::lower;
constexpr CaseChoice kFirstUpper = CaseChoice::first_upper;
constexpr CaseChoice kFirstLower = CaseChoice::first_lower;

TEST(CaseRule, AllUpperAndAllLower) {
    EXPECT_EQ(run(kUpper, kUpper, {"My Song.mp3"}), (Names{"MY SONG.MP3"}));
    EXPECT_EQ(run(kLower, kLower, {"ReadMe.TXT"}), (Names{"readme.txt"}));
}

TEST(CaseRule, MainAndExtensionFollowTheirOwnChoice) {
    EXPECT_EQ(run(kLower, kUpper, {"Ab.Cd.Ef"}), (Names{"ab.cd.EF"}));
    EXPECT_EQ(run(kUpper, kLower, {"Ab.Cd.Ef"}), (Names{"AB.CD.ef"}));
    EXPECT_EQ(run(kLower, kUpper, {"ReadMe", ".profile", "x."}),
              (Names{"readme", ".PROFILE", "x."}));
}

TEST(CaseRule, FirstLetterChangesOnlyThatLetter) {
    EXPECT_EQ(run(kFirstUpper, kFirstLower, {"hELLO world.Mp3"}), (Names{"HELLO world.mp3"}));
    EXPECT_EQ(run(kFirstLower, kFirstUpper, {"HELLO.mp3"}), (Names{"hELLO.Mp3"}));
    EXPECT_EQ(run(kFirstUpper, kFirstUpper, {"01 - intro.ogg", "a.b.c"}),
              (Names{"01 - Intro.Ogg", "A.b.C"}));
    EXPECT_EQ(run(kFirstUpper, kFirstUpper, {"123", ".7z", ""}), (Names{"123", ".7Z", ""}));
}

TEST(CaseRule, TwoByteCharactersAreSkippedWhole) {
    // 中文abc: the two-byte characters stay, the a is the first letter.
    EXPECT_EQ(run(kFirstUpper, kUpper, {"\xD6\xD0\xCE\xC4" "abc"}),
              (Names{"\xD6\xD0\xCE\xC4" "Abc"}));
    // 0x81 0x61: its second byte is 'a' but is no letter of its own.
    EXPECT_EQ(run(kFirstUpper, kFirstUpper, {"\x81\x61" "bc.\x81\x61" "d"}),
              (Names{"\x81\x61" "Bc.\x81\x61" "D"}));
    EXPECT_EQ(run(kUpper, kUpper, {"\x81\x61" "b"}), (Names{"\x81\x61" "B"}));
    EXPECT_EQ(run(kLower, kLower, {"\x81\x41" "B"}), (Names{"\x81\x41" "b"}));
}

TEST(CaseRule, PartsWithoutLettersAreUnchanged) {
    // Full-width Ａ (A3C1) is a two-byte character, not a letter.
    const Names old{"\xD6\xD0" "12\xA3\xC1" ".\xA3\xC1"};
    for (CaseChoice c : {kUpper, kLower, kFirstUpper, kFirstLower}) {
        EXPECT_EQ(run(c, c, old), old);
    }
}

}  // namespace
}  // namespace varnel
