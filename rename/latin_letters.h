// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Latin letters beyond ASCII in the code page, with their other case.
//
// Covers Latin-1 Supplement and Latin Extended-A (À…ž, ÿ/Ÿ) and the pinyin
// letters of Latin Extended-B (ǎ ǐ ǒ ǔ ǖ ǘ ǚ ǜ with their capitals): the
// letters Western and pinyin names use. Letters without a simple other case
// (ß, ĸ, ŉ, ı, İ, ſ) count as letters and keep their case.

#include <string>
#include <string_view>

namespace varnel {

struct LatinLetter {
    std::string upper;  // code-page bytes of the capital (itself when none)
    std::string lower;  // code-page bytes of the small letter (itself when none)
};

// The letter whose code-page bytes are exactly `character` (one character,
// 2 or 4 bytes); null when it is not one of the letters above. The
// table is built on first use (thread-safe) and lives for the process.
[[nodiscard]] const LatinLetter* latin_letter(std::string_view character);

}  // namespace varnel
