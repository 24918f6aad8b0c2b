// The batch check window running 1,000 pairs of 10,000-line files on the
// offscreen platform: the time of the run, the time per pair, and how often
// the pair list was painted during it. The pairs are hard links of one pair
// under a thousand names, so the disk holds two files.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "batch/batch_window.h"
#include "text_pair.h"

namespace {

class TPaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

void Write(const std::string& path, const rd::bench::Text& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int pairs = argc > 1 ? std::atoi(argv[1]) : 1000;
  const std::size_t lines = argc > 2 ? std::stoul(argv[2]) : 10000;
  namespace fs = std::filesystem;
  const std::string dir = (fs::temp_directory_path() / "rd_batch_bench").string() + "/";
  fs::remove_all(dir);
  fs::create_directories(dir + "a");
  fs::create_directories(dir + "b");
  const rd::bench::Text a = rd::bench::MakeText(lines, 5);
  Write(dir + "a/0000.txt", a);
  Write(dir + "b/0000.txt", rd::bench::EditText(a, 9));
  for (int i = 1; i < pairs; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.txt", i);
    fs::create_hard_link(dir + "a/0000.txt", dir + "a/" + name);
    fs::create_hard_link(dir + "b/0000.txt", dir + "b/" + name);
  }

  rd::TForm1 form(rd::TMainWindowStart{dir, {}, {}});
  form.ShowMessage = [](const QString&) {};
  rd::TForm2 batch(form.BatchEngine(), form.PairViewer(), &form);
  batch.ShowMessage = [](const QString&) {};
  batch.show();
  batch.DropCandidates(rd::Side::A, {dir + "a"});
  batch.DropCandidates(rd::Side::B, {dir + "b"});
  QApplication::processEvents();
  TPaintCounter counter;
  batch.ListView()->viewport()->installEventFilter(&counter);
  QElapsedTimer t;
  t.start();
  if (argc > 3) batch.hide();  // without painting, for comparison
  batch.BtnChksClick();
  const double ms = t.nsecsElapsed() / 1e6;
  std::printf("%d pairs of %zu lines: run %.0f ms, %.2f ms per pair, pair list painted %d times during the run\n",
              static_cast<int>(batch.Model().Rows().size()), lines, ms, ms / batch.Model().Rows().size(),
              counter.paints);
  fs::remove_all(dir);
  return 0;
}
