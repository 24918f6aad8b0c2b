// Painting the editor widget on a 1,000,000-line text, offscreen, into an
// image: one full screen of 50 rows by 120 columns with coloured tokens, a
// selection and a line-drawing hook that tints every part, and jumps of the
// top row to the middle and the end with a repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>

#include "editor/editor_fonts.h"
#include "editor/editor_widget.h"

namespace {

std::unique_ptr<rd::TEditor> MakeEditor() {
  auto e = std::make_unique<rd::TEditor>();
  e->SetFont(rd::EditorFont(QString::fromUtf8("ＭＳ ゴシック"), 10));
  std::string text;
  text.reserve(30u << 20);
  for (int i = 0; i < 1000000; ++i) {
    text += "    value_";
    text += std::to_string(i);
    text += " = compute(0x1F, 42); // \x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\r\n";
  }
  e->Lines().SetText(text);
  rd::TEditorColors& colors = e->Model().View().Colors;
  colors[rd::TEditorColors::Int].SetColor(0x0000C0);
  colors[rd::TEditorColors::Symbol].SetColor(0x808000);
  colors[rd::TEditorColors::DBCS].SetColor(0x008000);
  e->Model().View().ReserveWordList.Add("compute");
  e->Model().View().Colors[rd::TEditorColors::Reserve].SetColor(0xFF0000);
  e->show();  // a hidden widget gets its resize events only when shown
  const rd::TEditorGeometry& g = e->Geometry();
  e->resize(g.TextLeft + 120 * g.ColumnWidth, g.TextTop + 50 * g.RowHeight);
  for (int i = 0; i < 400 && g.VisibleCols < 120; ++i) e->resize(e->width() + g.ColumnWidth / 2, e->height());
  for (int i = 0; i < 400 && g.VisibleRows < 50; ++i) e->resize(e->width(), e->height() + g.RowHeight / 2);
  e->OnDrawLine = [](rd::TDrawLineEvent& ev) { ev.Sender->Canvas()->fillRect(ev.ARect, QColor(255, 200, 200, 60)); };
  return e;
}

rd::TEditor& Editor() {
  static std::unique_ptr<rd::TEditor> editor = MakeEditor();
  return *editor;
}

void BM_PaintScreen(benchmark::State& state) {
  rd::TEditor& e = Editor();
  e.Model().SetTopRow(500000);
  e.Model().Select(500010, 10, 500020, 40);
  QImage image(e.viewport()->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&image);
    e.PaintArea(p, image.rect());
  }
  state.counters["rows"] = e.Geometry().VisibleRows;
  state.counters["cols"] = e.Geometry().VisibleCols;
}
BENCHMARK(BM_PaintScreen)->Unit(benchmark::kMillisecond);

void BM_TopRowJumps(benchmark::State& state) {
  rd::TEditor& e = Editor();
  QImage image(e.viewport()->size(), QImage::Format_RGB32);
  bool middle = false;
  for (auto _ : state) {
    middle = !middle;
    e.Model().SetTopRow(middle ? 500000 : 1000000);
    QPainter p(&image);
    e.PaintArea(p, image.rect());
  }
}
BENCHMARK(BM_TopRowJumps)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
