// SPDX-License-Identifier: GPL-3.0-or-later
// A batch tag edit of 2,000 MP3 files (with its undo journal) against the
// same edits made one file at a time through `varnel-cli tag` in the same
// run. Goal: the batch within 1.5 times the one-at-a-time time. Each
// iteration sets the artist to a value the files do not hold yet, so every
// file is written every time.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "audio/batch_tag_edit.h"
#include "bench_support.h"

extern char** environ;

namespace varnel {
namespace {

constexpr int file_count = 2000;

// 2,000 MP3 files: an ID3v2.3 tag (title, artist, 1 KiB padding) before
// 200 KiB of audio bytes.
const std::vector<std::string>& mp3_paths() {
    static bench::ScratchDir scratch;
    static const std::vector<std::string> paths =
        bench::write_tagged_mp3s(scratch.path(), file_count);
    return paths;
}

void BM_BatchEdit(benchmark::State& state) {
    const Codec codec;
    const std::string journal_path = mp3_paths().front() + ".journal";
    int round = 0;
    for (auto _ : state) {
        std::string reason;
        std::optional<TagJournal> journal = TagJournal::create(journal_path, reason);
        if (!journal) {
            state.SkipWithError(reason.c_str());
            return;
        }
        TagEditRequest request;
        request.fields[1] = "Batch " + std::to_string(round++);
        for (const TagEditOutcome& outcome :
             edit_tags_of_files(mp3_paths(), request, codec, &*journal))
            if (outcome.status != TagEditStatus::written)
                state.SkipWithError("a file was not written");
    }
    state.counters["us_per_file"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * file_count,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_CliOneAtATime(benchmark::State& state) {
    // What the command prints goes nowhere, as in a script that edits.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    int round = 0;
    for (auto _ : state) {
        const std::string set = "artist=Cli " + std::to_string(round++);
        for (const std::string& path : mp3_paths()) {
            const char* argv[] = {VARNEL_CLI_PATH, "tag",       path.c_str(),
                                  "--set-v2",      set.c_str(), nullptr};
            pid_t pid = 0;
            if (posix_spawn(&pid, argv[0], &quiet, nullptr, const_cast<char**>(argv), environ) !=
                0) {
                state.SkipWithError("varnel-cli could not be started");
                return;
            }
            int status = 0;
            waitpid(pid, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                state.SkipWithError("varnel-cli failed");
        }
    }
    state.counters["us_per_file"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * file_count,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_BatchEdit)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_CliOneAtATime)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace varnel
