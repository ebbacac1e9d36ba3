// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/step_summary.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/language.h"

namespace varnel {
namespace {

std::vector<RuleStep> one_of_each() {
    std::vector<RuleStep> steps(5);
    for (int page = 0; page < 5; ++page) steps[page].rule.active = static_cast<RulePage>(page);
    steps[1].rule.replace.find = std::string(45, 'x');
    steps[1].rule.replace.regex = true;
    steps[3].rule.letter_case.name = CaseChoice::title_case;
    steps[4].rule.tags.tag_template = code_page("#1 - #2");
    return steps;
}

bool has_non_ascii(const std::string& code_page_text) {
    return std::ranges::any_of(code_page_text,
                               [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

TEST(StepSummary, NamesThePageAndItsSettingsInTheChosenLanguage) {
    set_text_language(Language::chinese);
    const auto steps = one_of_each();
    EXPECT_EQ(step_summary(steps[3]), code_page("大小写：每个单词首字母大写 / 全部大写"));
    // A long text is cut at 40 characters.
    EXPECT_EQ(step_summary(steps[1]),
              code_page("替换/删除：“") + std::string(40, 'x') + code_page("…”→“”（正则表达式）"));
    set_text_language(Language::english);
    for (const RuleStep& step : steps) {
        const std::string text = step_summary(step);
        EXPECT_FALSE(text.empty());
        // The tag template's own text is the only non-ASCII allowed.
        if (step.rule.active != RulePage::tags) {
            EXPECT_FALSE(has_non_ascii(text)) << text;
        }
    }
    EXPECT_EQ(step_summary(steps[0]), "Numbering: \"\", start 0, step 1, digits 1");
    set_text_language(Language::chinese);
}

}  // namespace
}  // namespace varnel
