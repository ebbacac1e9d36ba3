// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rule_chain.h"

#include <algorithm>

#include "platform/language.h"

namespace varnel {
namespace {

std::string step_error(std::size_t index, const std::string& reason) {
    const std::string number = std::to_string(index + 1);
    return say("第", "Step ") + number + say("步：", ": ") + reason;
}

// Keeps the first fault of each item.
void merge_faults(std::vector<NameFault>& into, const std::vector<NameFault>& from) {
    if (from.empty()) return;
    if (into.empty()) into.assign(from.size(), NameFault::none);
    for (std::size_t i = 0; i < from.size() && i < into.size(); ++i)
        if (into[i] == NameFault::none) into[i] = from[i];
}

// One step from `current` into `next` (both of the computed items). The
// tag rule writes the list's new names itself.
std::string run_step(FileList& list, const RulePages& rule, std::span<const std::string> current,
                     std::span<std::string> next, const Codec& codec,
                     std::vector<NameFault>& faults) {
    if (rule.active == RulePage::tags) {
        compute_tag_names(list, rule.tags, codec);
        std::copy_n(list.new_names().begin(), next.size(), next.begin());
        return {};
    }
    std::vector<NameFault> step_faults;
    std::string reason = compute_page_names(rule, current, next, codec, step_faults);
    merge_faults(faults, step_faults);
    return reason;
}

}  // namespace

bool chain_uses_tags(std::span<const RuleStep> steps) {
    return std::ranges::any_of(steps, [](const RuleStep& step) {
        return step.enabled && step.rule.active == RulePage::tags;
    });
}

int dispatch_chain(FileList& list, std::span<const RuleStep> steps, int n, const Codec& codec,
                   std::string* error, std::vector<NameFault>* faults) {
    n = chain_uses_tags(steps) ? list.item_count() : std::clamp(n, 0, list.item_count());
    const auto count = static_cast<std::size_t>(n);
    const auto old_names = list.old_names().first(count);
    const auto new_names = list.new_names().first(count);
    // Steps write alternately into the list's new names and a scratch array
    // kept between previews, so that no step allocates the names afresh.
    thread_local std::vector<std::string> scratch;
    if (scratch.size() < count) scratch.resize(count);
    const std::span<std::string> other(scratch.data(), count);
    std::span<const std::string> current = old_names;
    std::vector<NameFault> name_faults;
    std::string reason;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        if (!steps[k].enabled) continue;
        const std::span<std::string> next = current.data() == new_names.data() ? other : new_names;
        const std::string step_reason =
            run_step(list, steps[k].rule, current, next, codec, name_faults);
        if (!step_reason.empty()) {
            reason = step_error(k, step_reason);
            current = old_names;
            name_faults.clear();
            break;
        }
        current = next;
    }
    if (current.data() == old_names.data())
        std::ranges::copy(old_names, new_names.begin());
    else if (current.data() == other.data())
        std::ranges::swap_ranges(other, new_names);
    if (error) *error = std::move(reason);
    if (faults) *faults = std::move(name_faults);
    return n;
}

std::string chain_input_error(std::span<const RuleStep> steps, const Codec& codec) {
    for (std::size_t k = 0; k < steps.size(); ++k) {
        if (!steps[k].enabled) continue;
        if (std::string reason = rule_input_error(steps[k].rule, codec); !reason.empty())
            return step_error(k, reason);
    }
    return {};
}

}  // namespace varnel
