// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tags from names: the inverse of the tag template. "#1 - #2" applied to
// "歌手 - 歌名.mp3" gives artist "歌手" and title "歌名"; the literal text
// between placeholders separates the fields. Code-page bytes throughout.

#include <array>
#include <string>
#include <string_view>

#include "id3/tag_fields.h"

namespace varnel {

struct NameTags {
    // The fields the template names (#1 artist, #2 title, #3 album, #4
    // track, #5 year, #6 genre); every other field empty.
    TagFields fields;
    // named[k - 1]: placeholder #k occurs in the template.
    std::array<bool, 6> named{};
    // Empty when the name matched; otherwise why not, for people, and
    // `fields` is empty.
    std::string reason;

    [[nodiscard]] bool matched() const { return reason.empty(); }
};

// Matches the main name of `name` (the text before its last '.'; the
// whole name when it has none) against `tag_template` (parsed as the tag
// rule parses it). The text before the first placeholder must begin the
// name and the text after the last must end it; each separator is found
// at its first place after the field before it, so the last field takes
// any later copy of a separator ("A - B - C" with "#1 - #2": title
// "B - C"). Separators are found at character starts only. Fields are
// trimmed of spaces at both ends. No match, with its reason, for: a
// template without placeholders; two placeholders with no text between
// them; a separator or the beginning or end text missing from the name; a
// field that is empty; a placeholder used twice for different texts.
[[nodiscard]] NameTags tags_from_name(std::string_view tag_template, std::string_view name);

}  // namespace varnel
