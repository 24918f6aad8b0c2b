#!/usr/bin/env bash
# The export's peak memory, each case in a process of its own: the whole
# process's peak as /usr/bin/time measures it, beside the growth of the peak
# during the export that the benchmark reports. Constant-memory mode keeps
# the growth flat whatever the number of rows.
set -euo pipefail
build=${1:-build}
prog="$build/bench/export_bench"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
for args in diff:0/workbook:1/krows:100 diff:1/workbook:1/krows:100 diff:0/workbook:1/krows:400 diff:1/workbook:1/krows:400; do
  out=$(/usr/bin/time -f 'max_rss_kb=%M' "$prog" --benchmark_filter="BM_Export/$args/" \
        --benchmark_counters_tabular=true 2>&1)
  echo "$out" | grep -E "BM_Export|max_rss_kb"
done
