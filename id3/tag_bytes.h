// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers in ID3v2 tag bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace varnel {

// An ID3v2 tag header (and footer): "ID3", version, flags and the syncsafe
// size of what follows.
inline constexpr std::size_t id3v2_header_size = 10;

[[nodiscard]] inline std::uint8_t byte_at(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

// `bytes` read as a big-endian number (at most four bytes).
[[nodiscard]] inline std::uint32_t big_endian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (const char c : bytes) value = (value << 8) | static_cast<std::uint8_t>(c);
    return value;
}

// Four bytes of seven bits each, most significant first; nullopt when a
// byte has its top bit set (then they are no syncsafe number).
[[nodiscard]] inline std::optional<std::uint32_t> syncsafe(std::string_view four) {
    std::uint32_t value = 0;
    for (const char c : four) {
        if (static_cast<std::uint8_t>(c) & 0x80) return std::nullopt;
        value = (value << 7) | static_cast<std::uint8_t>(c);
    }
    return value;
}

}  // namespace varnel
