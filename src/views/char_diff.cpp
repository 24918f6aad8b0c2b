// The character difference is Myers' greedy O(ND) search for a shortest
// edit script over the characters between the common prefix and suffix,
// walked back through the furthest points of every round. The rounds keep
// only their own diagonals, so a search bounded by MaxEdits keeps about
// MaxEdits^2 / 2 integers.
#include "views/char_diff.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "compare/line_key.h"
#include "editor/column_model.h"
#include "editor/sjis.h"

namespace rd {

namespace {

constexpr std::uint16_t kWideSpace = 0x8140;  // "　"
constexpr int kShortRun = 2;                  // equal runs up to this many characters join their neighbours

bool IsWhite(std::uint16_t code) { return code <= 32 || code == kWideSpace; }

// A line as the characters that take part: one code per character and the
// bytes [begin, end) it covers.
struct TChars {
  std::vector<std::uint16_t> code;
  std::vector<int> begin;
  std::vector<int> end;
};

TChars Split(std::string_view s, const TCompareOptions& o) {
  TChars c;
  c.code.reserve(s.size());
  c.begin.reserve(s.size());
  c.end.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = sjis::CharLength(s, i);
    const std::uint16_t code = FoldedCharCode(s, i, n, o);
    const bool white = code <= 32 || (o.ZSpace && code == kWideSpace);
    if (!(o.AllSpace && white)) {
      c.code.push_back(code);
      c.begin.push_back(static_cast<int>(i));
      c.end.push_back(static_cast<int>(i + n));
    }
    i += n;
  }
  return c;
}

// A run of equal characters: a[A + i] == b[B + i] for i below Length.
struct TSnake {
  int A = 0;
  int B = 0;
  int Length = 0;
};

// Index of diagonal k in round d, whose diagonals are -d, -d + 2, ..., d.
constexpr int RoundBase(int d) { return d * (d + 1) / 2; }
constexpr int Slot(int d, int k) { return RoundBase(d) + (k + d) / 2; }

// From diagonal k in round d, whether the best path came down (an insertion
// from b, from diagonal k + 1) rather than right (a deletion from a, from
// diagonal k - 1) out of round d - 1.
bool CameDown(const std::vector<int>& furthest, int d, int k) {
  return k == -d || (k != d && furthest[Slot(d - 1, k - 1)] < furthest[Slot(d - 1, k + 1)]);
}

// The equal runs of one shortest edit script of a and b, in order, or
// false when every script needs more than maxEdits edits.
bool ShortestEdit(std::span<const std::uint16_t> a, std::span<const std::uint16_t> b, int maxEdits,
                  std::vector<TSnake>& snakes) {
  const int n = static_cast<int>(a.size());
  const int m = static_cast<int>(b.size());
  std::vector<int> furthest;  // the furthest x on each diagonal of each round
  int rounds = -1;
  for (int d = 0; d <= maxEdits && rounds < 0; ++d) {
    furthest.resize(static_cast<std::size_t>(RoundBase(d + 1)));
    for (int k = -d; k <= d; k += 2) {
      int x = 0;
      if (d > 0) x = CameDown(furthest, d, k) ? furthest[Slot(d - 1, k + 1)] : furthest[Slot(d - 1, k - 1)] + 1;
      int y = x - k;
      while (x < n && y < m && a[x] == b[y]) ++x, ++y;
      furthest[Slot(d, k)] = x;
      if (x >= n && y >= m) {
        rounds = d;
        break;
      }
    }
  }
  if (rounds < 0) return false;

  int x = n;
  int y = m;
  for (int d = rounds; d >= 0; --d) {
    const int k = x - y;
    int startX = 0;  // where the run of equal characters of this round began
    int prevX = 0, prevY = 0;
    if (d > 0) {
      const bool down = CameDown(furthest, d, k);
      const int prevK = down ? k + 1 : k - 1;
      prevX = furthest[Slot(d - 1, prevK)];
      prevY = prevX - prevK;
      startX = down ? prevX : prevX + 1;
    }
    if (x > startX) snakes.push_back({startX, startX - k, x - startX});
    x = prevX;
    y = prevY;
  }
  std::reverse(snakes.begin(), snakes.end());
  return true;
}

// Byte stretches of the characters marked true.
TCharStretches Stretches(const TChars& chars, const std::vector<bool>& changed) {
  TCharStretches out;
  for (std::size_t i = 0; i < changed.size(); ++i) {
    if (!changed[i]) continue;
    const int begin = chars.begin[i];
    while (i + 1 < changed.size() && changed[i + 1]) ++i;
    out.push_back({begin, chars.end[i]});
  }
  return out;
}

}  // namespace

