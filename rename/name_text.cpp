// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/name_text.h"

#include "platform/code_page_chars.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace varnel {
namespace {

bool is_lead(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
// Case-insensitive comparison compares lower-case forms.
char fold(char c) {
    return lower(c);
}

// Whether `s` occurs at byte i of `t`; the caller ensures it fits. A plain
// loop: patterns are short, and it lets the compiler inline the call.
bool equal_at(std::string_view t, std::size_t i, std::string_view s, bool case_sensitive) {
    for (std::size_t k = 0; k < s.size(); ++k) {
        const char a = t[i + k];
        const char b = s[k];
        if (case_sensitive ? a != b : fold(a) != fold(b)) return false;
    }
    return true;
}

// True when `s` ends in a byte of 0x80 or above that has no byte after it
// in `s`: a match of `s` may then end on the first byte of a two-byte
// character of the text, and that character's second byte is skipped.
bool ends_mid_character(std::string_view s) {
    std::size_t last = 0;
    for_each_char(s, [&](std::size_t offset, std::size_t) { last = offset; });
    return !s.empty() && last == s.size() - 1 && is_lead(s.back());
}

// The first character start of `t` at or after byte j, reading forward
// from `known`, a character start at or before j.
std::size_t start_at_or_after(std::string_view t, std::size_t known, std::size_t j) {
    while (known < j) known += char_size_at(t, known);
    return known;
}

// Where a match of `size` bytes at character start i may end: the offset
// after the last character it covers, when it covers whole characters (or,
// for a `dangling` pattern, ends one byte into a two-byte character), else
// npos.
std::size_t match_end(std::string_view t, std::size_t i, std::size_t size, bool dangling) {
    const std::size_t end = start_at_or_after(t, i, i + size);
    if (end == i + size) return end;
    if (dangling && end == i + size + 1) return end;
    return std::string_view::npos;
}

// find_last for a one-byte character `c`. Read forward: a byte below 0x80
// may be the second or fourth byte of a character, so starts cannot be
// found reading backward.
int find_last_ascii(std::string_view t, char c) {
    int found = -1;
    for (std::size_t at = 0; at < t.size();) {
        const char b = t[at];
        if (!is_lead(b)) {
            if (b == c) found = static_cast<int>(at) + 1;
            ++at;
        } else {
            at += char_size_at(t, at);
        }
    }
    return found;
}

// The first byte in [k, end) that may start `s`, given `first`, the first
// byte of `s` (folded without case sensitivity); end when there is none.
std::size_t next_candidate(std::string_view t, std::size_t k, std::size_t end, char first,
                           bool case_sensitive) {
    if (case_sensitive || first < 'a' || first > 'z') {
        // Only `first` itself folds to a byte that is not a lower-case letter.
        while (k < end && t[k] != first) ++k;
    } else {
        // Setting bit 5 turns 'A'..'Z' into 'a'..'z'; no other byte lands on
        // a lower-case letter.
        while (k < end && (t[k] | 0x20) != first) ++k;
    }
    return k;
}

// Calls on_match(i) for the 0-based start i of every occurrence of `s` in
// `t` with i >= from, left to right, without overlap. A match starts at a
// character start counted from byte 0 and covers whole characters, so a
// pattern never matches from or into the middle of a character, even when
// `from` is inside one.
template <class OnMatch>
void for_each_match(std::string_view t, std::string_view s, std::size_t from, bool case_sensitive,
                    OnMatch on_match) {
    if (s.size() > t.size()) return;
    const bool dangling = ends_mid_character(s);
    const char first = case_sensitive ? s[0] : fold(s[0]);
    const std::size_t end = t.size() - s.size() + 1;  // no match starts at or after it
    // A character start at or before the next candidate; each test reads
    // forward from it only, which keeps the scan linear.
    std::size_t known = 0;
    std::size_t i = from;
    while (i < end && (i = next_candidate(t, i, end, first, case_sensitive)) < end) {
        known = start_at_or_after(t, known, i);
        if (known != i) {
            i = known;  // i was inside a character
            continue;
        }
        const std::size_t match = equal_at(t, i, s, case_sensitive)
                                      ? match_end(t, i, s.size(), dangling)
                                      : std::string_view::npos;
        if (match == std::string_view::npos) {
            known = i = i + char_size_at(t, i);
            continue;
        }
        on_match(i);
        known = i = match;
    }
}

template <char (*Map)(char)>
std::string map_letters(std::string_view t) {
    std::string out(t);
    for (std::size_t at = 0; at < out.size();) {
        char& c = out[at];
        if (is_lead(c)) {
            at += char_size_at(out, at);
        } else {
            c = Map(c);
            ++at;
        }
    }
    return out;
}

// Reads a text one character at a time as ASCII: with `full_width`, the
// full-width forms A3A1..A3FE as (second byte - 0x80) and the full-width
// space A1A1 as ' '. Any other two-byte character, and the end of the text,
// read as '\0'.
class AsciiReader {
public:
    AsciiReader(std::string_view t, bool full_width) : t_(t), full_width_(full_width) {}
    char peek() const {
        if (i_ >= t_.size()) return '\0';
        const auto c = static_cast<unsigned char>(t_[i_]);
        if (c < 0x80) return static_cast<char>(c);
        if (!full_width_ || i_ + 1 >= t_.size()) return '\0';
        const auto c2 = static_cast<unsigned char>(t_[i_ + 1]);
        if (c == 0xA3 && c2 >= 0xA1 && c2 <= 0xFE) return static_cast<char>(c2 - 0x80);
        if (c == 0xA1 && c2 == 0xA1) return ' ';
        return '\0';
    }
    void next() {
        if (i_ < t_.size()) i_ += char_size_at(t_, i_);
    }
    bool digit() const { return peek() >= '0' && peek() <= '9'; }
    std::size_t mark() const { return i_; }
    void seek(std::size_t at) { i_ = at; }

private:
    std::string_view t_;
    bool full_width_;
    std::size_t i_ = 0;
};

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

long long count_digits(AsciiReader& r) {
    long long n = 0;
    for (; r.digit(); r.next()) ++n;
    return n;
}

// The exponent after the mantissa, or 0 when there is none (an 'e' without
// digits is not part of the number). Kept within +-10^7: past that the value
// is 0 or clamped anyway.
long long read_exponent(AsciiReader& r) {
    if (r.peek() != 'e' && r.peek() != 'E') return 0;
    r.next();
    const bool negative = r.peek() == '-';
    if (r.peek() == '+' || r.peek() == '-') r.next();
    if (!r.digit()) return 0;
    long long e = 0;
    for (; r.digit(); r.next()) e = std::min(e * 10 + (r.peek() - '0'), 10'000'000LL);
    return negative ? -e : e;
}

// The integer part of the mantissa at `r` (digits with at most one '.')
// scaled by 10^exp, i.e. its first `keep` digits with zeros past the end,
// saturated at `limit`. Exact, so no rounding happens before truncation.
unsigned long long integer_part(AsciiReader& r, long long digits, long long keep,
                                unsigned long long limit) {
    unsigned long long acc = 0;
    for (long long k = 0; k < keep && acc < limit; ++k) {
        if (k >= digits && acc == 0) break;
        unsigned d = 0;
        if (k < digits) {
            if (r.peek() == '.') r.next();
            d = static_cast<unsigned>(r.peek() - '0');
            r.next();
        }
        acc = std::min(acc * 10 + d, limit);
    }
    return acc;
}

// The leading decimal number read by `r`, truncated toward zero, its
// magnitude saturated at `limit`.
long long leading_number(AsciiReader& r, unsigned long long limit) {
    while (is_space(r.peek())) r.next();
    const bool negative = r.peek() == '-';
    if (r.peek() == '+' || r.peek() == '-') r.next();
    const std::size_t mantissa = r.mark();
    const long long int_digits = count_digits(r);
    long long frac_digits = 0;
    if (r.peek() == '.') {
        r.next();
        frac_digits = count_digits(r);
    }
    if (int_digits + frac_digits == 0) return 0;
    const long long exp = read_exponent(r);
    r.seek(mantissa);
    const auto v =
        static_cast<long long>(integer_part(r, int_digits + frac_digits, int_digits + exp, limit));
    return negative ? -v : v;
}

}  // namespace

std::int32_t to_integer(std::string_view t) {
    AsciiReader r(t, true);
    constexpr unsigned long long limit = 1ULL << 31;  // |INT32_MIN|
    return static_cast<std::int32_t>(
        std::min(leading_number(r, limit), static_cast<long long>(limit - 1)));
}

long long leading_decimal(std::string_view t, unsigned long long magnitude_limit) {
    AsciiReader r(t, false);
    return leading_number(r, magnitude_limit);
}

int length(std::string_view t) {
    return static_cast<int>(t.size());
}

std::string left(std::string_view t, int k) {
    if (k <= 0) return {};
    return std::string(t.substr(0, static_cast<std::size_t>(k)));
}

std::string left_whole(std::string_view t, int k) {
    if (k <= 0) return {};
    return std::string(t.substr(0, whole_char_prefix(t, static_cast<std::size_t>(k))));
}

std::string mid(std::string_view t, int p, int k) {
    if (p < 1 || p > length(t) || k <= 0) return {};
    return std::string(t.substr(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(k)));
}

int find_last(std::string_view t, std::string_view s) {
    if (s.empty() || s.size() > t.size()) return -1;
    if (s.size() == 1 && !is_lead(s[0])) return find_last_ascii(t, s[0]);
    const std::size_t last_start = t.size() - s.size();
    const bool dangling = ends_mid_character(s);
    int found = -1;
    for (std::size_t i = 0; i <= last_start; i += char_size_at(t, i)) {
        if (equal_at(t, i, s, true) &&
            match_end(t, i, s.size(), dangling) != std::string_view::npos)
            found = static_cast<int>(i) + 1;
    }
    return found;
}

std::string replace_at(std::string_view t, int p, int k, std::string_view i) {
    // 64-bit so that p - 1 cannot overflow for p = INT_MIN.
    const auto len = static_cast<long long>(t.size());
    const auto x = static_cast<std::size_t>(std::clamp(static_cast<long long>(p) - 1, 0LL, len));
    const std::size_t removed = k <= 0 ? 0 : std::min(static_cast<std::size_t>(k), t.size() - x);
    std::string out;
    out.reserve(t.size() - removed + i.size());
    out.append(t.substr(0, x)).append(i).append(t.substr(x + removed));
    return out;
}

void append_replace_all(std::string& out, std::string_view t, std::string_view s,
                        std::string_view r, int p, bool case_sensitive) {
    if (s.empty()) {
        out.append(t);
        return;
    }
    const std::size_t from = p <= 1 ? 0 : static_cast<std::size_t>(p - 1);
    // The result is written into room for its final size, or for an upper
    // bound when the replacement is not longer than the pattern; a longer
    // replacement needs the count of matches first.
    std::size_t size = t.size();
    if (r.size() > s.size()) {
        std::size_t count = 0;
        for_each_match(t, s, from, case_sensitive, [&](std::size_t) { ++count; });
        size += count * (r.size() - s.size());
    }
    const std::size_t base = out.size();
    out.resize(base + size);
    char* w = out.data() + base;
    // Byte loops: the pieces of a name are a few bytes long, too short for
    // a library call per piece to pay off.
    std::size_t k = 0;  // t[0, k) has been written
    for_each_match(t, s, from, case_sensitive, [&](std::size_t at) {
        for (; k < at; ++k) *w++ = t[k];
        for (char c : r) *w++ = c;
        k = at + s.size();
    });
    for (; k < t.size(); ++k) *w++ = t[k];
    out.resize(static_cast<std::size_t>(w - out.data()));
}

bool contains_text(std::string_view t, std::string_view s, bool case_sensitive) {
    if (s.empty()) return false;
    bool found = false;
    for_each_match(t, s, 0, case_sensitive, [&](std::size_t) { found = true; });
    return found;
}

std::string replace_all(std::string_view t, std::string_view s, std::string_view r, int p,
                        bool case_sensitive) {
    std::string out;
    append_replace_all(out, t, s, r, p, case_sensitive);
    return out;
}

std::string to_upper(std::string_view t) {
    return map_letters<upper>(t);
}
std::string to_lower(std::string_view t) {
    return map_letters<lower>(t);
}

std::string to_text(std::int32_t v) {
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

bool has_extension(std::string_view name, std::string_view ext) {
    const int dot = find_last(name, ".");
    if (dot < 0) return false;
    return to_upper(name.substr(static_cast<std::size_t>(dot))) == to_upper(ext);
}

NameParts split_name(std::string_view name) {
    const int dot = find_last(name, ".");
    if (dot < 0) return {name, {}};
    const auto at = static_cast<std::size_t>(dot - 1);
    return {name.substr(0, at), name.substr(at)};
}

}  // namespace varnel
