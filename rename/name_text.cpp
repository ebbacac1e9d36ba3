#include "rename/name_text.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace varnel {
namespace {

bool is_lead(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// Width of the character starting at byte i: a lead byte owns the next byte
// too. A lead byte at the very end still steps over "two" bytes, which only
// moves the scan past the end.
std::size_t char_width(char c) {
    return is_lead(c) ? 2 : 1;
}

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char lower(char c) {
    return fold(c);
}

bool equal_at(std::string_view t, std::size_t i, std::string_view s, bool case_sensitive) {
    if (case_sensitive) return std::memcmp(t.data() + i, s.data(), s.size()) == 0;
    for (std::size_t k = 0; k < s.size(); ++k) {
        if (fold(t[i + k]) != fold(s[k])) return false;
    }
    return true;
}

// True when the last character of `s` is a lead byte without its second
// byte: a match of `s` then ends inside a two-byte character of the text.
bool ends_mid_character(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) i += char_width(s[i]);
    return i > s.size();
}

template <char (*Map)(char)>
std::string map_letters(std::string_view t) {
    std::string out(t);
    for (std::size_t i = 0; i < out.size(); i += char_width(out[i])) out[i] = Map(out[i]);
    return out;
}

// Reads a text one character at a time as ASCII: the full-width forms
// A3A1..A3FE as (second byte - 0x80) and the full-width space A1A1 as ' '.
// Any other two-byte character, and the end of the text, read as '\0'.
class AsciiReader {
public:
    explicit AsciiReader(std::string_view t) : t_(t) {}
    char peek() const {
        if (i_ >= t_.size()) return '\0';
        const auto c = static_cast<unsigned char>(t_[i_]);
        if (c < 0x80) return static_cast<char>(c);
        if (i_ + 1 >= t_.size()) return '\0';
        const auto c2 = static_cast<unsigned char>(t_[i_ + 1]);
        if (c == 0xA3 && c2 >= 0xA1 && c2 <= 0xFE) return static_cast<char>(c2 - 0x80);
        if (c == 0xA1 && c2 == 0xA1) return ' ';
        return '\0';
    }
    void next() {
        if (i_ < t_.size()) i_ = std::min(i_ + char_width(t_[i_]), t_.size());
    }
    bool digit() const { return peek() >= '0' && peek() <= '9'; }
    std::size_t mark() const { return i_; }
    void seek(std::size_t at) { i_ = at; }

private:
    std::string_view t_;
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
// digits is not part of the number; nothing after it is read anyway). Kept within +-10^7: past that
// the value is 0 or clamped anyway.
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

}  // namespace

std::int32_t to_integer(std::string_view t) {
    AsciiReader r(t);
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
    constexpr unsigned long long limit = 1ULL << 31;  // |INT32_MIN|
    const unsigned long long v = integer_part(r, int_digits + frac_digits, int_digits + exp, limit);
    if (negative) return static_cast<std::int32_t>(-static_cast<long long>(v));
    return static_cast<std::int32_t>(std::min(v, limit - 1));
}

int length(std::string_view t) {
    return static_cast<int>(t.size());
}

std::string left(std::string_view t, int k) {
    if (k <= 0) return {};
    return std::string(t.substr(0, static_cast<std::size_t>(k)));
}

std::string mid(std::string_view t, int p, int k) {
    if (p < 1 || p > length(t) || k <= 0) return {};
    return std::string(t.substr(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(k)));
}

int find_last(std::string_view t, std::string_view s) {
    if (s.empty() || s.size() > t.size()) return -1;
    const std::size_t last_start = t.size() - s.size();
    int found = -1;
    for (std::size_t i = 0; i <= last_start; i += char_width(t[i])) {
        if (t[i] == s[0] && equal_at(t, i, s, true)) found = static_cast<int>(i) + 1;
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

std::string replace_all(std::string_view t, std::string_view s, std::string_view r, int p,
                        bool case_sensitive) {
    if (s.empty() || t.empty()) return std::string(t);
    // Character starts are found from byte 1 even when the scan begins later,
    // so a start byte p that is a second byte is never tested.
    const std::size_t from = p <= 1 ? 0 : static_cast<std::size_t>(p - 1);
    const bool dangling = ends_mid_character(s);
    std::string out;
    out.reserve(t.size());
    std::size_t i = 0;
    while (i < t.size()) {
        if (i >= from && t.size() - i >= s.size() && equal_at(t, i, s, case_sensitive)) {
            out.append(r);
            i += s.size();
            // The byte after the match is the second byte of its last
            // character: keep it, never start a match on it.
            if (dangling && i < t.size()) out.push_back(t[i++]);
            continue;
        }
        const std::size_t w = std::min(char_width(t[i]), t.size() - i);
        out.append(t.substr(i, w));
        i += w;
    }
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

int char_boundary_at_or_after(std::string_view t, int x) {
    const std::size_t target = x <= 0 ? 0 : std::min(static_cast<std::size_t>(x), t.size());
    std::size_t i = 0;
    while (i < target) i += char_width(t[i]);
    return static_cast<int>(std::min(i, t.size()));
}

}  // namespace varnel
