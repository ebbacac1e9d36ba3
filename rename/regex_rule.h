// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 替换/删除 with 正则表达式 checked: the search text is a PCRE2
// pattern, matched on the Unicode text of the name part in scope.

#include <chrono>
#include <span>
#include <string>
#include <vector>

#include "platform/codec.h"
#include "rename/name_check.h"
#include "rename/replace_rule.h"

namespace varnel {

// Why a name got no new name from the pattern; it keeps its old one.
enum class NameFault : unsigned char {
    none,
    too_long,     // the new name would pass 255 bytes on disk: "名称过长"
    over_budget,  // the batch's time for the pattern ran out first: "正则表达式超出限制"
};

// The text of a fault, in the code page (empty for none).
[[nodiscard]] std::string name_fault_text(NameFault fault);

// The time one batch (a preview or a rename) may spend matching.
inline constexpr std::chrono::milliseconds regex_batch_budget{2000};

struct RegexNames {
    // Code page. Why nothing ran: "正则表达式错误：" and PCRE2's message when
    // the pattern does not compile or the replacement refers to a group the
    // pattern lacks (a lone '$' included); every name then stays unchanged.
    // Or "正则表达式超出限制" when the budget ran out. Empty otherwise.
    std::string error;
    // One per name when some name failed, else empty.
    std::vector<NameFault> faults;
};

// Sets new_names[i] from old_names[i] (equal sizes). The main name and the
// extension without its dot are matched separately, as the plain search
// does; `with` may use $1…, ${name} and $$. An extension emptied by the
// replacement goes together with its dot. A name part that is not valid
// code-page text, or whose result the code page cannot hold, is kept as it
// is. A name whose new file-system spelling would pass longest_name_bytes keeps
// its old name with fault too_long; no part is built beyond that length.
// Once `budget` has passed since the start, every name not yet computed
// keeps its old name with fault over_budget. An empty pattern leaves every
// name unchanged.
[[nodiscard]] RegexNames compute_regex_names(const ReplaceOptions& options,
                                             std::span<const std::string> old_names,
                                             std::span<std::string> new_names, const Codec& codec,
                                             std::chrono::nanoseconds budget = regex_batch_budget);

// Why the pattern of `options` cannot run: it does not compile, or the
// replacement refers to a group the pattern lacks. "正则表达式错误：", the
// meaning of PCRE2's message in Chinese where it is a common one, and the
// message itself with the 1-based position (code page). Empty when it can
// run or is empty.
[[nodiscard]] std::string regex_pattern_error(const ReplaceOptions& options, const Codec& codec);

}  // namespace varnel
