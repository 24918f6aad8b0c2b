#include "editor/sjis_text_painter.h"

#include <QGlyphRun>

#include "textcode/cp932_table.h"
#include "textcode/text_code.h"

namespace rd {

void TSjisTextPainter::SetFont(const QFont& font, int columnWidth) {
  columnWidth_ = columnWidth;
  fonts_.clear();
  fonts_.push_back(QRawFont::fromFont(font));
  QFont fallback(font);
  fallback.setFamily("monospace");
  fallback.setStyleHint(QFont::Monospace);
  fonts_.push_back(QRawFont::fromFont(fallback));
  glyphs_.assign(0x10000, 0);
  runGlyphs_.assign(fonts_.size(), {});
  runPositions_.assign(fonts_.size(), {});
}

quint32 TSjisTextPainter::Glyph(char16_t cp, int& font) const {
  quint32& cached = glyphs_[cp];
  if (cached == 0) {
    const QChar ch(cp);
    for (std::size_t f = 0; f < fonts_.size(); ++f) {
      quint32 index = 0;
      int count = 1;
      if (fonts_[f].isValid() && fonts_[f].glyphIndexesForChars(&ch, 1, &index, &count) && index != 0) {
        cached = (index + 1) | (static_cast<quint32>(f) << 24);
        break;
      }
    }
    if (cached == 0) cached = 1;  // no font has it: the primary font's missing glyph
  }
  font = static_cast<int>(cached >> 24);
  return (cached & 0xFFFFFF) - 1;
}

void TSjisTextPainter::Draw(QPainter& painter, int x, int y, std::string_view bytes, int firstColumn, int tabWidth,
                            std::size_t maxBytes) const {
  if (fonts_.empty() || bytes.empty()) return;
  const TCp932Table* table = TCp932Table::Get();
  if (!table) return;
  for (auto& g : runGlyphs_) g.clear();
  for (auto& p : runPositions_) p.clear();
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::size_t n = std::min(bytes.size(), maxBytes);
  int column = firstColumn;
  for (std::size_t i = 0; i < n;) {
    char16_t cp;
    int width = 1;
    if (b[i] == '\t') {
      const int tab = tabWidth > 0 ? tabWidth : 8;
      column = (column / tab + 1) * tab;
      ++i;
      continue;
    }
    if (IsSjisLead(b[i]) && i + 1 < bytes.size()) {
      cp = table->Double(b[i], b[i + 1]);
      width = 2;
    } else {
      cp = table->Single(b[i]);
    }
    if (cp >= 0x20) {
      int font = 0;
      const quint32 glyph = Glyph(cp, font);
      runGlyphs_[font].push_back(glyph);
      runPositions_[font].push_back(QPointF((column - firstColumn) * columnWidth_, 0));
    }
    column += width;
    i += width;
  }
  for (std::size_t f = 0; f < fonts_.size(); ++f) {
    if (runGlyphs_[f].empty()) continue;
    QGlyphRun run;
    run.setRawFont(fonts_[f]);
    run.setGlyphIndexes(QList<quint32>(runGlyphs_[f].begin(), runGlyphs_[f].end()));
    run.setPositions(QList<QPointF>(runPositions_[f].begin(), runPositions_[f].end()));
    painter.drawGlyphRun(QPointF(x, y), run);
  }
}

}  // namespace rd
