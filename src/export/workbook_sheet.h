// The one sheet of the workbook backend as libxlsxwriter receives it: the
// cells of the current row are collected with their fill, border and number
// format, and written out when a lower row is touched; the columns' widths
// and formats are written when the book is finished.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "export/automation.h"
#include "export/cell_address.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace rd {

class TWorkbookSheet {
 public:
  TWorkbookSheet() = default;
  TWorkbookSheet(const TWorkbookSheet&) = delete;
  TWorkbookSheet& operator=(const TWorkbookSheet&) = delete;

  // The book the sheet belongs to; owned by the backend, which outlives the sheet's use.
  void Attach(lxw_workbook* book) { book_ = book; }

  void SetName(std::string_view name);
  const std::string& Name() const { return name_; }
  void Activate() { active_ = true; }

  void SetFontName(std::string_view name);
  void SetFontSize(double size);

  // Values and cell formats for every cell of `rect`, which must lie in one
  // row at or below the current one.
  void SetValue(const TCellRect& rect, const TAutoArg& value);
  void SetFill(const TCellRect& rect, int colorIndex);
  void SetTopBorder(const TCellRect& rect, int weight);
  void SetCellNumberFormat(const TCellRect& rect, std::string_view format);

  // Column properties for the columns of `rect`.
  void SetColumnWidth(const TCellRect& rect, double width);
  void SetColumnNumberFormat(const TCellRect& rect, std::string_view format);

  // Writes the last row and the columns; the book can then be closed.
  void Finish();

 private:
  enum class TValueKind : std::uint8_t { None, Text, Number, Boolean };
  struct TCell {
    std::int64_t column = 0;
    TValueKind kind = TValueKind::None;
    std::string text;
    double number = 0;
    int fill = 0;        // palette index, 0: none
    int topWeight = 0;   // border weight 1 to 4, 0: none
    int numFormat = -1;  // index into numFormats_, -1: the column's
  };
  struct TColumn {
    double width = -1;  // -1: the default width
    int numFormat = -1;
    friend bool operator==(const TColumn&, const TColumn&) = default;
  };
  using TFormatKey = std::tuple<int, int, int>;  // fill, top weight, number format

  lxw_worksheet* Sheet();
  // The cells of `rect` in the current row, made current when it lies below.
  std::vector<TCell*> CellsOf(const TCellRect& rect);
  void FlushRow();
  int NumberFormatIndex(std::string_view format);
  lxw_format* Format(int fill, int topWeight, int numFormat);

  lxw_workbook* book_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;  // made on the first need, so that it can be named first
  std::string name_;
  bool active_ = false;
  std::string fontName_;
  double fontSize_ = 0;
  std::vector<TColumn> columns_ = std::vector<TColumn>(kSheetColumns);
  std::vector<std::string> numFormats_;
  std::map<TFormatKey, lxw_format*> formats_;  // formats belong to the book
  std::int64_t row_ = -1;                      // the row being collected
  std::vector<TCell> cells_;                   // its cells, ascending by column
};

}  // namespace rd
