// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/tag_template.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

TagFields sample_fields() {
    TagFields fields;
    fields.artist = "Artist";
    fields.title = "Title";
    fields.album = "Album";
    fields.track = "7";
    fields.year = "1999";
    fields.genre = "Rock";
    return fields;
}

std::string compose(std::string_view text) {
    return compose_tag_name(parse_tag_template(text), sample_fields());
}

TEST(TagTemplate, PlaceholdersAndLiterals) {
    EXPECT_EQ(compose("#1-#2"), "Artist-Title");
    EXPECT_EQ(compose("#1-#3-#5-#2-#4 (#6)"), "Artist-Album-1999-Title-7 (Rock)");
    EXPECT_EQ(compose("#12"), "ArtistTitle");  // a second digit is another placeholder
    EXPECT_EQ(compose("#10"), "Artist0");      // ...unless it is not 1..6
    EXPECT_EQ(compose("#7#0#x"), "#7#0#x");    // literal "#" with its byte
    EXPECT_EQ(compose("##2"), "#Title");
    EXPECT_EQ(compose("no placeholder"), "no placeholder");
    EXPECT_EQ(compose("a#"), "a#");
    EXPECT_EQ(compose(""), "");
}

TEST(TagTemplate, EmptyFieldsLeaveOnlyTheLiterals) {
    const TagTemplate parsed = parse_tag_template("#1-#2");
    EXPECT_EQ(compose_tag_name(parsed, TagFields{}), "-");
    EXPECT_EQ(compose_tag_name(parse_tag_template("#1#2"), TagFields{}), "");
}

TEST(TagTemplate, CutToFiftyBytesWithoutSplittingACharacter) {
    const std::string sixty(60, 'a');
    EXPECT_EQ(cut_tag_template(sixty), std::string(50, 'a'));
    // 49 ASCII bytes, then a two-byte character across the limit.
    const std::string across = std::string(49, 'a') + "\xD6\xD0" + "b";
    EXPECT_EQ(cut_tag_template(across), std::string(49, 'a'));
    const std::string fits = std::string(48, 'a') + "\xD6\xD0" + "b";
    EXPECT_EQ(cut_tag_template(fits), std::string(48, 'a') + "\xD6\xD0");
    // A GB18030 four-byte character across the limit goes whole.
    const std::string four = std::string(47, 'a') + "\x81\x30\x81\x30" + "b";
    EXPECT_EQ(cut_tag_template(four), std::string(47, 'a'));
    EXPECT_EQ(cut_tag_template(std::string(46, 'a') + "\x81\x30\x81\x30" + "b"),
              std::string(46, 'a') + "\x81\x30\x81\x30");
}

TEST(TagTemplate, ReferenceButtonsAndSchemes) {
    // 艺术家-歌曲名
    EXPECT_EQ(tag_template_reference("#1-#2"), "\xD2\xD5\xCA\xF5\xBC\xD2-\xB8\xE8\xC7\xFA\xC3\xFB");
    EXPECT_EQ(tag_template_reference("#7"), "#7");
    EXPECT_EQ(append_placeholder("", 2), "#2");
    EXPECT_EQ(append_placeholder(append_placeholder("", 2), 2), "#2-#2");
    EXPECT_EQ(tag_scheme(3), "#1-#3-#5-#2-#4");
    EXPECT_EQ(tag_scheme(4), "");
}

}  // namespace
}  // namespace varnel
