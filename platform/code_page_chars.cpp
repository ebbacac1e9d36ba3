// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/code_page_chars.h"

#include <algorithm>

namespace varnel {

std::size_t whole_char_prefix(std::string_view t, std::size_t k) noexcept {
    k = std::min(k, t.size());
    std::size_t at = 0;
    while (at < k) {
        const std::size_t next = at + char_size_at(t, at);
        if (next > k) break;
        at = next;
    }
    return at;
}

std::size_t char_boundary_at_or_after(std::string_view t, std::size_t x) noexcept {
    x = std::min(x, t.size());
    std::size_t at = 0;
    while (at < x) at += char_size_at(t, at);
    return at;
}

bool is_char_boundary(std::string_view t, std::size_t x) noexcept {
    return x <= t.size() && char_boundary_at_or_after(t, x) == x;
}

std::size_t char_count(std::string_view t) noexcept {
    std::size_t count = 0;
    for_each_char(t, [&](std::size_t, std::size_t) { ++count; });
    return count;
}

}  // namespace varnel
