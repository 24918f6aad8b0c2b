// Aligning the texts into export rows, marking context rows, matching colours.
#include "export/export_rows.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "compare/line_key.h"

namespace rd {

namespace {

// The end marker: no further difference entry.
constexpr TDiffEntry kEndEntry{kNoLine, kNoLine, 0, 0};

// Walks one difference list alongside the current line of its text.
class TEntryCursor {
 public:
  explicit TEntryCursor(std::span<const TDiffEntry> list) : list_(list) {}
  const TDiffEntry& Current() const { return next_ < list_.size() ? list_[next_] : kEndEntry; }
  // Moves past the entries before `line`. On a list in ascending order this is
  // at most one step per line; a list out of order only costs extra steps.
  void Follow(std::int32_t line) {
    while (next_ < list_.size() && line > list_[next_].line) ++next_;
  }
  void Finish() { next_ = list_.size(); }

 private:
  std::span<const TDiffEntry> list_;
  std::size_t next_ = 0;
};

// The kind of `line` as a row kind: 1 to 3 from its entry, else unchanged.
std::uint8_t KindAt(const TDiffEntry& entry, std::int32_t line) {
  if (entry.line != line) return kRowUnchanged;
  const bool known = entry.kind == KindAdded || entry.kind == KindChanged || entry.kind == KindMoved;
  return known ? static_cast<std::uint8_t>(entry.kind) : kRowUnchanged;
}

// Added and moved lines stand alone: their text has no counterpart opposite.
bool StandsAlone(std::uint8_t kind) { return kind == KindAdded || kind == KindMoved; }

enum class TShape { AAlone, BAlone, Pair };

TShape DecideShape(bool blankA, bool blankB, std::uint8_t kindA, std::uint8_t kindB, std::int32_t a, std::int32_t b) {
  if (blankA && blankB) return TShape::Pair;
  if (blankA) return TShape::AAlone;
  if (blankB) return TShape::BAlone;
  if (StandsAlone(kindA)) return TShape::AAlone;
  if (StandsAlone(kindB)) return TShape::BAlone;
  if (a == kNoLine) return TShape::BAlone;
  if (b == kNoLine) return TShape::AAlone;
  // Left here are unchanged and changed lines. A changed line never pairs
  // with an unchanged one: that happens only after a blank line stood alone,
  // and pairing them would hide the change and shift every row after it.
  if (kindA != kindB) return kindA == KindChanged ? TShape::AAlone : TShape::BAlone;
  return TShape::Pair;
}

std::int32_t FirstLine(std::size_t count) {
  if (count >= static_cast<std::size_t>(kNoLine)) throw std::length_error("行数が多すぎます");
  return count > 0 ? 0 : kNoLine;  // an empty text has no line to start from
}

}  // namespace

void BuildExportRows(const TExportInput& input, std::vector<TExportRow>& rows, int& checkpoint) {
  checkpoint = 200;
  rows.clear();
  const std::size_t nA = input.Lines[Index(Side::A)].Count;
  const std::size_t nB = input.Lines[Index(Side::B)].Count;
  rows.reserve(nA + nB);
  TEntryCursor curA(input.Diff[Index(Side::A)]);
  TEntryCursor curB(input.Diff[Index(Side::B)]);
  std::int32_t a = FirstLine(nA);
  std::int32_t b = FirstLine(nB);
  auto blank = [&input](Side side, std::int32_t line) {
    if (line == kNoLine) return false;
    return TrimBoth(input.Lines[Index(side)].Line(static_cast<std::size_t>(line))).empty();
  };

  checkpoint = 205;
  while (a != kNoLine || b != kNoLine) {
    checkpoint = 206;
    curA.Follow(a);
    checkpoint = 207;
    curB.Follow(b);
    checkpoint = 208;
    const std::uint8_t kindA = KindAt(curA.Current(), a);
    const std::uint8_t kindB = KindAt(curB.Current(), b);
    checkpoint = 209;
    const bool blankA = blank(Side::A, a);
    const bool blankB = blank(Side::B, b);
    checkpoint = 210;
    const TShape shape = DecideShape(blankA, blankB, kindA, kindB, a, b);
    checkpoint = 211;
    TExportRow& row = rows.emplace_back();
    switch (shape) {
      case TShape::AAlone:
        checkpoint = 212;
        row = {a, -1, kindA, kindA == KindMoved ? curA.Current().partner : 0};
        ++a;
        break;
      case TShape::BAlone:
        checkpoint = 213;
        row = {-1, b, kindB, kindB == KindMoved ? curB.Current().partner : 0};
        ++b;
        break;
      case TShape::Pair:
        checkpoint = 214;
        row = {a, b, kindA, kindA == KindMoved ? curA.Current().partner : 0};
        ++a;
        ++b;
        break;
    }
    checkpoint = 215;
    if (a != kNoLine && static_cast<std::size_t>(a) == nA) {
      a = kNoLine;
      curA.Finish();
    }
    if (b != kNoLine && static_cast<std::size_t>(b) == nB) {
      b = kNoLine;
      curB.Finish();
    }
  }
}

void MarkContextRows(std::span<TExportRow> rows, std::size_t index, std::size_t last, int addRow) {
  const std::size_t count = addRow > 0 ? static_cast<std::size_t>(addRow) : 0;
  for (std::size_t k = 1; k <= count && k <= index; ++k) {
    TExportRow& row = rows[index - k];
    if (row.rowKind != kRowUnchanged) break;
    row.rowKind = kRowContext;
  }
  for (std::size_t k = 1; k <= count && index + k <= last; ++k) {
    TExportRow& row = rows[index + k];
    if (row.rowKind != kRowUnchanged) break;
    row.rowKind = kRowContext;
  }
}

void MarkAllContextRows(std::span<TExportRow> rows, int addRow) {
  if (addRow <= 0 || rows.empty()) return;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::uint8_t kind = rows[i].rowKind;
    if (kind != kRowUnchanged && kind != kRowContext) MarkContextRows(rows, i, rows.size() - 1, addRow);
  }
}

const std::array<std::uint32_t, 56> kSheetPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,  //  1- 8
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,  //  9-16
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,  // 17-24
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,  // 25-32
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,  // 33-40
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,  // 41-48
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,  // 49-56
};

int ColorToColorIndex(std::int32_t color) {
  const auto value = static_cast<std::uint32_t>(color);
  const std::array<int, 3> rgb = {static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                                  static_cast<int>((value >> 16) & 0xFF)};
  const int smallest = std::min({rgb[0] / 4, rgb[1] / 4, rgb[2] / 4});
  // Components above the smallest are compared at a quarter of their
  // resolution, so that the weakest component decides the shade.
  std::array<bool, 3> coarse{};
  for (int c = 0; c < 3; ++c) coarse[c] = rgb[c] / 4 != smallest;

  int best = 1;
  int bestDistance = 16777215;
  for (int i = 0; i < 56; ++i) {
    const std::uint32_t p = kSheetPalette[i];
    const std::array<int, 3> palette = {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                                        static_cast<int>(p & 0xFF)};
    int distance = 0;
    for (int c = 0; c < 3; ++c)
      distance += coarse[c] ? std::abs(rgb[c] / 4 - palette[c] / 4) : std::abs(rgb[c] - palette[c]);
    if (distance < bestDistance) {
      best = i + 1;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace rd
