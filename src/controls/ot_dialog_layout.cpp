// Grid places of the embedded controls and the filter list conversion.
#include "controls/ot_dialog_layout.h"

#include <cassert>

#include "textcode/text_code.h"

namespace rd {
namespace {

std::vector<std::string_view> Split(std::string_view s, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = s.find(separator);
    parts.push_back(s.substr(0, at));
    if (at == std::string_view::npos) return parts;
    s.remove_prefix(at + 1);
  }
}

}  // namespace

TEmbedPlan PlanEmbedding(TOtDialogControlAlign align, int rows, int columns) {
  assert(rows > 0 && columns > 0 && "the standard controls occupy at least one cell");
  using A = TOtDialogControlAlign;
  const bool rightStretches = align == A::otdaRight || align == A::otdaBottomRight || align == A::otdaRightBottom;
  const bool bottomStretches = align == A::otdaBottom || align == A::otdaBottomRight || align == A::otdaRightBottom;
  const bool rightTakesCorner = align == A::otdaRight || align == A::otdaRightBottom;
  const bool bottomTakesCorner = align == A::otdaBottom || align == A::otdaBottomRight;
  TEmbedPlan plan;
  plan.Right = {{0, columns, rows + (rightTakesCorner ? 1 : 0), 1}, false, rightStretches};
  plan.Bottom = {{rows, 0, 1, columns + (bottomTakesCorner ? 1 : 0)}, bottomStretches, false};
  return plan;
}

std::vector<TFileFilter> ParseFilterList(std::string_view filter) {
  std::vector<TFileFilter> filters;
  if (filter.empty()) return filters;
  const std::vector<std::string_view> parts = Split(filter, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    TFileFilter f;
    f.Name = std::string(TrimBlanks(parts[i]));
    for (const std::string_view raw : Split(parts[i + 1], ';')) {
      const std::string_view pattern = TrimBlanks(raw);
      if (pattern.empty()) continue;
      f.Patterns.emplace_back(pattern == "*.*" ? "*" : pattern);
    }
    if (f.Patterns.empty()) f.Patterns.emplace_back("*");
    filters.push_back(std::move(f));
  }
  return filters;
}

std::string ToNameFilter(const TFileFilter& filter) {
  std::string text = filter.Name;
  if (!text.empty()) text += ' ';
  text += '(';
  for (size_t i = 0; i < filter.Patterns.size(); ++i) {
    if (i > 0) text += ' ';
    text += filter.Patterns[i];
  }
  text += ')';
  return text;
}

}  // namespace rd
