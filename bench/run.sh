#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark of an optimised build: bench/run.sh BUILD_DIR
set -euo pipefail
build=${1:-build/release}
for name in rules rename cli output listing conflicts tag_rewrite; do
    "$build/bench/bench_$name" --benchmark_counters_tabular=true
done
# 1,000,000 files: each variant in a process of its own, for its peak memory.
for marks in 0 1 2; do
    "$build/bench/bench_marks" --benchmark_counters_tabular=true \
        --benchmark_filter="BM_AddAndPreview1M/marks:$marks"
done
if [ -x "$build/bench/bench_tag_edit" ]; then
    "$build/bench/bench_tag_edit" --benchmark_counters_tabular=true
fi
if [ -x "$build/bench/bench_tag_read" ]; then
    corpus=${VARNEL_MP3_CORPUS:-$build/mp3-corpus}
    generator="$(dirname "$0")/../../shared/bench/gen_mp3_corpus.py"
    if [ ! -f "$corpus/files.txt" ] && [ -f "$generator" ]; then
        python3 "$generator" --out "$corpus" --n 2000
    fi
    # Warm the cache, then measure.
    [ -f "$corpus/files.txt" ] && cat "$corpus"/*.mp3 > /dev/null 2>&1 || true
    VARNEL_MP3_CORPUS="$corpus" "$build/bench/bench_tag_read" --benchmark_counters_tabular=true
fi
"$build/bench/bench_batch_tag_edit" --benchmark_counters_tabular=true
if [ -x "$build/bench/bench_audio_tag_read" ]; then
    "$build/bench/bench_audio_tag_read" --benchmark_counters_tabular=true
fi
if [ -x "$build/bench/bench_list_model" ]; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_list_model" --benchmark_counters_tabular=true
fi
if [ -x "$build/bench/bench_typing" ]; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_typing"
fi
if [ -x "$build/bench/bench_tag_window" ]; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_tag_window"
fi
# Peak memory of 100,000 renames beside perl's rename.
python3 "$(dirname "$0")/rename_memory.py" "$build/cli/varnel-cli"
# Peak memory of tag operations on files whose tag declares too large a size.
python3 "$(dirname "$0")/tag_oversize_memory.py" "$build/cli/varnel-cli"
