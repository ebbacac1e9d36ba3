// SPDX-License-Identifier: GPL-3.0-or-later
// Printing 1,000,000 preview records (old name, new name) to /dev/null as
// varnel-cli does: flushed after each record (what a terminal gets) against
// buffered (what a pipe or a file gets), in the same run. The records are
// built and escaped alike; only the writes differ.

#include <benchmark/benchmark.h>

#include <fstream>

#include "bench_support.h"
#include "cli/cli_output.h"

namespace varnel {
namespace {

constexpr int record_count = 1'000'000;

void BM_PrintRecords(benchmark::State& state) {
    const bool flush_each = state.range(0) != 0;
    const Codec codec;
    const std::vector<std::string> names = bench::sample_names(1000);
    std::ofstream out("/dev/null", std::ios::binary);
    for (auto _ : state) {
        cli::RecordPrinter printer(out, codec, false, flush_each);
        for (int i = 0; i < record_count; ++i) {
            const std::string& name = names[static_cast<std::size_t>(i % 1000)];
            printer.print({name, name});
        }
    }
    state.SetItemsProcessed(state.iterations() * record_count);
}

// Arg 1: a flush (one write) per record; arg 0: buffered.
BENCHMARK(BM_PrintRecords)->Arg(1)->Arg(0)->ArgName("flush_each")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnel
