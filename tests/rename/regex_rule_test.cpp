// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/regex_rule.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnel {
namespace {

std::string gb(const char8_t* utf8) {
    static const Codec codec;
    return codec.from_utf8(reinterpret_cast<const char*>(utf8)).value();
}

TEST(RegexRule, ReplacesOnUnicodeTextOfThePartInScope) {
    struct Case {
        const char* what;
        std::string find, with;
        NameScope scope;
        bool case_sensitive;
        std::string old_name, expected;
    };
    const std::vector<Case> cases = {
        {"groups swap", "^(.+?) - (.+)$", "$2 - $1", NameScope::main_name, false,
         gb(u8"歌手 - 歌名.mp3"), gb(u8"歌名 - 歌手.mp3")},
        {"digits in a Chinese name", "(\\d+)", "[$1]", NameScope::main_name, false,
         gb(u8"第12集.mp4"), gb(u8"第[12]集.mp4")},
        {"script class", "\\p{Han}+", "", NameScope::main_name, false, gb(u8"abc你好.txt"),
         "abc.txt"},
        {"four-byte character is one character", "^.$", "x", NameScope::main_name, false,
         gb(u8"😘.txt"), "x.txt"},
        {"case folding beyond ASCII", gb(u8"ä"), "ae", NameScope::main_name, false, gb(u8"Ä.txt"),
         "ae.txt"},
        {"case-sensitive", "mp3", "", NameScope::extension, true, "a.MP3", "a.MP3"},
        {"extension emptied drops its dot", "mp3", "", NameScope::extension, false, "a.MP3", "a"},
        {"dot of the extension never matched", "\\.", "-", NameScope::both, false,
         "a.b.c", "a-b.c"},
        {"unknown group keeps the name", "(a)", "$5", NameScope::main_name, false, "abc", "abc"},
        {"runaway backtracking keeps the name", "(a+)+$", "x", NameScope::main_name, false,
         std::string(40, 'a') + "!", std::string(40, 'a') + "!"},
        {"empty pattern", "", "x", NameScope::both, false, "a.txt", "a.txt"},
    };
    const Codec codec;
    for (const Case& c : cases) {
        ReplaceOptions options{c.find, c.with, c.case_sensitive, c.scope, true};
        std::vector<std::string> old_names{c.old_name}, new_names(1);
        EXPECT_EQ(compute_regex_names(options, old_names, new_names, codec), "") << c.what;
        EXPECT_EQ(new_names[0], c.expected) << c.what;
    }
}

TEST(RegexRule, AnInvalidPatternGivesItsErrorAndChangesNoName) {
    const Codec codec;
    ReplaceOptions options{"(unclosed", "x", false, NameScope::both, true};
    std::vector<std::string> old_names{"unclosed.txt", "b"}, new_names(2, "stale");
    const std::string error = compute_regex_names(options, old_names, new_names, codec);
    EXPECT_EQ(codec.to_utf8(error.substr(0, 16)).value(), "正则表达式错误：");
    EXPECT_NE(error.find("missing closing parenthesis"), std::string::npos) << error;
    EXPECT_EQ(new_names, old_names);
}

}  // namespace
}  // namespace varnel
