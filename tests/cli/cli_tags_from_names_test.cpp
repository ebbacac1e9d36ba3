// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli tags-from-names and undo --tags on files tagged by mutagen.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "support/audio_corpus.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::CliRun;
using test::run_cli;
using test::TempDir;

// The six fields of `path` as mutagen reads them.
std::vector<std::string> read_back(const std::string& path) {
    std::istringstream in(test::command_output("/usr/bin/python3 " VARNEL_AUDIO_CORPUS_SCRIPT
                                               " --read '" +
                                               path + "'")
                              .value_or(""));
    std::vector<std::string> fields;
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (!fields.empty() && !fields.back().empty() && fields.back().back() == '\n')
        fields.back().pop_back();
    fields.resize(6);
    return fields;
}

using CliTagsFromNamesTest = test::CliFolderTest;

TEST_F(CliTagsFromNamesTest, WritesTheNamedFieldsAndUndoPutsTheBytesBack) {
    const auto corpus = test::make_audio_corpus(dir.path());
    if (!corpus) GTEST_SKIP() << "no python3 with mutagen";
    struct Case {
        const char* from;                   // a corpus file
        const char* name;                   // its copy's name
        std::vector<std::string> expected;  // artist title album track year genre
    };
    const std::vector<Case> cases{
        {"chinese.flac",
         "歌手甲 - 新歌 - 2020.flac",
         {"歌手甲", "新歌", "七里香", "3/12", "2020", "流行"}},
        {"ascii.m4a",
         "Art - Song - 1999.m4a",
         {"Art", "Song", "Live 1991", "3/12", "1999", "Rock"}},
        {"gbk.ape", "甲 - 乙 - 2001.ape", {"甲", "乙", "", "3", "2001", ""}},
        {"chinese.ogg", "no match.ogg", {"周杰伦", "七里香", "七里香", "3/12", "2004", "流行"}},
    };
    std::vector<std::string> args{"tags-from-names", "--template", "#1 - #2 - #5"};
    std::vector<std::string> before;
    for (const Case& c : cases) {
        dir.write_file(c.name, dir.read_file(c.from));
        before.push_back(dir.read_file(c.name));
        args.emplace_back(c.name);
    }
    // -n shows the table and writes nothing.
    args.insert(args.begin() + 1, "-n");
    const CliRun dry = cli(args);
    EXPECT_EQ(dry.status, 1);  // one name does not match
    EXPECT_NE(dry.out.find("Art - Song - 1999.m4a\tartist\tBeyond\tArt\n"), std::string::npos)
        << dry.out;
    EXPECT_NE(dry.out.find("歌手甲 - 新歌 - 2020.flac\tyear\t2004\t2020\n"), std::string::npos);
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(dir.read_file(cases[i].name), before[i]) << cases[i].name;

    args.erase(args.begin() + 1);
    EXPECT_EQ(cli(args).status, 1);
    for (const Case& c : cases) EXPECT_EQ(read_back(dir.path() + c.name), c.expected) << c.name;

    const CliRun undo = cli({"undo", "--tags"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(dir.read_file(cases[i].name), before[i]) << cases[i].name;
    // Nothing is left to undo.
    EXPECT_EQ(cli({"undo", "--tags"}).status, 2);
}

TEST_F(CliTagsFromNamesTest, UndoRefusesAFileChangedSince) {
    const auto corpus = test::make_audio_corpus(dir.path());
    if (!corpus) GTEST_SKIP() << "no python3 with mutagen";
    dir.write_file("A - B.flac", dir.read_file("ascii.flac"));
    ASSERT_EQ(cli({"tags-from-names", "--template", "#1 - #2", "A - B.flac"}).status, 0);
    const std::string changed = dir.read_file("A - B.flac") + "more";
    dir.write_file("A - B.flac", changed);
    const CliRun undo = cli({"undo", "--tags"});
    EXPECT_EQ(undo.status, 1);
    EXPECT_EQ(dir.read_file("A - B.flac"), changed);
}

TEST(CliTagsFromNames, UsageErrorsExitTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"tags-from-names", "a.mp3"},
             {"tags-from-names", "--template", "#1"},
             {"tags-from-names", "--template", "#1", "--bogus", "a.mp3"},
             {"undo", "--tags", "--last"},
         })
        EXPECT_EQ(run_cli(args).status, 2) << args.back();
}

}  // namespace
}  // namespace varnel
