// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The genre table: 126 names for the genre numbers 0..125, and their
// display order in the tag dialog's genre boxes.

#include <array>
#include <string_view>

namespace varnel {

inline constexpr int genre_count = 126;

// The name of genre `number`; empty for a number outside 0..125.
[[nodiscard]] std::string_view genre_name(int number);

// The 0-based position of genre `number` in the display order; -1 outside 0..125.
[[nodiscard]] int genre_display_position(int number);

// The genre numbers in display order: names compared without regard to
// ASCII case, byte by byte, every '-' ignored, a space before the end of a
// name and the end of a name before every other character.
[[nodiscard]] const std::array<int, genre_count>& genres_in_display_order();

}  // namespace varnel
