// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/tags_from_name.h"

#include <gtest/gtest.h>

#include "platform/codec.h"

namespace varnel {
namespace {

TEST(TagsFromName, MatchesNamesAsTheTemplateWouldHaveMadeThem) {
    const Codec codec;
    const auto gb = [&](const char* utf8) { return codec.from_utf8(utf8).value(); };
    struct Case {
        const char* tag_template;
        const char* name;
        // artist, title, album, track, year, genre (UTF-8); which are named
        std::array<const char*, 6> fields;
        std::array<bool, 6> named;
    } cases[] = {
        {"#1 - #2", "歌手 - 歌名.mp3", {"歌手", "歌名", "", "", "", ""}, {1, 1, 0, 0, 0, 0}},
        {"#1-#2", "歌手 - 歌名.flac", {"歌手", "歌名", "", "", "", ""}, {1, 1, 0, 0, 0, 0}},
        {"#1 - #2", "A - B - C.mp3", {"A", "B - C", "", "", "", ""}, {1, 1, 0, 0, 0, 0}},
        {"#4. #1-#2",
         "03. Beyond-海阔天空.ogg",
         {"Beyond", "海阔天空", "", "03", "", ""},
         {1, 1, 0, 1, 0, 0}},
        {"[#5] #3/#2",
         "[1991] Live/Amani",
         {"", "Amani", "Live", "", "1991", ""},
         {0, 1, 1, 0, 1, 0}},
        {"#1-#3-#5-#2-#4",
         "a-b-1999-c-7.mp3",
         {"a", "c", "b", "7", "1999", ""},
         {1, 1, 1, 1, 1, 0}},
        {"#6_#1_#6", "Rock_X_Rock.wav", {"X", "", "", "", "", "Rock"}, {1, 0, 0, 0, 0, 1}},
        {"#2", "only.title.m4a", {"", "only.title", "", "", "", ""}, {0, 1, 0, 0, 0, 0}},
        {"#2", "no extension", {"", "no extension", "", "", "", ""}, {0, 1, 0, 0, 0, 0}},
        // "-" is never the second byte of a two-byte character, but "@" is:
        // 丂 is 0x81 0x40 in GBK; the separator is found after it.
        {"#1@#2", "丂@x", {"丂", "x", "", "", "", ""}, {1, 1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tag_template) + " | " + c.name);
        const NameTags got = tags_from_name(gb(c.tag_template), gb(c.name));
        ASSERT_TRUE(got.matched()) << codec.to_utf8_lossy(got.reason);
        const std::string* fields[] = {&got.fields.artist, &got.fields.title, &got.fields.album,
                                       &got.fields.track,  &got.fields.year,  &got.fields.genre};
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_EQ(codec.to_utf8_lossy(*fields[i]), c.fields[i]) << i;
        EXPECT_EQ(got.named, c.named);
        EXPECT_TRUE(got.fields.comment.empty());
    }
}

TEST(TagsFromName, NamesThatDoNotMatchGiveNothingAndAReason) {
    const Codec codec;
    const auto gb = [&](const char* utf8) { return codec.from_utf8(utf8).value(); };
    const std::pair<const char*, const char*> cases[] = {
        {"#1 - #2", "歌手-歌名.mp3"},   // separator missing
        {"#1 - #2", " - 歌名.mp3"},     // empty artist
        {"#1 - #2", "歌手 - .mp3"},     // empty title
        {"(#1) #2", "歌手 歌名.mp3"},   // beginning missing
        {"#1 (#2)", "歌手 (歌名.mp3"},  // end missing
        {"#1#2", "歌手歌名.mp3"},       // nothing separates the fields
        {"歌名", "歌名.mp3"},           // no placeholder
        {"", "x.mp3"},                  // empty template
        {"#1-#1", "A-B.mp3"},           // one field, two texts
        {"#1@#2", "丂x"},               // '@' only inside a character
        {"#1 - #2 - #3", "a - b.mp3"},  // fewer parts than the template
    };
    for (const auto& [tag_template, name] : cases) {
        SCOPED_TRACE(std::string(tag_template) + " | " + name);
        const NameTags got = tags_from_name(gb(tag_template), gb(name));
        EXPECT_FALSE(got.matched());
        EXPECT_EQ(got.fields, TagFields{});
    }
}

}  // namespace
}  // namespace varnel
