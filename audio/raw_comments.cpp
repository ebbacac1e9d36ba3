// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/raw_comments.h"

#include <algorithm>
#include <string>

namespace varnel {

namespace {

std::uint32_t little_endian_32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

bool same_key(std::string_view key, std::string_view upper) {
    return key.size() == upper.size() &&
           std::equal(key.begin(), key.end(), upper.begin(), [](char a, char b) {
               return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
           });
}

// The field a key names, or nullptr. DATE outranks YEAR through `dated`.
std::string* field_of(TagFields& fields, std::string_view key) {
    if (same_key(key, "ARTIST")) return &fields.artist;
    if (same_key(key, "TITLE")) return &fields.title;
    if (same_key(key, "ALBUM")) return &fields.album;
    if (same_key(key, "TRACKNUMBER") || same_key(key, "TRACK")) return &fields.track;
    if (same_key(key, "GENRE")) return &fields.genre;
    return nullptr;
}

// Keeps the first value of each field; a date replaces a year given before.
void take_value(TagFields& fields, std::string_view key, std::string_view value, bool& dated) {
    if (same_key(key, "DATE") || same_key(key, "YEAR")) {
        const bool is_date = same_key(key, "DATE");
        if (dated || (!is_date && !fields.year.empty())) return;
        fields.year = value;
        dated = is_date;
        return;
    }
    std::string* field = field_of(fields, key);
    if (field != nullptr && field->empty()) *field = value;
}

}  // namespace

std::optional<TagFields> vorbis_comment_fields(std::string_view block) {
    if (block.size() < 4) return std::nullopt;
    std::size_t at = 4 + std::size_t{little_endian_32(block, 0)};
    if (at + 4 > block.size()) return std::nullopt;
    const std::uint32_t count = little_endian_32(block, at);
    at += 4;
    TagFields fields;
    bool dated = false;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at + 4 > block.size()) return std::nullopt;
        const std::size_t length = little_endian_32(block, at);
        at += 4;
        if (length > block.size() - at) return std::nullopt;
        const std::string_view comment = block.substr(at, length);
        at += length;
        const std::size_t equals = comment.find('=');
        if (equals == std::string_view::npos) continue;  // not a comment; others may be
        take_value(fields, comment.substr(0, equals), comment.substr(equals + 1), dated);
    }
    return fields;
}

std::optional<ApeFooter> ape_footer(std::string_view bytes) {
    if (bytes.size() != 32 || bytes.substr(0, 8) != "APETAGEX") return std::nullopt;
    const ApeFooter footer{little_endian_32(bytes, 12), little_endian_32(bytes, 16)};
    if (footer.size < 32) return std::nullopt;
    return footer;
}

std::optional<TagFields> ape_item_fields(std::string_view bytes, std::uint32_t items) {
    TagFields fields;
    bool dated = false;
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < items; ++i) {
        if (at + 8 > bytes.size()) return std::nullopt;
        const std::size_t length = little_endian_32(bytes, at);
        const std::uint32_t flags = little_endian_32(bytes, at + 4);
        const std::size_t key_end = bytes.find('\0', at + 8);
        if (key_end == std::string_view::npos) return std::nullopt;
        const std::string_view key = bytes.substr(at + 8, key_end - at - 8);
        at = key_end + 1;
        if (length > bytes.size() - at) return std::nullopt;
        const std::string_view value = bytes.substr(at, length);
        at += length;
        constexpr std::uint32_t kind_bits = 0x6;  // 0: UTF-8 text, 1: binary, 2: link
        if ((flags & kind_bits) != 0) continue;
        // Several values of one item are separated by NUL: the first counts.
        take_value(fields, key, value.substr(0, value.find('\0')), dated);
    }
    return fields;
}

}  // namespace varnel
