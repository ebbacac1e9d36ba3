// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 替换/删除: every occurrence of a search text replaced; an empty
// replacement deletes.

#include <span>
#include <string>

#include "rename/name_scope.h"

namespace varnel {

struct ReplaceOptions {
    std::string find;             // 查找内容编辑框
    std::string with;             // 替换为编辑框
    bool case_sensitive = false;  // 区分大小写选择框
    NameScope scope = NameScope::main_name;
    bool regex = false;  // 正则表达式: `find` is a pattern, see regex_rule.h
};

// Sets new_names[i] from old_names[i] (equal sizes); pure, never fails.
void compute_new_names(const ReplaceOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names);

}  // namespace varnel
