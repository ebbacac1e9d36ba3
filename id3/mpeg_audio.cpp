// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/mpeg_audio.h"

#include <array>
#include <cstdint>

namespace varnel {
namespace {

// Kilobits per second by bit-rate index (1..14) for MPEG-1 layers 1, 2, 3
// and MPEG-2/2.5 layer 1, layers 2 and 3.
constexpr std::array<std::array<int, 15>, 5> bit_rates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
}};
constexpr std::array<int, 3> mpeg1_sample_rates = {44100, 48000, 32000};

}  // namespace

std::optional<std::size_t> mpeg_frame_length(std::string_view bytes) {
    if (bytes.size() < 4) return std::nullopt;
    const auto b1 = static_cast<std::uint8_t>(bytes[1]);
    const auto b2 = static_cast<std::uint8_t>(bytes[2]);
    if (static_cast<std::uint8_t>(bytes[0]) != 0xFF || (b1 & 0xE0) != 0xE0) return std::nullopt;
    const int version = (b1 >> 3) & 3;      // 0: 2.5, 2: 2, 3: 1; 1 reserved
    const int layer = 4 - ((b1 >> 1) & 3);  // 4: reserved
    const int rate_index = b2 >> 4;
    const int sample_index = (b2 >> 2) & 3;
    if (version == 1 || layer == 4 || rate_index == 15 || sample_index == 3) return std::nullopt;
    if (rate_index == 0) return 0;
    const bool mpeg1 = version == 3;
    const std::size_t table = mpeg1 ? static_cast<std::size_t>(layer - 1) : (layer == 1 ? 3 : 4);
    const long bit_rate = bit_rates[table][static_cast<std::size_t>(rate_index)] * 1000L;
    const long sample_rate =
        mpeg1_sample_rates[static_cast<std::size_t>(sample_index)] / (version == 3   ? 1
                                                                      : version == 2 ? 2
                                                                                     : 4);
    const long padding = (b2 >> 1) & 1;
    if (layer == 1) return static_cast<std::size_t>((12 * bit_rate / sample_rate + padding) * 4);
    const long per_frame = layer == 3 && !mpeg1 ? 72 : 144;
    return static_cast<std::size_t>(per_frame * bit_rate / sample_rate + padding);
}

bool starts_with_mpeg_audio(std::string_view bytes) {
    const std::optional<std::size_t> length = mpeg_frame_length(bytes);
    if (!length) return false;
    if (*length == 0 || bytes.size() < *length + 4) return true;
    return mpeg_frame_length(bytes.substr(*length)).has_value();
}

}  // namespace varnel
