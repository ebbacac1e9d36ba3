// SPDX-License-Identifier: GPL-3.0-or-later
// The ID3v2.3 tag this program writes, byte for byte, and what writing and
// removing it do to the file's content; the in-place edits.
#include "id3/id3v2_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "id3/id3v2_reader.h"
#include "platform/codec.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace std::string_literals;

TagFields sample_fields() {
    TagFields f;
    f.title = "Title";
    f.artist = "Artist";
    f.album = "Album";
    f.track = "7";
    f.year = "1999";
    f.genre = "Rock";
    f.comment = "A comment";
    f.composer = "Composer";
    f.original_artist = "Original";
    f.copyright = "(c) someone";
    f.url = "http://example.org/";
    f.encoder = "Encoder";
    return f;
}

std::size_t text_bytes(const TagFields& f) {
    return f.title.size() + f.artist.size() + f.album.size() + f.track.size() + f.year.size() +
           f.genre.size() + f.comment.size() + f.composer.size() + f.original_artist.size() +
           f.copyright.size() + f.url.size() + f.encoder.size();
}

struct Frame {
    std::string id;
    std::uint32_t size;
    std::string flags;
    std::string data;
};

// Walks the frames of a tag from offset 10 up to the first zero byte.
std::vector<Frame> frames_of(const std::string& tag) {
    std::vector<Frame> frames;
    std::size_t at = 10;
    while (at + 10 <= tag.size() && tag[at] != '\0') {
        std::uint32_t size = 0;
        for (std::size_t i = 4; i < 8; ++i)
            size = (size << 8) | static_cast<std::uint8_t>(tag[at + i]);
        frames.push_back(
            {tag.substr(at, 4), size, tag.substr(at + 8, 2), tag.substr(at + 10, size)});
        at += 10 + size;
    }
    return frames;
}

TEST(BuildId3v2Tag, EmptyRecordGivesTheBare1024ByteTag) {
    const std::string text_frame_empty = "\0\0\0\x01\0\0\0"s;
    const std::string expected_frames =
        "ID3\x03\0\0\0\0\x07\x76"s + "TRCK" + text_frame_empty + "TENC\0\0\0\x01\x40\0\0"s +
        "WXXX\0\0\0\x02\0\0\0\0"s + "TCOP" + text_frame_empty + "TOPE" + text_frame_empty + "TCOM" +
        text_frame_empty + "COMM\0\0\0\x05\0\0\0CHS\0"s + "TCON" + text_frame_empty + "TYER" +
        text_frame_empty + "TALB" + text_frame_empty + "TPE1" + text_frame_empty + "TIT2" +
        text_frame_empty;
    ASSERT_EQ(expected_frames.size(), 147u);
    EXPECT_EQ(build_id3v2_tag(TagFields{}), expected_frames + std::string(877, '\0'));
}

TEST(BuildId3v2Tag, FramesCarryTheTextsInTheirOrder) {
    const TagFields f = sample_fields();
    const std::string tag = build_id3v2_tag(f);
    ASSERT_EQ(tag.size(), 1024 + text_bytes(f));
    const std::vector<Frame> frames = frames_of(tag);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"TRCK", "\0"s + f.track},
        {"TENC", "\0"s + f.encoder},
        {"WXXX", "\0\0"s + f.url},
        {"TCOP", "\0"s + f.copyright},
        {"TOPE", "\0"s + f.original_artist},
        {"TCOM", "\0"s + f.composer},
        {"COMM", "\0CHS\0"s + f.comment},
        {"TCON", "\0"s + f.genre},
        {"TYER", "\0"s + f.year},
        {"TALB", "\0"s + f.album},
        {"TPE1", "\0"s + f.artist},
        {"TIT2", "\0"s + f.title}};
    ASSERT_EQ(frames.size(), expected.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].id, expected[i].first);
        EXPECT_EQ(frames[i].data, expected[i].second) << frames[i].id;
        EXPECT_EQ(frames[i].size, expected[i].second.size()) << frames[i].id;
        EXPECT_EQ(frames[i].flags, frames[i].id == "TENC" ? "\x40\0"s : "\0\0"s) << frames[i].id;
    }
    // 877 bytes of padding close the tag.
    EXPECT_EQ(tag.substr(tag.size() - 877), std::string(877, '\0'));
    EXPECT_NE(tag[tag.size() - 878], '\0');
}

