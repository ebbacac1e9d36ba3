// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rule contract and the dispatcher that picks the rule of the active
// page.

#include "filelist/file_list.h"
#include "platform/codec.h"
#include "rename/case_rule.h"
#include "rename/insert_rule.h"
#include "rename/number_rule.h"
#include "rename/regex_rule.h"
#include "rename/replace_rule.h"
#include "rename/tag_rule.h"

namespace varnel {

// Pages of the rule tab control, in order.
enum class RulePage : int { number = 0, replace = 1, insert = 2, letter_case = 3, tags = 4 };

// The active page and the values of every page's controls.
struct RulePages {
    RulePage active = RulePage::number;
    NumberOptions number;
    ReplaceOptions replace;
    InsertOptions insert;
    CaseOptions letter_case;
    TagOptions tags;
};

// Runs the rule of the active page: sets the new names of items 1..n (rows
// 0..n-1) from their old names, n clamped to 0..item_count(). The tag page
// always computes every item, reads the MP3 files and writes the tag-status
// column; the other rules touch nothing else. Never fails. Returns the
// number of items computed. `codec` converts tag texts into the code page.
// When the rule cannot use its page's settings (a regular expression that
// does not compile), the names stay unchanged and `error`, when given,
// receives the reason (code page); otherwise it is emptied. `faults`, when
// given, receives the names the rule could not compute (regex_rule.h: one
// entry per computed item, or none when every name was computed).
int dispatch_rule(FileList& list, const RulePages& pages, int n, const Codec& codec,
                  std::string* error = nullptr, std::vector<NameFault>* faults = nullptr);

// The rule of the active page, which must not be the tag page, from
// old_names into new_names (equal sizes): what dispatch_rule does for the
// rows it computes. Returns the error (code page; empty when the rule ran);
// `faults` receives the regex rule's faults (regex_rule.h).
[[nodiscard]] std::string compute_page_names(const RulePages& pages,
                                             std::span<const std::string> old_names,
                                             std::span<std::string> new_names, const Codec& codec,
                                             std::vector<NameFault>& faults);

// The error dispatch_rule would report for `pages`, found without computing
// any name (code page); empty when the active rule can use its settings.
[[nodiscard]] std::string rule_input_error(const RulePages& pages, const Codec& codec);

}  // namespace varnel
