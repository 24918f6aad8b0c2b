// Draws Shift_JIS text at a fixed pitch: every byte takes one column, a
// double-byte character two, a tab runs to the next tab stop, whatever
// widths the font gives its glyphs. Characters are converted one by one as
// they are drawn; a row part costs one glyph run.
#pragma once

#include <QFont>
#include <QPainter>
#include <QRawFont>

#include <string_view>
#include <vector>

namespace rd {

class TSjisTextPainter {
 public:
  // The font and the column width; glyphs are looked up anew after this.
  void SetFont(const QFont& font, int columnWidth);
  int ColumnWidth() const { return columnWidth_; }

  // Draws `bytes` whose first byte stands at column `firstColumn` of its row
  // (tab stops count from column 0 of the row), with that column's left edge
  // at x and the text's baseline at y, in the painter's pen colour. Bytes
  // after `maxBytes` are not drawn.
  void Draw(QPainter& painter, int x, int y, std::string_view bytes, int firstColumn, int tabWidth,
            std::size_t maxBytes) const;

 private:
  quint32 Glyph(char16_t cp, int& font) const;

  std::vector<QRawFont> fonts_;  // the font, then fallbacks for characters it lacks
  int columnWidth_ = 8;
  // Per code point: glyph index + 1 in the low 24 bits and the font in the high 8; 0 = not looked up.
  mutable std::vector<quint32> glyphs_;
  mutable std::vector<std::vector<quint32>> runGlyphs_;
  mutable std::vector<std::vector<QPointF>> runPositions_;
};

}  // namespace rd