TEST(BuildId3v2Tag, TextsAreWrittenByteForByte) {
    TagFields f;
    f.title = "\xD6\xD0\xCE\xC4";  // GBK, no conversion, no terminator
    f.genre = "";
    const std::vector<Frame> frames = frames_of(build_id3v2_tag(f));
    ASSERT_EQ(frames.size(), 12u);
    EXPECT_EQ(frames[11].data, "\0\xD6\xD0\xCE\xC4"s);
    EXPECT_EQ(frames[7].id, "TCON");
    EXPECT_EQ(frames[7].size, 1u);
    EXPECT_EQ(frames[7].data, "\0"s);
}

TEST(BuildId3v2Tag, HeaderSizeIsSyncsafe) {
    const std::vector<std::pair<std::size_t, std::string>> cases = {
        {0, "\x00\x00\x07\x76"s},       // 1014
        {200, "\x00\x00\x09\x3E"s},     // 1214
        {20000, "\x00\x01\x24\x16"s}};  // 21014
    for (const auto& [texts, size_bytes] : cases) {
        TagFields f;
        f.comment = std::string(texts, 'c');
        const std::string tag = build_id3v2_tag(f);
        EXPECT_EQ(tag.size(), 1024 + texts);
        EXPECT_EQ(tag.substr(6, 4), size_bytes) << texts;
    }
}

TEST(BuildId3v2Tag, TextsBeyondTheSyncsafeRangeGiveNoTag) {
    constexpr std::size_t most = (std::size_t{1} << 28) - 1 - 1014;
    TagFields f;
    f.title = std::string(most - 4, 't');
    f.url = "abcd";
    const std::string largest = build_id3v2_tag(f);
    EXPECT_EQ(largest.size(), most + 1024);
    EXPECT_EQ(largest.substr(6, 4), "\x7F\x7F\x7F\x7F");
    f.url += 'e';
    EXPECT_EQ(build_id3v2_tag(f), "");
}

class Id3v2WriterTest : public testing::Test {
protected:
    std::string path() const { return temp_.path() + "song.mp3"; }
    void put(const std::string& content) const { temp_.write_file("song.mp3", content); }
    std::string content() const { return temp_.read_file("song.mp3"); }
    ino_t inode() const {
        struct stat info {};
        EXPECT_EQ(stat(path().c_str(), &info), 0);
        return info.st_ino;
    }
    bool write(const TagFields& fields) const {
        auto file = ByteFile::open_read_write(path());
        return file && write_id3v2_tag(*file, path(), fields);
    }
    bool remove() const {
        auto file = ByteFile::open_read_write(path());
        return file && remove_id3v2_tag(*file, path()).ok;
    }

    test::TempDir temp_;
    const std::string audio_ = test::fake_audio(20000) + test::id3v1_block("v1 title");
};

TEST_F(Id3v2WriterTest, FileWithoutTagGainsTheTagInFront) {
    put(audio_);
    const TagFields f = sample_fields();
    ASSERT_TRUE(write(f));
    EXPECT_EQ(content().size(), audio_.size() + 1024 + text_bytes(f));
    EXPECT_EQ(content(), build_id3v2_tag(f) + audio_);
    EXPECT_EQ(temp_.names(), std::vector<std::string>{"song.mp3"});
}

TEST_F(Id3v2WriterTest, WritingTwiceGivesTheSameFile) {
    put(audio_);
    ASSERT_TRUE(write(sample_fields()));
    const std::string once = content();
    ASSERT_TRUE(write(sample_fields()));
    EXPECT_EQ(content(), once);
}

