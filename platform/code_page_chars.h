// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Characters of code-page (GB18030) text.
//
// A character of the text is, reading forward from its first byte:
//  - four bytes: a byte 0x81..0xFE, a digit 0x30..0x39, a byte 0x81..0xFE
//    and a digit 0x30..0x39 (GB18030's four-byte form: Korean, emoji, ñ …);
//  - two bytes: any other byte of 0x80 or above with the byte after it;
//  - one byte: a byte below 0x80, or a byte of 0x80 or above that ends the
//    text.
// No GBK second byte is a digit, so for GBK text this is exactly the
// two-byte rule. The form is not self-synchronising (the second and fourth
// bytes of a four-byte character are ASCII digits), so character starts are
// found only by reading forward from a known start, normally byte 0.

#include <cstddef>
#include <string_view>

namespace varnel {

// Size in bytes (1, 2 or 4) of the character that starts at byte `at` of
// `t`; `at` must be below t.size() and must be a character start.
[[nodiscard]] inline std::size_t char_size_at(std::string_view t, std::size_t at) noexcept {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(t[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    const std::size_t rest = t.size() - at;
    if (rest < 2) return 1;
    const auto digit = [](unsigned char c) { return c >= 0x30 && c <= 0x39; };
    if (rest >= 4 && lead != 0x80 && digit(byte(at + 1)) && byte(at + 2) >= 0x81 &&
        byte(at + 2) != 0xFF && digit(byte(at + 3))) {
        return 4;
    }
    return 2;
}

// `c` with an ASCII capital letter made small. Only for a character of
// one byte: the second byte of a two-byte character may be a letter's byte.
[[nodiscard]] constexpr char ascii_folded(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The largest character boundary at or below byte offset `k` (clamped to
// the length): the first `k` bytes of `t` cut so that no character is split.
[[nodiscard]] std::size_t whole_char_prefix(std::string_view t, std::size_t k) noexcept;

// The smallest character boundary at or after byte offset `x` (clamped to
// the length): an offset inside a character moves to just after it.
[[nodiscard]] std::size_t char_boundary_at_or_after(std::string_view t, std::size_t x) noexcept;

// True when byte offset `x` starts a character of `t` or is its length.
[[nodiscard]] bool is_char_boundary(std::string_view t, std::size_t x) noexcept;

// Number of characters of `t`.
[[nodiscard]] std::size_t char_count(std::string_view t) noexcept;

// Calls on_char(offset, size) for every character of `t`, first to last.
template <class OnChar>
void for_each_char(std::string_view t, OnChar on_char) {
    for (std::size_t at = 0; at < t.size();) {
        const std::size_t size = char_size_at(t, at);
        on_char(at, size);
        at += size;
    }
}

}  // namespace varnel
