// SPDX-License-Identifier: GPL-3.0-or-later
// Previewing 100,000 files of one folder with and without the conflict
// marks. Goal: with the marks, the whole preview stays under 1 s.

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "filelist/item_names.h"
#include "rename/preview.h"

namespace varnel {
namespace {

constexpr int file_count = 100'000;

void BM_Preview100k(benchmark::State& state) {
    const bool marks = state.range(0) != 0;
    const bench::ScratchDir dir;
    std::vector<std::string> names = bench::sample_names(file_count);
    dir.create_files(names);
    const Codec codec;
    FileList list;
    std::vector<ItemName> items;
    for (const std::string& name : names) items.push_back(ItemName{name, name});
    list.append_items(ItemFolder{dir.path(), dir.path()}, std::move(items));
    RulePages pages;  // numbering: every name changes, some targets exist
    PreviewSettings settings{true, true, 10, marks, RenameOrder::in_order};
    for (auto _ : state) {
        const ListChange change = refresh_preview(list, pages, settings, true, codec);
        benchmark::DoNotOptimize(change.last_row);
    }
    state.SetItemsProcessed(state.iterations() * file_count);
}

BENCHMARK(BM_Preview100k)->Arg(0)->Arg(1)->ArgName("marks")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnel
