// What the window tells about the line under a pane's caret: the kind and
// partner in the last status-bar panel and, in the information strip, a
// changed line above its partner with the first differing stretch
// selected.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compare/diff_entry.h"
#include "compare/side.h"

namespace rd {

// What the strip shows after a caret move (only while it is shown).
enum class TStripAction : unsigned char {
  Untouched,  // the strip is hidden
  Clear,      // emptied: no changed line here (a single empty line)
  Pair,       // TextA's line PairRows[A] above TextB's line PairRows[B]; see MakeStrip
};

struct TLineInfo {
  std::string Panel;  // the last status-bar panel (UTF-8); empty clears it
  TStripAction Strip = TStripAction::Untouched;
  PerSide<int> PairRows{0, 0};  // with Pair
};

// The caret handler's memory: which pane's row it last described. A caret
// moving within that row (or a second event for it) changes nothing; the
// same row number in the other pane is another line and is described.
class TLineInfoTracker {
 public:
  // The caret of pane `side` is on `caretRow`. `ownList` is that pane's
  // difference list, `otherLineCount` the number of lines of the other
  // pane, `stripShown` whether the information strip is shown. Nothing
  // when the row was the last one handled.
  std::optional<TLineInfo> CaretMoved(Side side, int caretRow, const TDiffList& ownList, int otherLineCount,
                                      bool stripShown);
  // Forgets the last handled row: at every discard of the results, when
  // the strip is shown, and when the panes' texts are exchanged for the
  // reduced or full texts.
  void Forget() { last_.reset(); }

 private:
  struct TRow {
    Side side;
    int row;
  };
  std::optional<TRow> last_;
};

// The status-bar text for an entry of pane `side`: "[TextA] 追加行です。",
// "[TextA] 変更行です。TextB=12行" (partner 11), "[TextB] 移動行です。TextA=..."
// Empty for any other kind.
std::string LinePanelText(Side side, const TDiffEntry& entry);

// The strip's text, TextA's line and TextB's line, with its selection.
// Offsets count bytes of the strip text, the line break as two.
struct TStripContent {
  std::string LineA;
  std::string LineB;
  std::int64_t SelStart = 0;
  std::int64_t SelLength = 0;
  friend bool operator==(const TStripContent&, const TStripContent&) = default;
};
inline constexpr int kStripLineBreak = 2;  // CR LF

// The first differing stretch of a changed pair, as bytes of TextA's line:
// the characters after the common prefix for as long as the lines still
// differ and TextA's character is not a delimiter (the first one may be).
// A double-byte character counts as one character.
struct TByteRange {
  std::size_t Offset = 0;
  std::size_t Length = 0;
  friend bool operator==(const TByteRange&, const TByteRange&) = default;
};
std::optional<TByteRange> FirstDifferingStretch(std::string_view lineA, std::string_view lineB);

// The strip for a changed pair: the stretch in TextA's line, or, when one
// line only extends the other, the surplus tail of the longer one.
TStripContent MakeStrip(std::string_view lineA, std::string_view lineB);

// The 32 delimiters that end a marked stretch: " ,./\<>?;:]+*}@[`{!"#$%&'()=~|-^".
bool IsStretchDelimiter(std::string_view character);

}  // namespace rd
