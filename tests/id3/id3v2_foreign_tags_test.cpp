// SPDX-License-Identifier: GPL-3.0-or-later
// Tags as other writers leave them (plain sizes in version 2.4, a flag
// without its extended header, chapters, people lists, several values,
// damaged tag sizes): what is read, what an edit keeps, and that the audio
// after the tag never changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "id3/genres.h"
#include "id3/id3v2_frames.h"
#include "id3/id3v2_reader.h"
#include "id3/id3v2_writer.h"
#include "platform/codec.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace std::string_literals;
using test::id3v2_4_frame;
using test::id3v2_frame;
using test::id3v2_tag;
using test::text_frame;

// A version 2.2 frame: three-letter id, three-byte size.
std::string v22_frame(std::string_view id, const std::string& data) {
    std::string frame(id);
    for (int shift = 16; shift >= 0; shift -= 8)
        frame += static_cast<char>((data.size() >> shift) & 0xFF);
    return frame + data;
}

// A version 2.4 frame whose size is written as a plain number, as one
// widely used player does.
std::string plain_v24_frame(std::string_view id, const std::string& data) {
    return id3v2_frame(id, data);
}

// 804 bytes of CD identifier whose size, 00 00 03 24, also reads as the
// syncsafe 420, where a zero byte stands.
std::string cd_identifier() {
    std::string data(804, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(1 + (i * 7) % 0x70);
    data[420] = '\0';
    return data;
}

const std::string bjork_utf16 =
    "\x01\xFF\xFE"
    "B\0j\0\xF6\0r\0k\0"s;

std::string plain_sizes_tag() {
    return id3v2_tag(plain_v24_frame("TIT2", "\0Old"s) + plain_v24_frame("MCDI", cd_identifier()) +
                         plain_v24_frame("TPE1", bjork_utf16) +
                         plain_v24_frame("TLEN",
                                         "\0"
                                         "215000"s) +
                         plain_v24_frame("COMM", "\0eng\0Kept"s),
                     4, 40);
}

std::string no_extended_header_tag(int major) {
    const auto frame =
        major == 4 ? id3v2_4_frame : [](std::string_view id, std::string_view data, char) {
            return id3v2_frame(id, data);
        };
    std::string tag =
        id3v2_tag(frame("PRIV", "peak\0\x01\x02"s, 0) + frame("PRIV", "average\0\x03\x04"s, 0) +
                      frame("TIT2", "\0Title"s, 0),
                  major);
    tag[5] = '\x40';
    return tag;
}

std::string v22_composer_tag() {
    return id3v2_tag(v22_frame("TCM", "\0COMPOSER Jones"s) + v22_frame("COM", "\0eng\0Real"s), 2);
}

// A chapter whose title and comment are its own, not the track's.
std::string chapter_frame() {
    return id3v2_frame("CHAP", "ch1\0\0\0\0\0\0\0\x03\xE8\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s +
                                   text_frame("TIT2", "Chapter one") +
                                   id3v2_frame("COMM", "\0eng\0Chapter note"s));
}

std::string v24_tag(const std::string& frames) {
    return id3v2_tag(frames, 4);
}

const std::string chapter_times = "\0\0\0\0\0\0\x03\xE8\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s;

// A version 2.4 chapter whose UTF-8 title is longer than 127 bytes: its
// syncsafe size differs from the plain one.
std::string v24_chapter_tag() {
    return v24_tag(
        id3v2_4_frame("CHAP", "ch1\0"s + chapter_times +
                                  id3v2_4_frame("TIT2", "\x03" + std::string(200, 'c'))) +
        id3v2_4_frame("TIT2", "\x03Track"s));
}

std::string people_tag() {
    return id3v2_tag(id3v2_4_frame("TIPL", "\x03producer\0Ann\0"s) +
                         id3v2_4_frame("TMCL", "\x03guitar\0Bob\0"s) +
                         id3v2_4_frame("TIT2", "\x03Title"s),
                     4);
}

struct ReadCase {
    const char* what;
    std::string tag;
    std::string TagFields::*field;
    std::string expected;
};

class ForeignTagsTest : public ::testing::Test {
protected:
    std::string path() const { return dir_.path() + "song.mp3"; }

    TagFields read(const std::string& bytes) {
        dir_.write_file("song.mp3", bytes);
        std::optional<ByteFile> file = ByteFile::open_read(path());
        TagFields fields;
        if (!file || !read_id3v2_tag(*file, fields, codec_)) ADD_FAILURE() << "no tag";
        return fields;
    }

    TagEditResult edit(const std::string& bytes, const TagFields& fields) {
        dir_.write_file("song.mp3", bytes);
        std::optional<ByteFile> file = ByteFile::open_read_write(path());
        if (!file) return {};
        return write_id3v2_tag(*file, path(), fields, {}, codec_);
    }

    TagEditResult remove(const std::string& bytes) {
        dir_.write_file("song.mp3", bytes);
        std::optional<ByteFile> file = ByteFile::open_read_write(path());
        if (!file) return {};
        return remove_id3v2_tag(*file, path());
    }

    std::string content() const { return dir_.read_file("song.mp3"); }

    // The frames of the file's tag, in version 2.3 form.
    std::vector<TagFrame> frames() const { return read_frames(content()); }

    std::vector<const TagFrame*> all(const std::vector<TagFrame>& frames, std::string_view id) {
        std::vector<const TagFrame*> found;
        for (const TagFrame& frame : frames)
            if (frame.id == id) found.push_back(&frame);
        return found;
    }

    std::string text(const std::vector<TagFrame>& frames, std::string_view id) {
        const std::vector<const TagFrame*> found = all(frames, id);
        return found.empty() ? "<none>" : frame_text(*found.front(), codec_);
    }

    Codec codec_;
    test::TempDir dir_;
};

TEST_F(ForeignTagsTest, ReadsFieldsAsTheStandardAndOtherReadersDo) {
    const std::vector<ReadCase> cases = {
        {"v2.4 plain sizes: the comment after a large frame", plain_sizes_tag(),
         &TagFields::comment, "Kept"},
        {"v2.4 plain sizes: UTF-16 text decoded", plain_sizes_tag(), &TagFields::artist,
         codec_.from_utf8_lossy("Björk")},
        {"v2.4 extended-header flag without one", no_extended_header_tag(4), &TagFields::title,
         "Title"},
        {"v2.3 extended-header flag without one", no_extended_header_tag(3), &TagFields::title,
         "Title"},
        {"v2.2 COM inside a composer text", v22_composer_tag(), &TagFields::comment, "Real"},
        {"v2.2 composer", v22_composer_tag(), &TagFields::composer, "COMPOSER Jones"},
        {"chapter title is not the track's", id3v2_tag(chapter_frame()), &TagFields::title, ""},
        {"chapter comment is not the track's", id3v2_tag(chapter_frame()), &TagFields::comment, ""},
        {"v2.4 several values",
         v24_tag(id3v2_4_frame("TPE1",
                               "\x03"
                               "A\0B\0"s)),
         &TagFields::artist, "A/B"},
        {"v2.4 several UTF-16 values",
         v24_tag(id3v2_4_frame("TPE1",
                               "\x01\xFF\xFE"
                               "A\0\0\0\xFF\xFE"
                               "B\0"s)),
         &TagFields::artist, "A/B"},
        {"v2.4 bare genre number",
         v24_tag(id3v2_4_frame("TCON",
                               "\x00"
                               "35"s)),
         &TagFields::genre, std::string(genre_name(35))},
        {"v2.4 frame unsynchronisation",
         v24_tag(id3v2_4_frame("TIT2", "\x01\xFF\x00\xFEH\0i\0"s, 0x02)), &TagFields::title, "Hi"},
        {"v2.4 data length indicator", v24_tag(id3v2_4_frame("TIT2", "\0\0\0\x03\0Hi"s, 0x01)),
         &TagFields::title, "Hi"},
        {"v2.4 TDRC that is no date", v24_tag(id3v2_4_frame("TDRC", "\0Oct 3, 1995"s)),
         &TagFields::year, ""},
        {"v2.4 TDRC date",
         v24_tag(id3v2_4_frame("TDRC",
                               "\0"
                               "1995-10-03"s)),
         &TagFields::year, "1995"},
        {"first of two titles", id3v2_tag(text_frame("TIT2", "One") + text_frame("TIT2", "Two")),
         &TagFields::title, "One"},
    };
    for (const ReadCase& c : cases) EXPECT_EQ(read(c.tag).*c.field, c.expected) << c.what;
}

struct EditCase {
    const char* what;
    std::string tag;
    std::string TagFields::*field;  // set to "New"
    std::function<void(const std::vector<TagFrame>&)> check;
};

TEST_F(ForeignTagsTest, EditsKeepEveryOtherFrameAndTheAudio) {
    const std::string audio = test::mpeg_frames(6) + test::id3v1_block("v1");
    const std::string chapter = read_frames(id3v2_tag(chapter_frame())).front().data;
    const std::vector<EditCase> cases = {
        {"v2.4 plain sizes", plain_sizes_tag(), &TagFields::title,
         [&](const std::vector<TagFrame>& f) {
             ASSERT_EQ(all(f, "MCDI").size(), 1u);
             EXPECT_EQ(all(f, "MCDI").front()->data, cd_identifier());
             EXPECT_EQ(text(f, "TLEN"), "215000");
             EXPECT_EQ(text(f, "COMM"), "Kept");
             EXPECT_EQ(text(f, "TPE1"), codec_.from_utf8_lossy("Björk"));
         }},
        {"v2.4 extended-header flag without one", no_extended_header_tag(4), &TagFields::title,
         [&](const std::vector<TagFrame>& f) {
             ASSERT_EQ(all(f, "PRIV").size(), 2u);
             EXPECT_EQ(all(f, "PRIV")[1]->data, "average\0\x03\x04"s);
         }},
        {"v2.2 comment beside a composer", v22_composer_tag(), &TagFields::comment,
         [&](const std::vector<TagFrame>& f) {
             EXPECT_EQ(text(f, "TCOM"), "COMPOSER Jones");
             EXPECT_EQ(all(f, "COMM").size(), 1u);
         }},
        {"people lists", people_tag(), &TagFields::title,
         [&](const std::vector<TagFrame>& f) {
             ASSERT_EQ(all(f, "IPLS").size(), 1u);
             // UTF-16 of ASCII pairs: the letters without marks and zeros.
             std::string letters;
             for (const char c : all(f, "IPLS")[0]->data)
                 if (c != '\0' && c != '\xFF' && c != '\xFE') letters += c;
             EXPECT_EQ(letters, "\x01producerAnnguitarBob");
         }},
        {"chapter", id3v2_tag(chapter_frame() + text_frame("TIT2", "Track")), &TagFields::title,
         [&](const std::vector<TagFrame>& f) {
             ASSERT_EQ(all(f, "CHAP").size(), 1u);
             EXPECT_EQ(all(f, "CHAP").front()->data, chapter);
             EXPECT_EQ(text(f, "COMM"), "");
         }},
        {"v2.4 chapter", v24_chapter_tag(), &TagFields::title,
         [&](const std::vector<TagFrame>& f) {
             std::string utf16 = "\x01\xFF\xFE"s;
             for (int i = 0; i < 200; ++i) utf16 += "c\0"s;
             ASSERT_EQ(all(f, "CHAP").size(), 1u);
             EXPECT_EQ(all(f, "CHAP").front()->data,
                       "ch1\0"s + chapter_times + id3v2_frame("TIT2", utf16));
         }},
        {"v2.4 several values",
         v24_tag(id3v2_4_frame("TPE1",
                               "\x03"
                               "A\0B"s)),
         &TagFields::title,
         [&](const std::vector<TagFrame>& f) {
             EXPECT_EQ(text(f, "TPE1"), "A/B");
             EXPECT_EQ(all(f, "TPE1").front()->data,
                       "\x01\xFF\xFE"
                       "A\0/\0B\0"s);
         }},
        {"duplicate title", id3v2_tag(text_frame("TIT2", "One") + text_frame("TIT2", "Two")),
         &TagFields::title,
         [&](const std::vector<TagFrame>& f) { EXPECT_EQ(all(f, "TIT2").size(), 1u); }},
        {"v2.4 TDRC that is no date", v24_tag(id3v2_4_frame("TDRC", "\0Oct 3, 1995"s)),
         &TagFields::title,
         [&](const std::vector<TagFrame>& f) {
             EXPECT_EQ(text(f, "TDRC"), "Oct 3, 1995");
             EXPECT_EQ(text(f, "TYER"), "");
         }},
        {"v2.4 frame unsynchronisation",
         v24_tag(id3v2_4_frame("TALB", "\x01\xFF\x00\xFEH\0i\0"s, 0x02)), &TagFields::title,
         [&](const std::vector<TagFrame>& f) { EXPECT_EQ(text(f, "TALB"), "Hi"); }},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.what);
        TagFields fields = read(c.tag + audio);
        fields.*c.field = "New";
        const TagEditResult result = edit(c.tag + audio, fields);
        ASSERT_TRUE(result.ok) << tag_edit_error_text(result.error);
        const std::string written = content();
        ASSERT_GE(written.size(), audio.size());
        EXPECT_EQ(written.substr(written.size() - audio.size()), audio);
        const std::vector<TagFrame> after = frames();
        EXPECT_EQ(text(after, c.field == &TagFields::title ? "TIT2" : "COMM"), "New");
        c.check(after);
    }
}

TEST_F(ForeignTagsTest, Version24SizesThatEndCleanlyNeitherWayRefuseTheEdit) {
    // Size 00 00 01 00: plain 256, syncsafe 128; neither walk reaches the
    // padding, and they disagree.
    const std::string tag =
        v24_tag(plain_v24_frame("TALB", "\0" + std::string(255, 'a')) + "junk"s);
    const std::string file = tag + test::mpeg_frames(3);
    TagFields fields;
    fields.title = "New";
    const TagEditResult result = edit(file, fields);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.number, frame_sizes_unclear);
    EXPECT_EQ(content(), file);
}

}  // namespace
}  // namespace varnel
