#include "editor/editor_fonts.h"

#include <QStringList>

namespace rd {

void InstallFontSubstitutions() {
  static const bool done = [] {
    const QStringList japanese = {"IPAGothic", "Noto Sans Mono CJK JP", "monospace"};
    for (const char* name : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "MS Gothic", "MS PGothic", "FixedSys"})
      QFont::insertSubstitutions(QString::fromUtf8(name), japanese);
    return true;
  }();
  (void)done;
}

QFont EditorFont(const QString& family, int pointSize) {
  InstallFontSubstitutions();
  QFont font(family, pointSize > 0 ? pointSize : 10);
  font.setStyleHint(QFont::TypeWriter);
  font.setKerning(false);
  return font;
}

}  // namespace rd
