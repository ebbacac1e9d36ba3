// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/step_summary.h"

#include "platform/code_page_chars.h"
#include "platform/language.h"

namespace varnel {
namespace {

constexpr std::size_t longest_shown = 40;  // characters

std::string shown(std::string_view text) {
    std::size_t chars = 0;
    std::size_t cut = text.size();
    for_each_char(text, [&](std::size_t at, std::size_t) {
        if (chars++ == longest_shown) cut = std::min(cut, at);
    });
    if (cut == text.size()) return say("“", "\"") + std::string(text) + say("”", "\"");
    return say("“", "\"") + std::string(text.substr(0, cut)) + say("…", "...") + say("”", "\"");
}

std::string case_word(CaseChoice choice) {
    switch (choice) {
        case CaseChoice::upper:
            return say("全部大写", "all capitals");
        case CaseChoice::lower:
            return say("全部小写", "all small");
        case CaseChoice::first_upper:
            return say("首字母大写", "first letter capital");
        case CaseChoice::first_lower:
            return say("首字母小写", "first letter small");
        case CaseChoice::title_case:
            return say("每个单词首字母大写", "first letter of every word capital");
    }
    return {};
}

std::string number_summary(const NumberOptions& o) {
    return say("常规：", "Numbering: ") + shown(o.prefix + o.body) + say("，起始量", ", start ") +
           o.start + say("，增量", ", step ") + o.step + say("，位数", ", digits ") + o.digits;
}

std::string replace_summary(const ReplaceOptions& o) {
    std::string text =
        say("替换/删除：", "Replace/delete: ") + shown(o.find) + say("→", " -> ") + shown(o.with);
    if (o.regex) text += say("（正则表达式）", " (regular expression)");
    return text;
}

std::string insert_summary(const InsertOptions& o) {
    const std::string where = o.at_end ? say("文件名尾", "at the end")
                                       : say("第", "at ") + o.position + say("个位置", "");
    return say("插入：", "Insert: ") + shown(o.text) + say("，", ", ") + where;
}

}  // namespace

std::string step_summary(const RuleStep& step) {
    const RulePages& r = step.rule;
    switch (r.active) {
        case RulePage::number:
            return number_summary(r.number);
        case RulePage::replace:
            return replace_summary(r.replace);
        case RulePage::insert:
            return insert_summary(r.insert);
        case RulePage::letter_case:
            return say("大小写：", "Letter case: ") + case_word(r.letter_case.name) + " / " +
                   case_word(r.letter_case.ext);
        case RulePage::tags:
            return say("MP3标签：", "MP3 tags: ") + shown(r.tags.tag_template);
    }
    return {};
}

}  // namespace varnel
