// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/insert_rule.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "platform/code_page_chars.h"
#include "rename/name_text.h"

namespace varnel {
namespace {

// Appends `part` with `text` inserted at 0-based byte offset `x` (clamped to
// the part), moved forward to a character start so that no character is
// split.
void append_inserted(std::string& out, std::string_view part, std::int64_t x,
                     std::string_view text) {
    const auto clamped = static_cast<std::size_t>(std::clamp<std::int64_t>(x, 0, length(part)));
    const std::size_t at = char_boundary_at_or_after(part, clamped);
    out.append(part.substr(0, at)).append(text).append(part.substr(at));
}

void append_ext(std::string& out, std::string_view ext, const InsertOptions& o,
                std::int64_t position) {
    if (ext.empty()) {
        // Either choice creates a new extension from a non-empty text.
        if (!o.ext_text.empty()) out.append(".").append(o.ext_text);
    } else if (o.ext_at_end) {
        out.append(ext).append(o.ext_text);
    } else {
        // Position M is counted after the dot: byte offset M of the extension,
        // so 0 puts the text before the dot.
        append_inserted(out, ext, position, o.ext_text);
    }
}

}  // namespace

void compute_new_names(const InsertOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names) {
    const std::size_t n = std::min(old_names.size(), new_names.size());
    const std::int64_t main_at = std::int64_t{to_integer(options.position)} - 1;
    const std::int64_t ext_at = to_integer(options.ext_position);
    const std::size_t extra = options.text.size() + options.ext_text.size() + 1;
    for (std::size_t i = 0; i < n; ++i) {
        const NameParts parts = split_name(old_names[i]);
        std::string& name = new_names[i];
        name.clear();
        name.reserve(old_names[i].size() + extra);
        if (options.at_end) {
            name.append(parts.main).append(options.text);
        } else {
            append_inserted(name, parts.main, main_at, options.text);
        }
        append_ext(name, parts.ext, options, ext_at);
    }
}

}  // namespace varnel