// The twelve frames replace their old counterparts; other frames follow
// them; a tag that fits the old space is written there, its padding filling
// the rest, and one that does not gets the whole-file rewrite.
TEST_F(Id3v2WriterTest, OtherFramesStayAndAFittingTagKeepsTheOldSpace) {
    const TagFields f = sample_fields();
    const std::string fresh = build_id3v2_tag(f);
    const std::string twelve = fresh.substr(10, fresh.size() - 10 - 877);
    const std::string picture =
        test::id3v2_frame("APIC", "\0image/jpeg\0\x03\0"s + std::string(6000, '\xAB'));
    struct Case {
        std::string old_tag;
        std::string kept;  // the frames after the twelve
        bool fits;
    };
    const std::vector<Case> cases = {
        {test::id3v2_tag(test::text_frame("TIT2", "Old") + picture, 3, 300), picture, true},
        {test::id3v2_tag(test::text_frame("TIT2", "Old v2.4") + test::text_frame("TDRC", "2001"), 4,
                         0),
         "", false},
        {test::id3v2_tag(test::text_frame("TIT2", std::string(5000, 'x')), 3, 2000), "", true},
    };
    for (const Case& c : cases) {
        put(c.old_tag + audio_);
        ASSERT_TRUE(write(f));
        const std::string frames = twelve + c.kept;
        const std::string expected =
            c.fits ? wrap_id3v2_tag(frames, c.old_tag.size() - 10 - frames.size())
                   : wrap_id3v2_tag(frames, 877);
        EXPECT_EQ(content(), expected + audio_);
    }
}

// A version 2.4 footer ("3DI" and the header's size) belongs to the tag's
// space: it never stays in front of the audio.
TEST_F(Id3v2WriterTest, Version24FooterGoesWithTheOldTag) {
    std::string tag = test::id3v2_tag(test::text_frame("TIT2", std::string(2000, 'x')), 4, 0);
    tag[5] = '\x10';
    const std::string footer = "3DI" + tag.substr(3, 7);
    for (const std::string& title : {std::string("fits"), std::string(3000, 'g')}) {
        put(tag + footer + audio_);
        TagFields f;
        f.title = title;
        ASSERT_TRUE(write(f));
        const std::string written = content();
        ASSERT_GE(written.size(), audio_.size());
        EXPECT_EQ(written.substr(written.size() - audio_.size()), audio_) << title.size();
        EXPECT_EQ(written.find("3DI"), std::string::npos) << title.size();
        if (title == "fits") {
            EXPECT_EQ(written.size(), tag.size() + footer.size() + audio_.size());
        }
    }
}

TEST_F(Id3v2WriterTest, TagDeclaredLongerThanTheFileTakesAllOfIt) {
    put(test::id3v2_tag(test::text_frame("TIT2", "x"), 3, 100000).substr(0, 700));
    ASSERT_TRUE(write(sample_fields()));
    EXPECT_EQ(content(), build_id3v2_tag(sample_fields()));
}

TEST_F(Id3v2WriterTest, TooLongTextsFailWithoutTouchingTheFile) {
    put(audio_);
    TagFields f;
    f.comment = std::string((std::size_t{1} << 28) - 1014, 'c');
    EXPECT_FALSE(write(f));
    EXPECT_EQ(content(), audio_);
}

TEST_F(Id3v2WriterTest, RemovingCutsTheTagOff) {
    put(test::id3v2_tag(test::text_frame("TIT2", "Old"), 4, 50) + audio_);
    ASSERT_TRUE(remove());
    EXPECT_EQ(content(), audio_);
    EXPECT_EQ(temp_.names(), std::vector<std::string>{"song.mp3"});
}

TEST_F(Id3v2WriterTest, RemovingWithoutValidHeaderChangesNothing) {
    const std::vector<std::string> starts = {audio_, "ID3\xFF\0\0\0\0\0\x10"s + audio_,
                                             "ID3\x03\0\0\0\0\x80\0"s + audio_, "ID"s};
    for (const std::string& start : starts) {
        put(start);
        const ino_t before = inode();
        EXPECT_TRUE(remove());
        EXPECT_EQ(content(), start);
        EXPECT_EQ(inode(), before);  // not even rewritten
    }
}

TEST_F(Id3v2WriterTest, TheOpenFileFollowsTheRewrite) {
    put(audio_);
    auto file = ByteFile::open_read_write(path());
    ASSERT_TRUE(file);
    ASSERT_TRUE(write_id3v2_tag(*file, path(), sample_fields()));
    const std::string written = build_id3v2_tag(sample_fields()) + audio_;
    EXPECT_EQ(file->length().value_or(0), written.size());
    std::string seen(written.size(), '\0');
    ASSERT_TRUE(file->seek(0));
    ASSERT_TRUE(file->read_exact(seen.data(), seen.size()));
    EXPECT_EQ(seen, written);
    // A second call on the same object sees the first one's tag.
    ASSERT_TRUE(remove_id3v2_tag(*file, path()).ok);
    EXPECT_EQ(content(), audio_);
}

