// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/name_pattern.h"

#include "platform/code_page_chars.h"

namespace varnel {
namespace {

// Letters fold only as characters of one byte: a byte of a longer
// character that happens to be a letter's tells two characters apart.
bool same_char(std::string_view pattern, std::size_t p, std::size_t p_size, std::string_view name,
               std::size_t n, std::size_t n_size) {
    if (p_size != n_size) return false;
    if (p_size == 1) return ascii_folded(pattern[p]) == ascii_folded(name[n]);
    return pattern.substr(p, p_size) == name.substr(n, n_size);
}

}  // namespace

// Greedy matching with one back-track point (the last '*'), over whole
// characters of both texts.
bool matches_pattern(std::string_view pattern, std::string_view name) noexcept {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t star_name = 0;
    while (n < name.size()) {
        const std::size_t n_size = char_size_at(name, n);
        if (p < pattern.size()) {
            const std::size_t p_size = char_size_at(pattern, p);
            if (pattern[p] == '*') {
                star = ++p;
                star_name = n;
                continue;
            }
            if (pattern[p] == '?' || same_char(pattern, p, p_size, name, n, n_size)) {
                p += p_size;
                n += n_size;
                continue;
            }
        }
        if (star == std::string_view::npos) return false;
        p = star;
        star_name += char_size_at(name, star_name);
        n = star_name;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace varnel
