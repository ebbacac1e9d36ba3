// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line that tells a person what a step of a 规则链 does.

#include <string>

#include "rename/rule_chain.h"

namespace varnel {

// The page's name and its main settings, in the current language (code
// page), e.g. "替换/删除：“a”→“b”" or "大小写：每个单词首字母大写 / 全部小写".
// Texts of the rule longer than 40 characters are cut with "…".
[[nodiscard]] std::string step_summary(const RuleStep& step);

}  // namespace varnel
