#include "rename/regex_rule.h"

#include <algorithm>
#include <optional>

#include "rename/name_text.h"
#include "rename/regex_replace.h"

namespace varnel {
namespace {

// "正则表达式错误：" in the code page.
constexpr std::string_view regex_error_prefix =
    "\xD5\xFD\xD4\xF2\xB1\xED\xB4\xEF\xCA\xBD\xB4\xED\xCE\xF3\xA3\xBA";

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

std::string error_text(const std::string& message, const Codec& codec) {
    std::string text(regex_error_prefix);
    for (const KnownError& known : known_errors) {
        if (!message.starts_with(known.message)) continue;
        text += codec.from_utf8_lossy(known.meaning);
        text += codec.from_utf8_lossy("（") + codec.from_utf8_lossy(message) +
                codec.from_utf8_lossy("）");
        return text;
    }
    return text + codec.from_utf8_lossy(message);
}

// `part` with the pattern's matches replaced, or nullopt to keep it.
std::optional<std::string> replace_part(const RegexReplacer& regex, std::string_view part,
                                        const std::string& with_utf8, const Codec& codec) {
    const std::optional<std::string> utf8 = codec.to_utf8(part);
    if (!utf8) return std::nullopt;
    const std::optional<std::string> replaced = regex.replace_all(*utf8, with_utf8);
    if (!replaced) return std::nullopt;
    return codec.from_utf8(*replaced);
}

}  // namespace

std::string regex_pattern_error(const ReplaceOptions& options, const Codec& codec) {
    if (!options.regex || options.find.empty()) return {};
    const RegexReplacer regex(codec.to_utf8_lossy(options.find), options.case_sensitive);
    return regex.ok() ? std::string() : error_text(regex.error(), codec);
}

std::string compute_regex_names(const ReplaceOptions& options,
                                std::span<const std::string> old_names,
                                std::span<std::string> new_names, const Codec& codec) {
    const std::size_t n = std::min(old_names.size(), new_names.size());
    std::copy_n(old_names.begin(), n, new_names.begin());
    if (options.find.empty()) return {};
    const RegexReplacer regex(codec.to_utf8_lossy(options.find), options.case_sensitive);
    if (!regex.ok()) return error_text(regex.error(), codec);
    const std::string with = codec.to_utf8_lossy(options.with);
    const bool in_main = options.scope != NameScope::extension;
    const bool in_ext = options.scope != NameScope::main_name;
    for (std::size_t i = 0; i < n; ++i) {
        const NameParts parts = split_name(old_names[i]);
        std::string main(parts.main);
        std::string ext(parts.ext);
        if (in_main) {
            if (auto replaced = replace_part(regex, parts.main, with, codec)) main = *replaced;
        }
        if (in_ext && ext.size() > 1) {
            if (auto replaced = replace_part(regex, parts.ext.substr(1), with, codec))
                ext = replaced->empty() ? std::string() : "." + *replaced;
        }
        new_names[i] = main + ext;
    }
    return {};
}

}  // namespace varnel
