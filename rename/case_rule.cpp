// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/case_rule.h"

#include <algorithm>

#include "platform/code_page_chars.h"
#include "rename/name_text.h"

namespace varnel {
namespace {

bool is_upper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool is_lower(char c) {
    return c >= 'a' && c <= 'z';
}
char to_upper_char(char c) {
    return is_lower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}
char to_lower_char(char c) {
    return is_upper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// Converts the part [begin, end) of `name` in place. The part starts at a
// character start; bytes of two- and four-byte characters are never letters.
void convert(std::string& name, std::size_t begin, std::size_t end, CaseChoice choice) {
    const bool up = choice == CaseChoice::upper || choice == CaseChoice::first_upper;
    const bool first_only = choice == CaseChoice::first_upper || choice == CaseChoice::first_lower;
    const std::string_view part(name.data() + begin, end - begin);
    char* const text = name.data() + begin;
    for (std::size_t i = 0; i < part.size();) {
        if (static_cast<unsigned char>(part[i]) >= 0x80) {
            i += char_size_at(part, i);
            continue;
        }
        char& c = text[i++];
        if (!first_only || is_upper(c) || is_lower(c)) {
            c = up ? to_upper_char(c) : to_lower_char(c);
            if (first_only) return;
        }
    }
}

}  // namespace

void compute_new_names(const CaseOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names) {
    const std::size_t n = std::min(old_names.size(), new_names.size());
    for (std::size_t i = 0; i < n; ++i) {
        // Main name followed by extension is the old name itself, so both
        // parts are converted within one copy of it.
        const std::size_t main_size = split_name(old_names[i]).main.size();
        std::string& name = new_names[i];
        name.assign(old_names[i]);
        convert(name, 0, main_size, options.name);
        convert(name, main_size, name.size(), options.ext);
    }
}

}  // namespace varnel
