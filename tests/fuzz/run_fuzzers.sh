#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time each, starting
# from the seeds in tests/fuzz/corpus/<target>. What a run finds goes to the
# build folder (fuzz-corpus/<target>, and crash files in fuzz-artifacts/),
# not into the sources.
#   run_fuzzers.sh BUILD SECONDS
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for target in fuzz_code_detect fuzz_load_lines fuzz_compare fuzz_settings fuzz_result_file \
              fuzz_companion fuzz_export_rows fuzz_editor; do
  prog="$build/fuzz/$target"
  [ -x "$prog" ] || { echo "missing $prog" >&2; exit 1; }
  work="$build/fuzz-corpus/$target"
  artifacts="$build/fuzz-artifacts/$target/"
  mkdir -p "$work" "$artifacts"
  echo "== $target (${seconds} s)"
  if ! "$prog" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=8192 \
       -print_final_stats=1 -artifact_prefix="$artifacts" "$work" "$here/corpus/$target" \
       > "$build/fuzz-$target.log" 2>&1; then
    echo "$target FAILED; see $build/fuzz-$target.log and $artifacts" >&2
    tail -40 "$build/fuzz-$target.log" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz-$target.log" | tr '\n' ' '
    echo
  fi
done
exit $status
