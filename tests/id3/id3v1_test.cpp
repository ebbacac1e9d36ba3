// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v1.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::fake_audio;
using test::id3v1_block;

class Id3v1Test : public ::testing::Test {
protected:
    // Writes `bytes` as the test file and opens it.
    ByteFile file_with(const std::string& bytes, bool writable = false) {
        dir_.write_file("a.mp3", bytes);
        auto file = writable ? ByteFile::open_read_write(path()) : ByteFile::open_read(path());
        if (!file) throw std::runtime_error("cannot open the test file");
        return std::move(*file);
    }
    std::string path() const { return dir_.path() + "a.mp3"; }
    std::string content() const { return dir_.read_file("a.mp3"); }

    // The fields read from `bytes`; throws when the reader finds no tag.
    TagFields read(const std::string& bytes) {
        ByteFile file = file_with(bytes);
        TagFields fields;
        if (!read_id3v1_tag(file, fields)) throw std::runtime_error("no tag found");
        return fields;
    }

    test::TempDir dir_;
};

// A block whose byte `at` onwards is replaced by `bytes`.
std::string block_with(std::size_t at, std::string_view bytes) {
    std::string block = id3v1_block("");
    block.replace(at, bytes.size(), bytes);
    return block;
}

TEST_F(Id3v1Test, FindsTheTagOnlyInTheLast128Bytes) {
    {
        ByteFile file = file_with(fake_audio(500) + id3v1_block("x"));
        EXPECT_TRUE(has_id3v1_tag(file));
    }
    {
        ByteFile file = file_with(id3v1_block("x") + fake_audio(1));
        EXPECT_FALSE(has_id3v1_tag(file));
    }
    {
        ByteFile file = file_with(id3v1_block("x").substr(0, 127));
        EXPECT_FALSE(has_id3v1_tag(file));
    }
    {
        ByteFile file = file_with(id3v1_block("x"));  // the tag alone is a whole file
        EXPECT_TRUE(has_id3v1_tag(file));
    }
}

TEST_F(Id3v1Test, ReadsTheSevenFieldsAndLeavesTheOthers) {
    ByteFile file =
        file_with(fake_audio(300) + id3v1_block("Title", "Artist", "Album", "1999", "Nice", 7, 17));
    TagFields fields;
    fields.composer = "kept";
    fields.url = "kept too";
    ASSERT_TRUE(read_id3v1_tag(file, fields));
    TagFields expected;
    expected.title = "Title";
    expected.artist = "Artist";
    expected.album = "Album";
    expected.year = "1999";
    expected.comment = "Nice";
    expected.track = "7";
    expected.genre = "17";  // the number, not the name
    expected.composer = "kept";
    expected.url = "kept too";
    EXPECT_EQ(fields, expected);
}

TEST_F(Id3v1Test, LeavesTheRecordUntouchedWithoutATag) {
    TagFields fields;
    fields.title = "before";
    for (const std::string& bytes : {fake_audio(400), std::string("TAG"), std::string()}) {
        ByteFile file = file_with(bytes);
        EXPECT_FALSE(read_id3v1_tag(file, fields));
        EXPECT_EQ(fields.title, "before");
    }
}

TEST_F(Id3v1Test, TextEndsAtTheFirstZeroOrFillsTheField) {
    EXPECT_EQ(read(block_with(3, std::string("Abcd") + std::string(26, '\0'))).title, "Abcd");
    EXPECT_EQ(read(block_with(3, std::string("Ab\0cd", 5))).title, "Ab");
    EXPECT_EQ(read(block_with(33, std::string(30, 'z'))).artist, std::string(30, 'z'));
    EXPECT_EQ(read(block_with(93, "2024")).year, "2024");
}

TEST_F(Id3v1Test, TrimsHalfAndFullWidthSpacesFromTitleArtistAndAlbum) {
    EXPECT_EQ(read(block_with(3, "Abcd" + std::string(26, ' '))).title, "Abcd");
    EXPECT_EQ(read(block_with(33, "\xA1\xA1  a b \xA1\xA1 ")).artist, "a b");
    EXPECT_EQ(read(block_with(63, std::string(30, ' '))).album, "");
    // Year and comment keep their spaces.
    EXPECT_EQ(read(block_with(93, " 99 ")).year, " 99 ");
    EXPECT_EQ(read(block_with(97, " c ")).comment, " c ");
}

TEST_F(Id3v1Test, TrimmingNeverCutsIntoATwoByteCharacter) {
    // C4 A1 is one character; the A1 A1 after it is a full-width space.
    EXPECT_EQ(read(block_with(3, "\xC4\xA1\xA1\xA1")).title, "\xC4\xA1");
    // The trail byte A1 of B0 A1 and a lone A1 are no space.
    EXPECT_EQ(read(block_with(3, "\xB0\xA1\xA1")).title, "\xB0\xA1\xA1");
}

TEST_F(Id3v1Test, Version11HasATrackAndA28ByteComment) {
    std::string block = block_with(97, std::string(30, 'c'));
    block[125] = '\0';
    block[126] = 7;
    TagFields fields = read(block);
    EXPECT_EQ(fields.track, "7");
    EXPECT_EQ(fields.comment, std::string(28, 'c'));

    block[126] = 0;
    EXPECT_EQ(read(block).track, "");

    block[126] = '\xFF';
    EXPECT_EQ(read(block).track, "255");
}

TEST_F(Id3v1Test, Version10HasA30ByteCommentAndNoTrack) {
    TagFields fields = read(block_with(97, std::string(30, 'c')));
    EXPECT_EQ(fields.comment, std::string(30, 'c'));
    EXPECT_EQ(fields.track, "");
}

TEST_F(Id3v1Test, GenreIsTheByteInDecimal) {
    EXPECT_EQ(read(id3v1_block("", "", "", "", "", 0, 255)).genre, "255");
    EXPECT_EQ(read(id3v1_block("", "", "", "", "", 0, 17)).genre, "17");
    EXPECT_EQ(read(id3v1_block("", "", "", "", "", 0, 0)).genre, "0");
}

TEST_F(Id3v1Test, WritingAppendsToAFileWithoutATag) {
    const std::string audio = fake_audio(1000);
    {
        ByteFile file = file_with(audio, true);
        ASSERT_TRUE(write_id3v1_tag(file, "T", "Ar", "Al", "2001", "C", 5, 17));
    }
    EXPECT_EQ(content(), audio + id3v1_block("T", "Ar", "Al", "2001", "C", 5, 17));
}

TEST_F(Id3v1Test, WritingReplacesAnExistingTag) {
    const std::string audio = fake_audio(1000);
    {
        ByteFile file = file_with(audio + id3v1_block("Old title", "Old artist", "Old album",
                                                      "1900", "Old comment", 9, 3),
                                  true);
        ASSERT_TRUE(write_id3v1_tag(file, "New", "", "", "", "", 0, 255));
    }
    EXPECT_EQ(content(), audio + id3v1_block("New"));
}

TEST_F(Id3v1Test, WrittenTagReadsBack) {
    ByteFile file = file_with(fake_audio(200), true);
    ASSERT_TRUE(write_id3v1_tag(file, "Title", "Artist", "Album", "1987", "Comment", 0, 255));
    TagFields fields;
    ASSERT_TRUE(read_id3v1_tag(file, fields));
    EXPECT_EQ(fields.title, "Title");
    EXPECT_EQ(fields.comment, "Comment");
    EXPECT_EQ(fields.track, "");  // track 0 is written as byte 0
    EXPECT_EQ(fields.genre, "255");
}

TEST_F(Id3v1Test, WritingKeepsTheLow8BitsOfTrackAndGenre) {
    ByteFile file = file_with("", true);
    ASSERT_TRUE(write_id3v1_tag(file, "", "", "", "", "", 256 + 3, -1));
    const std::string written = content();
    EXPECT_EQ(written[126], 3);
    EXPECT_EQ(written[127], '\xFF');
}

