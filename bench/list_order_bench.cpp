// SPDX-License-Identifier: GPL-3.0-or-later
// The list's order under the user's hand at 100,000 rows: sorting by 大小
// and 修改时间 against sorting by 旧文件名 (the peer, natural order), a drag
// of 1,000 scattered rows, and reading the sizes and times of 100,000 files
// against listing their folder (the floor: one pass over the folder).

#include <benchmark/benchmark.h>

#include <random>

#include "bench_support.h"
#include "filelist/list_order.h"
#include "filelist/row_facts.h"
#include "platform/folder_listing.h"

namespace varnel {
namespace {

constexpr int row_count = 100'000;

// 100,000 sample names with sizes from a small range (many ties, so the
// names decide often) and times spread over a year.
FileList sample_list() {
    FileList list;
    std::vector<ItemName> items;
    for (std::string& name : bench::sample_names(row_count)) items.push_back({name, name});
    list.append_items({"/music/", "/music/"}, std::move(items));
    std::mt19937_64 random(7);
    for (int row = 0; row < row_count; ++row)
        list.set_file_facts(
            row, FileFacts{static_cast<std::int64_t>(random() % 5'000),
                           static_cast<std::int64_t>(random() % 31'536'000) * 1'000'000'000});
    return list;
}

void sort_by(benchmark::State& state, Column column) {
    const FileList list = sample_list();
    bool descending = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rows_sorted_by(list, column, descending).data());
        descending = !descending;
    }
    state.SetItemsProcessed(state.iterations() * row_count);
}

void BM_SortByName(benchmark::State& state) {
    sort_by(state, Column::old_name);
}
void BM_SortBySize(benchmark::State& state) {
    sort_by(state, Column::size);
}
void BM_SortByTime(benchmark::State& state) {
    sort_by(state, Column::modified);
}
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortBySize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByTime)->Unit(benchmark::kMillisecond);

// Every tenth row of the first 10,000 dropped in the middle, and the list
// put in that order.
void BM_Drag1000Rows(benchmark::State& state) {
    FileList list = sample_list();
    std::vector<int> dragged;
    for (int row = 0; row < 10'000; row += 10) dragged.push_back(row);
    for (auto _ : state) {
        const std::vector<int> order = rows_moved_before(row_count, dragged, row_count / 2);
        benchmark::DoNotOptimize(list.reorder(order));
    }
    state.SetItemsProcessed(state.iterations() * row_count);
}
BENCHMARK(BM_Drag1000Rows)->Unit(benchmark::kMillisecond);

class FolderOfFiles {
public:
    FolderOfFiles() {
        for (int i = 0; i < row_count; ++i) names_.push_back("f" + std::to_string(i) + ".txt");
        dir_.create_files(names_);
    }
    const std::string& path() const { return dir_.path(); }
    const std::vector<std::string>& names() const { return names_; }

private:
    bench::ScratchDir dir_;
    std::vector<std::string> names_;
};

const FolderOfFiles& folder_of_files() {
    static const FolderOfFiles folder;
    return folder;
}

void BM_ListFolderFloor(benchmark::State& state) {
    const FolderOfFiles& folder = folder_of_files();
    for (auto _ : state) benchmark::DoNotOptimize(list_folder_files(folder.path()));
    state.SetItemsProcessed(state.iterations() * row_count);
}
BENCHMARK(BM_ListFolderFloor)->Unit(benchmark::kMillisecond);

void BM_ReadRowFacts(benchmark::State& state) {
    const FolderOfFiles& folder = folder_of_files();
    FileList list;
    std::vector<ItemName> items;
    for (const std::string& name : folder.names()) items.push_back({name, name});
    list.append_items({folder.path(), folder.path()}, std::move(items));
    for (auto _ : state) {
        read_row_facts(list);
        benchmark::DoNotOptimize(list.file_facts(row_count - 1));
    }
    state.SetItemsProcessed(state.iterations() * row_count);
}
BENCHMARK(BM_ReadRowFacts)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnel
