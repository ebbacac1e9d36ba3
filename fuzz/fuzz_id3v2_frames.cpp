// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the frame walk and the rebuilt frames of a tag edit over
// the input as old tag bytes. Aborts when a frame kept comes out of nowhere
// (more kept bytes than the input could give) or when the rebuilt frames do
// not walk back to the same frames.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "id3/id3v2_builder.h"
#include "id3/id3v2_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const varnel::Codec codec;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // UTF-8 text turned into UTF-16 at most doubles, plus marks per string.
    std::size_t kept = 0;
    for (const varnel::TagFrame& frame : varnel::read_frames(input)) kept += frame.data.size();
    if (kept > 4 * size + 64) std::abort();
    varnel::TagFields fields;
    fields.title = "t";
    const varnel::BuiltFrames built = varnel::build_id3v2_frames(fields, input, {}, codec);
    const std::string tag = varnel::wrap_id3v2_tag(built.frames, 16);
    if (tag.empty()) return 0;
    std::size_t walked = 0;
    for (const varnel::TagFrame& frame : varnel::read_frames(tag)) walked += 10 + frame.data.size();
    if (walked != built.frames.size()) std::abort();
    return 0;
}
