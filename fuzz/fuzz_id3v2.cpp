// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the ID3v2 reader over a file that holds the input, and
// the frame look-up over the input bytes themselves. Aborts when a text
// comes out longer than the bytes could make.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/memory_file.h"
#include "id3/id3v2_reader.h"

namespace {

volatile std::size_t sink;  // keeps the results from being optimised away

// A UTF-16 code unit becomes at most four code-page bytes.
void check_text(const std::string& text, std::string_view from) {
    if (text.size() > 2 * from.size()) std::abort();
    sink = sink + text.size();
}

void fuzz_file(std::string_view input, const varnel::Codec& codec) {
    std::optional<varnel::ByteFile> file = varnel::fuzz::file_holding(input);
    if (!file) return;
    sink = sink + varnel::has_id3v2_header(*file) + varnel::id3v2_tag_length(*file).value_or(0);
    varnel::TagFields fields;
    if (!varnel::read_id3v2_tag(*file, fields, codec)) return;
    for (const std::string* text : {&fields.title, &fields.comment, &fields.url, &fields.genre})
        check_text(*text, input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const varnel::Codec codec;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz_file(input, codec);
    constexpr std::array<std::string_view, 6> ids = {"TIT2", "COMM", "WXXX", "TT2", "COM", "WXX"};
    for (const std::string_view id : ids)
        check_text(varnel::find_frame_text(input, id, codec), input);
    return 0;
}
