// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tag templates such as "#1-#3-#5-#2": placeholders #1..#6 stand for tag
// fields, everything else is literal text. Code-page bytes throughout.

#include <string>
#include <string_view>
#include <vector>

#include "id3/tag_fields.h"

namespace varnel {

// A parsed template: literal[j] comes before placeholder kind[j] (1..6);
// the last entry's kind is 0 (the end) and its literal is the tail.
struct TagTemplate {
    std::vector<std::string> literal;
    std::vector<int> kind;
};

// Byte by byte: "#" followed by a digit 1..6 is a placeholder, and after
// one a further digit 1..6 is another ("#12" is #1 then #2); "#" followed by
// anything else stays literal together with that byte.
[[nodiscard]] TagTemplate parse_tag_template(std::string_view text);

// The template with each placeholder replaced by its field: #1 artist, #2
// title, #3 album, #4 track, #5 year, #6 genre. Fields are inserted as they are.
[[nodiscard]] std::string compose_tag_name(const TagTemplate& parsed, const TagFields& fields);

inline constexpr std::size_t tag_template_max_bytes = 50;

// The template cut to its first 50 bytes, never in the middle of a
// character (two or four bytes).
[[nodiscard]] std::string cut_tag_template(std::string_view text);

// The template as 参照编辑框 shows it: every #1 replaced by 艺术家, then
// every #2 by 歌曲名, #3 专辑, #4 音轨, #5 年代, #6 流派.
[[nodiscard]] std::string tag_template_reference(std::string_view text);

// A placeholder button's click: "#d" for an empty template, else the
// template followed by "-#d".
[[nodiscard]] std::string append_placeholder(std::string_view text, int digit);

// The predefined schemes 0..3: "#1-#2", "#1-#3-#2", "#1-#3-#5-#2",
// "#1-#3-#5-#2-#4"; empty for any other index.
[[nodiscard]] std::string_view tag_scheme(int index);

// The word for placeholder #1..#6 (digit 0..5) in the current language: "艺术家",
// "歌曲名", "专辑", "音轨", "年代", "流派" (code page).
[[nodiscard]] const std::string& placeholder_word(int digit);

}  // namespace varnel
