// SPDX-License-Identifier: GPL-3.0-or-later
// A batch killed (SIGKILL) while its journal runs a group of renames ahead
// of them: every intent is on disk before its rename, so undo after the kill
// brings back every file, whether its rename happened or not.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "rename/batch_rows.h"
#include "rename/renamer.h"
#include "rename/undo_journal.h"
#include "support/list_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

constexpr int group = batch::group_rows;
constexpr int file_count = 2 * group + 88;  // three groups, the last one short

enum class KillAt {
    second_group_written,  // its intents written, none of its renames made
    mid_group,             // 101 renames into the second group
    last_rename,           // every rename made, the journal not finished
};

// In the child: renames every file of `folder` with the default numbering
// and the journal at `journal`, and kills itself at `at`.
[[noreturn]] void rename_and_die(const std::string& folder, const std::vector<std::string>& names,
                                 const std::string& journal, KillAt at) {
    std::string reason;
    std::optional<UndoJournalWriter> writer = UndoJournalWriter::create(journal, reason);
    if (!writer) _exit(3);
    FileList list = test::list_of(folder, names);
    UndoLog log;
    int groups_written = 0;
    BatchHooks hooks;
    hooks.keep_undo_log = false;
    hooks.before_renames = [&](std::span<const UndoEntry> entries) {
        const int error = error_number(writer->record(entries));
        if (at == KillAt::second_group_written && ++groups_written == 2) raise(SIGKILL);
        return error;
    };
    hooks.rename_failed = [&](std::size_t index) { writer->failed(index); };
    hooks.before_claim = [&](std::size_t index, const std::string& name) {
        return error_number(writer->reserve(index, name));
    };
    hooks.item_done = [&](int row) {
        if ((at == KillAt::mid_group && row == group + 100) ||
            (at == KillAt::last_rename && row == file_count - 1))
            raise(SIGKILL);
    };
    (void)rename_items(list, RulePages{}, log, Codec(), hooks);
    _exit(4);
}

TEST(BatchKill, AKilledBatchIsUndoneExactlyWhereverItStopped) {
    const struct {
        KillAt at;
        int renamed;    // files under their new names at the kill
        int journaled;  // renames the journal holds
    } cases[] = {
        {KillAt::second_group_written, group, 2 * group},
        {KillAt::mid_group, group + 101, 2 * group},
        {KillAt::last_rename, file_count, file_count},
    };
    for (const auto& c : cases) {
        const test::TempDir files;
        const test::TempDir state;
        std::vector<std::string> names;
        for (int i = 0; i < file_count; ++i) {
            names.push_back("f" + std::to_string(1000 + i) + ".txt");
            files.write_file(names.back(), names.back());
        }
        const std::string journal = state.path() + "journal";
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) rename_and_die(files.path(), names, journal, c.at);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        const std::vector<std::string> after = files.names();
        EXPECT_EQ(std::count_if(after.begin(), after.end(),
                                [](const std::string& name) { return name[0] != 'f'; }),
                  c.renamed);

        const UndoJournalRead read = read_undo_journal(journal);
        ASSERT_TRUE(read.journal) << read.reason;
        EXPECT_FALSE(read.journal->finished);
        EXPECT_EQ(read.journal->entries.size(), static_cast<std::size_t>(c.journaled));
        const BatchOutcome undone =
            undo_entries(read.journal->entries, Codec(), {}, {}, read.journal->reservations);
        EXPECT_TRUE(undone.all_succeeded()) << undone.summary;
        EXPECT_EQ(files.names(), names);
        for (const std::string& name : {names.front(), names[group], names.back()})
            EXPECT_EQ(files.read_file(name), name);
    }
}

}  // namespace
}  // namespace varnel