TEST_F(Id3v1Test, LongTextsAreCutToTheirFieldAndNeverSpill) {
    ByteFile file = file_with("", true);
    ASSERT_TRUE(write_id3v1_tag(file, std::string(40, 't'), std::string(31, 'a'),
                                std::string(30, 'b'), "20011", std::string(40, 'c'), 9, 1));
    const std::string written = content();
    ASSERT_EQ(written.size(), 128u);
    EXPECT_EQ(written.substr(3, 30), std::string(30, 't'));
    EXPECT_EQ(written.substr(33, 30), std::string(30, 'a'));
    EXPECT_EQ(written.substr(63, 30), std::string(30, 'b'));
    EXPECT_EQ(written.substr(93, 4), "2001");
    // The 29th comment byte lands on offset 125; the 30th is the track's place.
    EXPECT_EQ(written.substr(97, 29), std::string(29, 'c'));
    EXPECT_EQ(written[126], 9);
    EXPECT_EQ(written[127], 1);
}

TEST_F(Id3v1Test, CuttingNeverSplitsATwoByteCharacter) {
    const std::string chinese = "\xD6\xD0";  // one character
    ByteFile file = file_with("", true);
    ASSERT_TRUE(write_id3v1_tag(file, std::string(29, 't') + chinese,
                                "a" + chinese + std::string(28, 'a'), "", "1" + chinese + "2",
                                std::string(28, 'c') + chinese, 4, 0));
    const std::string written = content();
    EXPECT_EQ(written.substr(3, 30), std::string(29, 't') + '\0');
    EXPECT_EQ(written.substr(33, 30), "a" + chinese + std::string(27, 'a'));
    EXPECT_EQ(written.substr(93, 4), "1" + chinese + "2");
    EXPECT_EQ(written.substr(90, 3), std::string(3, '\0'));  // album stays empty
    // Cut before the character, the comment leaves offset 125 zero: a clean
    // version 1.1 tag.
    TagFields fields;
    ASSERT_TRUE(read_id3v1_tag(file, fields));
    EXPECT_EQ(fields.comment, std::string(28, 'c'));
    EXPECT_EQ(fields.track, "4");
}

// GB18030 four-byte characters (81 30 81 30 is U+0080; 95 32 82 36 an
// emoji) are one character each: a cut keeps or drops them whole.
TEST_F(Id3v1Test, CuttingNeverSplitsAFourByteCharacter) {
    const std::string four = "\x81\x30\x81\x30";
    const std::string emoji = "\x95\x32\x82\x36";
    ByteFile file = file_with("", true);
    ASSERT_TRUE(write_id3v1_tag(file, std::string(27, 't') + four, std::string(26, 'a') + emoji, "",
                                "", "", 0, 0));
    const std::string written = content();
    EXPECT_EQ(written.substr(3, 30), std::string(27, 't') + std::string(3, '\0'));
    EXPECT_EQ(written.substr(33, 30), std::string(26, 'a') + emoji);
}

TEST_F(Id3v1Test, WritingFailsOnAFileOpenForReadingOnly) {
    const std::string audio = fake_audio(300);
    dir_.write_file("a.mp3", audio);
    auto file = ByteFile::open_read(path());
    ASSERT_TRUE(file);
    EXPECT_FALSE(write_id3v1_tag(*file, "T", "", "", "", "", 0, 0));
    EXPECT_EQ(content(), audio);
}

TEST_F(Id3v1Test, RemovingCutsTheLast128Bytes) {
    const std::string audio = fake_audio(777);
    {
        ByteFile file = file_with(audio + id3v1_block("x"), true);
        EXPECT_TRUE(remove_id3v1_tag(file));
        EXPECT_FALSE(has_id3v1_tag(file));
    }
    EXPECT_EQ(content(), audio);
}

TEST_F(Id3v1Test, RemovingWithoutATagSucceedsAndChangesNothing) {
    for (const std::string& bytes : {fake_audio(777), std::string("TA")}) {
        {
            ByteFile file = file_with(bytes, true);
            EXPECT_TRUE(remove_id3v1_tag(file));
        }
        EXPECT_EQ(content(), bytes);
    }
}

TEST_F(Id3v1Test, RemovingFailsOnAFileOpenForReadingOnly) {
    const std::string bytes = fake_audio(10) + id3v1_block("x");
    ByteFile file = file_with(bytes);
    EXPECT_FALSE(remove_id3v1_tag(file));
    EXPECT_EQ(content(), bytes);
}

}  // namespace
}  // namespace varnel
