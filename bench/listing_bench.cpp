// Enumerating a folder of 100,000 files, against `find DIR -maxdepth 1
// -type f` on the same folder. Goal: within 1.5x of find. Adding the folder
// to the list in natural order: within 1.5x of adding it in the file
// system's order.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "filelist/file_list.h"
#include "filelist/item_names.h"
#include "platform/folder_listing.h"

extern char** environ;

namespace varnel {
namespace {

constexpr int file_count = 100'000;

const bench::ScratchDir& folder() {
    static const bench::ScratchDir dir;
    static const bool filled = [] {
        std::vector<std::string> names;
        for (int i = 0; i < file_count; ++i) names.push_back("track " + std::to_string(i) + ".mp3");
        dir.create_files(names);
        return true;
    }();
    (void)filled;
    return dir;
}

void BM_ListFolderFiles(benchmark::State& state) {
    const std::string& path = folder().path();
    for (auto _ : state) {
        auto names = list_folder_files(path);
        if (!names || names->size() != file_count) state.SkipWithError("listing failed");
        benchmark::DoNotOptimize(names);
    }
    state.SetItemsProcessed(state.iterations() * file_count);
}

// The whole path of adding a folder: listing plus the code-page texts.
void BM_ListAndConvertNames(benchmark::State& state) {
    const std::string& path = folder().path();
    const Codec codec;
    for (auto _ : state) {
        auto names = item_names_from_fs(*list_folder_files(path), codec);
        benchmark::DoNotOptimize(names.data());
    }
    state.SetItemsProcessed(state.iterations() * file_count);
}

// Adding the folder to the file list, in the file system's order and in
// natural order (what adding a folder does): listing, code-page texts,
// sorting, appending.
void add_folder(benchmark::State& state, bool natural) {
    const std::string& path = folder().path();
    const Codec codec;
    for (auto _ : state) {
        FileList list;
        auto names = item_names_from_fs(*list_folder_files(path), codec);
        if (natural) sort_naturally(names);
        list.append_items(item_folder_from_fs(path, codec), std::move(names));
        benchmark::DoNotOptimize(list.old_names().data());
    }
    state.SetItemsProcessed(state.iterations() * file_count);
}

void BM_AddFolderUnsorted(benchmark::State& state) {
    add_folder(state, false);
}

void BM_AddFolderNaturalOrder(benchmark::State& state) {
    add_folder(state, true);
}

void BM_FindMaxdepth1(benchmark::State& state) {
    const std::string path = folder().path();
    std::vector<const char*> argv{"find", path.c_str(), "-maxdepth", "1", "-type", "f", nullptr};
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        if (posix_spawnp(&pid, "find", &actions, nullptr, const_cast<char**>(argv.data()),
                         environ) != 0)
            state.SkipWithError("cannot start find");
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    state.SetItemsProcessed(state.iterations() * file_count);
}

BENCHMARK(BM_FindMaxdepth1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFolderFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListAndConvertNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddFolderUnsorted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddFolderNaturalOrder)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnel
