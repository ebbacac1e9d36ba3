// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/name_order.h"

#include <string>

#include "platform/code_page_chars.h"

namespace varnel {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

void append_count(std::size_t count, std::string& key) {
    if (count < 0xFE) {
        key.push_back(static_cast<char>(count));
        return;
    }
    key.push_back(static_cast<char>(0xFE));
    for (int shift = 24; shift >= 0; shift -= 8)
        key.push_back(static_cast<char>((count >> shift) & 0xFF));
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

void append_natural_key(std::string_view text, std::string& key) {
    std::size_t at = 0;
    while (at < text.size()) {
        if (is_digit(text[at])) {
            std::size_t start = at;
            while (at < text.size() && is_digit(text[at])) ++at;
            while (start + 1 < at && text[start] == '0') ++start;
            if (text[start] == '0') start = at;  // the value 0: no significant digits
            key.push_back('0');
            append_count(at - start, key);
            key.append(text.substr(start, at - start));
            continue;
        }
        const std::size_t size = char_size_at(text, at);
        if (size == 1)
            key.push_back(ascii_folded(text[at]));
        else
            key.append(text.substr(at, size));
        at += size;
    }
}

int natural_compare(std::string_view a, std::string_view b) {
    std::string a_key;
    std::string b_key;
    append_natural_key(a, a_key);
    append_natural_key(b, b_key);
    const int by_key = sign(a_key.compare(b_key));
    return by_key != 0 ? by_key : sign(a.compare(b));
}

}  // namespace varnel
