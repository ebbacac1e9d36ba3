// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/update_check.h"

#include <gtest/gtest.h>

#include "platform/language.h"

namespace varnel {
namespace {

// An update page in the code page, announcing `latest`.
std::string page(std::string_view latest,
                 std::string_view method = "\xB4\xF2\xBF\xAA\xCD\xF8\xD2\xB3",
                 std::string_view notes = "fixes") {
    std::string text = "<html>////\xBF\xAA\xCA\xBC";                             // ////开始
    text += "\xD7\xEE\xD0\xC2\xB0\xE6=" + std::string(latest) + "</p>";          // 最新版=
    text += "\xCF\xC2\xD4\xD8\xB7\xBD\xCA\xBD=" + std::string(method) + "</p>";  // 下载方式=
    text += "\xB8\xFC\xD0\xC2\xCB\xB5\xC3\xF7=" + std::string(notes) + "</p>";   // 更新说明=
    return text + "////\xBD\xE1\xCA\xF8</html>";                                 // ////结束
}

using Kind = UpdateVerdict::Kind;

TEST(UpdateCheck, ComparesVersionsAsDecimalNumbers) {
    EXPECT_EQ(judge_update_page(page("1.4"), "1.3").kind, Kind::newer);
    EXPECT_EQ(judge_update_page(page("1.3"), "1.3").kind, Kind::same);
    EXPECT_EQ(judge_update_page(page("1.2"), "1.3").kind, Kind::nothing);
    EXPECT_EQ(judge_update_page(page("1.10"), "1.3").kind, Kind::nothing);  // 1.1
    EXPECT_EQ(judge_update_page(page("2.0.1"), "1.3").kind, Kind::newer);
    EXPECT_EQ(judge_update_page("", "1.3").kind, Kind::nothing);
}

TEST(UpdateCheck, PromptNotesAndMethod) {
    // 修正<p>问题 is shown as 修正问题.
    const UpdateVerdict verdict = judge_update_page(
        page("1.4", "\xB4\xF2\xBF\xAA\xCD\xF8\xD2\xB3", "\xD0\xDE\xD5\xFD<p>\xCE\xCA\xCC\xE2"),
        "1.3");
    EXPECT_EQ(verdict.prompt,
              "\xB5\xB1\xC7\xB0\xB0\xE6\xB1\xBE\xA3\xBA"
              "1.3\r\n\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE\xA3\xBA"
              "1.4\r\n\xB8\xFC\xD0\xC2\xC4\xDA\xC8\xDD\xA3\xBA\xD0\xDE\xD5\xFD\xCE\xCA\xCC\xE2");
    EXPECT_TRUE(verdict.open_home);
    EXPECT_FALSE(judge_update_page(page("1.4", "ftp"), "1.3").open_home);
}

TEST(UpdateCheck, EnglishPromptReadsTheSameChinesePage) {
    // The page's markers are data: an English program reads them as they are.
    set_text_language(Language::english);
    const UpdateVerdict verdict = judge_update_page(page("1.4"), "1.3");
    set_text_language(Language::chinese);
    EXPECT_EQ(verdict.kind, Kind::newer);
    EXPECT_EQ(verdict.prompt, "Current version: 1.3\r\nLatest version: 1.4\r\nWhat is new: fixes");
    EXPECT_TRUE(verdict.open_home);
}

TEST(UpdateCheck, MissingEndMarkerIsSilent) {
    std::string text = page("9.9");
    text.erase(text.find("////\xBD\xE1"));
    EXPECT_EQ(judge_update_page(text, "1.3").kind, Kind::nothing);
    EXPECT_EQ(extract("a[b]c", "[", "]"), "b");
    EXPECT_EQ(extract("a[b", "[", "]"), "");
    EXPECT_EQ(extract("abc", "[", "]"), "");
}

}  // namespace
}  // namespace varnel
