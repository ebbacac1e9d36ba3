// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/name_rule.h"

namespace varnel {

NameRule page_rule(const RulePages& pages, const Codec& codec) {
    return {
        [pages, &codec](FileList& list, int n, std::string* error, std::vector<NameFault>* faults) {
            return dispatch_rule(list, pages, n, codec, error, faults);
        },
        pages.active == RulePage::tags};
}

NameRule chain_rule(std::vector<RuleStep> steps, const Codec& codec) {
    const bool tags = chain_uses_tags(steps);
    return {[steps = std::move(steps), &codec](FileList& list, int n, std::string* error,
                                               std::vector<NameFault>* faults) {
                return dispatch_chain(list, steps, n, codec, error, faults);
            },
            tags};
}

}  // namespace varnel
