// The application's one error guard: an exception that leaves a handler is
// shown with its text, and the program goes on to the next event.
#include <QTimer>

#include <cstdio>
#include <stdexcept>

#include "app/application.h"

int main(int argc, char** argv) {
  rd::TApplication app(argc, argv);
  QStringList shown;
  app.ShowError = [&shown](const QString& text) { shown << text; };
  bool afterwards = false;
  QTimer::singleShot(0, &app, [] { throw std::runtime_error("ファイルを読み込めません。/x: 理由"); });
  QTimer::singleShot(0, &app, [] { throw std::bad_alloc(); });
  QTimer::singleShot(10, &app, [&afterwards] {
    afterwards = true;
    QCoreApplication::quit();
  });
  app.exec();
  const QStringList expected{QString::fromUtf8("ファイルを読み込めません。/x: 理由"), QString::fromUtf8("メモリが不足しています")};
  const bool ok = shown == expected && afterwards;
  std::printf("%s: the error guard shows %lld texts and the loop goes on\n", ok ? "PASS" : "FAIL",
              static_cast<long long>(shown.size()));
  std::printf("%d passed, %d failed\n", ok ? 1 : 0, ok ? 0 : 1);
  return ok ? 0 : 1;
}
