#include "compare/block_shelf.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <new>

namespace rd {

namespace {

struct TBlock {
  void* p = nullptr;
  std::size_t bytes = 0;  // its whole size, which may be more than was asked
};

// A handful of blocks at a time: a comparison frees a few large ones.
template <std::size_t N>
class TBlockList {
 public:
  bool Add(TBlock b) {
    if (size_ == N) return false;
    blocks_[size_++] = b;
    return true;
  }
  // Removes and returns the block at p, or one with p null.
  TBlock Remove(void* p) {
    for (std::size_t i = 0; i < size_; ++i)
      if (blocks_[i].p == p) return RemoveAt(i);
    return {};
  }
  // Removes and returns the smallest block of at least `bytes`, or one with p null.
  TBlock RemoveFitting(std::size_t bytes) {
    std::size_t best = size_;
    for (std::size_t i = 0; i < size_; ++i)
      if (blocks_[i].bytes >= bytes && (best == size_ || blocks_[i].bytes < blocks_[best].bytes)) best = i;
    return best < size_ ? RemoveAt(best) : TBlock{};
  }
  template <class TFree>
  void Clear(TFree free) {
    for (std::size_t i = 0; i < size_; ++i) free(blocks_[i]);
    size_ = 0;
  }

 private:
  TBlock RemoveAt(std::size_t i) {
    const TBlock b = blocks_[i];
    blocks_[i] = blocks_[--size_];
    return b;
  }
  std::array<TBlock, N> blocks_{};
  std::size_t size_ = 0;
};

struct TShelf {
  std::mutex mutex;
  int scopes = 0;
  TBlockList<8> kept;   // freed, for reuse
  TBlockList<32> lent;  // kept ones handed out again, with their whole size
};

TShelf& Shelf() {
  static TShelf shelf;
  return shelf;
}

void Free(const TBlock& b) { ::operator delete(b.p, std::align_val_t{kShelfAlign}); }

}  // namespace

TBlockShelfScope::TBlockShelfScope() {
  TShelf& s = Shelf();
  const std::lock_guard lock(s.mutex);
  ++s.scopes;
}

TBlockShelfScope::~TBlockShelfScope() {
  TShelf& s = Shelf();
  const std::lock_guard lock(s.mutex);
  if (--s.scopes == 0) s.kept.Clear(Free);
}

void* TakeBlock(std::size_t bytes, bool& fresh) {
  TShelf& s = Shelf();
  {
    const std::lock_guard lock(s.mutex);
    if (const TBlock b = s.kept.RemoveFitting(bytes); b.p) {
      if (!s.lent.Add(b)) {
        Free(b);  // no room to note its size: not lent out after all
      } else {
        fresh = false;
        return b.p;
      }
    }
    // None fits: the kept ones would only add to the memory taken now.
    s.kept.Clear(Free);
  }
  // A new block is just as large as asked for: it comes back with that size.
  fresh = true;
  return ::operator new(bytes, std::align_val_t{kShelfAlign});
}

void GiveBackBlock(void* p, std::size_t bytes) noexcept {
  TShelf& s = Shelf();
  const std::lock_guard lock(s.mutex);
  TBlock b = s.lent.Remove(p);
  if (!b.p) b = {p, bytes};
  if (s.scopes == 0 || !s.kept.Add(b)) Free(b);
}

}  // namespace rd
