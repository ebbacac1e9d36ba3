// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rule_dispatch.h"

#include <algorithm>

namespace varnel {

std::string compute_page_names(const RulePages& pages, std::span<const std::string> old_names,
                               std::span<std::string> new_names, const Codec& codec,
                               std::vector<NameFault>& faults) {
    switch (pages.active) {
        case RulePage::number:
            compute_new_names(pages.number, old_names, new_names);
            break;
        case RulePage::replace:
            if (pages.replace.regex) {
                RegexNames made = compute_regex_names(pages.replace, old_names, new_names, codec);
                faults = std::move(made.faults);
                return std::move(made.error);
            }
            compute_new_names(pages.replace, old_names, new_names);
            break;
        case RulePage::insert:
            compute_new_names(pages.insert, old_names, new_names);
            break;
        case RulePage::letter_case:
            compute_new_names(pages.letter_case, old_names, new_names);
            break;
        case RulePage::tags:
            break;  // reads the files: dispatch_rule runs it on the list
    }
    return {};
}

int dispatch_rule(FileList& list, const RulePages& pages, int n, const Codec& codec,
                  std::string* error, std::vector<NameFault>* faults) {
    std::string reason;
    std::vector<NameFault> name_faults;
    if (pages.active == RulePage::tags) {
        n = list.item_count();
        compute_tag_names(list, pages.tags, codec);
    } else {
        n = std::clamp(n, 0, list.item_count());
        const auto count = static_cast<std::size_t>(n);
        reason = compute_page_names(pages, list.old_names().first(count),
                                    list.new_names().first(count), codec, name_faults);
    }
    if (error) *error = std::move(reason);
    if (faults) *faults = std::move(name_faults);
    return n;
}

std::string rule_input_error(const RulePages& pages, const Codec& codec) {
    if (pages.active != RulePage::replace) return {};
    return regex_pattern_error(pages.replace, codec);
}

}  // namespace varnel
