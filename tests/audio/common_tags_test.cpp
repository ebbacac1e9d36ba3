// SPDX-License-Identifier: GPL-3.0-or-later
// The six common fields of files other taggers wrote, format by format:
// ASCII, Chinese in the format's own encoding, GBK bytes where old rippers
// put them, missing fields and a track "3/12".

#include "audio/common_tags.h"

#include <gtest/gtest.h>

#include "support/audio_corpus.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class CommonTagsTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        folder_ = new test::TempDir;
        corpus_ = new std::optional<std::vector<test::CorpusFile>>(
            test::make_audio_corpus(folder_->path()));
    }
    static void TearDownTestSuite() {
        delete corpus_;
        delete folder_;
    }
    static test::TempDir* folder_;
    static std::optional<std::vector<test::CorpusFile>>* corpus_;
    Codec codec_;
};

test::TempDir* CommonTagsTest::folder_ = nullptr;
std::optional<std::vector<test::CorpusFile>>* CommonTagsTest::corpus_ = nullptr;

bool has_extension_of(const std::string& name, const std::string& extension) {
    return name.size() > extension.size() &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

TEST_P(CommonTagsTest, ReadsWhatMutagenWrote) {
    if (!*corpus_) GTEST_SKIP() << "no python3 with mutagen";
    int files = 0;
    for (const test::CorpusFile& file : **corpus_) {
        if (!has_extension_of(file.name, "." + GetParam())) continue;
        ++files;
        SCOPED_TRACE(file.name);
        TagFields fields;
        ASSERT_EQ(read_common_tags(folder_->path() + file.name, fields, codec_),
                  AudioTagRead::fields);
        const std::string* read[] = {&fields.artist, &fields.title, &fields.album,
                                     &fields.track,  &fields.year,  &fields.genre};
        for (std::size_t i = 0; i < 6; ++i) {
            std::string expected = file.fields[i];
            std::string got = codec_.to_utf8_lossy(*read[i]);
            if (i == 3) {  // MP4 keeps the track as a number pair: compare the number
                expected = expected.substr(0, expected.find('/'));
                got = got.substr(0, got.find('/'));
            }
            EXPECT_EQ(got, expected) << "field " << i;
        }
    }
    EXPECT_GE(files, 3);
}

INSTANTIATE_TEST_SUITE_P(Formats, CommonTagsTest,
                         ::testing::Values("flac", "ogg", "opus", "m4a", "ape", "wv", "mpc", "wma",
                                           "aiff", "wav", "dsf"));

TEST(CommonTags, TellsNoTagFromUnreadable) {
    test::TempDir dir;
    dir.write_file("empty.flac", "fLaC");
    dir.write_file("junk.m4a", std::string(64, 'x'));
    const Codec codec;
    TagFields fields;
    fields.comment = "old";
    EXPECT_EQ(read_common_tags(dir.path() + "empty.flac", fields, codec), AudioTagRead::no_tag);
    EXPECT_EQ(fields, TagFields{});
    EXPECT_EQ(read_common_tags(dir.path() + "junk.m4a", fields, codec), AudioTagRead::no_tag);
    EXPECT_EQ(read_common_tags(dir.path() + "gone.ogg", fields, codec), AudioTagRead::unreadable);
    EXPECT_EQ(read_common_tags(dir.path(), fields, codec), AudioTagRead::unreadable);
}

}  // namespace
}  // namespace varnel
