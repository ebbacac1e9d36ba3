// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "platform/codec.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

// 预览选项 / 自动预览 / 关 in GB18030.
const std::string preview_section = "\xD4\xA4\xC0\xC0\xD1\xA1\xCF\xEE";
const std::string auto_key = "\xD7\xD4\xB6\xAF\xD4\xA4\xC0\xC0";
const std::string off_value = "\xB9\xD8";

class ProfileRead : public testing::Test {
protected:
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback = "default") const {
        return read_profile_string(path_, section, key, fallback);
    }
    test::TempDir temp_;
    std::string path_ = temp_.path() + "config.ini";
};

TEST_F(ProfileRead, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(read("s", "k"), "default");
    temp_.write_file("config.ini", "[s]\nk=1\n[t]\nother=2\n");
    EXPECT_EQ(read("none", "k"), "default");
    EXPECT_EQ(read("t", "k"), "default");
    EXPECT_EQ(read("s", "k2", ""), "");
    EXPECT_EQ(read("s", "k"), "1");
}

TEST_F(ProfileRead, MatchesNamesWithoutRegardToAsciiCase) {
    temp_.write_file("config.ini", "[Font]\nFaceName=Song\n[" + preview_section + "]\n" + auto_key +
                                       "=" + off_value + "\n");
    EXPECT_EQ(read("FONT", "facename"), "Song");
    EXPECT_EQ(read("font", "FACENAME"), "Song");
    EXPECT_EQ(read(preview_section, auto_key), off_value);
}

TEST_F(ProfileRead, IgnoresBlanksCommentsAndLineEndings) {
    temp_.write_file("config.ini",
                     "; comment=1\r\n  [ s ]  \r\n\tkey \t=  spaced value \t\r\n;k=commented\r\n"
                     "noequals\r\nempty=\r\n");
    EXPECT_EQ(read("s", "key"), "spaced value");
    EXPECT_EQ(read("s", "empty"), "");
    EXPECT_EQ(read("s", "noequals"), "default");
    EXPECT_EQ(read("s", ";k"), "default");
    EXPECT_EQ(read("s", "; comment"), "default");
}

TEST_F(ProfileRead, StripsOnePairOfMatchingQuotes) {
    temp_.write_file("config.ini",
                     "[q]\ndouble=\"a b\"\nsingle=' x '\nmixed=\"a'\nlone=\"\ninner=a\"b\"\n"
                     "nested=\"'v'\"\n");
    EXPECT_EQ(read("q", "double"), "a b");
    EXPECT_EQ(read("q", "single"), " x ");
    EXPECT_EQ(read("q", "mixed"), "\"a'");
    EXPECT_EQ(read("q", "lone"), "\"");
    EXPECT_EQ(read("q", "inner"), "a\"b\"");
    EXPECT_EQ(read("q", "nested"), "'v'");
}

TEST_F(ProfileRead, FirstSectionAndKeyOfANameWin) {
    temp_.write_file("config.ini", "[s]\nk=first\nk=second\n[S]\nk=third\nonly=later\n");
    EXPECT_EQ(read("s", "k"), "first");
    EXPECT_EQ(read("s", "only"), "default");
}

TEST_F(ProfileRead, CutsLongValuesWithoutSplittingACharacter) {
    const std::size_t limit = profile_buffer_size - 1;
    const std::string ascii(limit + 5, 'a');
    // The limit is odd, so the character at the last even offset straddles it.
    std::string wide;
    while (wide.size() < limit + 4) wide += off_value;
    temp_.write_file("config.ini", "[s]\nascii=" + ascii + "\nwide=" + wide +
                                       "\nexact=" + std::string(limit, 'e') + "\n");
    EXPECT_EQ(read("s", "ascii"), ascii.substr(0, limit));
    EXPECT_EQ(read("s", "wide"), wide.substr(0, limit - 1));
    EXPECT_EQ(read("s", "exact"), std::string(limit, 'e'));
    EXPECT_EQ(read("s", "missing", ascii), ascii.substr(0, limit));
}

TEST_F(ProfileRead, CutsLongValuesWithoutSplittingAFourByteCharacter) {
    const std::size_t limit = profile_buffer_size - 1;
    const std::string n_tilde = Codec().from_utf8("ñ").value();
    ASSERT_EQ(n_tilde.size(), 4u);
    // One ASCII byte, then four-byte characters: the limit falls inside one.
    std::string value = "a";
    while (value.size() < limit + 8) value += n_tilde;
    ASSERT_NE((limit - 1) % 4, 0u);
    temp_.write_file("config.ini", "[s]\nwide=" + value + "\n");
    const std::string read_back = read("s", "wide");
    EXPECT_EQ(read_back, value.substr(0, 1 + (limit - 1) / 4 * 4));
}

}  // namespace
}  // namespace varnel
