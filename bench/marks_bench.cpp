// SPDX-License-Identifier: GPL-3.0-or-later
// Adding a folder of 1,000,000 files to the list and previewing every name
// with the conflict marks, against the same without the marks in the same
// run; the marks either read the folder again (marks:1) or use the listing
// kept when the files were added, as the window does (marks:2). Goal: with
// the marks ≤ 1.5 s CPU and a peak of ≤ 500 MiB (counter peak_rss_mib: the
// whole process's peak, so run each variant on its own with
// --benchmark_filter, as run.sh does).

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "filelist/item_names.h"
#include "platform/folder_listing.h"
#include "platform/folder_names.h"
#include "rename/preview.h"

namespace varnel {
namespace {

constexpr int file_count = 1'000'000;

// The folder of the files, made once per process (it takes a while).
const bench::ScratchDir& folder() {
    static const bench::ScratchDir dir;
    static const bool made = (dir.create_files(bench::sample_names(file_count)), true);
    (void)made;
    return dir;
}

// The folder: $VARNEL_BENCH_MARKS_DIR when set (a folder kept between runs,
// filled with the sample names where they are missing), else a scratch one.
const std::string& folder_path() {
    static const std::string path = [] {
        const char* kept = std::getenv("VARNEL_BENCH_MARKS_DIR");
        if (!kept || !*kept) return folder().path();
        std::string at = std::string(kept) + "/";
        bench::create_files_in(at, bench::sample_names(file_count));
        return at;
    }();
    // A folder changed within two seconds is never kept (a later change in
    // the same timestamp tick could go unseen): wait as long, as a folder
    // the user picks has mostly stood unchanged for longer.
    static const bool aged = [] {
        struct stat info {};
        timespec now{};
        if (stat(path.c_str(), &info) != 0 || clock_gettime(CLOCK_REALTIME, &now) != 0)
            return false;
        const double age = static_cast<double>(now.tv_sec - info.st_mtim.tv_sec);
        if (age < 3) sleep(static_cast<unsigned>(3 - age));
        return true;
    }();
    (void)aged;
    return path;
}

double peak_rss_mib() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_AddAndPreview1M(benchmark::State& state) {
    const bool marks = state.range(0) != 0;
    const bool kept_listing = state.range(0) == 2;
    const std::string& path = folder_path();
    const Codec codec;
    RulePages pages;  // numbering: every name changes, some targets exist
    PreviewSettings settings{true, true, 10, marks, RenameOrder::in_order};
    for (auto _ : state) {
        FileList list;
        FolderNamesCache folders;
        if (kept_listing)
            settings.read_folder = [&folders](const std::string& at) { return folders.read(at); };
        std::optional<std::vector<std::string>> names =
            kept_listing ? folders.list_files(path) : list_folder_files(path);
        if (!names) state.SkipWithError("cannot list the folder");
        list.append_items(item_folder_from_fs(path, codec),
                          item_names_from_fs(std::move(*names), codec));
        const ListChange change = refresh_preview(list, pages, settings, true, codec);
        benchmark::DoNotOptimize(change.last_row);
    }
    state.counters["peak_rss_mib"] = peak_rss_mib();
    state.SetItemsProcessed(state.iterations() * file_count);
}

BENCHMARK(BM_AddAndPreview1M)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("marks")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace varnel
