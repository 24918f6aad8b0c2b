// The pictures of the window's buttons, drawn as vector shapes so that they
// stay crisp at any scale factor.
#pragma once

#include <QIcon>

namespace rd {

enum class TIconKind {
  Compare, Batch, LayoutSideBySide, LayoutStacked, Settings, About, Help,
  New, Open, Save, Down, Up, Close,
};

QIcon PaintedIcon(TIconKind kind);

}  // namespace rd
