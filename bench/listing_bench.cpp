// SPDX-License-Identifier: GPL-3.0-or-later
// Enumerating a folder of 100,000 files, against `find DIR -maxdepth 1
// -type f` on the same folder. Goal: within 1.5x of find. Adding the folder
// to the list in natural order: within 1.5x of adding it in the file
// system's order.
// Adding a tree of 100,000 files (10 folders of 10 subfolders of 1,000
// files each, names from sample_names) with its subfolders, against
// `find DIR -type f`. Goal: within 2.5x of find (the walk also builds the
// code-page texts, sorts each folder and fills the list).

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "filelist/file_list.h"
#include "filelist/folder_tree.h"
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

constexpr int tree_branches = 10;  // folders per level, two levels
constexpr int tree_leaf_files = 1'000;

const bench::ScratchDir& tree() {
    static const bench::ScratchDir dir;
    static const bool filled = [] {
        const std::vector<std::string> sample = bench::sample_names(tree_leaf_files);
        for (int top = 0; top < tree_branches; ++top) {
            const std::string top_folder = "dir " + std::to_string(top) + "/";
            ::mkdir((dir.path() + top_folder).c_str(), 0755);
            for (int part = 0; part < tree_branches; ++part) {
                const std::string leaf = top_folder + "part " + std::to_string(part) + "/";
                ::mkdir((dir.path() + leaf).c_str(), 0755);
                std::vector<std::string> names;
                for (const std::string& name : sample) names.push_back(leaf + name);
                dir.create_files(names);
            }
        }
        return true;
    }();
    (void)filled;
    return dir;
}

void BM_AddTreeWithSubfolders(benchmark::State& state) {
    const std::string& path = tree().path();
    const Codec codec;
    constexpr int files = tree_branches * tree_branches * tree_leaf_files;
    for (auto _ : state) {
        FileList list;
        const TreeWalkReport report = walk_folder_tree(
            path, codec, [&](const std::string& folder, std::vector<ItemName> names) {
                list.append_items(item_folder_from_fs(folder, codec), std::move(names));
            });
        if (report.unreadable != 0 || list.item_count() != files)
            state.SkipWithError("walk failed");
        benchmark::DoNotOptimize(list.old_names().data());
    }
    state.SetItemsProcessed(state.iterations() * files);
}

// Runs find with `arguments` after the folder, its output thrown away.
void run_find(benchmark::State& state, const std::string& path,
              std::vector<const char*> arguments) {
    std::vector<const char*> argv{"find", path.c_str()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back(nullptr);
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
}

void BM_FindMaxdepth1(benchmark::State& state) {
    run_find(state, folder().path(), {"-maxdepth", "1", "-type", "f"});
    state.SetItemsProcessed(state.iterations() * file_count);
}

void BM_FindTree(benchmark::State& state) {
    run_find(state, tree().path(), {"-type", "f"});
    state.SetItemsProcessed(state.iterations() * tree_branches * tree_branches * tree_leaf_files);
}

BENCHMARK(BM_FindMaxdepth1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFolderFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListAndConvertNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddFolderUnsorted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddFolderNaturalOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddTreeWithSubfolders)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnel
