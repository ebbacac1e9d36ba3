// SPDX-License-Identifier: GPL-3.0-or-later
// Batches and their undo where file systems make it hard: FAT and exFAT
// through FUSE (inode numbers reused at once, modification times stamped
// again after a rename, no RENAME_NOREPLACE, journals that everyone may
// write), and another process taking names while a batch runs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/dir_handle.h"
#include "platform/file_id.h"
#include "platform/folder_listing.h"
#include "platform/language.h"
#include "rename/renamer.h"
#include "rename/undo_journal.h"
#include "support/exfat_mount.h"
#include "support/list_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FuseKind;

void put(const std::string& path, const std::string& content) {
    ASSERT_TRUE(test::put_file(path, content)) << path;
}

std::string get(const std::string& path) {
    return test::get_file(path);
}

std::vector<std::string> listing(const std::string& folder) {
    auto names = list_folder_files(folder).value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end());
    return names;
}

// A batch whose journal lives at `journal`, as the programs run it.
struct JournaledBatch {
    std::optional<UndoJournalWriter> writer;
    BatchHooks hooks;
    explicit JournaledBatch(const std::string& journal, RenameOrder order = RenameOrder::in_order) {
        std::string reason;
        writer = UndoJournalWriter::create(journal, reason);
        EXPECT_TRUE(writer) << reason;
        hooks.order = order;
        hooks.keep_undo_log = false;
        hooks.before_renames = [this](std::span<const UndoEntry> e) {
            return error_number(writer->record(e));
        };
        hooks.rename_failed = [this](std::size_t i) { writer->failed(i); };
        hooks.before_claim = [this](std::size_t i, const std::string& name) {
            return error_number(writer->reserve(i, name));
        };
    }
};

// Undoes the journal at `path`; the reasons of the failures, in order.
std::vector<std::string> undo_journal(const std::string& path, int& successes) {
    ClaimedJournal claimed = claim_undo_journal(path);
    EXPECT_TRUE(claimed.state == JournalState::finished ||
                claimed.state == JournalState::interrupted)
        << claimed.reason;
    std::vector<std::string> reasons;
    const BatchOutcome outcome = undo_entries(
        claimed.contents.entries, Codec(),
        [&](const UndoEntry&, bool undone, const std::string& reason) {
            if (!undone) reasons.push_back(reason);
        },
        {}, claimed.contents.reservations);
    successes = outcome.successes;
    return reasons;
}

class OnFuse : public ::testing::TestWithParam<FuseKind> {};

#define REQUIRE_MOUNT(mount)                          \
    if (!(mount).mounted())                           \
    GTEST_SKIP() << "cannot mount " << (mount).name() \
                 << " here (needs /dev/fuse, exfat-fuse, fusefat, mkfs.exfat, mkfs.vfat)"

// fusefat stamps a new modification time on a renamed file some seconds
// later; undo three seconds after the batch still knows every file, by a
// journal kept on the stick itself.
TEST_P(OnFuse, UndoSecondsLaterRestoresEveryNameFromAJournalOnTheStick) {
    test::ExfatMount stick(GetParam());
    REQUIRE_MOUNT(stick);
    const std::string m = stick.mount_point();
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) {
        names.push_back("song" + std::to_string(i) + ".mp3");
        put(m + names.back(), std::string(5000 + i * 700, static_cast<char>('a' + i % 26)));
    }
    const auto before = listing(m);
    FileList list = test::list_of(m, names);
    RulePages pages;
    pages.number.body = "track";
    UndoLog log;
    {
        JournaledBatch batch(m + "journal");
        ASSERT_TRUE(rename_items(list, pages, log, Codec(), batch.hooks).all_succeeded());
        ASSERT_TRUE(batch.writer->finish());
    }
    sleep(3);
    int successes = 0;
    const auto reasons = undo_journal(m + "journal", successes);
    EXPECT_EQ(successes, 30) << (reasons.empty() ? "" : reasons.front());
    auto now = listing(m);
    now.erase(std::remove(now.begin(), now.end(), "journal"), now.end());
    EXPECT_EQ(now, before);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(get(m + names[static_cast<std::size_t>(i)]).size(), 5000u + i * 700u);
}

