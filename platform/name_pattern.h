// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File-name patterns of a chooser's filter ("*.mp3", "*", "wav").

#include <string_view>

namespace varnel {

// True when the code-page text `name` matches `pattern` as a whole: '*'
// stands for any run of characters (none included), '?' for exactly one
// character, and ASCII letters match without regard to case. Any other
// character stands for itself, so "wav" matches only a file named wav.
[[nodiscard]] bool matches_pattern(std::string_view pattern, std::string_view name) noexcept;

}  // namespace varnel
