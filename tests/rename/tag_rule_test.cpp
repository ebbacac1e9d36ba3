// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/tag_rule.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/list_builder.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;

class TagRuleTest : public ::testing::Test {
protected:
    std::string v2(std::string_view artist, std::string_view title, std::string_view album = {}) {
        return id3v2_tag(text_frame("TIT2", title) + text_frame("TPE1", artist) +
                         text_frame("TALB", album) + text_frame("TCON", "(17)Rock"));
    }

    std::vector<std::string> run(const std::vector<std::string>& names, TagOptions options) {
        list = list_of(dir.path(), names);
        compute_tag_names(list, options, codec);
        return {list.new_names().begin(), list.new_names().end()};
    }

    std::string status(int row) const {
        return std::string(list.get_cell(row, Column::tag_status));
    }

    TempDir dir;
    Codec codec;
    FileList list;
};

TEST_F(TagRuleTest, NamesFromThePreferredTagWithPerTagFallback) {
    dir.write_file("both.mp3",
                   v2("V2 Artist", "V2 Title") + fake_audio(500) +
                       id3v1_block("V1 Title", "V1 Artist", "V1 Album", "1999", "", 3, 17));
    dir.write_file("v1only.MP3", fake_audio(300) + id3v1_block("T", "A", "", "", "", 0, 17));
    EXPECT_EQ(run({"both.mp3", "v1only.MP3"}, {"#1-#2 #3", false}),
              (std::vector<std::string>{"V2 Artist-V2 Title .mp3", "A-T .mp3"}));
    // The ID3v2 tag has an empty album: no field-wise fallback to ID3v1's.
    EXPECT_EQ(run({"both.mp3"}, {"#1-#3", false})[0], "V2 Artist-.mp3");
    EXPECT_EQ(run({"both.mp3"}, {"#1-#3-#4-#6", true})[0], "V1 Artist-V1 Album-3-17.mp3");
    EXPECT_EQ(run({"both.mp3"}, {"#6", false})[0], "Rock.mp3");
}

// Tags from other taggers carry "1/10" tracks and AC/DC artists; no field
// may turn the name into a path.
TEST_F(TagRuleTest, SlashesOfTagFieldsNeverReachTheName) {
    dir.write_file("a.mp3", id3v2_tag(text_frame("TPE1", "AC/DC") + text_frame("TIT2", "T.N.T") +
                                      text_frame("TRCK", "1/10") + text_frame("TALB", "x/y/z")) +
                                fake_audio(100));
    const std::string full_width = codec.from_utf8("／").value();
    struct Case {
        const char* what;
        std::optional<std::string> stand_in;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"default stand-in", std::nullopt,
         "AC" + full_width + "DC-x" + full_width + "y" + full_width + "z-1-T.N.T.mp3"},
        {"chosen stand-in", "_", "AC_DC-x_y_z-1-T.N.T.mp3"},
        {"slashes dropped", "", "ACDC-xyz-1-T.N.T.mp3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run({"a.mp3"}, {"#1-#3-#4-#2", false, c.stand_in})[0], c.expected) << c.what;
}

TEST_F(TagRuleTest, MarksItemsItCannotNameAndNeverClearsTheMarks) {
    dir.write_file("plain.mp3", fake_audio(1000));
    dir.write_file("song.mp3.txt", v2("a", "b"));
    EXPECT_EQ(run({"plain.mp3", "song.mp3.txt", "README"}, {"#1", false}),
              (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(status(0), tag_status_no_tag());
    EXPECT_EQ(status(1), tag_status_not_mp3());
    EXPECT_EQ(status(2), tag_status_not_mp3());

    dir.write_file("plain.mp3", v2("Now", "Tagged") + fake_audio(10));
    compute_tag_names(list, {"#1", false}, codec);
    EXPECT_EQ(list.new_names()[0], "Now.mp3");
    EXPECT_EQ(status(0), tag_status_no_tag());  // an earlier mark stays
}

TEST_F(TagRuleTest, EmptyResultsAndEmptyTemplate) {
    dir.write_file("x.mp3", v2("", ""));
    EXPECT_EQ(run({"x.mp3"}, {"#1-#2", false})[0], "-.mp3");
    EXPECT_EQ(run({"x.mp3"}, {"#1#2", false})[0], "");
    EXPECT_EQ(run({"x.mp3"}, {"fixed", false})[0], "fixed.mp3");

    list.new_names()[0] = "stale";
    list.set_cell(0, Column::tag_status, "mark");
    compute_tag_names(list, {"", false}, codec);
    EXPECT_EQ(list.new_names()[0], "");
    EXPECT_EQ(status(0), "mark");
}

TEST_F(TagRuleTest, UnreadableFileKeepsWhatItHad) {
    list = list_of(dir.path(), {"missing.mp3"});
    list.new_names()[0] = "earlier.mp3";
    compute_tag_names(list, {"#1", false}, codec);
    EXPECT_EQ(list.new_names()[0], "earlier.mp3");
    EXPECT_EQ(status(0), "");
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

// A huge field is cut before composing: a template of 25 placeholders costs
// a few KB per name, and a name that was too long to be a file name stays
// too long; short fields are untouched, four-byte characters kept whole.
TEST_F(TagRuleTest, HugeFieldsAreCutBeforeComposing) {
    const std::string four = "\x81\x30\x81\x30";
    const std::string huge = std::string(255, 'a') + four + std::string(1'000'000, 'z');
    dir.write_file("huge.mp3", v2(huge, "t") + fake_audio(10));
    dir.write_file("short.mp3", v2(std::string(200, 'b'), "t") + fake_audio(10));
    const std::string every_placeholder = "#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1#1";
    const std::vector<std::string> names =
        run({"huge.mp3", "short.mp3"}, {every_placeholder, false});
    std::string cut_name;
    for (int i = 0; i < 25; ++i) cut_name += std::string(255, 'a') + four;
    EXPECT_EQ(names[0], cut_name + ".mp3");
    EXPECT_EQ(run({"huge.mp3"}, {"#2#1", false})[0], "t" + std::string(255, 'a') + four + ".mp3");
    EXPECT_EQ(run({"short.mp3"}, {"#1", false})[0], std::string(200, 'b') + ".mp3");
}

}  // namespace
}  // namespace varnel
