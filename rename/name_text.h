// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The name-text toolkit: text operations on code-page byte strings.
//
// Characters are those of platform/code_page_chars.h: a byte of 0x80 or
// above starts a two-byte character together with the byte after it, or a
// four-byte one where GB18030 says so; every other byte is a one-byte
// character. Lengths and positions count bytes; positions are 1-based; a
// search that finds nothing gives -1. Searching tests for a match only at
// character starts and only over whole characters, so a pattern never
// matches from or into the middle of a character (a pattern that itself
// ends in a lone byte of 0x80 or above may end on the first byte of a
// two-byte character). Every operation returns a new text and never fails.

#include <cstdint>
#include <string>
#include <string_view>

namespace varnel {

// Number of bytes of `t`.
[[nodiscard]] int length(std::string_view t);

// The first `k` bytes of `t` (all of it when k exceeds the length); empty for k <= 0.
[[nodiscard]] std::string left(std::string_view t, int k);

// The first `k` bytes of `t`, fewer when they would end inside a character,
// so no character is split; empty for k <= 0.
[[nodiscard]] std::string left_whole(std::string_view t, int k);

// `k` bytes of `t` from byte `p` (1-based), cut at the end; empty when p is
// outside 1..length or k <= 0.
[[nodiscard]] std::string mid(std::string_view t, int p, int k);

// 1-based position of the last occurrence of `s` in `t` that starts at a
// character start, or -1 (also for an empty `s`).
[[nodiscard]] int find_last(std::string_view t, std::string_view s);

// Let x = p - 1, raised to 0 and lowered to length(t); removes
// min(k, length(t) - x) bytes at x (nothing for k <= 0), then inserts `i` at
// x. Works on bytes: does not move x to a character boundary.
[[nodiscard]] std::string replace_at(std::string_view t, int p, int k, std::string_view i);

// Every occurrence of `s` starting at or after byte `p` (1-based) replaced by
// `r`, scanning left to right and resuming after the replaced occurrence, so
// occurrences never overlap and the replacement is never rescanned. Matches
// start only at character starts. Without `case_sensitive`, A..Z and a..z
// compare equal in every compared byte (second bytes of two-byte characters
// included). An empty `s` or `t` gives `t` unchanged.
[[nodiscard]] std::string replace_all(std::string_view t, std::string_view s, std::string_view r,
                                      int p, bool case_sensitive);

// Appends the result of replace_all(t, s, r, p, case_sensitive) to `out`,
// so that a name can be built without an intermediate text. `t`, `s` and `r`
// must not view into `out`.
void append_replace_all(std::string& out, std::string_view t, std::string_view s,
                        std::string_view r, int p, bool case_sensitive);

// True when `s` occurs in `t` at a character start; without
// `case_sensitive`, A..Z and a..z compare equal in every compared byte. An
// empty `s` is never found.
[[nodiscard]] bool contains_text(std::string_view t, std::string_view s, bool case_sensitive);

// a..z -> A..Z (or the reverse); two- and four-byte characters are copied
// unchanged.
[[nodiscard]] std::string to_upper(std::string_view t);
[[nodiscard]] std::string to_lower(std::string_view t);

// Reads `t` as a decimal number: full-width characters (A3A1..A3FE, and the
// full-width space A1A1) are first read as their ASCII counterparts; leading
// spaces are skipped; then an optional sign, digits, an optional fraction and
// exponent; reading stops at the first other character. The value is
// truncated toward zero and clamped to 32 bits. Empty or non-numeric text is 0.
[[nodiscard]] std::int32_t to_integer(std::string_view t);

// The leading decimal number of `t` read as to_integer reads it, but
// without the full-width forms (any byte of 0x80 or above ends the number)
// and with its magnitude saturated at `magnitude_limit` instead of clamped
// to 32 bits.
[[nodiscard]] long long leading_decimal(std::string_view t, unsigned long long magnitude_limit);

// Decimal digits of `v`, with a leading '-' when negative.
[[nodiscard]] std::string to_text(std::int32_t v);

// True when `name` has a dot and the text after its last dot, upper-cased,
// equals `ext` upper-cased ("MP3" accepts .mp3, .Mp3, .MP3).
[[nodiscard]] bool has_extension(std::string_view name, std::string_view ext);

// A file name split at its last dot. `main` is the bytes before the dot; `ext`
// the bytes from the dot to the end (dot included), or empty when the name
// has no dot. Both view into the name given to split_name.
struct NameParts {
    std::string_view main;
    std::string_view ext;
};
[[nodiscard]] NameParts split_name(std::string_view name);

}  // namespace varnel
