// Two pieces of work that touch nothing in common, run side by side on a
// second thread when asked and when one can be had, else one after the other.
#pragma once

#include <cstddef>
#include <future>
#include <new>
#include <system_error>

namespace rd {

// Below this many lines or entries a second thread costs more than it saves.
inline constexpr std::size_t kParallelFrom = std::size_t{1} << 17;

// Returns when both are done. An exception from either is thrown again
// here (the first's when both throw), and never before the other is done.
template <class TFirst, class TSecond>
void RunBoth(bool parallel, TFirst&& first, TSecond&& second) {
  std::future<void> other;
  if (parallel) {
    try {
      other = std::async(std::launch::async, second);
    } catch (const std::system_error&) {
      // No thread to be had.
    } catch (const std::bad_alloc&) {
      // No room for one.
    }
  }
  if (!other.valid()) {
    first();
    second();
    return;
  }
  try {
    first();
  } catch (...) {
    other.wait();
    throw;
  }
  other.get();
}

}  // namespace rd
