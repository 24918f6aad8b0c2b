#!/usr/bin/env bash
# The time of a comparison with the options for Japanese text (Width,
# ZSpace, AllSpace) against the same comparison without them, for each text
# of BM_JapaneseOptions*. The runs with and without are interleaved at
# random, so that a machine that slows down for a while slows both.
# Usage: japanese_options_ratio.sh [build folder] [repetitions]
set -euo pipefail
build=${1:-build}
repetitions=${2:-9}
"$build"/bench/compare_bench --benchmark_filter='JapaneseOptions' --benchmark_min_time=0.3 \
  --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
  --benchmark_format=json | python3 -c '
import json, statistics, sys
runs = {}
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("run_type") != "iteration":
        continue
    text, option = b["run_name"].split("/")[:2]
    runs.setdefault(text, {}).setdefault(option, []).append(b["real_time"])
print("%-34s %10s %8s %6s %10s" % ("text", "without ms", "with ms", "ratio", "of fastest"))
for text, times in runs.items():
    off, on = times["0"], times["1"]
    print("%-34s %10.1f %8.1f %6.2f %10.2f" % (text, statistics.median(off), statistics.median(on),
                                               statistics.median(on) / statistics.median(off), min(on) / min(off)))
'
