// SPDX-License-Identifier: GPL-3.0-or-later
// Rewriting the ID3v2 tag of a 50 MB file, synced to disk, against `cp` of
// the same file followed by `sync` (both spawned), in the same run. Goal:
// the rewrite within 1.5x of cp + sync.
//
// Every timed rewrite meets the same fresh file, restored from a pristine
// copy and synced outside the timing: a tag of a 100-byte title (with the
// writer's padding) that grows to a 3,000-byte title, which does not fit,
// so the audio really moves each time.
//
// The files live in a scratch folder (bench_support.h): point
// VARNEL_BENCH_DIR at a folder on a real disk where /tmp is a tmpfs, or
// the syncs cost nothing. BM_RewriteAgainstCp alternates the two so that
// drifting disk speed hits both alike; its counter `ratio` is the rewrite's
// time over cp + sync's.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "id3/id3v2_writer.h"

extern char** environ;

namespace varnel {
namespace {

constexpr std::size_t file_size = 50'000'000;

// A 50 MB file of bytes standing for audio (no tag yet), synced.
std::string make_song(const bench::ScratchDir& dir) {
    const std::string path = dir.path() + "song.mp3";
    {
        std::ofstream out(path, std::ios::binary);
        std::string block(1 << 20, '\0');
        for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 131 + 7);
        for (std::size_t done = 0; done < file_size; done += block.size())
            out.write(block.data(),
                      static_cast<std::streamsize>(std::min(block.size(), file_size - done)));
    }
    sync();
    return path;
}

// Runs a program found on PATH and waits for it; true when it exits with 0.
bool run(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Writes a tag with a title of `title_bytes` bytes.
bool write_title(const std::string& path, std::size_t title_bytes) {
    TagFields fields;
    fields.title = std::string(title_bytes, 't');
    std::optional<ByteFile> file = ByteFile::open_read_write(path);
    return file && write_id3v2_tag(*file, path, fields);
}

// The growing edit that is measured.
bool rewrite(const std::string& path) {
    return write_title(path, 3000);
}

// The pristine file: the song with a tag of a 100-byte title, synced.
std::string make_pristine(const bench::ScratchDir& dir) {
    const std::string song = make_song(dir);
    const std::string pristine = dir.path() + "pristine.mp3";
    std::filesystem::rename(song, pristine);
    if (!write_title(pristine, 100)) throw std::runtime_error("cannot tag the pristine file");
    sync();
    return pristine;
}

// `to` made a fresh copy of `pristine`, everything synced (not timed).
void restore(const std::string& pristine, const std::string& to) {
    std::filesystem::copy_file(pristine, to, std::filesystem::copy_options::overwrite_existing);
    sync();
}

bool copy_and_sync(const std::string& from, const std::string& to) {
    return run({"cp", from, to}) && run({"sync"});
}

double seconds_of(const auto& action) {
    const auto start = std::chrono::steady_clock::now();
    const bool done = action();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return done ? took.count() : -1;
}

void BM_TagRewriteSynced(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string pristine = make_pristine(dir);
    const std::string path = dir.path() + "song.mp3";
    for (auto _ : state) {
        state.PauseTiming();
        restore(pristine, path);
        state.ResumeTiming();
        if (!rewrite(path)) state.SkipWithError("the rewrite failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file_size));
}

void BM_CpThenSync(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = make_song(dir);
    for (auto _ : state)
        if (!copy_and_sync(path, dir.path() + "copy.mp3")) state.SkipWithError("cp or sync failed");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file_size));
}

// Manual time: the rewrite's; counter `ratio`: rewrite time / cp + sync time.
void BM_RewriteAgainstCp(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string pristine = make_pristine(dir);
    const std::string path = dir.path() + "song.mp3";
    double rewriting = 0;
    double copying = 0;
    for (auto _ : state) {
        restore(pristine, path);
        const double rewrite_time = seconds_of([&] { return rewrite(path); });
        if (std::filesystem::file_size(path) <= std::filesystem::file_size(pristine)) {
            state.SkipWithError("the edit did not grow the file");
            break;
        }
        const double copy_time =
            seconds_of([&] { return copy_and_sync(path, dir.path() + "copy.mp3"); });
        if (rewrite_time < 0 || copy_time < 0) {
            state.SkipWithError("the rewrite, cp or sync failed");
            break;
        }
        state.SetIterationTime(rewrite_time);
        rewriting += rewrite_time;
        copying += copy_time;
    }
    state.counters["cp_sync_ms"] =
        copying * 1000 / static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
    state.counters["ratio"] = copying > 0 ? rewriting / copying : 0;
}

BENCHMARK(BM_TagRewriteSynced)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_CpThenSync)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_RewriteAgainstCp)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

}  // namespace
}  // namespace varnel
