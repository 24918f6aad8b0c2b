// An allocator for the large arrays of a comparison: blocks of several
// megabytes are aligned to 2 MiB and offered to the kernel for transparent
// huge pages, so that random access into a table of a million entries does
// not miss the TLB on every step; blocks from a megabyte on are kept for
// reuse while a comparison runs (block_shelf.h).
#pragma once

#include <new>
#include <utility>
#include <vector>

#include "compare/block_shelf.h"
#include "textcode/huge_pages.h"

namespace rd {

template <class T>
struct THugePageAllocator {
  using value_type = T;
  static constexpr std::size_t kHuge = kHugePage;
  static_assert(kHuge == kShelfAlign);
  // Blocks from this size on are kept for reuse while a comparison runs.
  static constexpr std::size_t kShelfFrom = std::size_t{1} << 20;

  THugePageAllocator() = default;
  template <class U>
  THugePageAllocator(const THugePageAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kShelfFrom) return static_cast<T*>(::operator new(bytes));
    bool fresh = false;
    void* p = TakeBlock(Rounded(bytes), fresh);
    // Only the whole huge pages of the block itself: the rounded-up tail
    // stays in small pages, so a block costs its own size, not up to 2 MiB more.
    if (fresh) AdviseHugePages(p, bytes);
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t n) noexcept {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kShelfFrom) ::operator delete(p);
    else GiveBackBlock(p, Rounded(bytes));
  }
  static std::size_t Rounded(std::size_t bytes) { return (bytes + kHuge - 1) / kHuge * kHuge; }

  template <class U>
  bool operator==(const THugePageAllocator<U>&) const noexcept { return true; }
};

}  // namespace rd

namespace rd {

// A vector for arrays with an entry per line.
template <class T>
using TBigVector = std::vector<T, THugePageAllocator<T>>;

// The same allocator, but an element made without a value is left unset
// (default-initialized), so that sizing a table of entries that are all
// written before they are read does not write it twice.
template <class T>
struct TUnsetHugePageAllocator : THugePageAllocator<T> {
  TUnsetHugePageAllocator() = default;
  template <class U>
  TUnsetHugePageAllocator(const TUnsetHugePageAllocator<U>&) noexcept {}

  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... TArgs>
  void construct(U* p, TArgs&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<TArgs>(args)...);
  }
};

// A vector for arrays with an entry per line whose entries are all written
// before they are read.
template <class T>
using TUnsetVector = std::vector<T, TUnsetHugePageAllocator<T>>;

}  // namespace rd
