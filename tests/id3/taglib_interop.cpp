// SPDX-License-Identifier: GPL-3.0-or-later
// Tags written here read by TagLib, and tags TagLib writes (versions 2.3
// and 2.4, every text encoding) read here. Built where TagLib is installed
// (Debian: libtag1-dev).
#include <gtest/gtest.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tstring.h>

#include <string>
#include <vector>

#include "id3/id3v2_reader.h"
#include "id3/id3v2_writer.h"
#include "support/command_output.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

std::string utf8_of(const TagLib::String& text) {
    return text.to8Bit(true);
}

TEST(TagLibReadsWrittenTags, UnicodeTextsExactlyGbkAsLatin1) {
    test::TempDir dir;
    Codec codec;
    TagFields fields;
    fields.title = codec.from_utf8("中文标题").value();
    fields.artist = codec.from_utf8("歌手").value();
    fields.album = "Album";
    fields.comment = codec.from_utf8("注释").value();
    for (const V2TextEncoding encoding : {V2TextEncoding::code_page, V2TextEncoding::unicode}) {
        dir.write_file("song.mp3", test::fake_audio(3000));
        const std::string path = dir.path() + "song.mp3";
        auto file = ByteFile::open_read_write(path);
        ASSERT_TRUE(file);
        ASSERT_TRUE(write_id3v2_tag(*file, path, fields, {encoding, false}, codec).ok);
        TagLib::MPEG::File read(path.c_str(), false);
        const TagLib::ID3v2::Tag* tag = read.ID3v2Tag();
        ASSERT_NE(tag, nullptr);
        const bool unicode = encoding == V2TextEncoding::unicode;
        EXPECT_EQ(utf8_of(tag->title()), unicode ? "中文标题" : test::latin1_to_utf8(fields.title));
        EXPECT_EQ(utf8_of(tag->artist()), unicode ? "歌手" : test::latin1_to_utf8(fields.artist));
        EXPECT_EQ(utf8_of(tag->album()), "Album");
        EXPECT_EQ(utf8_of(tag->comment()), unicode ? "注释" : test::latin1_to_utf8(fields.comment));
    }
}

struct Written {
    int version;  // 3 or 4
    TagLib::String::Type encoding;
    const char* name;
};

class TagLibWrittenTest : public ::testing::TestWithParam<Written> {};

TEST_P(TagLibWrittenTest, ReadsTheirTexts) {
    const Written& w = GetParam();
    test::TempDir dir;
    dir.write_file("song.mp3", test::fake_audio(3000));
    const std::string path = dir.path() + "song.mp3";
    const bool wide = w.encoding != TagLib::String::Latin1;
    const std::string title = wide ? "Title 中文" : "Title";
    const std::string artist = wide ? "Artist 歌手" : "Artist";
    const std::string comment = wide ? "Comment 评论" : "Comment";
    {
        TagLib::ID3v2::FrameFactory::instance()->setDefaultTextEncoding(w.encoding);
        TagLib::MPEG::File file(path.c_str(), false);
        TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
        tag->setTitle(TagLib::String(title, TagLib::String::UTF8));
        tag->setArtist(TagLib::String(artist, TagLib::String::UTF8));
        tag->setAlbum("Album");
        tag->setComment(TagLib::String(comment, TagLib::String::UTF8));
        tag->setYear(2001);
        tag->setTrack(3);
        tag->setGenre("Rock");
        ASSERT_TRUE(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                              w.version == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4));
        TagLib::ID3v2::FrameFactory::instance()->setDefaultTextEncoding(TagLib::String::Latin1);
    }
    Codec codec;
    auto file = ByteFile::open_read(path);
    ASSERT_TRUE(file);
    TagFields fields;
    ASSERT_TRUE(read_id3v2_tag(*file, fields, codec));
    EXPECT_EQ(fields.title, codec.from_utf8(title).value());
    EXPECT_EQ(fields.artist, codec.from_utf8(artist).value());
    EXPECT_EQ(fields.album, "Album");
    EXPECT_EQ(fields.comment, codec.from_utf8(comment).value());
    EXPECT_EQ(fields.year, "2001");
    EXPECT_EQ(fields.track, "3");
    EXPECT_EQ(fields.genre, "Rock");
}

INSTANTIATE_TEST_SUITE_P(WrittenByTagLib, TagLibWrittenTest,
                         ::testing::Values(Written{3, TagLib::String::Latin1, "v23_latin1"},
                                           Written{3, TagLib::String::UTF16, "v23_utf16"},
                                           Written{4, TagLib::String::Latin1, "v24_latin1"},
                                           Written{4, TagLib::String::UTF16, "v24_utf16"},
                                           Written{4, TagLib::String::UTF16BE, "v24_utf16be"},
                                           Written{4, TagLib::String::UTF8, "v24_utf8"}),
                         [](const ::testing::TestParamInfo<Written>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
}  // namespace varnel
