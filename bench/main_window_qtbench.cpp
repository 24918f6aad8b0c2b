// The main window with two 1,000,000-line files, as a user opens them from
// the command line: each phase timed (read and fill the panes, compare,
// paint the first screen), then scrolling, Ctrl+End and F4, and the peak
// memory. Runs on the offscreen platform; prints one line per phase.
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include <QTest>

#include "app/main_window.h"
#include "controls/sel_shape.h"
#include "views/map_bar.h"
#include "editor/editor_widget.h"
#include "text_pair.h"
#include "textcode/jis_convert.h"
#include "textcode/utf8_convert.h"

namespace {

// "  // 値を計算する" in Shift_JIS: a Japanese comment on some lines.
const std::string kComment = "  // \x92\x6c\x82\xf0\x8c\x76\x8e\x5a\x82\xb7\x82\xe9";

void WriteText(const std::string& path, const rd::bench::Text& lines, rd::TextCode code) {
  std::string bytes;
  for (const std::string& line : lines) {
    std::string converted = line;
    if (code == rd::TextCode::Euc) converted = rd::SjisToEuc(line).value_or(line);
    if (code == rd::TextCode::Utf8) converted = rd::SjisToUtf8(line).value_or(line);
    bytes += converted;
    bytes += code == rd::TextCode::Sjis ? "\r\n" : "\n";
  }
  std::ofstream(path, std::ios::binary) << bytes;
}

double PeakMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// One measurement in a process of its own, so that its peak memory is the
// window's alone.
void Run(const char* name, rd::TextCode code, const std::string& dir) {
  rd::TForm1 form(rd::TMainWindowStart{dir + "/", {}, {}});
  form.ShowMessage = [](const QString& text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); };
  form.resize(1200, 900);
  form.show();
  QApplication::processEvents();

  QElapsedTimer total, t;
  total.start();
  t.start();
  form.LoadText(rd::Side::A, code, dir + "/bench_a_" + name + ".txt");
  form.LoadText(rd::Side::B, code, dir + "/bench_b_" + name + ".txt");
  form.PnlErrResize();
  const qint64 load = t.restart();
  form.BtnChkClick();
  const qint64 compare = t.restart();
  QPixmap shot = form.grab();
  const qint64 paint = t.restart();
  const qint64 all = total.elapsed();
  const double peak = PeakMb();  // open, compare and paint

  rd::TEditor* memo = form.Memo(rd::Side::A);
  t.restart();
  for (int i = 0; i < 100; ++i) memo->Model().SetTopRow(memo->Model().TopRow() + 1), memo->viewport()->repaint();
  const double scroll = t.nsecsElapsed() / 1e6 / 100;
  t.restart();
  QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
  QApplication::sendEvent(memo, &end);
  memo->viewport()->repaint();
  const double ctrlEnd = t.nsecsElapsed() / 1e6;
  memo->Model().SetRowCol(0, 0);
  t.restart();
  for (int i = 0; i < 100; ++i) form.Navigate(rd::Side::A, true), memo->viewport()->repaint();
  const double f4 = t.nsecsElapsed() / 1e6 / 100;

  // The views: one paint of the map bar, a full pane repaint with colours
  // and marks, hiding identical lines and showing them again, thumb drag steps.
  rd::TMapBar* map = form.PnlErr();
  t.restart();
  for (int i = 0; i < 20; ++i) map->TextArea()->repaint();
  const double mapPaint = t.nsecsElapsed() / 1e6 / 20;
  memo->Model().SetTopRow(form.Comparison().Diff(rd::Side::A).front().line);
  t.restart();
  for (int i = 0; i < 20; ++i) memo->viewport()->repaint();
  const double panePaint = t.nsecsElapsed() / 1e6 / 20;
  t.restart();
  form.PopAShowErrClick();
  const double hide = t.nsecsElapsed() / 1e6;
  t.restart();
  form.PopAShowErrClick();
  const double show = t.nsecsElapsed() / 1e6;
  rd::TSelShape* thumb = map->Thumb(rd::Side::A);
  const QPoint grip(6, 2);
  QTest::mousePress(thumb, Qt::LeftButton, Qt::NoModifier, grip);
  t.restart();
  for (int i = 0; i < 50; ++i) {
    QTest::mouseMove(thumb, grip + QPoint(0, 3));
    memo->viewport()->repaint();
  }
  const double drag = t.nsecsElapsed() / 1e6 / 50;
  QTest::mouseRelease(thumb, Qt::LeftButton, Qt::NoModifier, grip);
  std::printf("%-6s map paint %.2f ms  pane repaint %.2f ms  hide %.0f ms  show %.0f ms  thumb drag step %.2f ms\n",
              name, mapPaint, panePaint, hide, show, drag);

  std::printf("%-6s read+fill %5lld ms  compare %4lld ms  paint %3lld ms  total %5lld ms  | scroll row %.2f ms  "
              "Ctrl+End %.1f ms  F4 %.2f ms  | entries %zu/%zu  peak %.0f MB\n",
              name, load, compare, paint, all, scroll, ctrlEnd, f4, form.Comparison().Diff(rd::Side::A).size(),
              form.Comparison().Diff(rd::Side::B).size(), peak);
}

struct TKind {
  const char* name;
  rd::TextCode code;
};
constexpr TKind kKinds[] = {{"SJIS", rd::TextCode::Sjis}, {"UTF8", rd::TextCode::Utf8}, {"EUC", rd::TextCode::Euc}};

}  // namespace

// main_window_qtbench [lines]: writes the pairs, then measures each code in
// a fresh process (main_window_qtbench --run CODE FOLDER).
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 4 && std::string(argv[1]) == "--run") {
    QApplication app(argc, argv);
    for (const TKind& k : kKinds)
      if (std::string(argv[2]) == k.name) Run(k.name, k.code, argv[3]);
    return 0;
  }
  const std::size_t lines = argc > 1 ? std::stoul(argv[1]) : 1000000;
  rd::bench::Text a = rd::bench::MakeText(lines, 7);
  std::mt19937_64 rng(3);
  for (std::string& line : a)
    if (rng() % 8 != 0) line += kComment;
  const rd::bench::Text b = rd::bench::EditText(a, 11);
  const std::string dir = QDir::tempPath().toStdString();
  for (const TKind& k : kKinds) {
    WriteText(dir + "/bench_a_" + k.name + ".txt", a, k.code);
    WriteText(dir + "/bench_b_" + k.name + ".txt", b, k.code);
  }
  std::printf("%zu lines, %.1f MB in Shift_JIS\n", a.size(), double(QFileInfo(QString::fromStdString(dir + "/bench_a_SJIS.txt")).size()) / 1e6);
  std::fflush(stdout);
  for (const TKind& k : kKinds) {
    const std::string command = std::string(argv[0]) + " --run " + k.name + " " + dir;
    if (std::system(command.c_str()) != 0) return 1;
  }
  return 0;
}
