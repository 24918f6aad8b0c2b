#!/usr/bin/env bash
# Runs every benchmark program of a build folder, then the timing scripts.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
for prog in "$build"/bench/*_bench "$build"/bench/*_qtbench; do
  [ -x "$prog" ] || continue
  echo "== $(basename "$prog")"
  "$prog" --benchmark_counters_tabular=true
done
for script in "$here"/*.sh; do
  [ "$(basename "$script")" = run_all.sh ] && continue
  echo "== $(basename "$script")"
  "$script" "$build"
done
