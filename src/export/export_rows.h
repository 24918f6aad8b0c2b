// The toolkit-free part of the export: the two texts aligned into rows, the
// context lines of the difference mode, and colours matched to the
// spreadsheet's palette of 56.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "export/export_input.h"

namespace rd {

// Kinds of an export row beyond those of a difference entry.
inline constexpr std::uint8_t kRowUnchanged = 0;
inline constexpr std::uint8_t kRowContext = 5;
// A line index or line that does not exist: the text has no further line.
inline constexpr std::int32_t kNoLine = 2147483647;

struct TExportRow {
  std::int32_t lineA = -1;  // -1: the row has no TextA line
  std::int32_t lineB = -1;  // -1: the row has no TextB line
  std::uint8_t rowKind = kRowUnchanged;
  std::int32_t partner = 0;  // for a moved row, the partner of its difference entry

  friend bool operator==(const TExportRow&, const TExportRow&) = default;
};

// Aligns the two texts row by row. `rows` is cleared first and keeps what was
// built when a line accessor or the allocation raises; `checkpoint` then
// names the step that was reached (200, 205, 206 to 215).
void BuildExportRows(const TExportInput& input, std::vector<TExportRow>& rows, int& checkpoint);

// Marks up to `addRow` unchanged rows before and after rows[index] as
// context, stopping at the first row that is not unchanged; `last` is the
// index of the last row.
void MarkContextRows(std::span<TExportRow> rows, std::size_t index, std::size_t last, int addRow);
// MarkContextRows around every difference row, first to last.
void MarkAllContextRows(std::span<TExportRow> rows, int addRow);

// The palette of colour indexes 1 to 56, as 0xRRGGBB.
extern const std::array<std::uint32_t, 56> kSheetPalette;

// The palette index (1 to 56) nearest to a colour value (red in the low byte).
int ColorToColorIndex(std::int32_t color);

}  // namespace rd
