// A1 addresses to rectangles and back.
#include "export/cell_address.h"

namespace rd {

namespace {

// Letters then digits of one cell, "B4" or (for whole columns) "B".
// Returns false when the text is not of that form or lies outside the sheet.
bool ParseCell(std::string_view text, bool columnOnly, std::int64_t& row, std::int64_t& column) {
  std::size_t i = 0;
  std::int64_t col = 0;
  while (i < text.size() && i < 4) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    col = col * 26 + (c - 'A' + 1);
    ++i;
  }
  if (i == 0 || col > kSheetColumns) return false;
  column = col - 1;
  if (columnOnly) return i == text.size();
  std::int64_t number = 0;
  const std::size_t digits = i;
  for (; i < text.size() && i - digits < 8; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    number = number * 10 + (text[i] - '0');
  }
  if (i == digits || i != text.size() || text[digits] == '0' || number > kSheetRows) return false;
  row = number - 1;
  return true;
}

}  // namespace

std::optional<TCellRect> ParseAddress(std::string_view address) {
  const std::size_t colon = address.find(':');
  const std::string_view first = address.substr(0, colon);
  const std::string_view second = colon == std::string_view::npos ? first : address.substr(colon + 1);
  const bool columns = !first.empty() && (first.back() < '0' || first.back() > '9');
  if (columns && colon == std::string_view::npos) return std::nullopt;  // "A" alone is no address
  TCellRect rect;
  if (columns) {
    rect.top = 0;
    rect.bottom = kSheetRows - 1;
    if (!ParseCell(first, true, rect.top, rect.left) || !ParseCell(second, true, rect.top, rect.right))
      return std::nullopt;
  } else if (!ParseCell(first, false, rect.top, rect.left) || !ParseCell(second, false, rect.bottom, rect.right)) {
    return std::nullopt;
  }
  if (rect.bottom < rect.top || rect.right < rect.left) return std::nullopt;
  return rect;
}

std::string ColumnName(std::int64_t column) {
  std::string name;
  for (std::int64_t n = column + 1; n > 0; n = (n - 1) / 26)
    name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

std::string AddressText(const TCellRect& rect) {
  if (!rect.InSheet())
    return "R" + std::to_string(rect.top + 1) + "C" + std::to_string(rect.left + 1);
  if (rect.WholeColumns()) return ColumnName(rect.left) + ":" + ColumnName(rect.right);
  std::string text = ColumnName(rect.left) + std::to_string(rect.top + 1);
  if (rect.bottom != rect.top || rect.right != rect.left)
    text += ":" + ColumnName(rect.right) + std::to_string(rect.bottom + 1);
  return text;
}

}  // namespace rd
