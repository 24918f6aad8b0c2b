#include "textcode/line_list.h"

#include <cassert>
#include <utility>

namespace rd {

TLineList::TLineList(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) Add(line);
}

TLineList TLineList::Adopt(std::string bytes, std::vector<TSpan> spans) {
  TLineList list;
  list.bytes_ = std::move(bytes);
  list.spans_ = std::move(spans);
#ifndef NDEBUG
  for (const TSpan& s : list.spans_) assert(s.begin + s.size <= list.bytes_.size() && "span outside the text");
#endif
  return list;
}

void TLineList::Add(std::string_view line) {
  spans_.push_back({bytes_.size(), line.size()});
  bytes_.append(line);
}

void TLineList::Clear() {
  bytes_.clear();
  spans_.clear();
}

void TLineList::Reserve(std::size_t lines, std::size_t bytes) {
  spans_.reserve(lines);
  bytes_.reserve(bytes);
}

}  // namespace rd
