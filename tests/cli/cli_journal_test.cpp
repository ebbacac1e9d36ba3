// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic journals of varnel-cli: every batch recorded without
// --journal, undo --last / --list / N, the newest 20 kept, and journals
// that cannot be trusted refused.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/mp3_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;

// The lines of `text`.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The TAB-separated field `index` of `line`.
std::string field(const std::string& line, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) start = line.find('\t', start) + 1;
    return line.substr(start, line.find('\t', start) - start);
}

class CliJournalTest : public ::testing::Test {
protected:
    TempDir dir;
    TempDir state;
    CliEnv env{"C", state.path()};
    std::string journals = state.path() + "varnel/journals/";

    CliRun cli(const std::vector<std::string>& args) { return run_cli(args, dir.path(), {}, env); }
};

TEST_F(CliJournalTest, UndoLastUndoesTheNewestBatchNotYetUndone) {
    dir.write_file("a.txt", "A");
    ASSERT_EQ(cli({"rename", "number", "--prefix", "x", "a.txt"}).status, 0);
    ASSERT_EQ(cli({"rename", "case", "--name", "upper", "--ext", "lower", "x0.txt"}).status, 0);
    EXPECT_TRUE(dir.exists("X0.txt"));
    // A batch that renames nothing leaves no journal.
    EXPECT_EQ(cli({"rename", "case", "--name", "upper", "--ext", "lower", "X0.txt"}).status, 0);
    // --no-journal neither.
    dir.write_file("b.txt", "B");
    EXPECT_EQ(cli({"rename", "number", "--no-journal", "--prefix", "y", "b.txt"}).status, 0);

    std::vector<std::string> listed = lines_of(cli({"undo", "--list"}).out);
    ASSERT_EQ(listed.size(), 2U);
    EXPECT_EQ(field(listed[0], 0), "1");
    EXPECT_EQ(field(listed[0], 2), "rename");
    EXPECT_EQ(field(listed[0], 3), "finished");
    EXPECT_EQ(field(listed[0], 4), "1");

    const CliRun first = cli({"undo", "--last"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(dir.exists("x0.txt"));
    const CliRun second = cli({"undo", "--last"});
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(dir.read_file("a.txt"), "A");
    EXPECT_TRUE(dir.exists("y0.txt"));  // never recorded

    listed = lines_of(cli({"undo", "--list"}).out);
    ASSERT_EQ(listed.size(), 2U);
    EXPECT_EQ(field(listed[0], 3), "undone");
    EXPECT_EQ(field(listed[1], 3), "undone");
    const CliRun none = cli({"undo", "--last"});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "varnel-cli: no batch is left to undo\n");
    EXPECT_EQ(cli({"undo", "3"}).status, 2);
}

TEST_F(CliJournalTest, TheTwentyFirstBatchRemovesTheOldestJournal) {
    dir.write_file("f0.txt");
    for (int batch = 0; batch < 21; ++batch) {
        const std::string from = "f" + std::to_string(batch) + ".txt";
        const CliRun run =
            cli({"rename", "number", "--prefix", "f", "--start", std::to_string(batch + 1), from});
        ASSERT_EQ(run.status, 0) << run.err;
    }
    const std::vector<std::string> listed = lines_of(cli({"undo", "--list"}).out);
    ASSERT_EQ(listed.size(), 20U);
    // Each journal is a private file in a private folder.
    struct stat info {};
    ASSERT_EQ(::stat(journals.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700U);
    const std::string path = field(listed[0], 5);
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600U);
    // The oldest kept is the second batch's (f1 → f2): undo 20 reverses it
    // alone, while the files of the first batch are out of reach.
    const CliRun oldest = cli({"undo", "20"});
    EXPECT_EQ(oldest.status, 1);  // f2.txt has moved on since
    EXPECT_NE(oldest.out.find("f2.txt\tf1.txt"), std::string::npos) << oldest.out;
    EXPECT_TRUE(dir.exists("f21.txt"));
    const CliRun newest = cli({"undo", "1"});
    EXPECT_EQ(newest.status, 0);
    EXPECT_TRUE(dir.exists("f20.txt"));
}

TEST_F(CliJournalTest, UntrustedJournalsAndFoldersAreRefused) {
    dir.write_file("a.txt", "A");
    ASSERT_EQ(cli({"rename", "number", "--prefix", "x", "a.txt"}).status, 0);
    const std::string journal = field(lines_of(cli({"undo", "--list"}).out).at(0), 5);

    // A journal others may change, naming files in a private folder.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0700), 0);
    ASSERT_EQ(::chmod(journal.c_str(), 0666), 0);
    CliRun run = cli({"undo", "--last"});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.err.empty());
    EXPECT_TRUE(dir.exists("x0.txt"));
    ASSERT_EQ(::chmod(journal.c_str(), 0600), 0);

    // A journal of another user.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(journal.c_str(), 65534, 65534), 0);
        run = cli({"undo", "--last"});
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(dir.exists("x0.txt"));
        ASSERT_EQ(::chown(journal.c_str(), 0, 0), 0);
    }

    // A journal folder others may enter: neither undo nor a new batch uses it.
    ASSERT_EQ(::chmod(journals.c_str(), 0755), 0);
    run = cli({"undo", "--last"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("mode 0755"), std::string::npos) << run.err;
    run = cli({"rename", "number", "--prefix", "y", "x0.txt"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--no-journal"), std::string::npos) << run.err;
    EXPECT_TRUE(dir.exists("x0.txt"));

    ASSERT_EQ(::chmod(journals.c_str(), 0700), 0);
    run = cli({"undo", "--last"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.read_file("a.txt"), "A");
}

// Rename and tag batches share one history: --list names the kind, --last
// takes the newest of either kind, --tags the newest tag batch, and a tag
// batch of the single journal of earlier versions is still listed and undone.
TEST_F(CliJournalTest, RenameAndTagBatchesShareTheHistory) {
    const std::string old_bytes = id3v2_tag(text_frame("TIT2", "Old")) + fake_audio(4000);
    dir.write_file("A - B.mp3", old_bytes);
    dir.write_file("c.txt", "C");
    ASSERT_EQ(cli({"rename", "number", "--prefix", "r", "c.txt"}).status, 0);
    ASSERT_EQ(cli({"tags-from-names", "--template", "#1 - #2", "A - B.mp3"}).status, 0);
    ASSERT_EQ(cli({"rename", "number", "--prefix", "s", "r0.txt"}).status, 0);
    const std::string tagged = dir.read_file("A - B.mp3");
    ASSERT_NE(tagged, old_bytes);

    std::vector<std::string> listed = lines_of(cli({"undo", "--list"}).out);
    ASSERT_EQ(listed.size(), 3U);
    const std::vector<std::string> kinds{field(listed[0], 2), field(listed[1], 2),
                                         field(listed[2], 2)};
    EXPECT_EQ(kinds, (std::vector<std::string>{"rename", "tags", "rename"}));
    EXPECT_EQ(field(listed[1], 3), "finished");
    EXPECT_EQ(field(listed[1], 4), "1");
    EXPECT_TRUE(field(listed[1], 5).ends_with(".tags.journal")) << listed[1];

    // --tags reaches past the newer rename batch.
    CliRun run = cli({"undo", "--tags"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.read_file("A - B.mp3"), old_bytes);
    EXPECT_TRUE(dir.exists("s0.txt"));
    EXPECT_EQ(cli({"undo", "--tags"}).status, 2);
    listed = lines_of(cli({"undo", "--list"}).out);
    EXPECT_EQ(field(listed[1], 3), "undone");

    // --last: the rename batches, newest first.
    ASSERT_EQ(cli({"undo", "--last"}).status, 0);
    EXPECT_TRUE(dir.exists("r0.txt"));
    ASSERT_EQ(cli({"undo", "--last"}).status, 0);
    EXPECT_EQ(dir.read_file("c.txt"), "C");

    // The single journal of earlier versions.
    ASSERT_EQ(cli({"tags-from-names", "--template", "#1 - #2", "A - B.mp3"}).status, 0);
    listed = lines_of(cli({"undo", "--list"}).out);
    const std::string journal = field(listed[0], 5);
    ASSERT_EQ(::rename(journal.c_str(), (state.path() + "varnel/tag-undo.journal").c_str()), 0);
    listed = lines_of(cli({"undo", "--list"}).out);
    ASSERT_EQ(listed.size(), 4U);
    EXPECT_EQ(field(listed[0], 2), "tags");
    EXPECT_EQ(field(listed[0], 3), "finished");
    run = cli({"undo", "--last"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.read_file("A - B.mp3"), old_bytes);
    EXPECT_FALSE(state.exists("varnel/tag-undo.journal"));
    EXPECT_EQ(lines_of(cli({"undo", "--list"}).out).size(), 3U);
}

}  // namespace
}  // namespace varnel
