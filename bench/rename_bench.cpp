// SPDX-License-Identifier: GPL-3.0-or-later
// Renaming 10,000 files in one folder through the rename command, with and
// without the write-ahead undo journal, against a plain loop of renameat2
// calls over the same names in the same run; once on the disk
// ($VARNEL_BENCH_DIR, else $TMPDIR, else /tmp) and once on tmpfs
// (/dev/shm). Goals: with the journal within 1.3x of the loop on the disk
// and 1.5x on tmpfs.

#include <fcntl.h>
#include <stdio.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "bench_support.h"
#include "rename/batch_rows.h"
#include "rename/renamer.h"
#include "rename/undo_journal.h"

namespace varnel {
namespace {

constexpr int file_count = 10'000;
constexpr std::size_t batch_group = batch::group_rows;

struct Names {
    std::vector<std::string> before;
    std::vector<std::string> after;  // what the number rule below makes of them
};

Names make_names() {
    Names names;
    for (int i = 0; i < file_count; ++i) {
        const std::string number = std::to_string(i);
        names.before.push_back("file " + number + ".dat");
        names.after.push_back("g" + std::string(5 - number.size(), '0') + number + ".dat");
    }
    return names;
}

RulePages number_rule() {
    RulePages pages;
    pages.number.prefix = "g";
    pages.number.digits = "5";
    return pages;
}

void rename_all(int dir_fd, const std::vector<std::string>& from,
                const std::vector<std::string>& to) {
    for (std::size_t i = 0; i < from.size(); ++i)
        if (renameat2(dir_fd, from[i].c_str(), dir_fd, to[i].c_str(), RENAME_NOREPLACE) != 0)
            throw std::runtime_error("rename failed");
}

// Where the files live: 0 the disk, 1 tmpfs.
std::string base_of(const benchmark::State& state) {
    if (state.range(0) == 1) return "/dev/shm";
    const char* base = std::getenv("VARNEL_BENCH_DIR");
    if (!base || !*base) base = std::getenv("TMPDIR");
    return base && *base ? base : "/tmp";
}

bool usable(benchmark::State& state, const std::string& base) {
    constexpr long tmpfs_magic = 0x01021994;
    struct statfs info {};
    if (statfs(base.c_str(), &info) != 0 || (state.range(0) == 1 && info.f_type != tmpfs_magic)) {
        state.SkipWithError("no tmpfs at /dev/shm");
        return false;
    }
    return true;
}

void rename_command(benchmark::State& state, bool journal) {
    const std::string base = base_of(state);
    if (!usable(state, base)) return;
    bench::ScratchDir dir(base);
    const Names names = make_names();
    dir.create_files(names.before);
    const int dir_fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const Codec codec;
    const RulePages pages = number_rule();
    std::vector<ItemName> items;
    for (const std::string& name : names.before) items.push_back(ItemName{name, name});
    const std::string journal_path = dir.path() + "journal";
    // The list and the log outlive the batch, as in the window: made and
    // freed outside the timing.
    std::optional<FileList> list;
    std::optional<UndoLog> log;
    for (auto _ : state) {
        state.PauseTiming();
        list.emplace();
        list->append_items(ItemFolder{dir.path(), dir.path()}, items);
        log.emplace();
        state.ResumeTiming();
        std::string reason;
        std::optional<UndoJournalWriter> writer;
        BatchHooks hooks;
        if (journal) {
            writer = UndoJournalWriter::create(journal_path, reason);
            if (!writer) state.SkipWithError(reason.c_str());
            hooks.before_renames = [&](std::span<const UndoEntry> entries) {
                return error_number(writer->record(entries));
            };
            hooks.rename_failed = [&](std::size_t index) { writer->failed(index); };
        }
        const BatchOutcome outcome = rename_items(*list, pages, *log, codec, hooks);
        const int finish_error = writer ? error_number(writer->finish()) : 0;
        writer.reset();
        state.PauseTiming();
        list.reset();
        log.reset();
        if (finish_error != 0) state.SkipWithError("the journal could not be finished");
        if (!outcome.all_succeeded()) state.SkipWithError("a rename failed");
        rename_all(dir_fd, names.after, names.before);
        state.ResumeTiming();
    }
    ::close(dir_fd);
    state.SetItemsProcessed(state.iterations() * file_count);
}

void BM_RenameCommand(benchmark::State& state) {
    rename_command(state, false);
}

void BM_RenameWithJournal(benchmark::State& state) {
    rename_command(state, true);
}

void BM_PlainRenameat2Loop(benchmark::State& state) {
    const std::string base = base_of(state);
    if (!usable(state, base)) return;
    bench::ScratchDir dir(base);
    const Names names = make_names();
    dir.create_files(names.before);
    const int dir_fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (auto _ : state) {
        rename_all(dir_fd, names.before, names.after);
        state.PauseTiming();
        rename_all(dir_fd, names.after, names.before);
        state.ResumeTiming();
    }
    ::close(dir_fd);
    state.SetItemsProcessed(state.iterations() * file_count);
}

// The journal alone: the entries of 10,000 renames recorded in groups as a
// batch records them, on tmpfs; what the journal adds to the rename loop.
void BM_JournalRecord(benchmark::State& state) {
    if (!usable(state, "/dev/shm")) return;
    const bench::ScratchDir dir("/dev/shm");
    const Names names = make_names();
    FileId id;
    id.device = 64768;
    id.inode = 1'234'567;
    id.has_birth = true;
    id.birth_sec = id.mtime_sec = 1'765'000'000;
    id.birth_nsec = id.mtime_nsec = 123'456'789;
    std::vector<UndoEntry> entries;
    for (int i = 0; i < file_count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        entries.push_back(UndoEntry{dir.path(), dir.path(), names.before[at], names.before[at],
                                    names.after[at], names.after[at], id});
    }
    const std::span<const UndoEntry> all(entries);
    for (auto _ : state) {
        std::string reason;
        std::optional<UndoJournalWriter> writer =
            UndoJournalWriter::create(dir.path() + "journal", reason);
        if (!writer) {
            state.SkipWithError(reason.c_str());
            break;
        }
        for (std::size_t first = 0; first < all.size(); first += batch_group)
            if (!writer->record(all.subspan(first, std::min(batch_group, all.size() - first))))
                state.SkipWithError("the journal could not be written");
        if (!writer->finish()) state.SkipWithError("the journal could not be finished");
    }
    state.SetItemsProcessed(state.iterations() * file_count);
}

BENCHMARK(BM_JournalRecord)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// 8,000 case-only renames in a case-sensitive folder where each target is
// another file ("file 1.dat" -> "FILE 1.DAT", both present): every one
// fails with EEXIST. The rename command against the floor, a loop of the
// same 8,000 failing renameat2 calls, in the same run. Goal: the command
// stays linear (the folder is listed at most once to learn that it keeps
// case), within a small factor of the floor.
constexpr int failing_count = 8'000;

struct Failing {
    bench::ScratchDir dir;
    std::vector<std::string> lower;
    std::vector<std::string> upper;
    Failing() {
        for (int i = 0; i < failing_count; ++i) {
            lower.push_back("file " + std::to_string(i) + ".dat");
            upper.push_back("FILE " + std::to_string(i) + ".DAT");
        }
        dir.create_files(lower);
        dir.create_files(upper);
    }
};

void BM_EexistRenameCommand(benchmark::State& state) {
    const Failing files;
    const Codec codec;
    RulePages pages;
    pages.active = RulePage::letter_case;  // upper case, main name and extension
    std::vector<ItemName> items;
    for (const std::string& name : files.lower) items.push_back(ItemName{name, name});
    for (auto _ : state) {
        state.PauseTiming();
        FileList list;
        list.append_items(ItemFolder{files.dir.path(), files.dir.path()}, items);
        UndoLog log;
        state.ResumeTiming();
        const BatchOutcome outcome = rename_items(list, pages, log, codec, BatchHooks{});
        if (outcome.successes != 0) state.SkipWithError("a rename succeeded");
    }
    state.SetItemsProcessed(state.iterations() * failing_count);
}

void BM_EexistRenameat2Floor(benchmark::State& state) {
    const Failing files;
    const int dir_fd = ::open(files.dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (auto _ : state) {
        for (int i = 0; i < failing_count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (renameat2(dir_fd, files.lower[at].c_str(), dir_fd, files.upper[at].c_str(),
                          RENAME_NOREPLACE) == 0 ||
                errno != EEXIST)
                state.SkipWithError("a rename did not fail with EEXIST");
        }
    }
    ::close(dir_fd);
    state.SetItemsProcessed(state.iterations() * failing_count);
}

BENCHMARK(BM_EexistRenameat2Floor)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_EexistRenameCommand)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Arg 0: the disk; arg 1: tmpfs.
BENCHMARK(BM_PlainRenameat2Loop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RenameCommand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RenameWithJournal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace varnel
