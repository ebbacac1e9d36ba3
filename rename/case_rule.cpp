// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/case_rule.h"

#include <algorithm>

#include "platform/code_page_chars.h"
#include "platform/language.h"
#include "rename/latin_letters.h"
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

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// One character of a title-cased part: `in_word` tells whether a letter or
// digit of the same word came before it, and is updated.
void append_title_char(std::string& out, std::string_view character, bool& in_word) {
    static const std::string& right_quote = code_page("’");
    if (character.size() == 1) {
        const char c = character[0];
        if (is_upper(c) || is_lower(c)) {
            out += in_word ? to_lower_char(c) : to_upper_char(c);
            in_word = true;
            return;
        }
        if (is_digit(c))
            in_word = true;
        else if (c != '\'')
            in_word = false;
        out += c;
        return;
    }
    if (const LatinLetter* letter = latin_letter(character)) {
        out += in_word ? letter->lower : letter->upper;
        in_word = true;
        return;
    }
    if (character != right_quote) in_word = false;
    out += character;
}

void append_title_cased(std::string& out, std::string_view part) {
    bool in_word = false;
    for_each_char(part, [&](std::size_t at, std::size_t size) {
        append_title_char(out, part.substr(at, size), in_word);
    });
}

// Appends `part` converted; title_case may change its length.
void append_converted(std::string& out, std::string_view part, CaseChoice choice) {
    if (choice == CaseChoice::title_case) return append_title_cased(out, part);
    const std::size_t begin = out.size();
    out += part;
    convert(out, begin, out.size(), choice);
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
        if (options.name == CaseChoice::title_case || options.ext == CaseChoice::title_case) {
            const std::string_view old_name = old_names[i];
            name.clear();
            append_converted(name, old_name.substr(0, main_size), options.name);
            append_converted(name, old_name.substr(main_size), options.ext);
            continue;
        }
        name.assign(old_names[i]);
        convert(name, 0, main_size, options.name);
        convert(name, main_size, name.size(), options.ext);
    }
}

}  // namespace varnel
