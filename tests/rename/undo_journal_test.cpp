// SPDX-License-Identifier: GPL-3.0-or-later
// The undo journal: written ahead, read back only when it can be trusted.
#include "rename/undo_journal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "support/temp_dir.h"

namespace varnel {
namespace {

// `text` followed by its sum line, as the writer of journal `version` ends
// every write.
std::string summed(const std::string& text, int version = 4) {
    JournalSum sum(version);
    sum.add(text);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(sum.value()));
    return text + "sum\t" + hex + "\n";
}

UndoEntry entry(std::string name, std::string renamed, FileId id) {
    return UndoEntry{"/a\t%/", "/a\t%/", name, name, renamed, renamed, id};
}

TEST(UndoJournal, EntriesRoundTripWithFailedOnesDropped) {
    test::TempDir dir;
    const std::string path = dir.path() + "j";
    std::string reason;
    auto writer = UndoJournalWriter::create(path, reason);
    ASSERT_TRUE(writer) << reason;
    const FileId born{7, 1234567890123,         -5,   999999999,          true, false, 1,
                      2, 18446744073709551615u, true, 0x0123456789ABCDEFu};
    const FileId unborn{1, 2, 0, 0, false, true, 3, 4, 5};
    std::vector<UndoEntry> entries{entry("x\ny", "z", born), entry("old", "new", unborn),
                                   entry("k", "l", unborn)};
    entries[2].exchange = true;
    ASSERT_TRUE(writer->record(entries));
    writer->failed(1);
    ASSERT_TRUE(writer->finish());
    writer.reset();
    const UndoJournalRead read = read_undo_journal(path);
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
    EXPECT_FALSE(first.exchange);
    EXPECT_TRUE(read.journal->entries[1].exchange);
}

// A batch holds its journal: nobody undoes or replaces it until the batch
// has closed it, and then its contents are there to undo.
TEST(UndoJournal, ARunningBatchsJournalIsBusyUntilItsWriterIsGone) {
    test::TempDir dir;
    const std::string path = dir.path() + "j";
    std::string reason;
    auto writer = UndoJournalWriter::create(path, reason);
    ASSERT_TRUE(writer) << reason;
    const std::vector<UndoEntry> one{entry("a", "b", FileId{})};
    ASSERT_TRUE(writer->record(one));
    EXPECT_EQ(claim_undo_journal(path).state, JournalState::busy);
    EXPECT_FALSE(read_undo_journal(path).journal);
    bool busy = false;
    EXPECT_FALSE(UndoJournalWriter::create(path, reason, &busy));
    EXPECT_TRUE(busy) << reason;
    writer.reset();
    const ClaimedJournal claimed = claim_undo_journal(path);
    EXPECT_EQ(claimed.state, JournalState::interrupted);
    EXPECT_EQ(claimed.contents.entries.size(), 1u);
    // Held for the undo: a batch cannot take the journal over meanwhile.
    EXPECT_FALSE(UndoJournalWriter::create(path, reason, &busy));
    EXPECT_TRUE(busy);
    EXPECT_EQ(claim_undo_journal(dir.path() + "none").state, JournalState::none);
}

// Journals an attacker or an accident could put in undo's way.
TEST(UndoJournal, UntrustworthyJournalsAreRefusedWithAReason) {
    test::TempDir dir;
    const std::string header = "varnel-undo-journal 4\tboot\t1\n";
    const std::string good = "/f/\t/f/\ta\ta\tb\tb\t1\t2\t-\t3.4\t5\t1\t-\tmove\n";
    struct Case {
        const char* name;
        std::string content;
        mode_t mode;
        const char* reason;
    };
    const Case cases[] = {
        {"not-journal", "just some text\n", 0600, "not an undo journal"},
        {"old-format", "varnel-undo-journal 2\n", 0600, "not an undo journal"},
        {"checksum", header + good + "sum\t0000000000000000\n", 0600, "does not match"},
        // Each version's sum only for its own journals.
        {"version-3-sum", summed(header + good, 3), 0600, "does not match"},
        {"version-4-sum", summed("varnel-undo-journal 3\tboot\t1\n" + good), 0600,
         "does not match"},
        {"fingerprint", header + "/f/\t/f/\ta\ta\tb\tb\t1\t2\t-\t3.4\t5\t1\txyz\tmove\n", 0600,
         "line 2 is malformed"},
        {"kind", header + "/f/\t/f/\ta\ta\tb\tb\t1\t2\t-\t3.4\t5\t1\t-\tjump\n", 0600,
         "line 2 is malformed"},
        {"reserve-index", header + good + "reserve\t1\tb\n", 0600, "line 3 is malformed"},
        {"group-writable", summed(header + good), 0620, "can be written by other users"},
        {"world-writable", summed(header + good), 0602, "can be written by other users"},
        {"overflow",
         header + "/f/\t/f/\ta\ta\tb\tb\t99999999999999999999999\t2\t-\t3.4\t5\t1\t-\tmove\n", 0600,
         "line 2 is malformed"},
        {"negative", header + "/f/\t/f/\ta\ta\tb\tb\t-1\t2\t-\t3.4\t5\t1\t-\tmove\n", 0600,
         "malformed"},
        {"nanoseconds", header + "/f/\t/f/\ta\ta\tb\tb\t1\t2\t-\t3.1000000000\t5\t1\t-\tmove\n",
         0600, "malformed"},
        {"fields", header + "/f/\ta\n", 0600, "malformed"},
        {"escape", header + "/f/%G\t/f/\ta\ta\tb\tb\t1\t2\t-\t3.4\t5\t1\t-\tmove\n", 0600,
         "malformed"},
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
    // A write cut short by a crash (lines after the last sum, a line
    // without its end) is no entry; the rest is read.
    dir.write_file("cut", summed(header + good) + good + "/f/\t/f/\tc");
    const UndoJournalRead cut = read_undo_journal(dir.path() + "cut");
    ASSERT_TRUE(cut.journal) << cut.reason;
    EXPECT_EQ(cut.journal->entries.size(), 1u);
    // A journal an earlier version left (summed byte by byte) is undone.
    dir.write_file("version-3", summed("varnel-undo-journal 3\tboot\t1\n" + good + "end\n", 3));
    const UndoJournalRead old = read_undo_journal(dir.path() + "version-3");
    ASSERT_TRUE(old.journal) << old.reason;
    EXPECT_EQ(old.journal->entries.size(), 1u);
    EXPECT_TRUE(old.journal->finished);
}

// The sum is the same however the bytes are handed over, and changes with
// any byte and with the length (a zero byte at the end included).
TEST(UndoJournal, TheSumCoversEveryByteInAnyPieces) {
    std::string text;
    for (int i = 0; i < 61; ++i) text += static_cast<char>('a' + i % 26);
    const auto whole = [](std::string_view bytes) {
        JournalSum sum(4);
        sum.add(bytes);
        return sum.value();
    };
    const std::uint64_t expected = whole(text);
    for (const std::size_t piece : {1, 3, 7, 8, 9, 16, 60}) {
        JournalSum sum(4);
        for (std::size_t at = 0; at < text.size(); at += piece)
            sum.add(std::string_view(text).substr(at, piece));
        EXPECT_EQ(sum.value(), expected) << "pieces of " << piece;
    }
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::string changed = text;
        changed[at] = static_cast<char>(changed[at] ^ 0x20);
        EXPECT_NE(whole(changed), expected) << "byte " << at;
    }
    EXPECT_NE(whole(text + '\0'), expected);
    EXPECT_NE(whole(text.substr(0, 56)), whole(text.substr(0, 56) + std::string(8, '\0')));
}

// A journal others may write (as on a stick mounted 0777) is trusted only
// for folders on its own file system where anyone may rename files anyway.
TEST(UndoJournal, AJournalOthersMayWriteIsTrustedOnlyForFoldersOpenToAll) {
    test::TempDir dir;
    struct Case {
        const char* folder;  // under the test folder, or an absolute path
        mode_t mode;
        bool trusted;
    };
    // A folder open to all on another file system (tmpfs), where one exists.
    char other[] = "/dev/shm/varnel-test-XXXXXX";
    const bool other_device = mkdtemp(other) != nullptr && chmod(other, 0777) == 0;
    int number = 0;
    for (const Case& c : {Case{"open", 0777, true}, Case{"sticky", 01777, false},
                          Case{"private", 0755, false}, Case{other, 0777, false}}) {
        if (c.folder == other && !other_device) continue;
        const std::string folder =
            c.folder == other ? std::string(other) + "/" : dir.path() + c.folder + "/";
        if (c.folder != other) {
            ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
            ASSERT_EQ(chmod(folder.c_str(), c.mode), 0);
        }
        const std::string path = dir.path() + "journal" + std::to_string(++number);
        {
            std::string reason;
            auto writer = UndoJournalWriter::create(path, reason);
            ASSERT_TRUE(writer) << reason;
            const std::vector<UndoEntry> one{UndoEntry{folder, folder, "a", "a", "b", "b", {}}};
            ASSERT_TRUE(writer->record(one));
        }
        ASSERT_EQ(chmod(path.c_str(), 0666), 0);
        const UndoJournalRead read = read_undo_journal(path);
        EXPECT_EQ(read.journal.has_value(), c.trusted) << c.folder << ": " << read.reason;
        if (!c.trusted) {
            EXPECT_NE(read.reason.find("can be written by other users"), std::string::npos)
                << read.reason;
        }
    }
    if (other_device) rmdir(other);
}

TEST(UndoJournal, AJournalOfAnotherUserIsRefused) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
    test::TempDir dir;
    dir.write_file("j", "varnel-undo-journal 3\tboot\t1\n");
    ASSERT_EQ(chmod((dir.path() + "j").c_str(), 0644), 0);
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
    EXPECT_TRUE(dir.read_file("earlier").starts_with("varnel-undo-journal 4\t"));
    struct stat info {};
    ASSERT_EQ(lstat((dir.path() + "new").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // Only the journals themselves: no temporary is left behind.
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dangling", "earlier", "empty", "link", "new",
                                                     "song.mp3", "victim"}));
}

}  // namespace
}  // namespace varnel
