// The fonts the panes ask for by their Windows names, mapped to installed
// Japanese fonts, so the name in the settings stays as the user wrote it.
#pragma once

#include <QFont>
#include <QString>

namespace rd {

// Registers the substitutions once: "ＭＳ ゴシック", "MS Gothic" and "FixedSys"
// fall back to IPAGothic, then Noto Sans Mono CJK JP, then monospace; "ＭＳ Ｐゴシック"
// (the window font) to IPAPGothic, then Noto Sans CJK JP, then sans-serif.
void InstallFontSubstitutions();

// A font of that family and point size, after the substitutions.
QFont EditorFont(const QString& family, int pointSize);

}  // namespace rd
