// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rule_dispatch.h"

#include <algorithm>

#include "rename/regex_rule.h"

namespace varnel {

namespace {

template <typename Options>
void run_rule(const Options& options, FileList& list, int n) {
    const auto count = static_cast<std::size_t>(n);
    compute_new_names(options, list.old_names().first(count), list.new_names().first(count));
}

}  // namespace

int dispatch_rule(FileList& list, const RulePages& pages, int n, const Codec& codec,
                  std::string* error) {
    n = std::clamp(n, 0, list.item_count());
    std::string reason;
    switch (pages.active) {
        case RulePage::number:
            run_rule(pages.number, list, n);
            break;
        case RulePage::replace:
            if (pages.replace.regex) {
                const auto count = static_cast<std::size_t>(n);
                reason = compute_regex_names(pages.replace, list.old_names().first(count),
                                             list.new_names().first(count), codec);
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
    return n;
}

}  // namespace varnel
