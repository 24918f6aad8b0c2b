#include "editor/editor_fonts.h"

#include <QStringList>

namespace rd {

void InstallFontSubstitutions() {
  static const bool done = [] {
    const QStringList japanese = {"IPAGothic", "Noto Sans Mono CJK JP", "monospace"};
    for (const char* name : {"ＭＳ ゴシック", "MS Gothic", "FixedSys"})
      QFont::insertSubstitutions(QString::fromUtf8(name), japanese);
    // The proportional one is the window's user-interface font.
    const QStringList proportional = {"IPAPGothic", "Noto Sans CJK JP", "IPAGothic", "sans-serif"};
    for (const char* name : {"ＭＳ Ｐゴシック", "MS PGothic"})
      QFont::insertSubstitutions(QString::fromUtf8(name), proportional);
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
