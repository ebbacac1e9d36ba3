#!/usr/bin/env bash
# Runs every benchmark of an optimised build: bench/run.sh BUILD_DIR
set -euo pipefail
build=${1:-build/release}
for name in rules rename listing; do
    "$build/bench/bench_$name" --benchmark_counters_tabular=true
done
if [ -x "$build/bench/bench_list_model" ]; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_list_model" --benchmark_counters_tabular=true
fi
