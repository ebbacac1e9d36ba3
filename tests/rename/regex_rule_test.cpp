// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/regex_rule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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
        {"dot of the extension never matched", "\\.", "-", NameScope::both, false, "a.b.c",
         "a-b.c"},
        {"runaway backtracking keeps the name", "(a+)+$", "x", NameScope::main_name, false,
         std::string(40, 'a') + "!", std::string(40, 'a') + "!"},
        {"empty pattern", "", "x", NameScope::both, false, "a.txt", "a.txt"},
    };
    const Codec codec;
    for (const Case& c : cases) {
        ReplaceOptions options{c.find, c.with, c.case_sensitive, c.scope, true};
        std::vector<std::string> old_names{c.old_name}, new_names(1);
        const RegexNames made = compute_regex_names(options, old_names, new_names, codec);
        EXPECT_EQ(made.error, "") << c.what;
        EXPECT_TRUE(made.faults.empty()) << c.what;
        EXPECT_EQ(new_names[0], c.expected) << c.what;
    }
}

TEST(RegexRule, AnInvalidPatternGivesItsErrorAndChangesNoName) {
    const Codec codec;
    ReplaceOptions options{"(unclosed", "x", false, NameScope::both, true};
    std::vector<std::string> old_names{"unclosed.txt", "b"}, new_names(2, "stale");
    const std::string error = compute_regex_names(options, old_names, new_names, codec).error;
    EXPECT_EQ(codec.to_utf8(error.substr(0, 16)).value(), "正则表达式错误：");
    EXPECT_NE(error.find("missing closing parenthesis"), std::string::npos) << error;
    // A common error is explained in Chinese too, the same whether or not
    // a batch computes names.
    EXPECT_NE(codec.to_utf8(error).value().find("缺少右括号"), std::string::npos);
    EXPECT_EQ(regex_pattern_error(options, codec), error);
    EXPECT_EQ(new_names, old_names);
}

// References to groups the pattern lacks, and a '$' that introduces
// nothing, are errors of the pattern: reported before any name changes.
TEST(RegexRule, ReplacementsReferringToNoGroupAreRefusedBeforeAnythingRuns) {
    const Codec codec;
    struct Case {
        const char* with;
        bool refused;
    };
    for (const Case& c :
         {Case{"$5", true}, Case{"${nope}", true}, Case{"$", true}, Case{"x$", true},
          Case{"$!", true}, Case{"${1", true}, Case{"$3$1", true}, Case{"$$", false},
          Case{"$1$2", false}, Case{"${2}", false}, Case{"${tail}", false}, Case{"$tail", false},
          Case{"$0", false}, Case{"$*MARK", false}, Case{"", false}}) {
        ReplaceOptions options{"(a)(?<tail>.)", c.with, false, NameScope::main_name, true};
        std::vector<std::string> old_names{"abc.txt"}, new_names(1, "stale");
        const RegexNames made = compute_regex_names(options, old_names, new_names, codec);
        EXPECT_EQ(made.error.starts_with(codec.from_utf8_lossy("正则表达式错误：")), c.refused)
            << c.with << ": " << codec.to_utf8_lossy(made.error);
        if (c.refused) {
            EXPECT_EQ(new_names, old_names) << c.with;
        } else {
            EXPECT_EQ(made.error, "") << c.with;
        }
    }
}

// The limit is 255 bytes of the name as it is written to disk (UTF-8), not
// of its code-page text: 84 Chinese characters are 168 code-page bytes but
// 252 on disk.
TEST(RegexRule, ANameLongerThanTheDiskTakesFailsAsTooLong) {
    const Codec codec;
    std::string han;
    for (int i = 0; i < 84; ++i) han += "你";
    struct Case {
        std::string with;
        NameScope scope;
        std::string old_name;
        bool too_long;
    };
    const std::vector<Case> cases = {
        {std::string(250, 'x'), NameScope::main_name, "a.txt", false},  // 254 bytes
        {std::string(251, 'x'), NameScope::main_name, "a.txt", false},  // 255
        {std::string(252, 'x'), NameScope::main_name, "a.txt", true},   // 256
        {han, NameScope::main_name, "a.txt", true},                     // 256 on disk
        {std::string(1000, 'x'), NameScope::extension, "a.a", true},    // beyond a part
        {std::string(200, 'x'), NameScope::both, "a.a", true},          // 401 in two parts
    };
    for (const Case& c : cases) {
        ReplaceOptions options{"a", c.with, true, c.scope, true};
        std::vector<std::string> old_names{c.old_name}, new_names(1);
        const RegexNames made = compute_regex_names(options, old_names, new_names, codec);
        EXPECT_EQ(made.error, "");
        EXPECT_EQ(!made.faults.empty() && made.faults[0] == NameFault::too_long, c.too_long)
            << c.with.size() << " bytes";
        if (c.too_long) {
            EXPECT_EQ(new_names[0], c.old_name);
        } else {
            EXPECT_EQ(codec.fs_from_text(new_names[0])->size(), c.with.size() + 4);
        }
    }
}

// Every character replaced by a 1,000-character text: no name fits, and
// none is built beyond the limit.
TEST(RegexRule, AHugeReplacementOverManyNamesFailsEachAsTooLong) {
    const Codec codec;
    ReplaceOptions options{".", std::string(1000, 'w'), true, NameScope::main_name, true};
    std::vector<std::string> old_names(10'000, "some file name.txt"), new_names(10'000);
    const RegexNames made = compute_regex_names(options, old_names, new_names, codec);
    ASSERT_EQ(made.faults.size(), old_names.size());
    EXPECT_EQ(std::count(made.faults.begin(), made.faults.end(), NameFault::too_long), 10'000);
    EXPECT_EQ(new_names, old_names);
}

// A pattern that backtracks without end: once the batch's time is spent,
// the rest of the batch keeps its names, marked, and the rule says why.
TEST(RegexRule, TheBatchBudgetStopsARunawayPatternAndMarksTheRest) {
    const Codec codec;
    ReplaceOptions options{"(a+)+$", "x", false, NameScope::main_name, true};
    const std::string runaway = std::string(40, 'a') + "!";
    std::vector<std::string> old_names(200, runaway), new_names(200);
    const RegexNames made =
        compute_regex_names(options, old_names, new_names, codec, std::chrono::milliseconds(1));
    EXPECT_EQ(made.error, codec.from_utf8_lossy("正则表达式超出限制"));
    ASSERT_EQ(made.faults.size(), 200U);
    EXPECT_EQ(made.faults[0], NameFault::none) << "the name under way when time ran out is done";
    EXPECT_EQ(std::count(made.faults.begin() + 1, made.faults.end(), NameFault::over_budget), 199);
    EXPECT_EQ(new_names, old_names);
}

}  // namespace
}  // namespace varnel
