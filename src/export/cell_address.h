// A1-style addresses of worksheet ranges: "B4", "B4:D4", whole columns "A:A".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rd {

inline constexpr std::int32_t kSheetRows = 1048576;  // rows of a worksheet
inline constexpr std::int32_t kSheetColumns = 16384; // columns A to XFD

// A rectangle of cells, 0-based and inclusive. Its rows or columns may lie
// beyond the sheet, as an offset may take them; InSheet says whether not.
struct TCellRect {
  std::int64_t top = 0;
  std::int64_t left = 0;
  std::int64_t bottom = 0;
  std::int64_t right = 0;

  bool InSheet() const { return top >= 0 && left >= 0 && bottom < kSheetRows && right < kSheetColumns; }
  bool WholeColumns() const { return top == 0 && bottom == kSheetRows - 1; }
  TCellRect Offset(std::int64_t rows, std::int64_t columns) const {
    return {top + rows, left + columns, bottom + rows, right + columns};
  }
  friend bool operator==(const TCellRect&, const TCellRect&) = default;
};

// "B4", "B4:D4", "A:A", "B:C" (letters case-insensitive); nullopt for
// anything else or a cell outside the sheet.
std::optional<TCellRect> ParseAddress(std::string_view address);

// The address in the same forms: "B4", "B4:D4", "D:D", "A:XFD"; a rectangle
// outside the sheet is shown with its row and column numbers, "R0C-1".
std::string AddressText(const TCellRect& rect);

// "A" for 0, "Z" for 25, "AA" for 26.
std::string ColumnName(std::int64_t column);

}  // namespace rd
