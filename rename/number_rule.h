// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 常规: rebuilds the main name, the extension, or both, from fixed texts
// and a running number: prefix + body + zero padding + number + suffix.

#include <span>
#include <string>

#include "rename/name_scope.h"

namespace varnel {

// The page's controls; numeric fields are texts read with to_integer.
struct NumberOptions {
    NameScope scope = NameScope::main_name;
    std::string prefix;        // 文件名前缀编辑框
    std::string body;          // 文件名编辑框
    std::string digits = "1";  // 文件名位数调节编辑框
    std::string suffix;        // 文件名后缀编辑框
    std::string ext_prefix;    // 扩展名前缀编辑框
    std::string ext_body;      // 新扩展名编辑框
    std::string ext_digits;    // 扩展名位数调节编辑框
    std::string ext_suffix;    // 扩展名后缀编辑框
    std::string start = "0";   // 起始量编辑框
    std::string step = "1";    // 增量编辑框
};

// Sets new_names[i] from old_names[i] (equal sizes); pure, never fails.
void compute_new_names(const NumberOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names);

}  // namespace varnel
