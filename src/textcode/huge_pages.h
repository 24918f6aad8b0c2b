// Advice to the kernel to back a large block with transparent huge pages:
// a text of a million lines is touched once per page on first use, and a
// 2 MiB page costs one fault where 4 KiB pages cost 512.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace rd {

inline constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Advises the whole 2 MiB pages inside [p, p + n); smaller blocks are left
// alone. Advice only: nothing changes when the kernel declines.
inline void AdviseHugePages(void* p, std::size_t n) {
  if (n < 2 * kHugePage) return;
  const auto begin = (reinterpret_cast<std::uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(p) + n) & ~(kHugePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace rd
