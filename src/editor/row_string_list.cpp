// Storage and notifications of TheStringList.
#include "editor/row_string_list.h"

#include <cassert>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "editor/editor_error.h"

namespace rd {

namespace {

// Item records move as raw memory; empty moves may involve null arrays.
template <class T>
void MoveRaw(T* dst, const T* src, std::size_t bytes) {
  if (bytes > 0) std::memmove(static_cast<void*>(dst), src, bytes);
}

}  // namespace

TheStringList::TheStringList(TheStringList&& other) noexcept { *this = std::move(other); }

TheStringList& TheStringList::operator=(TheStringList&& other) noexcept {
  if (this == &other) return *this;
  freeAll();
  items_ = std::exchange(other.items_, nullptr);
  count_ = std::exchange(other.count_, 0);
  capacity_ = std::exchange(other.capacity_, 0);
  blocks_ = std::move(other.blocks_);
  blockBytes_ = std::exchange(other.blockBytes_, 0);
  return *this;
}

TheStringList::~TheStringList() {
  // Releasing the items must not call back into an owner that is going away.
  OnChange = nullptr;
  OnChanging = nullptr;
  freeAll();
}

void TheStringList::freeAll() {
  for (int i = 0; i < count_; ++i) release(items_[i]);
  std::free(items_);
  items_ = nullptr;
  count_ = capacity_ = 0;
  blocks_.clear();
  blockBytes_ = 0;
}

void TheStringList::checkIndex(int i, int limit) const {
  if (i < 0 || i >= limit) throw EListError();
}

TheStringList::TItem& TheStringList::item(int i) {
  checkIndex(i, count_);
  return items_[i];
}

const TheStringList::TItem& TheStringList::item(int i) const {
  checkIndex(i, count_);
  return items_[i];
}

void TheStringList::changing() {
  if (updateCount_ == 0 && OnChanging) OnChanging(*this);
}

void TheStringList::changed() {
  if (updateCount_ == 0 && OnChange) OnChange(*this);
}

void TheStringList::BeginUpdate() {
  if (updateCount_ == 0 && OnChanging) OnChanging(*this);
  ++updateCount_;
}

void TheStringList::EndUpdate() {
  assert(updateCount_ > 0 && "EndUpdate without BeginUpdate");
  if (--updateCount_ == 0 && OnChange) OnChange(*this);
}

void TheStringList::release(TItem& it) {
  if (!(it.size & kBorrowed)) std::free(it.bytes);
  it.bytes = nullptr;
  it.size = 0;
}

char* TheStringList::allocate(std::string_view text, std::string_view state, std::uint32_t& size) {
  assert(text.size() <= kSizeMask && "row text too long");
  size = static_cast<std::uint32_t>(text.size());
  const std::size_t extra = state.empty() ? 0 : sizeof(std::uint32_t) + state.size();
  if (text.size() + extra == 0) return nullptr;
  char* p = static_cast<char*>(std::malloc(text.size() + extra));
  if (p == nullptr) throw std::bad_alloc();
  if (!text.empty()) std::memcpy(p, text.data(), text.size());
  if (!state.empty()) {
    const auto len = static_cast<std::uint32_t>(state.size());
    std::memcpy(p + text.size(), &len, sizeof len);
    std::memcpy(p + text.size() + sizeof len, state.data(), state.size());
    size |= kHasState;
  }
  return p;
}

std::string_view TheStringList::View(int i) const {
  const TItem& it = item(i);
  return {it.bytes, it.size & kSizeMask};
}

std::string TheStringList::StateText(int i) const {
  const TItem& it = item(i);
  if (!(it.size & kHasState)) return {};
  const char* p = it.bytes + (it.size & kSizeMask);
  std::uint32_t len = 0;
  std::memcpy(&len, p, sizeof len);
  return std::string(p + sizeof len, len);
}

void TheStringList::SetStateText(int i, std::string_view s) {
  TItem& it = item(i);
  if (s.empty() && !(it.size & kHasState)) return;
  const std::string text(View(i));
  std::uint32_t size = 0;
  char* p = allocate(text, s, size);
  release(it);
  it.bytes = p;
  it.size = size;
}

void TheStringList::SetText(int i, std::string_view s) {
  TItem& it = item(i);
  const std::string state = StateText(i);
  std::uint32_t size = 0;
  char* p = allocate(s, state, size);
  release(it);
  it.bytes = p;
  it.size = size;
}

void TheStringList::Put(int i, std::string_view s) {
  checkIndex(i, count_);
  changing();
  SetText(i, s);
  changed();
}

int TheStringList::Add(std::string_view s) {
  const int i = count_;
  Insert(i, s);
  return i;
}

void TheStringList::grow() {
  int delta = 4;
  if (capacity_ > 64) delta = capacity_ / 4;
  else if (capacity_ > 8) delta = 16;
  reallocate(capacity_ + delta);
}

void TheStringList::reallocate(int capacity) {
  assert(capacity >= count_ && "capacity below count");
  if (capacity == 0) {
    std::free(items_);
    items_ = nullptr;
  } else {
    auto* p = static_cast<TItem*>(std::realloc(static_cast<void*>(items_), sizeof(TItem) * capacity));
    if (p == nullptr) throw std::bad_alloc();
    items_ = p;
  }
  capacity_ = capacity;
}

void TheStringList::SetCapacity(int capacity) {
  if (capacity < count_) throw EListError();
  reallocate(capacity);
}

void TheStringList::InsertGap(int i, int n) {
  assert(i >= 0 && i <= count_ && n >= 0 && "gap outside the list");
  if (count_ + n > capacity_) {
    int capacity = capacity_;
    while (capacity < count_ + n) capacity += capacity > 64 ? capacity / 4 : capacity > 8 ? 16 : 4;
    reallocate(capacity);
  }
  MoveRaw((items_ + i + n), items_ + i, sizeof(TItem) * (count_ - i));
  if (n > 0) std::memset(static_cast<void*>(items_ + i), 0, sizeof(TItem) * n);
  count_ += n;
}

void TheStringList::RemoveRange(int i, int n) {
  assert(i >= 0 && n >= 0 && i + n <= count_ && "range outside the list");
  for (int k = i; k < i + n; ++k) release(items_[k]);
  MoveRaw((items_ + i), items_ + i + n, sizeof(TItem) * (count_ - i - n));
  count_ -= n;
  if (count_ == 0) {
    blocks_.clear();
    blockBytes_ = 0;
  }
}

void TheStringList::ReplaceItems(int i, int n, TheStringList& from) {
  assert(i >= 0 && n >= 0 && i + n <= count_ && "range outside the list");
  assert(from.blocks_.empty() && "rows pointing into adopted blocks cannot move between lists");
  const int m = from.count_;
  const int common = std::min(n, m);
  for (int k = 0; k < common; ++k) {
    release(items_[i + k]);
    items_[i + k] = from.items_[k];
  }
  if (m > n) {
    InsertGap(i + n, m - n);
    MoveRaw((items_ + i + n), from.items_ + n, sizeof(TItem) * (m - n));
  } else if (n > m) {
    RemoveRange(i + m, n - m);
  }
  from.count_ = 0;
  from.reallocate(0);
  if (count_ == 0) {
    blocks_.clear();
    blockBytes_ = 0;
  }
}

void TheStringList::TakeItems(int i, TheStringList& from) {
  assert(from.blocks_.empty() && "rows pointing into adopted blocks cannot move between lists");
  const int n = from.count_;
  InsertGap(i, n);
  MoveRaw((items_ + i), from.items_, sizeof(TItem) * n);
  from.count_ = 0;
  from.reallocate(0);
}

void TheStringList::AdoptBlock(std::unique_ptr<char[]> block, std::size_t size) {
  blocks_.push_back(std::move(block));
  blockBytes_ += size;
}

void TheStringList::AddBorrowed(std::string_view inBlock) {
  assert(!blocks_.empty() && inBlock.size() <= kSizeMask && "borrowed text needs an adopted block");
  if (count_ == capacity_) grow();
  TItem& it = items_[count_++];
  it = TItem{const_cast<char*>(inBlock.data()), static_cast<std::uint32_t>(inBlock.size()) | kBorrowed, 0, 0, 0};
  if (inBlock.empty()) it = TItem{nullptr, 0, 0, 0, 0};
}

void TheStringList::Insert(int i, std::string_view s) {
  checkIndex(i, count_ + 1);
  changing();
  std::uint32_t size = 0;
  char* p = allocate(s, {}, size);
  if (count_ == capacity_) {
    try {
      grow();
    } catch (...) {
      std::free(p);
      throw;
    }
  }
  MoveRaw((items_ + i + 1), items_ + i, sizeof(TItem) * (count_ - i));
  items_[i] = TItem{p, size, 0, 0, 0};
  ++count_;
  changed();
}

void TheStringList::Delete(int i) {
  checkIndex(i, count_);
  changing();
  RemoveRange(i, 1);
  changed();
}

void TheStringList::Exchange(int i, int j) {
  checkIndex(i, count_);
  checkIndex(j, count_);
  changing();
  std::swap(items_[i], items_[j]);
  changed();
}

void TheStringList::Clear() {
  if (count_ == 0) return;
  changing();
  freeAll();
  changed();
}

std::size_t TheStringList::OverheadBytes() const {
  std::size_t bytes = sizeof(TItem) * static_cast<std::size_t>(capacity_);
  for (int i = 0; i < count_; ++i) {
    const TItem& it = items_[i];
    if (it.size & kHasState) bytes += sizeof(std::uint32_t) + StateText(i).size();
  }
  return bytes;
}

std::string TheStringList::checkInvariants() const {
  if (count_ < 0 || count_ > capacity_) return "count outside capacity";
  if ((capacity_ == 0) != (items_ == nullptr)) return "item array and capacity disagree";
  for (int i = 0; i < count_; ++i) {
    const TItem& it = items_[i];
    const bool borrowed = (it.size & kBorrowed) != 0;
    if (borrowed && (it.size & kHasState)) return "carry-over string in a borrowed row " + std::to_string(i);
    if (it.bytes == nullptr && (it.size & kSizeMask) != 0) return "text without bytes in row " + std::to_string(i);
    if (borrowed && blocks_.empty()) return "borrowed row without a block " + std::to_string(i);
  }
  return {};
}

}  // namespace rd
