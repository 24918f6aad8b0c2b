// Column attribute strings and the conversions between columns and bytes.
#include "editor/column_model.h"

#include <algorithm>

#include "editor/sjis.h"

namespace rd {

namespace {

// Walks `text` appending one attribute per column until `limit` columns.
std::string Attributes(std::string_view text, const TColumnLayout& layout, std::size_t limit) {
  std::string out;
  out.reserve(std::min(limit, text.size() + 8));
  const int tab = layout.TabSpaceCount;
  const int wrap = layout.WrapByte;
  for (std::size_t i = 0; i < text.size() && out.size() < limit;) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (sjis::IsLeadByte(b) && i + 1 < text.size()) {
      out += "45";
      i += 2;
      continue;
    }
    out += sjis::IsDelimiter(b) ? '2' : '1';
    if (b == '\t') {
      const int len = static_cast<int>(out.size());
      int fill = tab - 1 - (len - 1) % tab;
      if (layout.WordWrap) fill = std::min(fill, wrap - 1 - (len - 1) % wrap);
      out.append(static_cast<std::size_t>(fill), '3');
    }
    ++i;
  }
  return out;
}

}  // namespace

std::string ColumnAttributes(std::string_view text, const TColumnLayout& layout) {
  const std::size_t limit = layout.WordWrap ? static_cast<std::size_t>(layout.WrapByte) + 3 : kMaxColumns;
  return Attributes(text, layout, limit);
}

std::string ColumnAttributesFull(std::string_view text, const TColumnLayout& layout) {
  return Attributes(text, layout, std::string::npos);
}

int ColumnToByte(std::string_view attrs, int col) {
  col = std::max(col, 0);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(col), attrs.size());
  const auto fillers = std::count(attrs.begin(), attrs.begin() + static_cast<std::ptrdiff_t>(n), '3');
  return col - static_cast<int>(fillers);
}

int ByteToColumn(std::string_view text, int byte, const TColumnLayout& layout) {
  const auto end = static_cast<std::size_t>(std::clamp(byte, 0, static_cast<int>(text.size())));
  const std::string attrs = ColumnAttributesFull(text.substr(0, end), layout);
  return static_cast<int>(attrs.size()) + (byte - static_cast<int>(end));
}

int DisplayWidth(std::string_view text, const TColumnLayout& layout) {
  return static_cast<int>(ColumnAttributesFull(text, layout).size());
}

}  // namespace rd
