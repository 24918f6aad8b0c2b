// Packing and unpacking of a row's tokenizer start state.
#include "editor/row_attribute_strings.h"

#include <cassert>

namespace rd {

TRowAttributeData TRowAttributeStringList::RowAttributes(int i) const {
  TRowAttributeData d;
  const std::uint32_t a = AttributesA(i);
  const std::uint32_t b = AttributesB(i);
  d.EndKind = a & 3u;
  d.PrevEndKind = (a >> 2) & 3u;
  d.BracketIndex = static_cast<int>((a >> 4) & 15u) - 2;
  d.ParserValue = (a >> 8) & 0xFFu;
  d.CarryLength = (a >> 16) & 0xFFu;
  d.ParserExtra = (a >> 24) & 0xFFu;
  d.StartToken = b & 0xFFu;
  d.ParserFlags = (b >> 8) & 0xFFu;
  d.StateText = StateText(i);
  return d;
}

void TRowAttributeStringList::SetRowState(int i, const TRowAttributeData& d) {
  assert(d.BracketIndex >= -2 && d.BracketIndex <= 13 && "bracket index must fit its nibble");
  const std::uint32_t a = AttributesA(i);
  SetAttributesA(i, (a & 3u) | ((d.PrevEndKind & 3u) << 2) | ((static_cast<std::uint32_t>(d.BracketIndex + 2) & 15u) << 4) |
                        ((d.ParserValue & 0xFFu) << 8) | ((d.CarryLength & 0xFFu) << 16) |
                        ((d.ParserExtra & 0xFFu) << 24));
  const std::uint32_t b = AttributesB(i);
  SetAttributesB(i, (b & 0xFFFF0000u) | (d.StartToken & 0xFFu) | ((d.ParserFlags & 0xFFu) << 8));
  SetStateText(i, d.StateText);
}

void TRowAttributeStringList::ClearRowState(int i) {
  SetAttributesA(i, AttributesA(i) & 3u);
  SetAttributesB(i, AttributesB(i) & 0xFFFF0000u);
  SetStateText(i, {});
}

}  // namespace rd