// Rename, delete, make a file of the same size under the new name: the
// stranger keeps its name, and the reason says what told it apart.
TEST_P(OnFuse, AStrangerInTheRenamedFilesPlaceIsNeverRenamed) {
    test::ExfatMount stick(GetParam());
    REQUIRE_MOUNT(stick);
    const std::string m = stick.mount_point();
    put(m + "a.txt", "first content");
    FileList list = test::list_of(m, {"a.txt"});
    RulePages pages;
    pages.number.body = "b";
    pages.number.scope = NameScope::main_name;
    UndoLog log;
    {
        JournaledBatch batch(m + "journal");
        ASSERT_TRUE(rename_items(list, pages, log, Codec(), batch.hooks).all_succeeded());
    }
    const std::string renamed = list.fs_name(0);
    ASSERT_EQ(unlink((m + renamed).c_str()), 0);
    put(m + renamed, "other content");  // the same size
    int successes = 0;
    const auto reasons = undo_journal(m + "journal", successes);
    EXPECT_EQ(successes, 0);
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_NE(reasons[0].find(code_page("内容不同")), std::string::npos) << reasons[0];
    EXPECT_EQ(get(m + renamed), "other content");
    EXPECT_FALSE(access((m + "a.txt").c_str(), F_OK) == 0);
}

// A batch killed after reserving a name (an empty file) or halfway through a
// case-only rename (the file under a temporary name): undo removes the
// reservation and brings the file back, as the journal says.
TEST_P(OnFuse, UndoRemovesReservationsAndFindsFilesUnderTemporaryNames) {
    test::ExfatMount stick(GetParam());
    REQUIRE_MOUNT(stick);
    const std::string m = stick.mount_point();
    put(m + "a.txt", "content of a");
    put(m + "c.txt", "content of c");
    const auto dir = DirHandle::open_path(m);
    ASSERT_TRUE(dir);
    const auto id_a = file_id_at(dir->fd(), "a.txt", dir->lasting_inodes());
    const auto id_c = file_id_at(dir->fd(), "c.txt", dir->lasting_inodes());
    ASSERT_TRUE(id_a && id_c);
    {
        std::string reason;
        auto writer = UndoJournalWriter::create(m + "journal", reason);
        ASSERT_TRUE(writer) << reason;
        const std::vector<UndoEntry> entries{
            UndoEntry{m, m, "a.txt", "a.txt", "b.txt", "b.txt", *id_a},
            UndoEntry{m, m, "c.txt", "c.txt", "C.txt", "C.txt", *id_c}};
        ASSERT_TRUE(writer->record(entries));
        ASSERT_TRUE(writer->reserve(0, "b.txt"));
        put(m + "b.txt", "");  // the reservation, and then the kill
        ASSERT_TRUE(writer->reserve(1, ".varnel-rename-1-1"));
        ASSERT_EQ(rename((m + "c.txt").c_str(), (m + ".varnel-rename-1-1").c_str()), 0);
    }
    int successes = 0;
    const auto reasons = undo_journal(m + "journal", successes);
    EXPECT_EQ(successes, 2) << (reasons.empty() ? "" : reasons.front());
    EXPECT_EQ(listing(m), (std::vector<std::string>{"a.txt", "c.txt", "journal"}));
    EXPECT_EQ(get(m + "c.txt"), "content of c");
}

