// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/legacy_text.h"

namespace varnel {

namespace {

bool is_code_page_text(std::string_view bytes, const Codec& codec) {
    return codec.to_utf8(bytes).has_value();
}

std::string latin1_to_utf8(std::string_view bytes) {
    std::string utf8;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

}  // namespace

std::string text_from_utf8_field(std::string_view bytes, const Codec& codec) {
    if (is_ascii(bytes)) return std::string(bytes);
    if (is_valid_utf8(bytes)) return codec.from_utf8_lossy(bytes);
    if (is_code_page_text(bytes, codec)) return std::string(bytes);
    return codec.from_utf8_lossy(bytes);
}

std::string text_from_latin1_field(std::string_view bytes, const Codec& codec) {
    if (is_ascii(bytes) || is_code_page_text(bytes, codec)) return std::string(bytes);
    return codec.from_utf8_lossy(latin1_to_utf8(bytes));
}

std::string text_from_unknown_field(std::string_view bytes, const Codec& codec) {
    if (!is_ascii(bytes) && is_valid_utf8(bytes)) return codec.from_utf8_lossy(bytes);
    return text_from_latin1_field(bytes, codec);
}

}  // namespace varnel
