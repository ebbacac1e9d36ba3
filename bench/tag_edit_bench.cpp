// SPDX-License-Identifier: GPL-3.0-or-later
// Tag edits that fit the old tag's space, against TagLib's in-place save
// followed by fsync, in one run (goal: within 2x), for a change of a few
// bytes and of 3,000; and the cost of a
// whole-file rewrite beside 1 and 100,000 other files in the folder (goal:
// the same).
//
// Files live in a scratch folder (bench_support.h); point VARNEL_BENCH_DIR
// at a folder on a real disk where /tmp is a tmpfs, or the syncs cost
// nothing.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "id3/id3v2_writer.h"

namespace varnel {
namespace {

// A file of `size` bytes standing for audio (no tag yet).
std::string make_song(const bench::ScratchDir& dir, const std::string& name, std::size_t size) {
    const std::string path = dir.path() + name;
    std::ofstream out(path, std::ios::binary);
    std::string block(1 << 20, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 131 + 7);
    block[0] = '\xFF';
    block[1] = '\xFB';
    for (std::size_t done = 0; done < size; done += block.size())
        out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), size - done)));
    return path;
}

bool our_edit(const std::string& path, const std::string& title, const std::string& comment = {}) {
    std::optional<ByteFile> file = ByteFile::open_read_write(path);
    if (!file) return false;
    TagFields fields;
    fields.title = title;
    fields.artist = "Artist";
    fields.comment = comment;
    return write_id3v2_tag(*file, path, fields);
}

bool taglib_edit(const std::string& path, const std::string& title,
                 const std::string& comment = {}) {
    {
        TagLib::MPEG::File file(path.c_str(), false);
        file.ID3v2Tag(true)->setTitle(title);
        file.ID3v2Tag(true)->setArtist("Artist");
        file.ID3v2Tag(true)->setComment(comment);
        if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3))
            return false;
    }
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    if (fd >= 0) close(fd);
    return synced;
}

template <typename Action>
double seconds_of(const Action& action) {
    const auto start = std::chrono::steady_clock::now();
    const bool done = action();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return done ? took.count() : -1;
}

// Manual time: ours; counters: TagLib's time and the ratio ours / TagLib's.
// Arg 0: a short title changes (a few bytes); arg 1: a 3,000-byte comment
// changes every byte. Either way the record of the changed bytes goes to
// the user's private folder first (XDG_STATE_HOME: put it on the same kind
// of disk as VARNEL_BENCH_DIR).
void BM_FittingEditAgainstTagLib(benchmark::State& state) {
    const bool long_run = state.range(0) == 1;
    const auto comment = [long_run](int round) {
        return long_run ? std::string(3000, round % 2 == 0 ? 'a' : 'b') : std::string();
    };
    const bench::ScratchDir dir;
    const std::string ours = make_song(dir, "ours.mp3", 50'000'000);
    const std::string theirs = make_song(dir, "theirs.mp3", 50'000'000);
    // First tags, with room to spare for the short titles that follow.
    if (!our_edit(ours, std::string(200, 'x'), comment(1)) ||
        !taglib_edit(theirs, std::string(200, 'x'), comment(1))) {
        state.SkipWithError("the first tags failed");
        return;
    }
    sync();
    double our_time = 0;
    double their_time = 0;
    int round = 0;
    for (auto _ : state) {
        const std::string title = "Title " + std::to_string(round);
        const std::string text = comment(round++);
        const double mine = seconds_of([&] { return our_edit(ours, title, text); });
        const double taglib = seconds_of([&] { return taglib_edit(theirs, title, text); });
        if (mine < 0 || taglib < 0) {
            state.SkipWithError("an edit failed");
            break;
        }
        state.SetIterationTime(mine);
        our_time += mine;
        their_time += taglib;
    }
    const auto n = static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
    state.counters["taglib_ms"] = their_time * 1000 / n;
    state.counters["ratio"] = their_time > 0 ? our_time / their_time : 0;
}

// A whole-file rewrite (the tag grows, then is removed) of a 1 MB file
// beside state.range(0) other files.
void BM_RewriteAmongNeighbours(benchmark::State& state) {
    const bench::ScratchDir dir;
    std::vector<std::string> names;
    for (std::int64_t i = 0; i < state.range(0); ++i) names.push_back("n" + std::to_string(i));
    dir.create_files(names);
    const std::string path = make_song(dir, "song.mp3", 1'000'000);
    sync();
    for (auto _ : state) {
        std::optional<ByteFile> file = ByteFile::open_read_write(path);
        TagFields fields;
        fields.title = std::string(2000, 't');
        if (!file || !write_id3v2_tag(*file, path, fields) || !remove_id3v2_tag(*file, path).ok) {
            state.SkipWithError("the rewrite failed");
            break;
        }
    }
    state.counters["writes_per_iteration"] = 2;
}

BENCHMARK(BM_FittingEditAgainstTagLib)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(30);
BENCHMARK(BM_RewriteAmongNeighbours)
    ->Arg(1)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);

}  // namespace
}  // namespace varnel
