#!/usr/bin/env bash
# Opens exported workbooks in a real spreadsheet program, LibreOffice Calc,
# and checks what it reads: every cell of an all-lines export through CSV,
# and the fills and separators of a difference export through HTML.
# Run by hand, once the build has the target export_sample:
#   tests/e2e/export_in_spreadsheet.sh build
# Needs libreoffice-calc, which the build itself does not.
set -euo pipefail
build=${1:-build}
sample="$build/bench/export_sample"
command -v soffice >/dev/null || { echo "soffice is missing (apt-get install libreoffice-calc)"; exit 77; }
[ -x "$sample" ] || { echo "missing $sample (cmake --build $build --target export_sample)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"  # a profile of its own, away from the user's

all=$("$sample" "$work" all)
soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' --outdir "$work/csv" "$all" >/dev/null 2>&1
expected=$(cat <<'CSV'
,,,,,,,,
,,"a.txt",,,,"[UTF8] b.txt",,
,,,,,,,,
,"参照行","行","テストＡ",,"参照行","行","テストＢ",
,,,,,"移動3",1,"m"," "
,,1,"p"," ",,2,"p"," "
,"変更",2,"x"," ","変更",3,"y"," "
,"移動1",3,"m"," ",,,,
,,4,"q"," ",,4,"q"," "
,,,,,"追加",5,"z"," "
,,5,"テスト"," ",,6,"テスト"," "
,,6,"=SUM(1,2)"," ",,7,"=SUM(1,2)"," "
CSV
)
actual=$(cat "$work"/csv/*.csv)
if [ "$actual" != "$expected" ]; then
  echo "FAIL: the cells LibreOffice read differ"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "ok: all lines, $(echo "$actual" | wc -l) rows read back by $(soffice --version | head -1)"

diffbook=$("$sample" "$work" diff)
soffice --headless --convert-to html --outdir "$work/html" "$diffbook" >/dev/null 2>&1
html=$(cat "$work"/html/*.html)
fail=0
check() {  # what, pattern, expected count
  local n
  n=$(grep -o "$2" <<<"$html" | wc -l)
  if [ "$n" -ne "$3" ]; then echo "FAIL: $1: $n, expected $3"; fail=1; else echo "ok: $1: $n"; fi
}
check "header fills C0C0C0" 'bgcolor="#C0C0C0"' 6
check "added fill CCCCFF" 'bgcolor="#CCCCFF"' 1
check "changed fills FFFFCC" 'bgcolor="#FFFFCC"' 2
check "moved fills CCFFCC" 'bgcolor="#CCFFCC"' 2
check "separator cells B to H on top of the first row" 'border-top: 2px solid' 7
exit $fail
