// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order in which names are shown and a folder's files are added: the
// order file managers use.

#include <string_view>

namespace varnel {

// Natural order of two code-page texts, character by character:
//  - a run of ASCII digits in both texts is compared as a number (by
//    value, any length: "track2" before "track10");
//  - ASCII letters compare without regard to case;
//  - every other character compares by its code-page bytes (for GBK text,
//    Chinese characters in pinyin order).
// Texts equal under these rules (a.txt and A.txt, 1 and 01) are put in
// byte order, so the order is total and the same on every run.
[[nodiscard]] int natural_compare(std::string_view a, std::string_view b);

[[nodiscard]] inline bool natural_less(std::string_view a, std::string_view b) {
    return natural_compare(a, b) < 0;
}

// Appends to `key` the sort key of `text`: keys compared as plain bytes
// give natural order (ties: compare the texts' bytes). For sorting many
// names, where each key is built once. Each character is copied (ASCII
// letters in lower case); a digit run becomes '0', its significant digit
// count (one byte below 0xFE, or 0xFE and four bytes) and its significant
// digits, so that two runs compare by value and a run compares with any
// other character as its first digit would.
void append_natural_key(std::string_view text, std::string& key);

}  // namespace varnel
