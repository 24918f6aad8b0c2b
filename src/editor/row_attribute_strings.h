// TRowAttributeStringList: a TheStringList whose two attribute words hold
// each row's end kind, its tokenizer start state and its marks.
//
// AttributesA: bits 0-1 end kind, 2-3 previous end kind, 4-7 bracket index
// + 2, 8-15 ParserValue, 16-23 CarryLength, 24-31 ParserExtra.
// AttributesB: bits 0-7 StartToken, 8-15 ParserFlags, 16-31 RowMarks.
#pragma once

#include <cstdint>
#include <string>

#include "editor/row_string_list.h"

namespace rd {

// How a row ends.
using TRowEndKind = std::uint8_t;
inline constexpr TRowEndKind rowEndLine = 0;  // a line break follows
inline constexpr TRowEndKind rowWrapped = 1;  // the line goes on in the next row
inline constexpr TRowEndKind rowEndText = 2;  // last row of a text without a final line break

// Bracket index of a row whose tokenizer start state is not computed.
inline constexpr int kBracketNotComputed = -2;
// Bracket index when no bracket region is open.
inline constexpr int kNoBracket = -1;

// The unpacked attributes of one row: its end kinds and the tokenizer
// state at its start.
struct TRowAttributeData {
  std::uint8_t EndKind = rowEndLine;
  std::uint8_t PrevEndKind = rowEndLine;
  std::int32_t BracketIndex = kNoBracket;
  std::uint32_t ParserValue = 0;
  std::uint32_t CarryLength = 0;
  std::uint32_t ParserExtra = 0;
  std::uint8_t StartToken = 0;
  std::uint8_t ParserFlags = 0;
  std::string StateText;

  // Equal tokenizer start states (the row's own end kind is not part of it).
  bool SameState(const TRowAttributeData& o) const {
    return PrevEndKind == o.PrevEndKind && BracketIndex == o.BracketIndex && ParserValue == o.ParserValue &&
           CarryLength == o.CarryLength && ParserExtra == o.ParserExtra && StartToken == o.StartToken &&
           ParserFlags == o.ParserFlags && StateText == o.StateText;
  }
};

class TRowAttributeStringList : public TheStringList {
 public:
  using TheStringList::TheStringList;

  std::uint8_t RowEndKind(int i) const { return AttributesA(i) & 3u; }
  void SetRowEndKind(int i, std::uint8_t v) { setA(i, 0, 2, v); }
  std::uint8_t PrevRowEndKind(int i) const { return (AttributesA(i) >> 2) & 3u; }
  void SetPrevRowEndKind(int i, std::uint8_t v) { setA(i, 2, 2, v); }
  // -2 (not computed), -1 (none) or the index of an open bracket pair.
  int BracketIndex(int i) const { return static_cast<int>((AttributesA(i) >> 4) & 15u) - 2; }
  void SetBracketIndex(int i, int v) { setA(i, 4, 4, static_cast<std::uint32_t>(v + 2) & 0xFFu); }
  std::uint8_t ParserValue(int i) const { return (AttributesA(i) >> 8) & 0xFFu; }
  void SetParserValue(int i, std::uint32_t v) { setA(i, 8, 8, v); }
  std::uint8_t CarryLength(int i) const { return (AttributesA(i) >> 16) & 0xFFu; }
  void SetCarryLength(int i, std::uint32_t v) { setA(i, 16, 8, v); }
  std::uint8_t ParserExtra(int i) const { return (AttributesA(i) >> 24) & 0xFFu; }
  void SetParserExtra(int i, std::uint32_t v) { setA(i, 24, 8, v); }
  std::uint8_t StartToken(int i) const { return AttributesB(i) & 0xFFu; }
  void SetStartToken(int i, std::uint32_t v) { setB(i, 0, 8, v); }
  std::uint8_t ParserFlags(int i) const { return (AttributesB(i) >> 8) & 0xFFu; }
  void SetParserFlags(int i, std::uint32_t v) { setB(i, 8, 8, v); }
  std::uint16_t RowMarks(int i) const { return static_cast<std::uint16_t>(AttributesB(i) >> 16); }
  void SetRowMarks(int i, std::uint32_t v) { setB(i, 16, 16, v); }

  // All attributes of row i, unpacked.
  TRowAttributeData RowAttributes(int i) const;
  // Stores the start state of `d` into row i; its end kind and marks stay.
  void SetRowState(int i, const TRowAttributeData& d);
  // Marks row i's start state as not computed and clears the state fields.
  void ClearRowState(int i);

 private:
  void setA(int i, unsigned shift, unsigned bits, std::uint32_t v) {
    SetAttributesA(i, insert(AttributesA(i), shift, bits, v));
  }
  void setB(int i, unsigned shift, unsigned bits, std::uint32_t v) {
    SetAttributesB(i, insert(AttributesB(i), shift, bits, v));
  }
  static std::uint32_t insert(std::uint32_t word, unsigned shift, unsigned bits, std::uint32_t v) {
    const std::uint32_t mask = (bits == 32 ? ~0u : ((1u << bits) - 1u)) << shift;
    return (word & ~mask) | ((v << shift) & mask);
  }
};

}  // namespace rd
