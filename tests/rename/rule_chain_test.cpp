// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rule_chain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/language.h"
#include "support/list_builder.h"

namespace varnel {
namespace {

using test::list_of;

const Codec names_codec;

std::vector<std::string> new_names_of(const FileList& list) {
    const auto names = list.new_names();
    return {names.begin(), names.end()};
}

RulePages replace_step(std::string find, std::string with, bool regex = false) {
    RulePages rule;
    rule.active = RulePage::replace;
    rule.replace.find = std::move(find);
    rule.replace.with = std::move(with);
    rule.replace.regex = regex;
    return rule;
}

RulePages number_step(std::string prefix) {
    RulePages rule;
    rule.active = RulePage::number;
    rule.number.prefix = std::move(prefix);
    rule.number.body = "";
    rule.number.digits = "4";
    rule.number.start = "1";
    return rule;
}

RulePages case_step(CaseChoice name, CaseChoice ext) {
    RulePages rule;
    rule.active = RulePage::letter_case;
    rule.letter_case = CaseOptions{name, ext};
    return rule;
}

// The names the rule gives a list of `names`, as if that batch had run.
std::vector<std::string> one_batch(const std::vector<std::string>& names, const RulePages& rule) {
    FileList list = list_of("/music", names);
    (void)dispatch_rule(list, rule, list.item_count(), names_codec);
    return new_names_of(list);
}

std::vector<std::string> chained(const std::vector<std::string>& names,
                                 const std::vector<RuleStep>& steps, std::string* error = nullptr) {
    FileList list = list_of("/music", names);
    (void)dispatch_chain(list, steps, list.item_count(), names_codec, error);
    return new_names_of(list);
}

TEST(RuleChain, GivesTheNamesOfTheBatchesRunOneAfterAnother) {
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i)
        names.push_back("track " + std::to_string(i) + (i % 3 ? " live.mp3" : " demo.Ogg"));
    const std::vector<RuleStep> steps{{replace_step(" live", "")},
                                      {number_step("Side A ")},
                                      {case_step(CaseChoice::title_case, CaseChoice::lower)}};
    std::vector<std::string> expected = names;
    for (const RuleStep& step : steps) expected = one_batch(expected, step.rule);
    EXPECT_EQ(chained(names, steps), expected);
    EXPECT_EQ(expected[1], "Side A 0002.mp3");
}

TEST(RuleChain, SwitchedOffStepsAreSkippedAndNoStepKeepsTheOldNames) {
    const std::vector<std::string> names{"a b.txt", "c d.txt"};
    std::vector<RuleStep> steps{{replace_step(" ", "_")},
                                {case_step(CaseChoice::upper, CaseChoice::upper), false}};
    EXPECT_EQ(chained(names, steps), (std::vector<std::string>{"a_b.txt", "c_d.txt"}));
    steps[0].enabled = false;
    EXPECT_EQ(chained(names, steps), names);
    EXPECT_EQ(chained(names, {}), names);
}

TEST(RuleChain, AStepThatCannotRunStopsTheChainAndNamesIt) {
    set_text_language(Language::chinese);
    const std::vector<std::string> names{"a.txt", "b.txt"};
    const std::vector<RuleStep> steps{{replace_step("a", "x")}, {replace_step("(", "y", true)}};
    std::string error;
    EXPECT_EQ(chained(names, steps, &error), names);
    EXPECT_EQ(error.rfind(code_page("第2步："), 0), 0U) << error;
    EXPECT_EQ(chain_input_error(steps, names_codec), error);
    EXPECT_EQ(chain_input_error({steps.data(), 1}, names_codec), "");
}

TEST(RuleChain, LaterStepsSeeTheNamesEarlierStepsMade) {
    // The second replacement finds only what the first one wrote.
    const std::vector<RuleStep> steps{{replace_step("old", "new")}, {replace_step("new", "newer")}};
    EXPECT_EQ(chained({"old.txt", "x.txt"}, steps),
              (std::vector<std::string>{"newer.txt", "x.txt"}));
}

}  // namespace
}  // namespace varnel
