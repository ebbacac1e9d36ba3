// SPDX-License-Identifier: GPL-3.0-or-later
// The six common fields of files other taggers wrote, format by format:
// ASCII, Chinese in the format's own encoding, GBK bytes where old rippers
// put them, missing fields and a track "3/12".

#include "audio/common_tags.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

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
        const Result<AudioTagRead> result =
            read_common_tags(folder_->path() + file.name, fields, codec_);
        ASSERT_TRUE(result);
        ASSERT_EQ(*result, AudioTagRead::fields);
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

// A file without a tag reads as such; one that cannot be opened gives the
// system's reason, never an empty tag.
TEST(CommonTags, TellsNoTagFromUnreadable) {
    test::TempDir dir;
    dir.write_file("empty.flac", "fLaC");
    dir.write_file("junk.m4a", std::string(64, 'x'));
    dir.write_file("locked.wv", "wvpk");
    ASSERT_EQ(::chmod((dir.path() + "locked.wv").c_str(), 0), 0);
    ASSERT_EQ(::mkfifo((dir.path() + "pipe.ogg").c_str(), 0600), 0);
    const bool root = ::geteuid() == 0;
    const struct {
        std::string name;
        std::string expected;  // "no tag", or the errno value
    } cases[] = {
        {"empty.flac", "no tag"},
        {"junk.m4a", "no tag"},
        {"gone.ogg", std::to_string(ENOENT)},
        {"", std::to_string(EISDIR)},  // the folder itself
        {"pipe.ogg", std::to_string(ENODEV)},
        {"locked.wv", root ? "no tag" : std::to_string(EACCES)},
    };
    const Codec codec;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TagFields fields;
        fields.comment = "old";
        const Result<AudioTagRead> read = read_common_tags(dir.path() + c.name, fields, codec);
        const std::string got = !read ? std::to_string(read.error().number)
                                : *read == AudioTagRead::no_tag ? "no tag"
                                                                : "fields";
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(fields, TagFields{});
    }
}

}  // namespace
}  // namespace varnel
