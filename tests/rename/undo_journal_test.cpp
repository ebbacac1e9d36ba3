#include "rename/undo_journal.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace varnel {
namespace {

TEST(UndoJournal, RoundTripsAwkwardBytesFoldersAndEmptyEntries) {
    test::TempDir dir;
    FileList list;
    list.append_items(ItemFolder{"/a\t%/", "/a\t%/"},
                      {{"x\ny", "x\ny"}, {"\xC4\xE3", "\xE4\xBD\xA0"}});
    list.append_items(ItemFolder{"/b/", "/b/"}, {{"c", "c"}});
    UndoLog log;
    log.entries[0] = UndoEntry{"old\t1", "old\t1", "/a\t%/", "x\ny", FileId{7, 1234567890123}};
    log.entries[2] = UndoEntry{"z", "z", "/b/", "c", FileId{1, 2}};

    const std::string path = dir.path() + "journal";
    ASSERT_TRUE(write_undo_journal(path, list, log));
    const auto journal = read_undo_journal(path);
    ASSERT_TRUE(journal);
    const FileList& read = journal->list;
    ASSERT_EQ(read.item_count(), 3);
    EXPECT_EQ(read.old_names()[0], "x\ny");
    EXPECT_EQ(read.old_names()[1], "\xC4\xE3");
    EXPECT_EQ(read.fs_name(1), "\xE4\xBD\xA0");
    EXPECT_EQ(read.item_folder(0).fs, "/a\t%/");
    EXPECT_EQ(read.folder_index(0), read.folder_index(1));
    EXPECT_EQ(read.item_folder(2).fs, "/b/");
    EXPECT_EQ(journal->log.entries[0].name, "old\t1");
    EXPECT_EQ(journal->log.entries[0].file, (FileId{7, 1234567890123}));
    EXPECT_TRUE(journal->log.entries[1].is_empty());
    EXPECT_EQ(journal->log.entries[2].renamed_fs_name, "c");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"journal"}));
}

TEST(UndoJournal, RejectsFilesThatAreNotJournals) {
    test::TempDir dir;
    EXPECT_FALSE(read_undo_journal(dir.path() + "missing"));
    dir.write_file("other", "hello\n");
    EXPECT_FALSE(read_undo_journal(dir.path() + "other"));
    dir.write_file("broken", "varnel-undo-journal 1\n/a/\t/a/\tx\tx\n");
    EXPECT_FALSE(read_undo_journal(dir.path() + "broken"));
    dir.write_file("bad-escape", "varnel-undo-journal 1\n/a/\t/a/\tx%4\tx\t\t\t\t\t0\t0\t0\n");
    EXPECT_FALSE(read_undo_journal(dir.path() + "bad-escape"));
}

}  // namespace
}  // namespace varnel
