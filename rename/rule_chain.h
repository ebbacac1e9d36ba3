// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 规则链: several rules applied one after another in one batch.

#include <span>
#include <string>
#include <vector>

#include "filelist/file_list.h"
#include "platform/codec.h"
#include "rename/rule_dispatch.h"

namespace varnel {

// One step of a chain: the rule of page `rule.active` with that page's
// settings (the other pages' settings are carried but unused).
struct RuleStep {
    RulePages rule;
    bool enabled = true;
};

// True when an enabled step is the tag rule (which computes every item).
[[nodiscard]] bool chain_uses_tags(std::span<const RuleStep> steps);

// Runs the enabled steps in order over items 1..n (n clamped as
// dispatch_rule clamps it; every item when an enabled step is the tag rule):
// the first step reads the old names, step k the names step k-1 made;
// numbering counts over the rows in list order at every step. The new names
// are set once, from the last step; with no enabled step they are the old
// names. A step whose rule cannot run (a pattern that does not compile)
// stops the chain: every new name is then its old name and `error`
// receives "第k步：" and the reason (code page, k counted over all steps).
// `faults` receives one entry per computed item when some step could not
// compute an item's name (the first fault of each item is kept; the item
// keeps the name it had before that step), or none. Returns the number of
// items computed.
int dispatch_chain(FileList& list, std::span<const RuleStep> steps, int n, const Codec& codec,
                   std::string* error = nullptr, std::vector<NameFault>* faults = nullptr);

// The error dispatch_chain would report for `steps`, found without computing
// any name (code page); empty when every enabled step can run.
[[nodiscard]] std::string chain_input_error(std::span<const RuleStep> steps, const Codec& codec);

}  // namespace varnel
