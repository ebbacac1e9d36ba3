// SPDX-License-Identifier: GPL-3.0-or-later
// The undo journal: written ahead, read back only when it can be trusted.
#include "rename/undo_journal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace varnel {
namespace {

UndoEntry entry(std::string name, std::string renamed, FileId id) {
    return UndoEntry{"/a\t%/", "/a\t%/", name, name, renamed, renamed, id};
}

TEST(UndoJournal, EntriesRoundTripWithFailedOnesDropped) {
    test::TempDir dir;
    const std::string path = dir.path() + "j";
    std::string reason;
    auto writer = UndoJournalWriter::create(path, reason);
    ASSERT_TRUE(writer) << reason;
    const FileId born{7, 1234567890123, -5, 999999999, true, false, 1, 2, 18446744073709551615u};
    const FileId unborn{1, 2, 0, 0, false, true, 3, 4, 5};
    const std::vector<UndoEntry> entries{entry("x\ny", "z", born), entry("old", "new", unborn),
                                         entry("k", "l", unborn)};
    ASSERT_EQ(writer->record(entries), 0);
    writer->failed(1);
    // Before the end: the batch reads as interrupted.
    auto read = read_undo_journal(path);
    ASSERT_TRUE(read.journal) << read.reason;
    EXPECT_FALSE(read.journal->finished);
    ASSERT_EQ(writer->finish(), 0);
    read = read_undo_journal(path);
    ASSERT_TRUE(read.journal) << read.reason;
    EXPECT_TRUE(read.journal->finished);
    ASSERT_EQ(read.journal->entries.size(), 2u);
    const UndoEntry& first = read.journal->entries[0];
    EXPECT_EQ(first.name, "x\ny");
    EXPECT_EQ(first.fs_folder, "/a\t%/");
    EXPECT_EQ(first.renamed_fs_name, "z");
    EXPECT_EQ(first.file, born);
    EXPECT_EQ(read.journal->entries[1].file, unborn);
    EXPECT_EQ(read.journal->entries[1].name, "k");
}

// Journals an attacker or an accident could put in undo's way.
TEST(UndoJournal, UntrustworthyJournalsAreRefusedWithAReason) {
    test::TempDir dir;
    const std::string header = "varnel-undo-journal 2\n";
    const std::string good = "/f/\t/f/\ta\ta\tb\tb\t1\t2\t-\t3.4\t5\t1\n";
    struct Case {
        const char* name;
        std::string content;
        mode_t mode;
        const char* reason;
    };
    const Case cases[] = {
        {"not-journal", "just some text\n", 0600, "not an undo journal"},
        {"old-format", "varnel-undo-journal 1\n", 0600, "not an undo journal"},
        {"group-writable", header + good, 0620, "can be written by other users"},
        {"world-writable", header + good, 0602, "can be written by other users"},
        {"overflow", header + "/f/\t/f/\ta\ta\tb\tb\t99999999999999999999999\t2\t-\t3.4\t5\t1\n",
         0600, "line 2 is malformed"},
        {"negative", header + "/f/\t/f/\ta\ta\tb\tb\t-1\t2\t-\t3.4\t5\t1\n", 0600, "malformed"},
        {"nanoseconds", header + "/f/\t/f/\ta\ta\tb\tb\t1\t2\t-\t3.1000000000\t5\t1\n", 0600,
         "malformed"},
        {"fields", header + "/f/\ta\n", 0600, "malformed"},
        {"escape", header + "/f/%G\t/f/\ta\ta\tb\tb\t1\t2\t-\t3.4\t5\t1\n", 0600, "malformed"},
        {"failed-index", header + good + "failed\t1\n", 0600, "line 3 is malformed"},
        {"after-end", header + "end\n" + good, 0600, "malformed"},
        {"long-line", header + std::string(journal_max_line + 1, 'a') + "\n", 0600, "too long"},
    };
    for (const Case& c : cases) {
        dir.write_file(c.name, c.content);
        ASSERT_EQ(chmod((dir.path() + c.name).c_str(), c.mode), 0);
        const UndoJournalRead read = read_undo_journal(dir.path() + c.name);
        EXPECT_FALSE(read.journal) << c.name;
        EXPECT_NE(read.reason.find(c.reason), std::string::npos) << c.name << ": " << read.reason;
        EXPECT_EQ(read.reason.find('\n'), std::string::npos) << c.name;
    }
    ASSERT_EQ(mkfifo((dir.path() + "fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("good", (dir.path() + "link").c_str()), 0);
    for (const char* special : {"fifo", "link", "missing"})
        EXPECT_FALSE(read_undo_journal(dir.path() + special).journal) << special;
    EXPECT_NE(read_undo_journal("/dev/zero").reason.find("not a regular file"), std::string::npos);
    // A line cut short by a crash is no entry; the rest is read.
    dir.write_file("cut", header + good + "/f/\t/f/\tc");
    const UndoJournalRead cut = read_undo_journal(dir.path() + "cut");
    ASSERT_TRUE(cut.journal) << cut.reason;
    EXPECT_EQ(cut.journal->entries.size(), 1u);
}

TEST(UndoJournal, AJournalOfAnotherUserIsRefused) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
    test::TempDir dir;
    dir.write_file("j", "varnel-undo-journal 2\n");
    ASSERT_EQ(chown((dir.path() + "j").c_str(), 65534, 65534), 0);
    EXPECT_NE(read_undo_journal(dir.path() + "j").reason.find("another user"), std::string::npos);
}

// Creating a journal never follows a link, never replaces a foreign file,
// and replaces only an empty file or an earlier journal.
TEST(UndoJournal, CreationRefusesLinksAndForeignFiles) {
    test::TempDir dir;
    dir.write_file("victim", "precious");
    ASSERT_EQ(symlink("victim", (dir.path() + "link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere/at/all", (dir.path() + "dangling").c_str()), 0);
    dir.write_file("song.mp3", "ID3 music");
    dir.write_file("empty");
    dir.write_file("earlier", "varnel-undo-journal 2\nend\n");
    struct Case {
        const char* name;
        bool created;
    };
    for (const Case& c : {Case{"link", false}, Case{"dangling", false}, Case{"song.mp3", false},
                          Case{"empty", true}, Case{"earlier", true}, Case{"new", true}}) {
        std::string reason;
        const bool created = UndoJournalWriter::create(dir.path() + c.name, reason).has_value();
        EXPECT_EQ(created, c.created) << c.name << ": " << reason;
        EXPECT_EQ(reason.empty(), c.created) << c.name;
    }
    EXPECT_EQ(dir.read_file("victim"), "precious");
    EXPECT_EQ(dir.read_file("song.mp3"), "ID3 music");
    EXPECT_EQ(dir.read_file("earlier"), "varnel-undo-journal 2\n");
    struct stat info {};
    ASSERT_EQ(lstat((dir.path() + "new").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // Only the journals themselves: no temporary is left behind.
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dangling", "earlier", "empty", "link", "new",
                                                     "song.mp3", "victim"}));
}

}  // namespace
}  // namespace varnel
