// Renaming 10,000 files in one folder through the rename command, against a
// plain loop of renameat2 calls over the same names in the same run.
// Goal: the command within 1.2x of the loop.

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "bench_support.h"
#include "rename/renamer.h"

namespace varnel {
namespace {

constexpr int file_count = 10'000;

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

void BM_RenameCommand(benchmark::State& state) {
    bench::ScratchDir dir;
    const Names names = make_names();
    dir.create_files(names.before);
    const int dir_fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const Codec codec;
    const RulePages pages = number_rule();
    std::vector<ItemName> items;
    for (const std::string& name : names.before) items.push_back(ItemName{name, name});
    for (auto _ : state) {
        state.PauseTiming();
        FileList list;
        list.append_items(ItemFolder{dir.path(), dir.path()}, items);
        UndoLog log;
        state.ResumeTiming();
        const BatchOutcome outcome = rename_items(list, pages, log, codec, nullptr);
        state.PauseTiming();
        if (!outcome.all_succeeded()) state.SkipWithError("a rename failed");
        rename_all(dir_fd, names.after, names.before);
        state.ResumeTiming();
    }
    ::close(dir_fd);
    state.SetItemsProcessed(state.iterations() * file_count);
}

void BM_PlainRenameat2Loop(benchmark::State& state) {
    bench::ScratchDir dir;
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

BENCHMARK(BM_PlainRenameat2Loop)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RenameCommand)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace varnel
