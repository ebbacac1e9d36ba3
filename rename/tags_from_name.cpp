// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/tags_from_name.h"

#include "platform/code_page_chars.h"
#include "platform/language.h"
#include "rename/tag_template.h"

namespace varnel {

namespace {

std::string* field_of(TagFields& fields, int kind) {
    switch (kind) {
        case 1:
            return &fields.artist;
        case 2:
            return &fields.title;
        case 3:
            return &fields.album;
        case 4:
            return &fields.track;
        case 5:
            return &fields.year;
        default:
            return &fields.genre;
    }
}

// The first place at or after `from` where `part` starts at a character
// start of `text` (found by reading forward from byte 0, the only known
// start); npos when there is none.
std::size_t find_at_char_start(std::string_view text, std::string_view part, std::size_t from) {
    for (std::size_t at = 0;; at += char_size_at(text, at)) {
        if (at >= from && text.substr(at, part.size()) == part) return at;
        if (at >= text.size()) return std::string_view::npos;  // the end is a start too
    }
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

NameTags refused(std::string reason) {
    NameTags result;
    result.reason = std::move(reason);
    return result;
}

std::string missing(std::string_view literal) {
    return say("文件名与模板不符：缺少“", "The name does not match the template: “") +
           std::string(literal) + say("”", "” is missing");
}

// The reason the parsed template cannot be matched at all; empty when it can.
std::string template_fault(const TagTemplate& parsed) {
    if (parsed.kind.empty() || parsed.kind[0] == 0)
        return say("模板中没有占位符", "The template has no placeholder");
    for (std::size_t j = 1; j < parsed.kind.size(); ++j) {
        if (parsed.kind[j] != 0 && parsed.literal[j].empty())
            return say("模板中两个占位符之间没有分隔文字",
                       "The template has two placeholders with nothing between them");
    }
    return {};
}

}  // namespace

NameTags tags_from_name(std::string_view tag_template, std::string_view name) {
    const TagTemplate parsed = parse_tag_template(tag_template);
    if (std::string fault = template_fault(parsed); !fault.empty()) return refused(fault);
    const std::string_view main = name.substr(0, std::min(name.rfind('.'), name.size()));
    const std::string_view head = parsed.literal[0];
    if (main.substr(0, head.size()) != head) return refused(missing(head));
    // The tail text must end the name: the last field stops where it starts.
    const std::string_view tail = parsed.literal[parsed.kind.size() - 1];
    std::size_t tail_at = main.size() - std::min(tail.size(), main.size());
    if (main.size() < head.size() + tail.size() ||
        find_at_char_start(main, tail, tail_at) != tail_at)
        return refused(missing(tail));

    NameTags result;
    std::size_t at = head.size();
    for (std::size_t j = 0; parsed.kind[j] != 0; ++j) {
        const bool last = parsed.kind[j + 1] == 0;
        const std::size_t end =
            last ? tail_at : find_at_char_start(main, parsed.literal[j + 1], at);
        if (end == std::string_view::npos || end > tail_at)
            return refused(missing(parsed.literal[j + 1]));
        const std::string_view value = trimmed(main.substr(at, end - at));
        const int kind = parsed.kind[j];
        if (value.empty())
            return refused(say("文件名中“", "The name gives an empty ") +
                           placeholder_word(kind - 1) + say("”为空", ""));
        std::string& field = *field_of(result.fields, kind);
        if (result.named[static_cast<std::size_t>(kind - 1)] && field != value)
            return refused(placeholder_word(kind - 1) +
                           say("在文件名中出现两次，文字不同",
                               " appears twice in the name with different texts"));
        field = value;
        result.named[static_cast<std::size_t>(kind - 1)] = true;
        at = end + parsed.literal[j + 1].size();
    }
    return result;
}

}  // namespace varnel
