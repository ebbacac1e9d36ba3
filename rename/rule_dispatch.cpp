// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rule_dispatch.h"

#include <algorithm>

namespace varnel {

namespace {

template <typename Options>
void run_rule(const Options& options, FileList& list, int n) {
    const auto count = static_cast<std::size_t>(n);
    compute_new_names(options, list.old_names().first(count), list.new_names().first(count));
}

}  // namespace

int dispatch_rule(FileList& list, const RulePages& pages, int n, const Codec& codec,
                  std::string* error, std::vector<NameFault>* faults) {
    n = std::clamp(n, 0, list.item_count());
    std::string reason;
    std::vector<NameFault> name_faults;
    switch (pages.active) {
        case RulePage::number:
            run_rule(pages.number, list, n);
            break;
        case RulePage::replace:
            if (pages.replace.regex) {
                const auto count = static_cast<std::size_t>(n);
                RegexNames made = compute_regex_names(pages.replace, list.old_names().first(count),
                                                      list.new_names().first(count), codec);
                reason = std::move(made.error);
                name_faults = std::move(made.faults);
            } else {
                run_rule(pages.replace, list, n);
            }
            break;
        case RulePage::insert:
            run_rule(pages.insert, list, n);
            break;
        case RulePage::letter_case:
            run_rule(pages.letter_case, list, n);
            break;
        case RulePage::tags:
            n = list.item_count();
            compute_tag_names(list, pages.tags, codec);
            break;
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