TEST_F(Id3v2WriterTest, FileMustBeThePath) {
    put(audio_);
    temp_.write_file("other.mp3", "other");
    auto other = ByteFile::open_read_write(temp_.path() + "other.mp3");
    ASSERT_TRUE(other);
    EXPECT_EQ(write_id3v2_tag(*other, path(), sample_fields(), {}, Codec()).error.number, ESTALE);
    EXPECT_EQ(content(), audio_);
    EXPECT_EQ(temp_.read_file("other.mp3"), "other");
}

TEST_F(Id3v2WriterTest, ReaderReadsBackWhatWasWritten) {
    put(test::id3v2_tag(test::text_frame("TPE1", "Old artist"), 3) + audio_);
    TagFields f = sample_fields();
    f.title = "\xD6\xD0\xCE\xC4";
    ASSERT_TRUE(write(f));
    auto file = ByteFile::open_read(path());
    ASSERT_TRUE(file);
    TagFields read;
    read.title = "stale";
    ASSERT_TRUE(read_id3v2_tag(*file, read, Codec()));
    EXPECT_EQ(read, f);
}

// In-place edits against the same edits on a string.
class InPlaceEditTest : public Id3v2WriterTest {
protected:
    const std::string original_ = test::fake_audio(10000);
};

TEST_F(InPlaceEditTest, DeleteMovesTheRestDown) {
    const std::vector<std::pair<std::uint64_t, std::uint64_t>> cases = {
        {0, 10}, {0, 4096}, {5, 5000}, {4095, 4097}, {9990, 100}, {0, 10000}, {3, 0}};
    for (const auto& [position, count] : cases) {
        put(original_);
        auto file = ByteFile::open_read_write(path());
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->seek(7));
        EXPECT_TRUE(delete_bytes(*file, position, count));
        EXPECT_EQ(lseek(file->fd(), 0, SEEK_CUR), 7);
        std::string expected = original_;
        expected.erase(position, count);
        EXPECT_EQ(content(), expected) << position << " " << count;
    }
}

TEST_F(InPlaceEditTest, DeleteAtOrPastTheEndChangesNothing) {
    for (const std::uint64_t position : {10000u, 20000u}) {
        put(original_);
        auto file = ByteFile::open_read_write(path());
        ASSERT_TRUE(file);
        EXPECT_TRUE(delete_bytes(*file, position, 5));
        EXPECT_EQ(content(), original_);
    }
}

TEST_F(InPlaceEditTest, InsertMovesTheRestUp) {
    const std::vector<std::pair<std::uint64_t, std::string>> cases = {
        {0, "abc"},
        {4095, std::string(5000, 'i')},
        {1, std::string(4096, 'j')},
        {10000, "end"},
        {5, ""}};
    for (const auto& [position, bytes] : cases) {
        put(original_);
        auto file = ByteFile::open_read_write(path());
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->seek(7));
        EXPECT_TRUE(insert_bytes(*file, position, bytes));
        EXPECT_EQ(lseek(file->fd(), 0, SEEK_CUR), 7);
        std::string expected = original_;
        expected.insert(position, bytes);
        EXPECT_EQ(content(), expected) << position << " " << bytes.size();
    }
}

TEST_F(InPlaceEditTest, InsertPastTheEndLeavesAHole) {
    put("abc");
    auto file = ByteFile::open_read_write(path());
    ASSERT_TRUE(file);
    EXPECT_TRUE(insert_bytes(*file, 6, "xy"));
    EXPECT_EQ(content(), "abc\0\0\0xy"s);
}

TEST_F(InPlaceEditTest, FailedEditsKeepThePositionAndTheFile) {
    put(original_);
    auto file = ByteFile::open_read(path());  // writes fail
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->seek(7));
    EXPECT_FALSE(delete_bytes(*file, 100, 10));
    EXPECT_FALSE(insert_bytes(*file, 100, "x"));
    EXPECT_EQ(lseek(file->fd(), 0, SEEK_CUR), 7);
    EXPECT_EQ(content(), original_);
}

}  // namespace
}  // namespace varnel
