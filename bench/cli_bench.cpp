// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli over 100,000 paths read with --files-from: all from one
// folder, against the same number alternating between two folders (each
// path's folder differs from the one before). Goal: alternating within
// 1.5x of one folder. preview is measured, so that the disk plays no part:
// what differs is only how the items are added.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <fstream>

#include "bench_support.h"

extern char** environ;

namespace varnel {
namespace {

constexpr int path_count = 100'000;

std::string write_list(const bench::ScratchDir& dir, bool alternate) {
    const std::string list = dir.path() + (alternate ? "alternating" : "one");
    std::ofstream out(list);
    for (int i = 0; i < path_count; ++i)
        out << "/music/" << (alternate && i % 2 == 1 ? "b" : "a") << "/track " << i << ".mp3\n";
    return list;
}

bool run_preview(const std::string& list) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {VARNEL_CLI_PATH, "preview",    "number",
                          "--files-from",  list.c_str(), nullptr};
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, VARNEL_CLI_PATH, &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void BM_CliPreview(benchmark::State& state) {
    bench::ScratchDir dir;
    const std::string list = write_list(dir, state.range(0) == 1);
    for (auto _ : state)
        if (!run_preview(list)) state.SkipWithError("varnel-cli failed");
    state.SetItemsProcessed(state.iterations() * path_count);
}

// Arg 0: one folder; arg 1: two folders alternating.
BENCHMARK(BM_CliPreview)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

}  // namespace
}  // namespace varnel
