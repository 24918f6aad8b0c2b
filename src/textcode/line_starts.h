// Where the lines of a text begin: four bytes a line instead of eight.
//
// A text read whole is far below 4 GiB as a rule, so each start keeps its
// low 32 bits; a text that passes 4 GiB also notes, for every multiple of
// 4 GiB, the first line that starts at or past it, and a start adds the
// count of those it has passed. Below 4 GiB that list is empty and a start
// is one array read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rd {

class TLineStarts {
 public:
  TLineStarts() = default;
  TLineStarts(TLineStarts&&) noexcept = default;
  TLineStarts& operator=(TLineStarts&&) noexcept = default;
  TLineStarts(const TLineStarts&) = delete;
  TLineStarts& operator=(const TLineStarts&) = delete;

  // Room for n starts without moving the ones pushed.
  void Reserve(std::size_t n) { low_.reserve(n); }
  // The starts come in ascending order.
  void Push(std::uint64_t start) {
    while (start >> 32 > wraps_.size()) wraps_.push_back(static_cast<std::uint32_t>(low_.size()));
    low_.push_back(static_cast<std::uint32_t>(start));
  }
  // Replaces the last start with a later one.
  void AdvanceBack(std::uint64_t start) {
    Pop();
    Push(start);
  }
  void Clear() {
    low_.clear();
    wraps_.clear();
  }

  std::size_t Size() const { return low_.size(); }
  std::uint64_t operator[](std::size_t i) const {
    if (wraps_.empty()) return low_[i];
    const auto passed = std::upper_bound(wraps_.begin(), wraps_.end(), static_cast<std::uint32_t>(i)) - wraps_.begin();
    return (static_cast<std::uint64_t>(passed) << 32) | low_[i];
  }
  std::uint64_t Back() const { return (*this)[low_.size() - 1]; }
  // The address of what operator[] reads first for start i.
  const void* Address(std::size_t i) const { return &low_[i]; }
  // The memory of the array of low parts, for advice to the kernel.
  void* Data() { return low_.data(); }
  std::size_t CapacityBytes() const { return low_.capacity() * sizeof(std::uint32_t); }

 private:
  void Pop() {
    low_.pop_back();
    while (!wraps_.empty() && wraps_.back() >= low_.size()) wraps_.pop_back();
  }

  std::vector<std::uint32_t> low_;    // each start's low 32 bits
  std::vector<std::uint32_t> wraps_;  // k: first index whose start is at least (k + 1) * 4 GiB
};

}  // namespace rd
