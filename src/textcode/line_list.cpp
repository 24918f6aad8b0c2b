#include "textcode/line_list.h"

#include <cassert>
#include <utility>

namespace rd {

namespace {

[[maybe_unused]] bool WellFormed(std::string_view bytes, const TLineStarts& starts) {
  if (starts.Size() == 0 || starts[0] != 0) return false;
  for (std::size_t i = 1; i < starts.Size(); ++i)
    if (starts[i] < starts[i - 1] || starts[i] > bytes.size()) return false;
  return true;
}

}  // namespace

TLineList::TLineList(std::initializer_list<std::string_view> lines) : TLineList() {
  for (std::string_view line : lines) Add(line);
}

TLineList::TLineList(TLineList&& other) noexcept
    : bytes_(std::move(other.bytes_)), mapped_(std::move(other.mapped_)), starts_(std::move(other.starts_)),
      withBreaks_(other.withBreaks_) {
  Sync();
  other.LeaveEmpty();
}

TLineList& TLineList::operator=(TLineList&& other) noexcept {
  if (this == &other) return *this;
  bytes_ = std::move(other.bytes_);
  mapped_ = std::move(other.mapped_);
  starts_ = std::move(other.starts_);
  withBreaks_ = other.withBreaks_;
  Sync();
  other.LeaveEmpty();
  return *this;
}

TLineList TLineList::AdoptText(TMappedFile file, TLineStarts starts) {
  assert(WellFormed(file.Bytes(), starts) && "line starts outside the text or out of order");
  TLineList list;
  list.mapped_ = std::move(file);
  list.starts_ = std::move(starts);
  list.withBreaks_ = true;
  list.Sync();
  return list;
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
  list.Sync();
  return list;
}

void TLineList::Add(std::string_view line) {
  assert(!withBreaks_ && "an adopted text takes no further lines");
  if (starts_.Size() == 0) starts_.Push(0);  // a list moved from
  bytes_.append(line);
  starts_.Push(bytes_.size());
  Sync();
}

void TLineList::LeaveEmpty() noexcept {
  bytes_.clear();
  withBreaks_ = false;
  Sync();
}

void TLineList::Clear() {
  bytes_.clear();
  mapped_ = TMappedFile();
  starts_.Clear();
  starts_.Push(0);
  withBreaks_ = false;
  Sync();
}

void TLineList::Reserve(std::size_t lines, std::size_t bytes) {
  starts_.Reserve(lines + 1);
  bytes_.reserve(bytes);
  Sync();
}

}  // namespace rd
