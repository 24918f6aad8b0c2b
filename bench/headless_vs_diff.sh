#!/usr/bin/env bash
# Times the headless report beside GNU diff on one realistic pair of
# 1,000,000-line files (CR LF, about 1% changed, inserted, deleted and moved
# lines): median wall time and peak memory of each over ROUNDS rounds, and
# the ratios. Each round runs both tools one after the other, in turns, so
# that a busy minute on a shared machine falls on both alike.
#   bench/headless_vs_diff.sh [BUILD] [LINES] [ROUNDS]
# RD_SHOW_RUNS=1 also prints every run (seconds and kilobytes of each tool).
set -euo pipefail
build=${1:-build}
lines=${2:-1000000}
rounds=${3:-11}
prog=$build/RavelleDiff
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build"/bench/make_text_pair "$lines" "$work/a.txt" "$work/b.txt"
# Written to disk before the timing starts: the system would write them
# back in the middle of it otherwise, as files just made, which the files a
# user compares are not.
sync "$work/a.txt" "$work/b.txt"
: > "$work/r.txt"

# Prints "seconds kilobytes" of one run of the command: the wall time to the
# microsecond (time(1) gives hundredths), the peak from time(1).
measure() {
  local start=$EPOCHREALTIME
  /usr/bin/time -f '%M' -o "$work/time.txt" "$@" > /dev/null || true
  local end=$EPOCHREALTIME
  echo "$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }') $(tail -n 1 "$work/time.txt")"
}
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

: > "$work/report.runs"
: > "$work/diff.runs"
for round in $(seq "$rounds"); do
  # Who goes first changes from round to round.
  if (( round % 2 )); then order="report diff"; else order="diff report"; fi
  for tool in $order; do
    if [ "$tool" = report ]; then
      measure "$prog" "texta=$work/a.txt" "textb=$work/b.txt" "ret=$work/r.txt" >> "$work/report.runs"
    else
      measure diff "$work/a.txt" "$work/b.txt" >> "$work/diff.runs"
    fi
  done
done
[ -n "${RD_SHOW_RUNS:-}" ] && paste "$work/report.runs" "$work/diff.runs" >&2
rt=$(cut -d' ' -f1 "$work/report.runs" | median); rm_=$(cut -d' ' -f2 "$work/report.runs" | median)
dt=$(cut -d' ' -f1 "$work/diff.runs" | median); dm=$(cut -d' ' -f2 "$work/diff.runs" | median)
size=$(stat -c %s "$work/a.txt")
echo "pair: $lines lines, $size bytes each; report: $(grep -c '' "$work/r.txt") lines"
awk -v rt="$rt" -v rm="$rm_" -v dt="$dt" -v dm="$dm" 'BEGIN {
  printf "%-22s %10s %12s\n", "tool", "wall s", "peak MB"
  printf "%-22s %10.3f %12.1f\n", "RavelleDiff headless", rt, rm / 1024
  printf "%-22s %10.3f %12.1f\n", "GNU diff", dt, dm / 1024
  printf "ratio time %.2f, ratio memory %.2f (report / diff; target at most 0.25 and 0.75)\n", rt / dt, rm / dm
}'
