// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/tag_template.h"

#include "platform/code_page_chars.h"
#include "platform/language.h"
#include "rename/name_text.h"

namespace varnel {

namespace {

const std::string& field_of(const TagFields& fields, int kind) {
    switch (kind) {
        case 1:
            return fields.artist;
        case 2:
            return fields.title;
        case 3:
            return fields.album;
        case 4:
            return fields.track;
        case 5:
            return fields.year;
        default:
            return fields.genre;
    }
}

}  // namespace

const std::string& placeholder_word(int digit) {
    switch (digit) {
        case 0:
            return say("艺术家", "artist");
        case 1:
            return say("歌曲名", "title");
        case 2:
            return say("专辑", "album");
        case 3:
            return say("音轨", "track");
        case 4:
            return say("年代", "year");
        default:
            return say("流派", "genre");
    }
}

TagTemplate parse_tag_template(std::string_view text) {
    TagTemplate parsed;
    bool after_hash = false;
    std::size_t start = 0;  // 0-based start of the pending literal
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char byte = text[i];
        if (byte == '#') {
            after_hash = true;
        } else if (after_hash) {
            if (byte >= '1' && byte <= '6') {
                // The literal ends before the "#" that began this run; a
                // placeholder right after another has an empty literal.
                const std::size_t end = i >= start + 1 ? i - 1 : start;
                parsed.literal.emplace_back(text.substr(start, end > start ? end - start : 0));
                parsed.kind.push_back(byte - '0');
                start = i + 1;
            } else {
                after_hash = false;
            }
        }
    }
    parsed.literal.emplace_back(text.substr(std::min(start, text.size())));
    parsed.kind.push_back(0);
    return parsed;
}

std::string compose_tag_name(const TagTemplate& parsed, const TagFields& fields) {
    std::string name;
    for (std::size_t j = 0; j < parsed.kind.size(); ++j) {
        name += parsed.literal[j];
        if (parsed.kind[j] == 0) break;
        name += field_of(fields, parsed.kind[j]);
    }
    return name;
}

std::string cut_tag_template(std::string_view text) {
    return std::string(text.substr(0, whole_char_prefix(text, tag_template_max_bytes)));
}

std::string tag_template_reference(std::string_view text) {
    std::string shown(text);
    for (int digit = 0; digit < 6; ++digit) {
        const std::string pattern{'#', static_cast<char>('1' + digit)};
        shown = replace_all(shown, pattern, placeholder_word(digit), 1, true);
    }
    return shown;
}

std::string append_placeholder(std::string_view text, int digit) {
    std::string result(text);
    result += text.empty() ? "#" : "-#";
    result += static_cast<char>('0' + digit);
    return result;
}

std::string_view tag_scheme(int index) {
    static constexpr std::string_view schemes[4] = {"#1-#2", "#1-#3-#2", "#1-#3-#5-#2",
                                                    "#1-#3-#5-#2-#4"};
    return index >= 0 && index < 4 ? schemes[index] : std::string_view{};
}

}  // namespace varnel