PerSide<TCharStretches> CharDiff(std::string_view a, std::string_view b, const TCompareOptions& options,
                                 const TCharDiffLimits& limits) {
  const TChars ca = Split(a, options);
  const TChars cb = Split(b, options);
  const std::size_t n = ca.code.size();
  const std::size_t m = cb.code.size();
  std::size_t prefix = 0;
  while (prefix < n && prefix < m && ca.code[prefix] == cb.code[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < n - prefix && suffix < m - prefix && ca.code[n - 1 - suffix] == cb.code[m - 1 - suffix]) ++suffix;

  // Everything between prefix and suffix changed, unless an equal run in it survives.
  std::vector<bool> changedA(n, false), changedB(m, false);
  std::fill(changedA.begin() + static_cast<std::ptrdiff_t>(prefix), changedA.end() - static_cast<std::ptrdiff_t>(suffix), true);
  std::fill(changedB.begin() + static_cast<std::ptrdiff_t>(prefix), changedB.end() - static_cast<std::ptrdiff_t>(suffix), true);

  const std::span<const std::uint16_t> midA(ca.code.data() + prefix, n - prefix - suffix);
  const std::span<const std::uint16_t> midB(cb.code.data() + prefix, m - prefix - suffix);
  std::vector<TSnake> snakes;
  const bool small = std::max(n, m) <= limits.MaxChars;
  if (small && !midA.empty() && !midB.empty() && ShortestEdit(midA, midB, limits.MaxEdits, snakes)) {
    // The middle begins and ends with a change, so every run lies between two.
    for (const TSnake& s : snakes) {
      const auto run = midA.subspan(static_cast<std::size_t>(s.A), static_cast<std::size_t>(s.Length));
      if (s.Length <= kShortRun || std::all_of(run.begin(), run.end(), IsWhite)) continue;
      for (int i = 0; i < s.Length; ++i) {
        changedA[prefix + static_cast<std::size_t>(s.A + i)] = false;
        changedB[prefix + static_cast<std::size_t>(s.B + i)] = false;
      }
    }
  }
  return {Stretches(ca, changedA), Stretches(cb, changedB)};
}

std::vector<TCharStretch> StretchColumns(std::string_view line, const TCharStretches& stretches, int tabWidth) {
  const TColumnLayout layout{std::max(1, tabWidth), false, 80};
  std::vector<TCharStretch> columns;
  columns.reserve(stretches.size());
  // A byte never stands left of its own offset in columns, so nothing from
  // kMaxColumns bytes on is drawn, and the walk stops there.
  for (const TCharStretch& s : stretches) {
    if (s.Begin >= kMaxColumns) break;
    columns.push_back({ByteToColumn(line, s.Begin, layout), ByteToColumn(line, std::min(s.End, kMaxColumns), layout)});
  }
  return columns;
}

const TCharStretches& TCharDiffCache::Stretches(Side side, int line, int partner, std::string_view text,
                                                const std::function<std::string()>& partnerText,
                                                const TCompareOptions& options) {
  auto& own = lines_[Index(side)];
  if (const auto found = own.find(line); found != own.end()) return found->second;
  const std::string other = partnerText();
  PerSide<TCharStretches> both =
      side == Side::A ? CharDiff(text, other, options, limits_) : CharDiff(other, text, options, limits_);
  lines_[Index(Other(side))][partner] = std::move(both[Index(Other(side))]);
  return own[line] = std::move(both[Index(side)]);
}

void TCharDiffCache::Clear() {
  lines_[0].clear();
  lines_[1].clear();
}

}  // namespace rd
