// SPDX-License-Identifier: GPL-3.0-or-later
// The tag rule over files of the other audio formats, as other taggers
// write them: every name as those taggers read the fields back.

#include <gtest/gtest.h>

#include "rename/tag_rule.h"
#include "support/audio_corpus.h"
#include "support/list_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;

class TagRuleFormatsTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir;
        corpus_ = new std::optional<std::vector<CorpusFile>>(make_audio_corpus(folder_->path()));
    }
    static void TearDownTestSuite() {
        delete corpus_;
        delete folder_;
    }
    static TempDir* folder_;
    static std::optional<std::vector<CorpusFile>>* corpus_;
    Codec codec_;
};

TempDir* TagRuleFormatsTest::folder_ = nullptr;
std::optional<std::vector<CorpusFile>>* TagRuleFormatsTest::corpus_ = nullptr;

// The name the rule must give for "#1-#2-#3-#4-#5-#6": the track is its
// number, and the extension follows.
std::string expected_name(const CorpusFile& file) {
    std::string name;
    for (std::size_t i = 0; i < 6; ++i) {
        if (i > 0) name += '-';
        name += i == 3 ? file.fields[i].substr(0, file.fields[i].find('/')) : file.fields[i];
    }
    return name + file.name.substr(file.name.rfind('.'));
}

TEST_P(TagRuleFormatsTest, NamesEveryFileAsItsTaggerReadsIt) {
    if (!*corpus_) GTEST_SKIP() << "no python3 with mutagen";
    std::vector<std::string> names;
    std::vector<std::string> expected;
    for (const CorpusFile& file : **corpus_) {
        if (file.name.substr(file.name.rfind('.') + 1) != GetParam()) continue;
        names.push_back(file.name);
        expected.push_back(expected_name(file));
    }
    ASSERT_GE(names.size(), 3U);
    FileList list = list_of(folder_->path(), names);
    TagOptions options{"#1-#2-#3-#4-#5-#6"};
    options.other_formats = true;
    compute_tag_names(list, options, codec_);
    for (std::size_t row = 0; row < names.size(); ++row) {
        SCOPED_TRACE(names[row]);
        EXPECT_EQ(codec_.to_utf8_lossy(list.new_names()[row]), expected[row]);
        EXPECT_EQ(list.get_cell(static_cast<int>(row), Column::tag_status), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, TagRuleFormatsTest,
                         ::testing::Values("flac", "ogg", "opus", "m4a", "ape", "wv", "mpc", "wma",
                                           "aiff", "wav", "dsf"));

TEST(TagRuleOtherFormats, OnlyWhenTurnedOnAndOnlyForTheListedFormats) {
    TempDir dir;
    // An APEv2 tag alone: item "Artist" = "A", read from the file's end.
    const auto le32 = [](std::uint32_t v) {
        std::string s;
        for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    const std::string item = le32(1) + le32(0) + "Artist" + '\0' + "A";
    const std::string ape = std::string(40, '\0') + item + "APETAGEX" + le32(2000) +
                            le32(static_cast<std::uint32_t>(item.size() + 32)) + le32(1) + le32(0) +
                            std::string(8, '\0');
    dir.write_file("a.WV", ape);
    dir.write_file("plain.flac", "fLaC");
    dir.write_file("notes.txt", ape);
    const Codec codec;
    struct Case {
        bool on;
        std::vector<std::string> names;
        std::vector<std::string> statuses;
    } cases[] = {
        {false,
         {"", "", ""},
         {tag_status_not_mp3(), tag_status_not_mp3(),
          tag_status_not_mp3()}},
        {true,
         {"A.wv", "", ""},
         {"", tag_status_no_tag(), tag_status_not_mp3()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.on);
        FileList list = list_of(dir.path(), {"a.WV", "plain.flac", "notes.txt"});
        TagOptions options{"#1"};
        options.other_formats = c.on;
        compute_tag_names(list, options, codec);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(list.new_names()[static_cast<std::size_t>(row)],
                      c.names[static_cast<std::size_t>(row)]);
            EXPECT_EQ(list.get_cell(row, Column::tag_status),
                      c.statuses[static_cast<std::size_t>(row)]);
        }
    }
}

}  // namespace
}  // namespace varnel
