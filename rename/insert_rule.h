// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 插入: one text inserted into the main name and another into the
// extension, each at a position or at the end. A position that falls on the
// second byte of a two-byte character moves to just after that character.

#include <span>
#include <string>

namespace varnel {

struct InsertOptions {
    std::string text;      // 插入到文件名的字符编辑框
    std::string ext_text;  // 插入到扩展名的字符编辑框
    bool at_end = false;   // 插入文件名尾单选框 (else 插入文件名位置单选框)
    std::string position = "1";  // 插入文件名位置编辑框
    bool ext_at_end = false;  // 插入扩展名尾单选框 (else 插入扩展名位置单选框)
    std::string ext_position = "1";  // 插入扩展名位置编辑框
};

// Sets new_names[i] from old_names[i] (equal sizes); pure, never fails.
void compute_new_names(const InsertOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names);

}  // namespace varnel
