// Realistic pairs of texts for the benchmarks: source-like lines of about
// 22 bytes with some repeated ones (blank lines, braces), and an edited copy
// that differs by about 1%: changed lines, inserted and deleted runs and a
// few moved blocks of 50 to 500 lines.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace rd::bench {

using Text = std::vector<std::string>;

inline std::string SourceLine(std::mt19937_64& rng) {
  static const char* const kRepeated[] = {"", "}", "    }", "    return 0;", "{", "        break;", "#endif"};
  const auto r = rng() % 100;
  if (r < 12) return kRepeated[rng() % std::size(kRepeated)];
  static const char* const kWords[] = {"count", "value", "index", "total", "name", "item", "size", "next"};
  std::string line(4 * (rng() % 3), ' ');
  line += kWords[rng() % std::size(kWords)];
  line += std::to_string(rng() % 100000);
  line += "=f(";
  line += std::to_string(rng() % 1000);
  line += ");";
  return line;
}

inline Text MakeText(std::size_t lines, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  Text t;
  t.reserve(lines);
  for (std::size_t i = 0; i < lines; ++i) t.push_back(SourceLine(rng));
  return t;
}

// About 1% of the lines differ.
inline Text EditText(const Text& a, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  Text b;
  b.reserve(a.size() + a.size() / 50);
  const std::size_t n = a.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto r = rng() % 10000;
    if (r < 40) {
      b.push_back(SourceLine(rng));  // changed
    } else if (r < 45) {
      for (int k = 1 + static_cast<int>(rng() % 8); k > 0; --k) b.push_back(SourceLine(rng));  // inserted run
      b.push_back(a[i]);
    } else if (r < 50) {
      i += rng() % 8;  // deleted run
    } else {
      b.push_back(a[i]);
    }
  }
  const std::size_t moves = std::max<std::size_t>(1, n / 200000);
  for (std::size_t m = 0; m < moves && b.size() > 1000; ++m) {
    const std::size_t len = 50 + rng() % 451;
    const std::size_t from = rng() % (b.size() - len);
    Text block(b.begin() + from, b.begin() + from + len);
    b.erase(b.begin() + from, b.begin() + from + len);
    const std::size_t to = rng() % b.size();
    b.insert(b.begin() + to, block.begin(), block.end());
  }
  return b;
}

}  // namespace rd::bench
