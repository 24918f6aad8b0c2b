#!/usr/bin/env bash
# End-to-end use of the real program in a real X server: keys and mouse from
# xdotool, texts read through the accessibility bus, screenshots with import.
#   tests/e2e/run_main_window_e2e.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool import dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool missing, skipped"; exit 0; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "e2e: at-spi-bus-launcher missing, skipped"; exit 0; }

work=$(mktemp -d)
display=""
cleanup() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# A copy of the program, so that its settings file and check folder go there.
cp "$build"/RavelleDiff "$build"/libRavelleDiffGui.so "$build"/ravelle_diff_tool "$work"/
cp "$build"/RavelleDiff.html "$build"/LICENSE "$work"/ 2>/dev/null || true

# Xvfb picks a free display itself and tells its number, so that runs side
# by side never share one.
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  number=$(head -n 1 "$work/display" 2>/dev/null || true)
  [ -n "$number" ] && break
  sleep 0.1
done
[ -n "$number" ] || { echo "e2e: Xvfb did not start"; exit 1; }
display=":$number"

mkdir -p "$build/screenshots"
DISPLAY=$display XDG_RUNTIME_DIR=$work QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  NO_AT_BRIDGE=0 dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    # The program joins the accessibility bus only if it is there when it starts.
    for _ in $(seq 100); do
      dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
      sleep 0.1
    done
    /usr/bin/python3 "$0" "$1" "$2"' "$here/main_window_e2e.py" "$work" "$build/screenshots"
