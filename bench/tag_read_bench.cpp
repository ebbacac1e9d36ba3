// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the tags of 2,000 MP3 files through the tag rule (warm cache),
// against TagLib reading the same files in the same run; and a large junk
// file without any tag. Goals: at most 15 µs per file; the junk file under
// 1 ms whatever its size.
//
// The corpus comes from VARNEL_MP3_CORPUS (a folder made by
// gen_mp3_corpus.py, with its files.txt); bench/run.sh makes one.

#include <benchmark/benchmark.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <cstdlib>
#include <fstream>

#include "bench_support.h"
#include "filelist/adding.h"
#include "rename/tag_rule.h"

namespace varnel {
namespace {

std::vector<std::string> corpus_paths() {
    const char* folder = std::getenv("VARNEL_MP3_CORPUS");
    std::vector<std::string> paths;
    if (!folder) return paths;
    std::ifstream list(std::string(folder) + "/files.txt");
    for (std::string line; std::getline(list, line);)
        if (!line.empty())
            paths.push_back(line.front() == '/' ? line : std::string(folder) + "/" + line);
    return paths;
}

FileList list_of_paths(const std::vector<std::string>& paths) {
    FileList list;
    for (const std::string& path : paths) {
        const std::string folder = folder_of_path(path);
        const std::string name = name_of_path(path);
        list.append_items(ItemFolder{folder, folder}, {ItemName{name, name}});
    }
    return list;
}

void BM_TagRule(benchmark::State& state) {
    const std::vector<std::string> paths = corpus_paths();
    if (paths.empty()) {
        state.SkipWithError("set VARNEL_MP3_CORPUS to a corpus folder");
        return;
    }
    FileList list = list_of_paths(paths);
    const Codec codec;
    const TagOptions options{"#1-#2-#3", false};
    for (auto _ : state) {
        compute_tag_names(list, options, codec);
        benchmark::DoNotOptimize(list.new_names().data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
    state.counters["us_per_file"] =
        benchmark::Counter(static_cast<double>(state.iterations() * paths.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                           benchmark::Counter::OneK::kIs1000);
}

void BM_TagLib(benchmark::State& state) {
    const std::vector<std::string> paths = corpus_paths();
    if (paths.empty()) {
        state.SkipWithError("set VARNEL_MP3_CORPUS to a corpus folder");
        return;
    }
    std::size_t total = 0;
    for (auto _ : state) {
        for (const std::string& path : paths) {
            TagLib::MPEG::File file(path.c_str(), false);
            const TagLib::Tag* tag = file.ID3v2Tag();
            if (!tag || tag->isEmpty()) tag = file.ID3v1Tag();
            if (tag) total += tag->artist().size() + tag->title().size() + tag->album().size();
        }
    }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
    state.counters["us_per_file"] =
        benchmark::Counter(static_cast<double>(state.iterations() * paths.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                           benchmark::Counter::OneK::kIs1000);
}

// 256 MiB of bytes without any tag: the rule must not scan them.
void BM_JunkFileWithoutTag(benchmark::State& state) {
    bench::ScratchDir dir;
    {
        std::ofstream junk(dir.path() + "junk.mp3", std::ios::binary);
        std::string block(1 << 20, '\x5A');
        for (int i = 0; i < 256; ++i)
            junk.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    FileList list = list_of_paths({dir.path() + "junk.mp3"});
    const Codec codec;
    for (auto _ : state) {
        compute_tag_names(list, TagOptions{"#1", false}, codec);
        benchmark::DoNotOptimize(list.new_names().data());
    }
}

BENCHMARK(BM_TagRule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TagLib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JunkFileWithoutTag)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
