// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// New names that no file can have, found before anything is renamed.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/codec.h"

namespace varnel {

// The longest file name, in bytes as written to disk: what Linux file
// systems take for one path component.
inline constexpr std::size_t longest_name_bytes = 255;

enum class NameProblem : unsigned char {
    none,
    empty,      // "新名称为空"
    dots,       // "." or "..": "名称不能是.或.."
    separator,  // a '/' or a NUL byte: "名称含有/"
    too_long,   // over longest_name_bytes: "名称过长"
};

// What is wrong with `fs_name`, a name as it would be written to disk.
[[nodiscard]] NameProblem check_new_name(std::string_view fs_name);

// The mark of a problem in column 命名状态 (code page); empty for none.
[[nodiscard]] std::string name_problem_text(NameProblem problem);

// A batch fails a row whose name has a problem with this error number
// (never an errno value, which are positive); name_problem_of gives the
// problem back, none for any other number.
[[nodiscard]] int name_problem_error(NameProblem problem);
[[nodiscard]] NameProblem name_problem_of(int error);

}  // namespace varnel
