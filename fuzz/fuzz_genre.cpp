// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: making a TCON text readable. Aborts when the result is
// longer than both the input and every genre name.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "id3/id3v2_reader.h"

namespace {
volatile std::size_t sink;                      // keeps the results from being optimised away
constexpr std::size_t longest_genre_name = 17;  // "Techno-Industrial", "Instrumental Rock"
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string resolved = varnel::resolve_genre_text(text);
    if (resolved.size() > text.size() && resolved.size() > longest_genre_name) std::abort();
    sink = sink + resolved.size();
    return 0;
}
