#!/usr/bin/env bash
# Growth per doubling of CompareTexts on the moved shapes (and the realistic
# pairs beside them), and of the moved-lines step alone on the same shapes,
# 250,000 to 1,000,000 lines. The machine is shared, so
# the benchmark runs several rounds, each size in every round, and the
# fastest time of each case counts: load from elsewhere only ever adds.
#   moved_shapes_scaling.sh BUILD [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-5}
prog="$build/bench/compare_bench"
for ((r = 0; r < rounds; r++)); do
  "$prog" --benchmark_filter='BM_MovedShapes|BM_MarkMovedStep|BM_Realistic/(250000|500000|1000000)$' \
          --benchmark_format=csv 2>/dev/null | grep '^"BM_' | grep -v -e _BigO -e _RMS
done | awk -F, '
  { name = $1; gsub(/"/, "", name); t = $3 + 0;
    if (!(name in best) || t < best[name]) best[name] = t; if (!(name in seen)) { seen[name] = 1; order[n++] = name } }
  END {
    for (i = 0; i < n; i++) {
      name = order[i]; base = name; size = name
      sub(/\/[0-9]+$/, "", base); sub(/.*\//, "", size)
      key[base "|" size] = best[name]; if (!(base in b)) { b[base] = 1; bases[m++] = base }
    }
    printf "%-28s %10s %10s %10s %8s %8s\n", "case", "250k ms", "500k ms", "1M ms", "x 500k", "x 1M"
    for (j = 0; j < m; j++) {
      s1 = key[bases[j] "|250000"]; s2 = key[bases[j] "|500000"]; s3 = key[bases[j] "|1000000"]
      printf "%-28s %10.1f %10.1f %10.1f %8.2f %8.2f\n", bases[j], s1, s2, s3, s2 / s1, s3 / s2
    }
  }'
