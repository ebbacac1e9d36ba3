// SPDX-License-Identifier: GPL-3.0-or-later
// Batch tag edits of files other taggers wrote, read back by that tagger:
// the edited fields new, every other field and the audio as they were.

#include "audio/batch_tag_edit.h"

#include <gtest/gtest.h>

#include "id3/id3v2_reader.h"
#include "support/audio_corpus.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

std::vector<std::string> read_back(const std::string& path) {
    std::vector<std::string> fields;
    const std::optional<std::string> line = test::command_output(
        "/usr/bin/python3 " VARNEL_AUDIO_CORPUS_SCRIPT " --read '" + path + "'");
    std::istringstream in(line.value_or(""));
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (!fields.empty() && !fields.back().empty() && fields.back().back() == '\n')
        fields.back().pop_back();
    fields.resize(6);
    return fields;
}

TEST(BatchTagEdit, SetsTheChosenFieldsAndKeepsEverythingElse) {
    test::TempDir dir;
    const std::optional<std::vector<test::CorpusFile>> corpus = test::make_audio_corpus(dir.path());
    if (!corpus) GTEST_SKIP() << "no python3 with mutagen";
    const Codec codec;
    // Audio after FLAC's metadata: it must come through byte for byte.
    const std::string audio(5000, '\x5A');
    dir.write_file("chinese.flac", dir.read_file("chinese.flac") + audio);
    TagEditRequest request;
    request.fields[1] = codec.from_utf8("新歌手").value();  // artist
    request.fields[5] = "";                                 // genre removed
    request.fields[6] = "ignored for these formats";        // comment
    for (const char* name :
         {"chinese.flac", "chinese.ogg", "chinese.opus", "chinese.m4a", "chinese.ape", "chinese.wv",
          "chinese.mpc", "chinese.wma", "chinese.aiff", "chinese.wav"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.path() + name;
        std::vector<std::string> expected = read_back(path);
        expected[0] = "新歌手";
        expected[5] = "";
        const TagEditOutcome outcome = edit_file_tags(path, request, codec);
        ASSERT_EQ(outcome.status, TagEditStatus::written) << codec.to_utf8_lossy(outcome.reason);
        EXPECT_EQ(read_back(path), expected);
        // The same values again: nothing to write.
        EXPECT_EQ(edit_file_tags(path, request, codec).status, TagEditStatus::unchanged);
    }
    const std::string flac = dir.read_file("chinese.flac");
    EXPECT_EQ(flac.substr(flac.size() - audio.size()), audio);
}

// A version 2.4 frame without a version 2.3 form stops the write until the
// person agrees to lose it; the other texts of the tag carry over.
TEST(BatchTagEdit, Mp3FramesThatCannotBeKeptNeedConsent) {
    test::TempDir dir;
    const std::string old = test::id3v2_tag(test::id3v2_4_frame("TIT2", std::string("\0Old", 4)) +
                                                test::id3v2_4_frame("SEEK", std::string(4, '\0')),
                                            4) +
                            test::fake_audio(2000);
    dir.write_file("a.mp3", old);
    const Codec codec;
    TagEditRequest request;
    request.fields[1] = "New Artist";
    const TagEditOutcome refused = edit_file_tags(dir.path() + "a.mp3", request, codec);
    EXPECT_EQ(refused.status, TagEditStatus::refused);
    EXPECT_NE(refused.reason.find("SEEK"), std::string::npos);
    EXPECT_EQ(dir.read_file("a.mp3"), old);

    request.drop_unkeepable_frames = true;
    EXPECT_EQ(edit_file_tags(dir.path() + "a.mp3", request, codec).status, TagEditStatus::written);
    std::optional<ByteFile> file = ByteFile::open_read(dir.path() + "a.mp3");
    ASSERT_TRUE(file);
    TagFields fields;
    ASSERT_TRUE(read_id3v2_tag(*file, fields, codec));
    EXPECT_EQ(fields.title, "Old");
    EXPECT_EQ(fields.artist, "New Artist");
    const std::string now = dir.read_file("a.mp3");
    EXPECT_EQ(now.substr(now.size() - 2000), old.substr(old.size() - 2000));
    EXPECT_EQ(edit_file_tags(dir.path() + "a.mp3", request, codec).status,
              TagEditStatus::unchanged);
}

TEST(BatchTagEdit, RefusesWhatItCannotWriteWithAReason) {
    test::TempDir dir;
    dir.write_file("notes.txt", "text");
    dir.write_file("broken.flac", "not a flac file");
    dir.write_file("song.dsf", "DSD ");
    const Codec codec;
    TagEditRequest request;
    request.fields[0] = "T";
    const std::vector<std::string> paths = {dir.path() + "notes.txt", dir.path() + "broken.flac",
                                            dir.path() + "song.dsf", dir.path() + "gone.ogg"};
    const std::vector<TagEditOutcome> outcomes = edit_tags_of_files(paths, request, codec);
    ASSERT_EQ(outcomes.size(), 4U);
    EXPECT_EQ(outcomes[0].status, TagEditStatus::refused);
    for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(outcomes[i].status, TagEditStatus::failed) << i;
    for (const TagEditOutcome& outcome : outcomes) EXPECT_FALSE(outcome.reason.empty());
    EXPECT_EQ(dir.read_file("broken.flac"), "not a flac file");
}

}  // namespace
}  // namespace varnel
