#!/usr/bin/env bash
# Makes doc/screenshot.png: the real program in Xvfb comparing two versions
# of a small Japanese source file, the information strip open.
#   doc/make_screenshot.sh [BUILD]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build"/RavelleDiff "$build"/libRavelleDiffGui.so "$work"/
cat > "$work/a.txt" <<'TEXT'
/* 売上集計プログラム */
#include <stdio.h>

/* 月ごとの売上を合計する */
int total(const int *sales, int months)
{
    int sum = 0;
    for (int i = 0; i < months; i++) {
        sum += sales[i];
    }
    return sum;
}

int main(void)
{
    int sales[12] = { 120, 98, 143 };
    printf("合計: %d 円\n", total(sales, 12));
    return 0;
}
TEXT
cat > "$work/b.txt" <<'TEXT'
/* 売上集計プログラム（第二版） */
#include <stdio.h>

int main(void)
{
    int sales[12] = { 120, 98, 143, 160 };
    printf("年間合計: %d 円\n", total(sales, 12));
    return 0;
}

/* 月ごとの売上を合計する */
int total(const int *sales, int months)
{
    long sum = 0;
    for (int i = 0; i < months; i++) {
        sum += sales[i];
    }
    /* 平均も表示する */
    printf("平均: %ld 円\n", sum / months);
    return (int)sum;
}
TEXT
for f in a b; do iconv -f utf-8 -t cp932 "$work/$f.txt" > "$work/$f.sjis" && mv "$work/$f.sjis" "$work/$f.txt"; done
printf '[Form]\r\nW=980\r\nH=640\r\nLeft=0\r\nTop=0\r\n[Editor]\r\nFontSize=11\r\n' > "$work/RavelleDiff.INI"
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1100x720x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do number=$(head -n 1 "$work/display" 2>/dev/null || true); [ -n "$number" ] && break; sleep 0.1; done
export DISPLAY=":$number" XDG_RUNTIME_DIR="$work"
"$work/RavelleDiff" "texta=$work/a.txt" "textb=$work/b.txt" &
for _ in $(seq 100); do id=$(xdotool search --name '^RavelleDiff$' 2>/dev/null | head -n 1 || true); [ -n "$id" ] && break; sleep 0.1; done
sleep 1
xdotool windowfocus "$id" mousemove --window "$id" 200 120 click 1
xdotool key --clearmodifiers ctrl+Home F4 F4 F4 ctrl+q
sleep 1
import -window "$id" "$here/screenshot.png"
kill %1 2>/dev/null || true
echo "wrote $here/screenshot.png"
