#!/usr/bin/env bash
# The installed tree: "cmake --install" into a temporary DESTDIR with the
# prefix of the Debian package, then its files, links and modes, the desktop
# entry and the icon, the copyright and changelog, and the installed program
# run headless through its link in bin/.
#   tests/e2e/install_test.sh BUILD_FOLDER
# Exit status 77 (CTest's "skipped") when desktop-file-validate is missing.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
if ! command -v desktop-file-validate >/dev/null; then
  echo "install_tree: desktop-file-validate missing (Debian package desktop-file-utils), skipped"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Folders get 0777 less the umask; the package is built under 022 too.
install_tree() { (umask 022 && DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log"); }
install_tree || { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
# A second installation over the first must succeed as well (existing links).
install_tree || { cat "$work/install.log"; echo "FAIL: second cmake --install"; exit 1; }

# --- every path with its type, mode and link target -----------------------------
expected_tree='usr d 755
usr/bin d 755
usr/bin/RavelleDiff l 777 ../lib/ravellediff/RavelleDiff
usr/bin/ravelle_diff_tool l 777 ../lib/ravellediff/ravelle_diff_tool
usr/lib d 755
usr/lib/ravellediff d 755
usr/lib/ravellediff/LICENSE l 777 ../../share/ravellediff/LICENSE
usr/lib/ravellediff/RavelleDiff f 755
usr/lib/ravellediff/RavelleDiff.html l 777 ../../share/ravellediff/RavelleDiff.html
usr/lib/ravellediff/libRavelleDiffGui.so f 644
usr/lib/ravellediff/ravelle_diff_tool f 755
usr/share d 755
usr/share/applications d 755
usr/share/applications/ravellediff.desktop f 644
usr/share/doc d 755
usr/share/doc/ravellediff d 755
usr/share/doc/ravellediff/changelog.Debian.gz f 644
usr/share/doc/ravellediff/copyright f 644
usr/share/icons d 755
usr/share/icons/hicolor d 755
usr/share/icons/hicolor/scalable d 755
usr/share/icons/hicolor/scalable/apps d 755
usr/share/icons/hicolor/scalable/apps/ravellediff.svg f 644
usr/share/man d 755
usr/share/man/man1 d 755
usr/share/man/man1/RavelleDiff.1.gz f 644
usr/share/man/man1/ravelle_diff_tool.1.gz f 644
usr/share/ravellediff d 755
usr/share/ravellediff/LICENSE f 644
usr/share/ravellediff/RavelleDiff.html f 644'
actual_tree=$(cd "$root" && find . -mindepth 1 -printf '%P %y %m %l\n' | sed 's/ $//' | LC_ALL=C sort)
if [ "$actual_tree" != "$expected_tree" ]; then
  fail "installed tree differs (- expected, + installed):"
  diff <(echo "$expected_tree") <(echo "$actual_tree") || true
fi
# Every link must reach a file of the tree.
while IFS= read -r link; do
  [ -f "$link" ] || fail "dangling link ${link#"$root"/}"
done < <(find "$root" -type l)
cmp -s "$root/usr/share/ravellediff/RavelleDiff.html" "$source_dir/doc/RavelleDiff.html" ||
  fail "installed help page differs from doc/RavelleDiff.html"
cmp -s "$root/usr/share/ravellediff/LICENSE" "$source_dir/doc/LICENSE" ||
  fail "installed LICENSE differs from doc/LICENSE"

# Installed programs must not look for libraries in the build folder.
for elf in RavelleDiff ravelle_diff_tool libRavelleDiffGui.so; do
  if readelf -d "$root/usr/lib/ravellediff/$elf" | grep -qE 'RPATH|RUNPATH'; then
    fail "$elf carries an RPATH or RUNPATH"
  fi
done

# --- desktop entry and icon ---------------------------------------------------
desktop=$root/usr/share/applications/ravellediff.desktop
desktop-file-validate "$desktop" >"$work/validate.log" 2>&1 || { cat "$work/validate.log"; fail "desktop-file-validate"; }
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = "RavelleDiff %F" ] || fail "Exec is '$(entry Exec)'"
[ -L "$root/usr/bin/$(entry Exec | cut -d' ' -f1)" ] || fail "the program of Exec is not in bin/"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$(entry Icon).svg" ] || fail "no scalable icon named '$(entry Icon)'"
[ "$(entry 'Name\[ja\]')" = "RavelleDiff (テキスト比較)" ] || fail "Name[ja] is '$(entry 'Name\[ja\]')'"
python3 - "$root/usr/share/icons/hicolor/scalable/apps/ravellediff.svg" <<'EOF' || fail "the icon is no square SVG"
import sys
import xml.etree.ElementTree as ET
svg = ET.parse(sys.argv[1]).getroot()
box = svg.get("viewBox", "").split()
sys.exit(0 if svg.tag == "{http://www.w3.org/2000/svg}svg" and len(box) == 4 and box[2] == box[3] else 1)
EOF

# --- Debian documentation -------------------------------------------------------
doc=$root/usr/share/doc/ravellediff
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
changelog_head=$(gzip -dc "$doc/changelog.Debian.gz" | head -n 1)
[ "$changelog_head" = "ravellediff ($version-1) unstable; urgency=medium" ] ||
  fail "changelog begins '$changelog_head', version $version"
for page in RavelleDiff ravelle_diff_tool; do
  gzip -dc "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH $(echo "$page" | tr a-z A-Z) 1 " ||
    fail "manual page $page.1.gz"
done
# The license text of the copyright file, its continuation blank and " ."
# undone, is doc/LICENSE from "Permission" on.
sed -n '/^License: Expat$/,$p' "$doc/copyright" | tail -n +2 | sed -n '/Permission/,$p' |
  sed 's/^ //; s/^\.$//' >"$work/license.txt"
sed -n '/^Permission/,$p' "$source_dir/doc/LICENSE" | diff - "$work/license.txt" >/dev/null ||
  fail "the copyright file does not hold the text of doc/LICENSE"
grep -q "^Copyright: $(sed -n 's/^Copyright (c) //p' "$source_dir/doc/LICENSE")\$" "$doc/copyright" ||
  fail "the copyright file does not name the holder of doc/LICENSE"

# --- the installed program ----------------------------------------------------
# The window module loads from its installed place with its entry point.
python3 -c 'import ctypes, sys; ctypes.CDLL(sys.argv[1]).RdRunInteractive' \
  "$root/usr/lib/ravellediff/libRavelleDiffGui.so" || fail "the installed window module does not load"

# Headless, without a display, started through bin/ from the texts' folder.
mkdir "$work/texts"
printf 'alpha\nBeta\ngamma\n' >"$work/texts/a.txt"
printf 'alpha\nbeta\ngamma\n' >"$work/texts/b.txt"
run_headless() {
  : >"$work/texts/r.txt"
  (cd "$work/texts" && env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/RavelleDiff" texta=a.txt textb=b.txt ret=r.txt)
}
result_section() { sed -n '/^\[RESULT\]/,$p' "$work/texts/r.txt"; }
run_headless || fail "headless run exited with $?"
expected=$(printf '[RESULT]\r\n[TextA]\r\nUDT:A1>Beta\r\n    B1>beta\r')
[ "$(result_section)" = "$expected" ] || { fail "report of the headless run:"; cat -A "$work/texts/r.txt"; }

# The program finds its folder through the link: a settings file there that
# ignores letter case makes the two texts equal.
printf '[Check]\nText=1\n' >"$root/usr/lib/ravellediff/RavelleDiff.INI"
run_headless || fail "headless run with settings exited with $?"
[ "$(result_section)" = "$(printf '[RESULT]\r\n[TextA]\r')" ] ||
  { fail "the settings beside the installed program were not read:"; cat -A "$work/texts/r.txt"; }

if [ "$failures" -ne 0 ]; then
  echo "install_tree: $failures failure(s)"
  exit 1
fi
echo "install_tree: passed"
