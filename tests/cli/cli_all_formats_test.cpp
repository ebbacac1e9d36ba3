// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli tags --all-formats over files tagged by mutagen.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/audio_corpus.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::CliRun;
using test::run_cli;
using test::TempDir;

// The extension of `name` after its last dot, in lower case.
std::string lower_extension(const std::string& name) {
    std::string ext = name.substr(name.rfind('.'));
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext;
}

TEST(CliAllFormats, NamesEveryFormatAsMutagenReadsItsFields) {
    TempDir dir;
    TempDir state;
    const test::CliEnv env{"C", state.path()};
    const auto corpus = test::make_audio_corpus(dir.path());
    if (!corpus) GTEST_SKIP() << "no python3 with mutagen";
    ASSERT_FALSE(corpus->empty());
    for (const test::CorpusFile& file : *corpus) {
        SCOPED_TRACE(file.name);
        const std::vector<std::string>& f = file.fields;
        if (f[0].empty() || f[1].empty()) continue;
        // Track as its number: "3/12" names "3".
        const std::string track = f[3].substr(0, f[3].find('/'));
        const std::string expected =
            f[0] + " - " + f[1] + " [" + track + "]" + lower_extension(file.name);
        const std::vector<std::string> rule{"tags", "--template", "#1 - #2 [#4]"};
        std::vector<std::string> args{"preview"};
        args.insert(args.end(), rule.begin(), rule.end());
        args.insert(args.end(), {"--all-formats", file.name});
        const CliRun all = run_cli(args, dir.path(), {}, env);
        EXPECT_EQ(all.status, 0) << all.err;
        EXPECT_EQ(all.out, file.name + "\t" + expected + "\n");
        // Without the option the file is none of MP3's.
        args.erase(args.end() - 2);
        const CliRun mp3_only = run_cli(args, dir.path(), {}, env);
        EXPECT_NE(mp3_only.out.find("非MP3文件"), std::string::npos) << mp3_only.out;
    }
    // Renamed for real, and back with one undo.
    const CliRun renamed = run_cli(
        {"rename", "tags", "--template", "#2", "--all-formats", "chinese.flac", "ascii.m4a"},
        dir.path(), {}, env);
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_TRUE(dir.exists("七里香.flac"));
    EXPECT_TRUE(dir.exists("Amani.m4a"));
    EXPECT_EQ(run_cli({"undo", "--last"}, dir.path(), {}, env).status, 0);
    EXPECT_TRUE(dir.exists("chinese.flac"));
    EXPECT_TRUE(dir.exists("ascii.m4a"));
}

}  // namespace
}  // namespace varnel