// One step of a swap fails (another process takes the name at that moment):
// the file stays under its temporary name, and the row, the journal and
// the undo all name it.
TEST_P(OnFuse, AFileLeftUnderATemporaryNameIsNamedEverywhere) {
    test::ExfatMount stick(GetParam());
    REQUIRE_MOUNT(stick);
    const std::string m = stick.mount_point();
    put(m + "1.txt", "one");
    put(m + "0.txt", "zero");
    FileList list = test::list_of(m, {"1.txt", "0.txt"});
    RulePages pages;  // numbering from 0: a swap
    UndoLog log;
    {
        JournaledBatch batch(m + "journal", RenameOrder::smart);
        const auto claim = batch.hooks.before_claim;
        batch.hooks.before_claim = [&](std::size_t i, const std::string& name) {
            if (name == "0.txt" && access((m + "0.txt").c_str(), F_OK) != 0)
                put(m + "0.txt", "intruder");
            return claim(i, name);
        };
        EXPECT_EQ(rename_items(list, pages, log, Codec(), batch.hooks).successes, 1);
    }
    std::string temporary;
    for (const std::string& name : listing(m))
        if (name.starts_with(".varnel-swap-")) temporary = name;
    ASSERT_FALSE(temporary.empty());
    EXPECT_EQ(get(m + temporary), "one");
    EXPECT_NE(list.status_reason(0).find(temporary), std::string::npos) << list.status_reason(0);
    const UndoJournalRead read = read_undo_journal(m + "journal");
    ASSERT_TRUE(read.journal) << read.reason;
    EXPECT_TRUE(std::any_of(read.journal->entries.begin(), read.journal->entries.end(),
                            [&](const UndoEntry& e) { return e.renamed_fs_name == temporary; }));
    int successes = 0;
    const auto reasons = undo_journal(m + "journal", successes);
    EXPECT_TRUE(
        std::any_of(reasons.begin(), reasons.end(),
                    [&](const std::string& r) { return r.find(temporary) != std::string::npos; }))
        << "no undo failure names " << temporary;
    EXPECT_EQ(get(m + "0.txt"), "intruder");
}

INSTANTIATE_TEST_SUITE_P(FatAndExfat, OnFuse, ::testing::Values(FuseKind::exfat, FuseKind::fat),
                         [](const auto& param_info) {
                             return std::string(param_info.param == FuseKind::fat ? "Fat"
                                                                                  : "Exfat");
                         });

// Another process takes every free name it can while a smart batch of swaps
// and chains runs on a file system that swaps names (ext4 or tmpfs): nothing is left under
// a temporary name, no file is lost, and each file is under its old or its
// new name.
TEST(SmartOrderRace, AnotherProcessTakingNamesStrandsNothing) {
    test::TempDir dir;
    if (!can_exchange_names(DirHandle::open_path(dir.path())->fd()))
        GTEST_SKIP() << "the temporary folder's file system does not swap names";
    constexpr int files = 600;
    std::vector<std::string> names;
    // Pairs swap (1,0 3,2 ...); the last third forms a chain into free names.
    for (int i = 0; i < files; ++i) {
        const int wanted = i < 400 ? (i % 2 == 0 ? i + 1 : i - 1) : i + 1;
        names.push_back(std::to_string(wanted) + ".txt");
    }
    for (const std::string& name : names) dir.write_file(name, "was " + name);
    const pid_t racer = fork();
    ASSERT_GE(racer, 0);
    if (racer == 0) {
        // Bounded: two seconds at most, whatever happens to the parent.
        for (int round = 0; round < 2000; ++round) {
            for (int i = 0; i <= files; ++i) {
                const int fd = open((dir.path() + std::to_string(i) + ".txt").c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL, 0600);
                if (fd >= 0) close(fd);
            }
            usleep(1000);
        }
        _exit(0);
    }
    FileList list = test::list_of(dir.path(), names);
    RulePages pages;
    pages.number.start = "0";
    UndoLog log;
    BatchHooks hooks;
    hooks.order = RenameOrder::smart;
    (void)rename_items(list, pages, log, Codec(), hooks);  // the racer decides which fail
    kill(racer, SIGKILL);
    waitpid(racer, nullptr, 0);
    int found = 0;
    for (const std::string& name : dir.names()) {
        EXPECT_FALSE(name.starts_with(".varnel")) << name;
        if (!dir.read_file(name).empty()) ++found;  // else the racer's
    }
    EXPECT_EQ(found, files);
    for (int row = 0; row < files; ++row) {
        const std::string content = dir.read_file(list.fs_name(row));
        EXPECT_EQ(content, "was " + names[static_cast<std::size_t>(row)]) << "row " << row;
    }
}

}  // namespace
}  // namespace varnel
