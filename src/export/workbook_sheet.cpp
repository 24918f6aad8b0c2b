// Collecting one row at a time and writing it through libxlsxwriter.
#include "export/workbook_sheet.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>

#include "export/export_rows.h"

namespace rd {

namespace {

constexpr std::size_t kMaxCellChars = 32767;  // characters a cell can hold

[[noreturn]] void Fail(lxw_error error) { throw TAutoError(lxw_strerror(error)); }

void Check(lxw_error error) {
  if (error != LXW_NO_ERROR) Fail(error);
}

std::size_t Utf8Chars(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A text that a cell of the general format takes as a number, as the
// application does with a typed entry: an optional minus and up to fifteen
// digits, which a double holds exactly.
bool ReadsAsInteger(std::string_view text, double& number) {
  const std::string_view digits = !text.empty() && text.front() == '-' ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 15) return false;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  long long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  number = static_cast<double>(value);
  return true;
}

std::uint8_t BorderStyle(int weight) {
  switch (weight) {
    case 1: return LXW_BORDER_HAIR;
    case 2: return LXW_BORDER_THIN;
    case 3: return LXW_BORDER_MEDIUM;
    default: return LXW_BORDER_THICK;
  }
}

}  // namespace

lxw_worksheet* TWorkbookSheet::Sheet() {
  if (!sheet_) {
    sheet_ = workbook_add_worksheet(book_, name_.empty() ? nullptr : name_.c_str());
    if (!sheet_) throw TAutoError("ワークシートを作成できません");
    if (active_) worksheet_activate(sheet_);
  }
  return sheet_;
}

void TWorkbookSheet::SetName(std::string_view name) {
  if (sheet_) throw TAutoError("シート名は書き込みの前に付けてください");
  const std::string text(name);
  Check(workbook_validate_sheet_name(book_, text.c_str()));
  name_ = text;
  Sheet();
}

void TWorkbookSheet::SetFontName(std::string_view name) {
  fontName_ = name;
  formats_.clear();  // later formats carry the new font
}

void TWorkbookSheet::SetFontSize(double size) {
  if (size <= 0 || size > 409) throw TAutoError("フォントサイズが正しくありません");
  fontSize_ = size;
  formats_.clear();
}

std::vector<TWorkbookSheet::TCell*> TWorkbookSheet::CellsOf(const TCellRect& rect) {
  if (rect.bottom >= kSheetRows)
    throw TAutoError("ワークシートの行数の上限（" + std::to_string(kSheetRows) + "行）を超えます");
  if (!rect.InSheet()) throw TAutoError("ワークシートの外のセルです");
  if (rect.top != rect.bottom) throw TAutoError("複数の行にまたがる範囲には書き込めません");
  if (rect.top < row_) throw TAutoError("書き出し済みの行には書き込めません");
  if (rect.top > row_) {
    FlushRow();
    row_ = rect.top;
  }
  auto find = [this](std::int64_t column) {
    return std::lower_bound(cells_.begin(), cells_.end(), column,
                            [](const TCell& cell, std::int64_t c) { return cell.column < c; });
  };
  for (std::int64_t column = rect.left; column <= rect.right; ++column) {
    const auto at = find(column);
    if (at == cells_.end() || at->column != column) {
      TCell cell;
      cell.column = column;
      cells_.insert(at, std::move(cell));
    }
  }
  // Pointers only once every cell is in place: an insertion moves the others.
  std::vector<TCell*> cells;
  for (auto at = find(rect.left); at != cells_.end() && at->column <= rect.right; ++at) cells.push_back(&*at);
  return cells;
}

void TWorkbookSheet::SetValue(const TCellRect& rect, const TAutoArg& value) {
  if (const auto* text = std::get_if<std::string_view>(&value); text && Utf8Chars(*text) > kMaxCellChars)
    throw TAutoError("セルに入る文字数（" + std::to_string(kMaxCellChars) + "文字）を超えています");
  for (TCell* cell : CellsOf(rect)) {
    cell->text.clear();
    if (const auto* flag = std::get_if<bool>(&value)) {
      cell->kind = TValueKind::Boolean;
      cell->number = *flag ? 1 : 0;
    } else if (const auto* integer = std::get_if<std::int32_t>(&value)) {
      cell->kind = TValueKind::Number;
      cell->number = *integer;
    } else {
      const std::string_view text = std::get<std::string_view>(value);
      const int format = cell->numFormat >= 0 ? cell->numFormat : columns_[cell->column].numFormat;
      const bool asText = format >= 0 && numFormats_[format] == "@";
      if (text.empty()) {
        cell->kind = TValueKind::None;
      } else if (!asText && ReadsAsInteger(text, cell->number)) {
        cell->kind = TValueKind::Number;
      } else {
        cell->kind = TValueKind::Text;
        cell->text = text;
      }
    }
  }
}

void TWorkbookSheet::SetFill(const TCellRect& rect, int colorIndex) {
  constexpr int kNoFill = -4142;
  if (colorIndex != kNoFill && (colorIndex < 1 || colorIndex > 56)) throw TAutoError("色番号が正しくありません");
  for (TCell* cell : CellsOf(rect)) cell->fill = colorIndex == kNoFill ? 0 : colorIndex;
}

void TWorkbookSheet::SetTopBorder(const TCellRect& rect, int weight) {
  if (weight < 1 || weight > 4) throw TAutoError("罫線の太さが正しくありません");
  for (TCell* cell : CellsOf(rect)) cell->topWeight = weight;
}

void TWorkbookSheet::SetCellNumberFormat(const TCellRect& rect, std::string_view format) {
  const int index = NumberFormatIndex(format);
  for (TCell* cell : CellsOf(rect)) cell->numFormat = index;
}

void TWorkbookSheet::SetColumnWidth(const TCellRect& rect, double width) {
  if (!rect.InSheet() || width < 0 || width > 255) throw TAutoError("列幅が正しくありません");
  for (std::int64_t c = rect.left; c <= rect.right; ++c) columns_[c].width = width;
}

void TWorkbookSheet::SetColumnNumberFormat(const TCellRect& rect, std::string_view format) {
  if (!rect.InSheet()) throw TAutoError("ワークシートの外の列です");
  const int index = NumberFormatIndex(format);
  for (std::int64_t c = rect.left; c <= rect.right; ++c) columns_[c].numFormat = index;
  // Cells of the row not yet written take the column's format, as cells
  // already there do in the application.
  for (TCell& cell : cells_)
    if (cell.column >= rect.left && cell.column <= rect.right) cell.numFormat = -1;
}

int TWorkbookSheet::NumberFormatIndex(std::string_view format) {
  const auto at = std::find(numFormats_.begin(), numFormats_.end(), format);
  if (at != numFormats_.end()) return static_cast<int>(at - numFormats_.begin());
  numFormats_.emplace_back(format);
  return static_cast<int>(numFormats_.size() - 1);
}

lxw_format* TWorkbookSheet::Format(int fill, int topWeight, int numFormat) {
  if (fill == 0 && topWeight == 0 && numFormat < 0 && fontName_.empty() && fontSize_ == 0) return nullptr;
  const TFormatKey key{fill, topWeight, numFormat};
  if (const auto at = formats_.find(key); at != formats_.end()) return at->second;
  lxw_format* format = workbook_add_format(book_);
  if (!format) throw TAutoError("書式を作成できません");
  if (!fontName_.empty()) format_set_font_name(format, fontName_.c_str());
  if (fontSize_ > 0) format_set_font_size(format, fontSize_);
  if (fill > 0) {
    format_set_pattern(format, LXW_PATTERN_SOLID);
    format_set_bg_color(format, kSheetPalette[static_cast<std::size_t>(fill - 1)]);
  }
  if (topWeight > 0) format_set_top(format, BorderStyle(topWeight));
  if (numFormat >= 0) format_set_num_format(format, numFormats_[static_cast<std::size_t>(numFormat)].c_str());
  formats_.emplace(key, format);
  return format;
}

void TWorkbookSheet::FlushRow() {
  if (row_ < 0 || cells_.empty()) return;
  lxw_worksheet* sheet = Sheet();
  const auto row = static_cast<lxw_row_t>(row_);
  for (const TCell& cell : cells_) {
    const auto column = static_cast<lxw_col_t>(cell.column);
    lxw_format* format =
        Format(cell.fill, cell.topWeight, cell.numFormat >= 0 ? cell.numFormat : columns_[cell.column].numFormat);
    switch (cell.kind) {
      case TValueKind::Text: Check(worksheet_write_string(sheet, row, column, cell.text.c_str(), format)); break;
      case TValueKind::Number: Check(worksheet_write_number(sheet, row, column, cell.number, format)); break;
      case TValueKind::Boolean: Check(worksheet_write_boolean(sheet, row, column, cell.number != 0, format)); break;
      case TValueKind::None:
        if (format) Check(worksheet_write_blank(sheet, row, column, format));
        break;
    }
  }
  cells_.clear();
}

void TWorkbookSheet::Finish() {
  FlushRow();
  lxw_worksheet* sheet = Sheet();
  // One column entry per run of equal columns: the file format allows no
  // overlapping ones.
  for (std::int64_t first = 0; first < kSheetColumns;) {
    std::int64_t last = first;
    while (last + 1 < kSheetColumns && columns_[last + 1] == columns_[first]) ++last;
    const TColumn& column = columns_[first];
    lxw_format* format = Format(0, 0, column.numFormat);
    if (column.width >= 0 || format)
      Check(worksheet_set_column(sheet, static_cast<lxw_col_t>(first), static_cast<lxw_col_t>(last),
                                 column.width >= 0 ? column.width : LXW_DEF_COL_WIDTH, format));
    first = last + 1;
  }
}

}  // namespace rd
