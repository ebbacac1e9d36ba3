// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page 大小写: the letter case of the main name and of the extension, each by
// its own choice. Only ASCII letters change; two-byte characters (full-width
// letters included) are left as they are, except by title_case, which also
// changes the Latin letters beyond ASCII (rename/latin_letters.h).

#include <span>
#include <string>

namespace varnel {

// title_case (每个单词首字母大写): the first letter of every word capital, its
// other letters small. A word is a run of letters (ASCII and Latin beyond
// ASCII), digits and apostrophes (' and ’) inside it, so "2nd" and "don't"
// stay one word; Chinese and every other character separate words and stay
// as they are. A letter may change its byte length (ā: 2 bytes, Ā: 4).
enum class CaseChoice { upper, lower, first_upper, first_lower, title_case };

struct CaseOptions {
    CaseChoice name = CaseChoice::upper;  // 分组框6 "文件名"
    CaseChoice ext = CaseChoice::upper;   // 分组框7 "扩展名"
};

// Sets new_names[i] from old_names[i] (equal sizes); pure, never fails.
void compute_new_names(const CaseOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names);

}  // namespace varnel
