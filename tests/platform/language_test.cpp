// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/language.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

struct LocaleCase {
    const char* what;
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    Language expected;
};

class LanguageFromLocale : public testing::TestWithParam<LocaleCase> {};

TEST_P(LanguageFromLocale, FirstSetVariableDecides) {
    const auto& c = GetParam();
    EXPECT_EQ(language_from_locale(c.lc_all, c.lc_messages, c.lang), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageFromLocale,
    testing::Values(LocaleCase{"lang_chinese", nullptr, nullptr, "zh_CN.UTF-8", Language::chinese},
                    LocaleCase{"lang_taiwan", nullptr, nullptr, "zh_TW.Big5", Language::chinese},
                    LocaleCase{"lang_english", nullptr, nullptr, "en_US.UTF-8", Language::english},
                    LocaleCase{"lang_c", nullptr, nullptr, "C", Language::english},
                    LocaleCase{"nothing_set", nullptr, nullptr, nullptr, Language::english},
                    LocaleCase{"empty_values_skipped", "", "", "zh_CN.GB18030", Language::chinese},
                    LocaleCase{"messages_over_lang", nullptr, "en_GB.UTF-8", "zh_CN.UTF-8",
                               Language::english},
                    LocaleCase{"all_over_messages", "zh_CN.UTF-8", "C", "C", Language::chinese},
                    LocaleCase{"posix", "POSIX", nullptr, "zh_CN.UTF-8", Language::english}),
    [](const auto& param_info) { return std::string(param_info.param.what); });

TEST(Say, SpeaksTheChosenLanguageInCodePageBytes) {
    set_text_language(Language::chinese);
    EXPECT_EQ(say("中文", "Chinese"), "\xD6\xD0\xCE\xC4");
    set_text_language(Language::english);
    EXPECT_EQ(say("中文", "Chinese"), "Chinese");
    // Non-ASCII English (a typographic dash) is converted too.
    EXPECT_EQ(say("中文", "a \u2014 b"), code_page("a \u2014 b"));
    EXPECT_EQ(code_page("—"), "\xA1\xAA");
    set_text_language(Language::chinese);
}

TEST(Say, KeepsOneCopyPerText) {
    const std::string& first = code_page("文件");
    const std::string& second = code_page(std::string("文") + "件");
    EXPECT_EQ(&first, &second);
}

TEST(Say, RefusesBrokenUtf8) {
    EXPECT_THROW((void)code_page("\xFF"), std::logic_error);
}

}  // namespace
}  // namespace varnel
