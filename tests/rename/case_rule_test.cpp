// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/case_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/language.h"

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
constexpr CaseChoice kTitle = CaseChoice::title_case;

std::string gb(std::string_view utf8) {
    return code_page(utf8);
}

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
    // Two GBK Han characters, then abc: the a is the first letter.
    const std::string han = "\xD6\xD0\xCE\xC4";
    EXPECT_EQ(run(kFirstUpper, kUpper, {han + "abc"}), (Names{han + "Abc"}));
    // 0x81 0x61 and 0x81 0x41: second bytes 'a' and 'A', no letters of their own.
    const std::string a2 = "\x81\x61";
    const std::string upper_a2 = "\x81\x41";
    EXPECT_EQ(run(kFirstUpper, kFirstUpper, {a2 + "bc." + a2 + "d"}),
              (Names{a2 + "Bc." + a2 + "D"}));
    EXPECT_EQ(run(kUpper, kUpper, {a2 + "b"}), (Names{a2 + "B"}));
    EXPECT_EQ(run(kLower, kLower, {upper_a2 + "B"}), (Names{upper_a2 + "b"}));
}

TEST(CaseRule, PartsWithoutLettersAreUnchanged) {
    // Full-width Ａ (A3C1) is a two-byte character, not a letter.
    const std::string han = "\xD6\xD0";
    const std::string full_a = "\xA3\xC1";
    const Names old{han + "12" + full_a + "." + full_a};
    for (CaseChoice c : {kUpper, kLower, kFirstUpper, kFirstLower}) {
        EXPECT_EQ(run(c, c, old), old);
    }
}

TEST(CaseRule, FourByteCharactersAreSkippedWhole) {
    const std::string n_tilde = "\x81\x30\x8A\x39";  // ñ (GB18030 four-byte)
    EXPECT_EQ(run(kFirstUpper, kFirstUpper, {n_tilde + "abc." + n_tilde + "mp3"}),
              (Names{n_tilde + "Abc." + n_tilde + "Mp3"}));
    EXPECT_EQ(run(kUpper, kLower, {n_tilde + "ab.MP3"}), (Names{n_tilde + "AB.mp3"}));
}

struct TitleCase {
    const char* what;
    std::string old_name;
    std::string new_name;
};

class TitleCaseRule : public testing::TestWithParam<TitleCase> {};

TEST_P(TitleCaseRule, CapitalisesEveryWord) {
    const TitleCase& c = GetParam();
    EXPECT_EQ(run(kTitle, kLower, {gb(c.old_name)}), (Names{gb(c.new_name)}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TitleCaseRule,
    testing::Values(
        TitleCase{"ascii_words", "hELLO wORLD-again.MP3", "Hello World-Again.mp3"},
        TitleCase{"digits_join_a_word", "the 2nd 3RD.txt", "The 2nd 3rd.txt"},
        TitleCase{"apostrophes_inside", "don't stop 'n' rock.mp3", "Don't Stop 'N' Rock.mp3"},
        TitleCase{"typographic_apostrophe", "it’s me.mp3", "It’s Me.mp3"},
        TitleCase{"underscores_separate", "a_b__c.ogg", "A_B__C.ogg"},
        TitleCase{"latin_beyond_ascii", "élan ÉCOLE ñandú ÿ.flac", "Élan École Ñandú Ÿ.flac"},
        TitleCase{"pinyin_letters", "ǎ ǜ wǒ.mp3", "Ǎ Ǜ Wǒ.mp3"},
        TitleCase{"chinese_separates_and_stays", "周杰伦abc稻香DEF.mp3", "周杰伦Abc稻香Def.mp3"},
        TitleCase{"full_width_untouched", "ａｂ ab.mp3", "ａｂ Ab.mp3"},
        TitleCase{"no_pair_letters_kept", "ßtraße ĸa.mp3", "ßtraße ĸa.mp3"},
        TitleCase{"empty_and_dot_only", "", ""},
        TitleCase{"times_and_divide_are_not_letters", "a×b÷c.mp3", "A×B÷C.mp3"}),
    [](const auto& param_info) { return std::string(param_info.param.what); });

TEST(CaseRule, TitleCaseOfTheExtensionAlone) {
    EXPECT_EQ(run(kLower, kTitle, {"My Song.tar.GZ", ".bash_PROFILE"}),
              (Names{"my song.tar.Gz", ".Bash_Profile"}));
    // A four-byte capital from a two-byte small letter: ā (A8A1) -> Ā.
    EXPECT_EQ(run(kTitle, kUpper, {gb("ā")}), (Names{gb("Ā")}));
    EXPECT_EQ(gb("Ā").size(), 4U);
}

}  // namespace
}  // namespace varnel
