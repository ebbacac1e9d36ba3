// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small byte and list helpers the tests share.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::test {

// `value` as four bytes, least significant first (FLAC and Vorbis fields).
inline std::string le32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// `bytes` as lower-case hexadecimal digits, two a byte.
inline std::string hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += digits[(static_cast<unsigned char>(c) >> 4) & 0xF];
        out += digits[static_cast<unsigned char>(c) & 0xF];
    }
    return out;
}

// `names` in byte order.
inline std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace varnel::test
