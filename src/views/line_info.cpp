// Line information under the caret; see line_info.h.
#include "views/line_info.h"

#include "editor/sjis.h"

namespace rd {

namespace {

constexpr std::string_view kStretchDelimiters = " ,./\\<>?;:]+*}@[`{!\"#$%&'()=~|-^";
static_assert(kStretchDelimiters.size() == 32);

std::string_view TextName(Side side) { return side == Side::A ? "TextA" : "TextB"; }

std::string_view CharAt(std::string_view s, std::size_t pos) { return s.substr(pos, sjis::CharLength(s, pos)); }

}  // namespace

bool IsStretchDelimiter(std::string_view character) {
  return character.size() == 1 && kStretchDelimiters.find(character[0]) != std::string_view::npos;
}

std::string LinePanelText(Side side, const TDiffEntry& entry) {
  std::string_view what;
  switch (entry.kind) {
    case KindAdded: what = " 追加行です。"; break;
    case KindChanged: what = " 変更行です。"; break;
    case KindMoved: what = " 移動行です。"; break;
    default: return {};
  }
  std::string text = "[";
  text += TextName(side);
  text += "]";
  text += what;
  if (entry.kind != KindAdded) {
    text += TextName(Other(side));
    text += "=";
    text += std::to_string(static_cast<std::int64_t>(entry.partner) + 1);
    text += "行";
  }
  return text;
}

std::optional<TLineInfo> TLineInfoTracker::CaretMoved(Side side, int caretRow, const TDiffList& ownList,
                                                      int otherLineCount, bool stripShown) {
  if (last_ && last_->side == side && last_->row == caretRow) return std::nullopt;
  last_ = TRow{side, caretRow};
  TLineInfo info;
  info.Strip = stripShown ? TStripAction::Clear : TStripAction::Untouched;
  const TDiffEntry* entry = FindEntry(caretRow, ownList);
  if (!entry) return info;
  info.Panel = LinePanelText(side, *entry);
  if (stripShown && entry->kind == KindChanged && entry->partner >= 0 && entry->partner < otherLineCount) {
    info.Strip = TStripAction::Pair;
    info.PairRows[Index(side)] = caretRow;
    info.PairRows[Index(Other(side))] = entry->partner;
  }
  return info;
}

std::optional<TByteRange> FirstDifferingStretch(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size() && CharAt(a, i) == CharAt(b, j)) {
    i += CharAt(a, i).size();
    j += CharAt(b, j).size();
  }
  if (i >= a.size() || j >= b.size()) return std::nullopt;
  const std::size_t start = i;
  do {
    i += CharAt(a, i).size();
    j += CharAt(b, j).size();
  } while (i < a.size() && j < b.size() && CharAt(a, i) != CharAt(b, j) && !IsStretchDelimiter(CharAt(a, i)));
  return TByteRange{start, i - start};
}

TStripContent MakeStrip(std::string_view lineA, std::string_view lineB) {
  TStripContent strip{std::string(lineA), std::string(lineB), 0, 0};
  if (const auto stretch = FirstDifferingStretch(lineA, lineB)) {
    strip.SelStart = static_cast<std::int64_t>(stretch->Offset);
    strip.SelLength = static_cast<std::int64_t>(stretch->Length);
  } else if (lineA.size() >= lineB.size()) {
    strip.SelStart = static_cast<std::int64_t>(lineB.size());
    strip.SelLength = static_cast<std::int64_t>(lineA.size() - lineB.size());
  } else {
    strip.SelStart = static_cast<std::int64_t>(2 * lineA.size() + kStripLineBreak);
    strip.SelLength = static_cast<std::int64_t>(lineB.size() - lineA.size());
  }
  return strip;
}

}  // namespace rd
