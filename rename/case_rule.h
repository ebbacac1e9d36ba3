// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 大小写: the letter case of the main name and of the extension, each by
// its own choice. Only ASCII letters change; two-byte characters (full-width
// letters included) are left as they are.

#include <span>
#include <string>

namespace varnel {

enum class CaseChoice { upper, lower, first_upper, first_lower };

struct CaseOptions {
    CaseChoice name = CaseChoice::upper;  // 分组框6 "文件名"
    CaseChoice ext = CaseChoice::upper;   // 分组框7 "扩展名"
};

// Sets new_names[i] from old_names[i] (equal sizes); pure, never fails.
void compute_new_names(const CaseOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names);

}  // namespace varnel
