// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: parsing tag templates and composing names from them.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rename/tag_template.h"

namespace {
volatile std::size_t sink;  // keeps the results from being optimised away
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const varnel::TagTemplate parsed = varnel::parse_tag_template(text);
    varnel::TagFields fields;
    fields.artist = "a";
    fields.title = "t";
    sink = sink + varnel::compose_tag_name(parsed, fields).size() +
           varnel::cut_tag_template(text).size() + varnel::tag_template_reference(text).size();
    return 0;
}
