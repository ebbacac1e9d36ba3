// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 替换/删除 with 正则表达式 checked: the search text is a PCRE2
// pattern, matched on the Unicode text of the name part in scope.

#include <span>
#include <string>

#include "platform/codec.h"
#include "rename/replace_rule.h"

namespace varnel {

// Sets new_names[i] from old_names[i] (equal sizes). The main name and the
// extension without its dot are matched separately, as the plain search
// does; `with` may use $1…, ${name} and $$. An extension emptied by the
// replacement goes together with its dot. A name part that is not valid
// code-page text, that no replacement fits, or whose result the code page
// cannot hold is kept as it is. An empty pattern leaves every name
// unchanged. Returns the reason the pattern does not compile (code page,
// "正则表达式错误：" and PCRE2's message), with every name unchanged; empty
// otherwise.
std::string compute_regex_names(const ReplaceOptions& options,
                                std::span<const std::string> old_names,
                                std::span<std::string> new_names, const Codec& codec);

}  // namespace varnel
