// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rule a preview or a batch runs: the active page's rule or a chain.

#include <functional>
#include <string>
#include <vector>

#include "filelist/file_list.h"
#include "platform/codec.h"
#include "rename/rule_chain.h"
#include "rename/rule_dispatch.h"

namespace varnel {

struct NameRule {
    // Sets the new names of items 1..n from their old names and returns the
    // number computed, with the error and faults of dispatch_rule.
    std::function<int(FileList& list, int n, std::string* error, std::vector<NameFault>* faults)>
        compute;
    // The rule computes every item whatever n asks (it reads the tags).
    bool every_item = false;
};

// The rule of the active page of `pages` (dispatch_rule).
[[nodiscard]] NameRule page_rule(const RulePages& pages, const Codec& codec);
// The enabled steps of `steps` one after another (dispatch_chain).
[[nodiscard]] NameRule chain_rule(std::vector<RuleStep> steps, const Codec& codec);

}  // namespace varnel
