// SPDX-License-Identifier: GPL-3.0-or-later
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

std::string compute_regex_names(const ReplaceOptions& options,
                                std::span<const std::string> old_names,
                                std::span<std::string> new_names, const Codec& codec) {
    const std::size_t n = std::min(old_names.size(), new_names.size());
    std::copy_n(old_names.begin(), n, new_names.begin());
    if (options.find.empty()) return {};
    const RegexReplacer regex(codec.to_utf8_lossy(options.find), options.case_sensitive);
    if (!regex.ok()) return std::string(regex_error_prefix) + codec.from_utf8_lossy(regex.error());
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
