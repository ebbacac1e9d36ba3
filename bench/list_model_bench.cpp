// SPDX-License-Identifier: GPL-3.0-or-later
// Adding 100,000 names to the list's view model and previewing the whole
// list with one rule, with a view attached, offscreen. Goal: under 1 s.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "bench_support.h"
#include "filelist/ui/file_list_model.h"
#include "filelist/ui/file_list_view.h"
#include "rename/preview.h"

namespace varnel {
namespace {

constexpr int name_count = 100'000;

void BM_AddAndPreview100k(benchmark::State& state) {
    const Codec codec;
    const std::vector<std::string> names = bench::sample_names(name_count);
    RulePages pages;
    pages.number.prefix = "IMG_";
    pages.number.digits = "6";
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<ItemName> items;
        items.reserve(names.size());
        for (const std::string& name : names) items.push_back(ItemName{name, name});
        FileList list;
        FileListModel model(list, codec);
        FileListView view;
        view.setModel(&model);
        view.resize(590, 300);
        view.show();
        QApplication::processEvents();
        state.ResumeTiming();

        model.append_items(ItemFolder{"/music/", "/music/"}, std::move(items));
        refresh_preview(list, pages, PreviewSettings{true, true, 10}, true, codec);
        QApplication::processEvents();
        view.repaint();
        benchmark::DoNotOptimize(list.new_names().data());

        state.PauseTiming();
        view.setModel(nullptr);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * name_count);
}

BENCHMARK(BM_AddAndPreview100k)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace varnel

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
