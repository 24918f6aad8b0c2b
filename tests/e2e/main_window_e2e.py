"""The main window used as a person would, in a real X server.

Run by run_main_window_e2e.sh inside a D-Bus session with the accessibility
bus: starts the program with two files, presses keys with xdotool, sends a
file with the companion program, reads what the window shows through the
accessibility bus, takes screenshots and closes the window.
argv: WORK_FOLDER SCREENSHOT_FOLDER
"""
import os
import subprocess
import sys
import time

import pyatspi
from Xlib import X, display as xdisplay, protocol

work, shots = sys.argv[1], sys.argv[2]
failures = []
passed = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    (passed if ok else failures).append(what)


def write(name, data):
    path = os.path.join(work, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def xdo(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True).stdout.strip()


def wait(predicate, seconds=10.0):
    end = time.time() + seconds
    while time.time() < end:
        try:
            value = predicate()
            if value:
                return value
        except Exception as e:  # the tree changes while it is read
            last = e
        time.sleep(0.1)
    if os.environ.get("RD_E2E_DEBUG"):
        print("wait gave up:", repr(locals().get("last")), flush=True)
    return None


def app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.name == "RavelleDiff":
            return a
    return None


def find(root, pred):
    return pyatspi.findDescendant(root, pred, True)


def pane_text(root, name):
    obj = find(root, lambda o: o.name == name and o.getRole() == pyatspi.ROLE_TEXT)
    t = obj.queryText()
    return t.getText(0, -1), t.caretOffset


def label_by_description(root, description):
    obj = find(root, lambda o: o.getRole() == pyatspi.ROLE_LABEL and o.description == description)
    return obj.name if obj else None


def screenshot(name):
    path = os.path.join(shots, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=True)
    return path


def pixel(path, x, y):
    out = subprocess.run(["convert", path, "-format", "%%[pixel:p{%d,%d}]" % (x, y), "info:"],
                         check=True, capture_output=True, text=True).stdout.strip()
    return out


def line_point(root, name, offset):
    """A point at the right end of the band of the line holding `offset`."""
    obj = find(root, lambda o: o.name == name and o.getRole() == pyatspi.ROLE_TEXT)
    ext = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y, w, h = obj.queryText().getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
    return ext.x + ext.width - 30, y + h // 2


def close_window(window_id):
    d = xdisplay.Display()
    w = d.create_resource_object("window", window_id)
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(window=w, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    w.send_event(event, event_mask=X.NoEventMask)
    d.flush()


# "日本語" in Shift_JIS in both texts; one changed, one added line.
a = write("a.txt", b"first\r\n\x93\xfa\x96\x7b\x8c\xea\r\nold line\r\nsame\r\nlast\r\n")
b = write("b.txt", b"first\r\n\x93\xfa\x96\x7b\x8c\xea\r\nnew line\r\nsame\r\nadded\r\nlast\r\n")
c = write("c.txt", b"first\r\nthird text\r\n")
env = dict(os.environ, QT_QPA_PLATFORM="xcb")
# The registry answers before the program starts, so that the program is listed.
wait(lambda: pyatspi.Registry.getDesktop(0) is not None and pyatspi.Registry.getDesktop(0).childCount >= 0, 20)


def start():
    return subprocess.Popen([os.path.join(work, "RavelleDiff"), "texta=" + a, "textb=" + b], env=env)


program = start()
root = wait(app, 30)
if root is None:
    # A slow machine: say what happened, then give the program one more start.
    print("the window was not listed after 30 s; program status %s; starting it again" % program.poll(), flush=True)
    program.kill()
    program.wait()
    program = start()
    root = wait(app, 30)
check(root is not None, "the window appears on the accessibility bus")
if root is None:
    program.kill()
    sys.exit(1)
window_id = int(wait(lambda: xdo("search", "--name", "^RavelleDiff$").split()[0], 10))
time.sleep(0.5)

text_a, _ = wait(lambda: pane_text(root, "TextA"))
check(text_a.startswith("first\n日本語\nold line"), "TextA's text is readable: %r" % text_a[:30])
check(label_by_description(root, "TextA ファイル") == "a.txt", "TextA's file label reads a.txt")
check(wait(lambda: label_by_description(root, "ERR A 件数") == "1行"), "ERR A shows 1行 after the start-up comparison")
check(label_by_description(root, "ERR B 件数") == "2行", "ERR B shows 2行")

# Click into TextA, then Ctrl+K and F4 from the keyboard.
xdo("windowfocus", str(window_id))
xdo("mousemove", "--window", str(window_id), "150", "120", "click", "1")
time.sleep(0.3)
xdo("key", "--clearmodifiers", "ctrl+Home")
xdo("key", "--clearmodifiers", "ctrl+k")
time.sleep(0.5)
xdo("key", "--clearmodifiers", "F4")
_, caret = wait(lambda: (lambda t: t if t[1] > 0 else None)(pane_text(root, "TextA")))
check(caret == len("first\n日本語\n"), "F4 puts TextA's caret on the changed line (offset %d)" % caret)
check(label_by_description(root, "行情報") is not None, "the line information panel is readable")

# The changed line is painted light red in both panes, the added line light blue.
shot = screenshot("e2e_compared")
changed = pixel(shot, *line_point(root, "TextA", len("first\n日本語\n")))
check(changed in ("srgb(255,221,221)", "rgb(255,221,221)"), "TextA's changed line is light red: %s" % changed)
added = pixel(shot, *line_point(root, "TextB", len("first\n日本語\nnew line\nsame\n")))
check(added in ("srgb(221,221,255)", "rgb(221,221,255)"), "TextB's added line is light blue: %s" % added)
mapbar = find(root, lambda o: o.name == "差分マップ")
me = mapbar.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
column = subprocess.run(["convert", shot, "-crop", "1x%d+%d+%d" % (me.height - 4, me.x + 20, me.y + 2), "txt:-"],
                        check=True, capture_output=True, text=True).stdout
check("(221,221,255)" in column.replace(" ", ""), "the map bar shows TextB's added line")

# Typing edits the pane; Ctrl+S saves it under a new name through the save dialog.
xdo("type", "--delay", "50", "Z")
text_a, _ = wait(lambda: (lambda t: t if t[0].startswith("first\n日本語\nZ") else None)(pane_text(root, "TextA")))
check(text_a.startswith("first\n日本語\nZold line"), "typing reaches TextA: %r" % text_a[:24])
saved = os.path.join(work, "saved.txt")
xdo("key", "--clearmodifiers", "ctrl+s")
dialog = wait(lambda: find(pyatspi.Registry.getDesktop(0), lambda o: o.getRole() == pyatspi.ROLE_DIALOG and o.name == "名前を付けて保存") or
              find(root, lambda o: o.getRole() == pyatspi.ROLE_DIALOG), 10)
check(dialog is not None, "Ctrl+S opens the save dialog")
time.sleep(0.5)
if dialog is not None:
    cancel = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON and "キャンセル" in o.name)
    check(cancel is not None, "Qt's own texts are Japanese (the dialog's キャンセル button)")
xdo("key", "--clearmodifiers", "ctrl+a")
xdo("type", "--delay", "20", saved)
xdo("key", "--clearmodifiers", "Return")
check(wait(lambda: os.path.exists(saved)), "the pane is saved to a new file")
if os.path.exists(saved):
    check(open(saved, "rb").read().startswith(b"first\r\n\x93\xfa\x96\x7b\x8c\xea\r\nZold line"), "the saved bytes are the pane's Shift_JIS text")
check(wait(lambda: label_by_description(root, "TextA ファイル") == "saved.txt"), "the file label names the saved file")

xdo("key", "--clearmodifiers", "ctrl+q")
strip = wait(lambda: find(root, lambda o: o.name == "変更行" and o.getState().contains(pyatspi.STATE_SHOWING)))
check(strip is not None, "Ctrl+Q shows the information strip")
if strip is not None:
    st = strip.queryText()
    strip_text = st.getText(0, -1)
    check(strip_text == "Zold line\nnew line", "the strip reads both lines of the pair: %r" % strip_text)
    sel = st.getSelection(0) if st.getNSelections() > 0 else (0, 0)
    check(strip_text[sel[0]:sel[1]] == "Zold", "the strip's selection is the differing stretch: %r" % strip_text[sel[0]:sel[1]])
xdo("key", "--clearmodifiers", "ctrl+r")
screenshot("e2e_main_window")

# The companion program sends a file to TextB, which is then compared.
subprocess.run([os.path.join(work, "ravelle_diff_tool"), "-b", c], check=True, env=env)
check(wait(lambda: label_by_description(root, "TextB ファイル") == "c.txt"), "the companion's file arrives in TextB")
text_b, _ = pane_text(root, "TextB")
check(text_b.startswith("first\nthird text"), "TextB holds the sent file")
time.sleep(0.5)
screenshot("e2e_after_companion")

# Closing writes the settings file beside the program.
close_window(window_id)
try:
    program.wait(10)
except subprocess.TimeoutExpired:
    program.kill()
check(program.returncode == 0, "the window closes with status 0 (%s)" % program.returncode)
ini = os.path.join(work, "RavelleDiff.INI")
check(os.path.exists(ini) and b"[Form]" in open(ini, "rb").read(), "the settings file is written at exit")
check(os.path.isdir(os.path.join(work, "check")), "the check folder is created at start")

# With no window running, the companion starts one with the file in TextA;
# this one at a scale factor of 2, to look at (screenshot e2e_scale2.png).
subprocess.run([os.path.join(work, "ravelle_diff_tool"), "-a", c], check=True, env=dict(env, QT_SCALE_FACTOR="2"))
started = wait(lambda: (lambda r: r if r and label_by_description(r, "TextA ファイル") == "c.txt" else None)(app()), 20)
check(started is not None, "the companion starts RavelleDiff with the file in TextA")
time.sleep(0.5)
screenshot("e2e_scale2")
ids = wait(lambda: xdo("search", "--name", "^RavelleDiff$").split(), 10) or []
for window in ids:
    close_window(int(window))
time.sleep(1)

print("e2e: %d passed, %d failed" % (len(passed), len(failures)))
sys.exit(1 if failures else 0)
