#include "textcode/line_list.h"

#include <cassert>
#include <utility>

namespace rd {

namespace {

[[maybe_unused]] bool WellFormed(const std::string& bytes, const TLineStarts& starts) {
  if (starts.Size() == 0 || starts[0] != 0) return false;
  for (std::size_t i = 1; i < starts.Size(); ++i)
    if (starts[i] < starts[i - 1] || starts[i] > bytes.size()) return false;
  return true;
}

}  // namespace

TLineList::TLineList(std::initializer_list<std::string_view> lines) : TLineList() {
  for (std::string_view line : lines) Add(line);
}

TLineList TLineList::AdoptText(std::string bytes, TLineStarts starts) {
  TLineList list = AdoptPacked(std::move(bytes), std::move(starts));
  list.withBreaks_ = true;
  return list;
}

TLineList TLineList::AdoptPacked(std::string bytes, TLineStarts starts) {
  assert(WellFormed(bytes, starts) && "line starts outside the text or out of order");
  TLineList list;
  list.bytes_ = std::move(bytes);
  list.starts_ = std::move(starts);
  return list;
}

void TLineList::Add(std::string_view line) {
  assert(!withBreaks_ && "an adopted text takes no further lines");
  bytes_.append(line);
  starts_.Push(bytes_.size());
}

void TLineList::Clear() {
  bytes_.clear();
  starts_.Clear();
  starts_.Push(0);
  withBreaks_ = false;
}

void TLineList::Reserve(std::size_t lines, std::size_t bytes) {
  starts_.Reserve(lines + 1);
  bytes_.reserve(bytes);
}

}  // namespace rd
