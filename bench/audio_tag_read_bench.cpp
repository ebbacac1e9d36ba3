// SPDX-License-Identifier: GPL-3.0-or-later
// The tag rule over 2,000 FLAC and 2,000 M4A files (warm cache), against a
// bare TagLib loop reading the same six fields of the same files in the
// same run. Goal: the rule within 1.5 times TagLib's time.
//
// The files are copies of ones mutagen tagged (tests/audio/make_corpus.py,
// run with Debian's python3), each FLAC followed by 64 KiB of audio bytes.

#include <benchmark/benchmark.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench_support.h"
#include "rename/tag_rule.h"

namespace varnel {
namespace {

constexpr int files_per_format = 2000;

// The scratch folder holding f0000.flac ... and f0000.m4a ...; empty when
// the corpus script could not run.
const std::string& corpus_folder() {
    static bench::ScratchDir scratch;
    static const std::string folder = [] {
        const std::string seed = scratch.path() + "seed/";
        std::filesystem::create_directories(seed);
        const std::string command =
            "/usr/bin/python3 " VARNEL_AUDIO_CORPUS_SCRIPT " " + seed + " > /dev/null";
        if (std::system(command.c_str()) != 0) return std::string();
        const std::string padding(64 * 1024, '\x5A');
        for (const char* extension : {"flac", "m4a"}) {
            std::ifstream in(seed + "chinese." + extension, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            for (int i = 0; i < files_per_format; ++i) {
                char name[32];
                std::snprintf(name, sizeof name, "f%04d.%s", i, extension);
                std::ofstream out(scratch.path() + name, std::ios::binary);
                out << bytes;
                if (std::string_view(extension) == "flac") out << padding;
            }
        }
        return scratch.path();
    }();
    return folder;
}

std::vector<std::string> names_of(const char* extension) {
    std::vector<std::string> names;
    for (int i = 0; i < files_per_format; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%04d.%s", i, extension);
        names.emplace_back(name);
    }
    return names;
}

void BM_TagRule(benchmark::State& state, const char* extension) {
    if (corpus_folder().empty()) {
        state.SkipWithError("no python3 with mutagen for the corpus");
        return;
    }
    FileList list;
    std::vector<ItemName> items;
    for (const std::string& name : names_of(extension)) items.push_back(ItemName{name, name});
    list.append_items(ItemFolder{corpus_folder(), corpus_folder()}, items);
    const Codec codec;
    TagOptions options{"#1-#2-#3-#4-#5-#6"};
    options.other_formats = true;
    for (auto _ : state) {
        compute_tag_names(list, options, codec);
        benchmark::DoNotOptimize(list.new_names().data());
    }
    state.counters["us_per_file"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * files_per_format,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TagLib(benchmark::State& state, const char* extension) {
    if (corpus_folder().empty()) {
        state.SkipWithError("no python3 with mutagen for the corpus");
        return;
    }
    std::vector<std::string> paths;
    for (const std::string& name : names_of(extension)) paths.push_back(corpus_folder() + name);
    for (auto _ : state) {
        for (const std::string& path : paths) {
            const TagLib::FileRef file(path.c_str(), false);
            if (file.isNull()) continue;
            const TagLib::Tag& tag = *file.tag();
            benchmark::DoNotOptimize(tag.artist().size() + tag.title().size() + tag.album().size() +
                                     tag.track() + tag.year() + tag.genre().size());
        }
    }
    state.counters["us_per_file"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * files_per_format,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(BM_TagRule, flac, "flac")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TagLib, flac, "flac")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TagRule, m4a, "m4a")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TagLib, m4a, "m4a")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnel
