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
int natural_compare(std::string_view a, std::string_view b) noexcept;

inline bool natural_less(std::string_view a, std::string_view b) noexcept {
    return natural_compare(a, b) < 0;
}

}  // namespace varnel
