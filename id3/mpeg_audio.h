// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recognising MPEG audio frames, to tell where a damaged ID3v2 tag ends.

#include <cstddef>
#include <optional>
#include <string_view>

namespace varnel {

// The length of the MPEG audio frame whose 4-byte header starts `bytes`:
// frame sync (11 bits set), a version, layer, bit rate and sample rate that
// are not reserved. 0 for a valid header of free bit rate (length unknown);
// nullopt when `bytes` does not start with a valid header.
[[nodiscard]] std::optional<std::size_t> mpeg_frame_length(std::string_view bytes);

// Whether `bytes` plainly start with MPEG audio: a valid frame header, and
// where the frame's length is known and `bytes` reach that far, another
// valid header right after the frame.
[[nodiscard]] bool starts_with_mpeg_audio(std::string_view bytes);

}  // namespace varnel
