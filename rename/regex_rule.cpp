// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/regex_rule.h"

#include <algorithm>
#include <optional>

#include "platform/language.h"
#include "rename/name_text.h"
#include "rename/regex_replace.h"

namespace varnel {
namespace {

// The meaning of PCRE2's most common compile errors, by the start of its
// message (UTF-8).
struct KnownError {
    std::string_view message;
    std::string_view meaning;
};
constexpr KnownError known_errors[] = {
    {"missing closing parenthesis", "缺少右括号“)”"},
    {"missing terminating ] for character class", "字符类缺少结尾的“]”"},
    {"quantifier does not follow a repeatable item", "量词前面没有可以重复的内容"},
    {"unmatched closing parenthesis", "多了一个右括号“)”"},
    {"\\ at end of pattern", "模式以“\\”结尾"},
    {"range out of order in character class", "字符类的范围顺序颠倒"},
    {"reference to non-existent subpattern", "引用了不存在的分组"},
    {"number too big in {} quantifier", "“{}”中的数字太大"},
    {"numbers out of order in {} quantifier", "“{}”中的数字顺序颠倒"},
    {"unrecognized character follows \\", "“\\”后面是无法识别的字符"},
};

// "正则表达式错误：" and PCRE2's `message` (UTF-8), explained in Chinese
// where known_errors knows it; in English PCRE2's own words.
std::string error_text(const std::string& message, const Codec& codec) {
    std::string text = say("正则表达式错误：", "Regular expression error: ");
    if (text_language() == Language::chinese) {
        for (const KnownError& known : known_errors) {
            if (!message.starts_with(known.message)) continue;
            return text + code_page(known.meaning) + code_page("（") +
                   codec.from_utf8_lossy(message) + code_page("）");
        }
    }
    return text + codec.from_utf8_lossy(message);
}

struct PartResult {
    bool too_long = false;
    std::optional<std::string> text;  // nullopt: keep the part
};

// `part` with the pattern's matches replaced.
PartResult replace_part(const RegexReplacer& regex, std::string_view part,
                        const std::string& with_utf8, const Codec& codec) {
    const std::optional<std::string> utf8 = codec.to_utf8(part);
    if (!utf8) return {};
    RegexReplacer::Result replaced = regex.replace_all(*utf8, with_utf8, longest_name_bytes);
    if (replaced.outcome == RegexReplacer::Outcome::too_long) return {true, std::nullopt};
    if (replaced.outcome != RegexReplacer::Outcome::replaced) return {};
    return {false, codec.from_utf8(replaced.text)};
}

// The new name of one old name, or the fault that keeps it.
NameFault regex_name(const RegexReplacer& regex, const ReplaceOptions& options,
                     const std::string& with, const std::string& old_name, std::string& new_name,
                     const Codec& codec) {
    const NameParts parts = split_name(old_name);
    std::string main(parts.main);
    std::string ext(parts.ext);
    if (options.scope != NameScope::extension) {
        PartResult replaced = replace_part(regex, parts.main, with, codec);
        if (replaced.too_long) return NameFault::too_long;
        if (replaced.text) main = std::move(*replaced.text);
    }
    if (options.scope != NameScope::main_name && ext.size() > 1) {
        PartResult replaced = replace_part(regex, parts.ext.substr(1), with, codec);
        if (replaced.too_long) return NameFault::too_long;
        if (replaced.text) ext = replaced.text->empty() ? std::string() : "." + *replaced.text;
    }
    std::string name = main + ext;
    if (name != old_name) {
        const std::optional<std::string> on_disk = codec.fs_from_text(name);
        if (on_disk && on_disk->size() > longest_name_bytes) return NameFault::too_long;
    }
    new_name = std::move(name);
    return NameFault::none;
}

}  // namespace

std::string regex_pattern_error(const ReplaceOptions& options, const Codec& codec) {
    if (!options.regex || options.find.empty()) return {};
    const RegexReplacer regex(codec.to_utf8_lossy(options.find), options.case_sensitive);
    const std::string error =
        regex.ok() ? regex.replacement_error(codec.to_utf8_lossy(options.with)) : regex.error();
    return error.empty() ? std::string() : error_text(error, codec);
}

std::string name_fault_text(NameFault fault) {
    switch (fault) {
        case NameFault::none:
            break;
        case NameFault::too_long:
            return name_problem_text(NameProblem::too_long);
        case NameFault::over_budget:
            return say("正则表达式超出限制", "the regular expression went over its limit");
    }
    return {};
}

RegexNames compute_regex_names(const ReplaceOptions& options,
                               std::span<const std::string> old_names,
                               std::span<std::string> new_names, const Codec& codec,
                               std::chrono::nanoseconds budget) {
    const auto start = std::chrono::steady_clock::now();
    const std::size_t n = std::min(old_names.size(), new_names.size());
    std::copy_n(old_names.begin(), n, new_names.begin());
    RegexNames out;
    if (options.find.empty()) return out;
    const RegexReplacer regex(codec.to_utf8_lossy(options.find), options.case_sensitive);
    const std::string with = codec.to_utf8_lossy(options.with);
    std::string error = regex.ok() ? regex.replacement_error(with) : regex.error();
    if (!error.empty()) {
        out.error = error_text(error, codec);
        return out;
    }
    const auto fault = [&](std::size_t i, NameFault what) {
        if (out.faults.empty()) out.faults.resize(n, NameFault::none);
        out.faults[i] = what;
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (std::chrono::steady_clock::now() - start > budget) {
            for (std::size_t rest = i; rest < n; ++rest) fault(rest, NameFault::over_budget);
            out.error = name_fault_text(NameFault::over_budget);
            break;
        }
        const NameFault made = regex_name(regex, options, with, old_names[i], new_names[i], codec);
        if (made != NameFault::none) fault(i, made);
    }
    return out;
}

}  // namespace varnel
