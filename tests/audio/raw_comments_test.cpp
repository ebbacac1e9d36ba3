// SPDX-License-Identifier: GPL-3.0-or-later
// Vorbis comment blocks and APEv2 items as hostile or odd files hold them,
// and the legacy texts inside.

#include "audio/raw_comments.h"

#include <gtest/gtest.h>

#include "audio/legacy_text.h"
#include "support/bytes.h"

namespace varnel {
namespace {

using test::le32;

std::string vorbis_block(const std::vector<std::string>& comments) {
    std::string block = le32(4) + "none" + le32(static_cast<std::uint32_t>(comments.size()));
    for (const std::string& c : comments) block += le32(static_cast<std::uint32_t>(c.size())) + c;
    return block;
}

std::string ape_item(const std::string& key, const std::string& value, std::uint32_t flags = 0) {
    return le32(static_cast<std::uint32_t>(value.size())) + le32(flags) + key + '\0' + value;
}

TEST(VorbisCommentFields, TakesTheFirstValueOfEachKeyInAnyCase) {
    const std::optional<TagFields> f = vorbis_comment_fields(vorbis_block(
        {"artist=A", "ARTIST=second", "Title=T", "no equals sign", "ALBUM=x=y", "TRACKNUMBER=3/12",
         "YEAR=1990", "DATE=1991-05-01", "GENRE=", "GENRE=Rock", "COMMENT=c"}));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->artist, "A");
    EXPECT_EQ(f->title, "T");
    EXPECT_EQ(f->album, "x=y");
    EXPECT_EQ(f->track, "3/12");
    EXPECT_EQ(f->year, "1991-05-01");  // a date outranks a year given before it
    EXPECT_EQ(f->genre, "Rock");       // an empty first value counts as none
    EXPECT_TRUE(f->comment.empty());
}

TEST(VorbisCommentFields, RefusesBlocksCutShort) {
    const std::string whole = vorbis_block({"ARTIST=A", "TITLE=T"});
    for (const std::string& cut :
         {std::string(), whole.substr(0, 3), whole.substr(0, 9), whole.substr(0, 15),
          whole.substr(0, whole.size() - 1), le32(0xFFFFFFFF) + "x",
          le32(0) + le32(1) + le32(0xFFFFFFF0) + "ARTIST=A"}) {
        SCOPED_TRACE(cut.size());
        EXPECT_FALSE(vorbis_comment_fields(cut));
    }
    EXPECT_TRUE(vorbis_comment_fields(whole));
}

TEST(ApeItemFields, ReadsTextItemsAndPassesOverOthers) {
    const std::string items = ape_item("Artist", "A\0second", 0) + ape_item("TITLE", "T") +
                              ape_item("Album", "binary", 2) + ape_item("Genre", "link", 4) +
                              ape_item("track", "3/12") + ape_item("Year", "1991");
    const std::optional<TagFields> f = ape_item_fields(items, 6);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->artist, "A");
    EXPECT_EQ(f->title, "T");
    EXPECT_EQ(f->album, "");
    EXPECT_EQ(f->genre, "");
    EXPECT_EQ(f->track, "3/12");
    EXPECT_EQ(f->year, "1991");
    EXPECT_FALSE(ape_item_fields(items, 7));                              // one more than there is
    EXPECT_FALSE(ape_item_fields(items.substr(0, items.size() - 1), 6));  // value cut
    EXPECT_FALSE(ape_item_fields(le32(1) + le32(0) + "Artist", 1));       // key never ends
}

TEST(ApeFooter, NeedsItsMarkLengthAndASaneSize) {
    const std::string footer =
        "APETAGEX" + le32(2000) + le32(100) + le32(3) + le32(0) + std::string(8, '\0');
    ASSERT_TRUE(ape_footer(footer));
    EXPECT_EQ(ape_footer(footer)->size, 100U);
    EXPECT_EQ(ape_footer(footer)->items, 3U);
    EXPECT_FALSE(ape_footer(footer.substr(0, 31)));
    EXPECT_FALSE(ape_footer("APETAGEY" + footer.substr(8)));
    EXPECT_FALSE(ape_footer("APETAGEX" + le32(2000) + le32(31) + footer.substr(16)));
}

TEST(LegacyText, ShowsGbkBytesAsTheirChineseWhateverTheFormatDeclares) {
    const Codec codec;
    const std::string gbk = "\xD6\xDC\xBD\xDC\xC2\xD7";  // 周杰伦 in GBK
    const std::string latin1_cafe = "Caf\xE9";
    struct Case {
        std::string bytes;
        std::string utf8_field;    // shown, as UTF-8, when declared UTF-8
        std::string latin1_field;  // ... declared Latin-1
        std::string unknown_field;
    } cases[] = {
        {"Beyond", "Beyond", "Beyond", "Beyond"},
        {gbk, "周杰伦", "周杰伦", "周杰伦"},
        // UTF-8 where Latin-1 is declared, not valid code-page text: Latin-1.
        {"周杰伦", "周杰伦", "å\u0091¨æ\u009d°ä¼¦", "周杰伦"},
        {latin1_cafe, "Caf", "Café", "Café"},
        {"\xFF\xFE", "", "ÿþ", "ÿþ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(codec.to_utf8_lossy(text_from_utf8_field(c.bytes, codec)), c.utf8_field);
        EXPECT_EQ(codec.to_utf8_lossy(text_from_latin1_field(c.bytes, codec)), c.latin1_field);
        EXPECT_EQ(codec.to_utf8_lossy(text_from_unknown_field(c.bytes, codec)), c.unknown_field);
    }
}

}  // namespace
}  // namespace varnel
