// Text search and token picking of the editor model.
//
// The search walks the text in chunks of whole lines joined with CR LF, each
// a little over 8191 bytes plus a look-ahead for matches that run past the
// chunk. Plain searches (case and whole words only) use a substring search
// on an upper-cased copy; the folding and skipping options compare
// character by character.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "editor/editor_model.h"
#include "editor/sjis.h"

namespace rd {

namespace {

// Full-width forms of the half-width bytes 0xA1..0xDF (Shift_JIS codes).
constexpr std::array<std::uint16_t, 63> kFullWidthKana = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385,
    0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E, 0x8350, 0x8352,
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384,
    0x8386, 0x8388, 0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B};

// One character of `s` at `i` as a comparable code; `len` gets its bytes.
std::uint32_t Unit(std::string_view s, std::size_t i, std::size_t& len, int options) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::uint32_t code;
  if (sjis::IsLeadByte(b) && i + 1 < s.size()) {
    len = 2;
    code = (static_cast<std::uint32_t>(b) << 8) | static_cast<unsigned char>(s[i + 1]);
    if (options & sfrNoMatchZenkaku) {
      if (code >= 0x824F && code <= 0x8258) code = '0' + (code - 0x824F);
      else if (code >= 0x8260 && code <= 0x8279) code = 'A' + (code - 0x8260);
      else if (code >= 0x8281 && code <= 0x829A) code = 'a' + (code - 0x8281);
    }
  } else {
    len = 1;
    code = b;
    if ((options & sfrNoMatchZenkaku) && b >= 0xA1 && b <= 0xDF) {
      code = kFullWidthKana[b - 0xA1];
      // A voiced or semi-voiced mark joins the kana before it.
      const auto mark = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
      if (mark == 0xDE && code == 0x8345) {
        code = 0x8394;
        len = 2;
      } else if (mark == 0xDE && ((code >= 0x834A && code <= 0x8367) || (code >= 0x836E && code <= 0x837A))) {
        code += 1;
        len = 2;
      } else if (mark == 0xDF && code >= 0x836E && code <= 0x837A) {
        code += 2;
        len = 2;
      }
    }
  }
  if (!(options & sfrMatchCase) && code >= 'a' && code <= 'z') code -= 32;
  return code;
}

bool IsBlankAt(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  return b == ' ' || b == '\t' || (b == 0x81 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x40);
}

// End of a match of `pattern` starting at `i`, or npos.
std::size_t MatchAt(std::string_view text, std::size_t i, const std::vector<std::uint32_t>& pattern, int options) {
  std::size_t j = 0, k = i, len = 0;
  while (j < pattern.size()) {
    if (k >= text.size()) return std::string_view::npos;
    const std::uint32_t u = Unit(text, k, len, options);
    if (u == pattern[j]) {
      ++j;
      k += len;
    } else if (j > 0 && (options & sfrIncludeCRLF) && (text[k] == '\r' || text[k] == '\n')) {
      ++k;
    } else if (j > 0 && (options & sfrIncludeSpace) && IsBlankAt(text, k)) {
      k += sjis::CharLength(text, k);
    } else {
      return std::string_view::npos;
    }
  }
  return k;
}

// Chunk of the text: rows [firstRow, ...) joined, with each row's start.
struct TChunk {
  std::string text;
  std::vector<std::pair<std::size_t, int>> rowStarts;
  std::size_t ownSize = 0;  // matches must start before this
};

constexpr std::size_t kChunk = 8192;
constexpr std::size_t kLookAhead = 4096;

}  // namespace

bool TEditorModel::SearchText(std::string_view what, int options) {
  if (what.empty() || rows_->Count() == 0) return false;
  const bool forward = (options & sfrDown) != 0;
  const bool plain = (options & (sfrNoMatchZenkaku | sfrIncludeCRLF | sfrIncludeSpace)) == 0;
  std::vector<std::uint32_t> pattern;
  for (std::size_t i = 0, len = 0; i < what.size(); i += len) pattern.push_back(Unit(what, i, len, options));
  const std::string upperWhat = (options & sfrMatchCase) ? std::string(what) : sjis::UpperCase(what);

  int sr, sc, er, ec;
  SelectionBounds(sr, sc, er, ec);
  const TPos from = forward ? PosOf(er, ec) : PosOf(sr, sc);
  const int rowCount = rows_->Count();

  auto build = [&](int first, int ownEnd) {
    TChunk c;
    int r = first;
    for (; r < rowCount && (r < ownEnd || c.text.size() - c.ownSize < kLookAhead + what.size()); ++r) {
      if (r == ownEnd) c.ownSize = c.text.size();
      c.rowStarts.emplace_back(c.text.size(), r);
      c.text.append(rows_->View(r));
      if (rows_->RowEndKind(r) == rowEndLine) c.text += "\r\n";
    }
    if (r <= ownEnd) c.ownSize = c.text.size();
    return c;
  };
  auto isBoundary = [](std::string_view t, std::size_t rowStart, std::size_t at) {
    // A match must not start on the trail byte of a double-byte character.
    std::size_t i = rowStart;
    while (i < at) i += sjis::CharLength(t, i);
    return i == at;
  };
  auto wordEdgeOk = [&](std::string_view t, std::size_t rowStart, std::size_t at, std::size_t end) {
    if (!(options & sfrWholeWord)) return true;
    auto wordByte = [](unsigned char b) { return !sjis::IsDelimiter(b) && !sjis::IsLeadByte(b); };
    const auto first = static_cast<unsigned char>(t[at]);
    if (at > rowStart && wordByte(first)) {
      std::size_t i = rowStart, prev = rowStart;
      while (i < at) {
        prev = i;
        i += sjis::CharLength(t, i);
      }
      if (i - prev == 1 && wordByte(static_cast<unsigned char>(t[prev]))) return false;
    }
    // The match's last character, found by walking from its start.
    std::size_t lastStart = at;
    for (std::size_t i = at; i < end; i += sjis::CharLength(t, i)) lastStart = i;
    const bool lastIsWord = end - lastStart == 1 && wordByte(static_cast<unsigned char>(t[lastStart]));
    return !(lastIsWord && end < t.size() && wordByte(static_cast<unsigned char>(t[end])));
  };
  std::size_t endLimit = std::string_view::npos;
  // All matches starting in [lo, hi) of a chunk; `pick` keeps the first or the last.
  auto scan = [&](const TChunk& c, std::size_t lo, std::size_t hi, std::size_t& hitStart, std::size_t& hitEnd) {
    bool found = false;
    const std::string upper = plain && !(options & sfrMatchCase) ? sjis::UpperCase(c.text) : std::string();
    const std::string_view hay = plain ? (upper.empty() ? std::string_view(c.text) : std::string_view(upper)) : c.text;
    std::size_t rowIdx = 0;
    auto rowStartOf = [&](std::size_t at) {
      while (rowIdx + 1 < c.rowStarts.size() && c.rowStarts[rowIdx + 1].first <= at) ++rowIdx;
      return c.rowStarts[rowIdx].first;
    };
    std::size_t at = lo;
    while (at < hi) {
      std::size_t end;
      if (plain) {
        at = hay.find(upperWhat, at);
        if (at == std::string_view::npos || at >= hi) break;
        end = at + upperWhat.size();
      } else {
        end = MatchAt(c.text, at, pattern, options);
        if (end == std::string_view::npos) {
          ++at;
          continue;
        }
      }
      const std::size_t rs = rowStartOf(at);
      // Backward, a hit must end before the caret too.
      if ((forward || end <= endLimit) && isBoundary(c.text, rs, at) && wordEdgeOk(c.text, rs, at, end)) {
        hitStart = at;
        hitEnd = end;
        found = true;
        if (forward) return true;
      }
      ++at;
    }
    return found;
  };
  auto toPos = [&](const TChunk& c, std::size_t off) {
    auto it = std::upper_bound(c.rowStarts.begin(), c.rowStarts.end(), std::make_pair(off, INT32_MAX));
    --it;
    return WalkFrom(it->second, static_cast<std::int64_t>(off - it->first));
  };
  auto select = [&](const TChunk& c, std::size_t a, std::size_t b) {
    const TPos p = toPos(c, a), q = toPos(c, b);
    if (forward) Select(p.row, ColOf(p), q.row, ColOf(q));
    else Select(q.row, ColOf(q), p.row, ColOf(p));
    if (Selected()) selState_ = TSelectionState::Hit;
    return true;
  };

  if (forward) {
    int first = std::min(from.row, rowCount - 1);
    std::size_t lo = from.row < rowCount ? static_cast<std::size_t>(from.byte) : std::string_view::npos;
    if (lo == std::string_view::npos) return false;
    while (first < rowCount) {
      int ownEnd = first;
      std::size_t size = 0;
      while (ownEnd < rowCount && (size < kChunk || rows_->RowEndKind(ownEnd - 1) == rowWrapped)) {
        size += rows_->View(ownEnd).size() + 2;
        ++ownEnd;
      }
      const TChunk c = build(first, ownEnd);
      std::size_t a = 0, b = 0;
      if (scan(c, lo, c.ownSize, a, b)) return select(c, a, b);
      first = ownEnd;
      lo = 0;
    }
    return false;
  }
  // Backward: chunks of lines ending with the caret's row.
  int ownEnd = std::min(from.row + 1, rowCount);
  std::size_t limitInLast = from.row < rowCount ? static_cast<std::size_t>(from.byte) : 0;
  bool firstChunk = true;
  while (ownEnd > 0) {
    int first = ownEnd;
    std::size_t size = 0;
    while (first > 0 && (size < kChunk || rows_->RowEndKind(first - 1) == rowWrapped)) {
      --first;
      size += rows_->View(first).size() + 2;
    }
    const TChunk c = build(first, ownEnd);
    std::size_t hi = c.ownSize;
    if (firstChunk && from.row < rowCount) hi = c.rowStarts[static_cast<std::size_t>(from.row - first)].first + limitInLast;
    endLimit = firstChunk ? hi : std::string_view::npos;
    std::size_t a = 0, b = 0;
    if (hi > 0 && scan(c, 0, hi, a, b)) return select(c, a, b);
    ownEnd = first;
    firstChunk = false;
  }
  return false;
}

void TEditorModel::SelectTokenAt(int row, int col) {
  if (row < 0 || row >= rows_->Count()) return;
  const int first = rows_->FirstRowOfLine(row);
  std::string line;
  for (int r = first; r < row; ++r) line.append(rows_->View(r));
  const TPos at = PosOf(row, col);
  const int offset = static_cast<int>(line.size()) + at.byte;
  const int last = rows_->LastRowOfLine(row);
  for (int r = row; r <= last; ++r) line.append(rows_->View(r));
  auto parser = ActiveFountain().CreateParser();
  parser->SetIgnoreBrackets(true);
  parser->NewData(line, TRowAttributeData{});
  while (parser->NextToken() != tkEnd) {
    const int start = parser->SourcePos();
    const int end = start + parser->TokenLength();
    if (offset >= start && offset < end) {
      const TPos a = WalkFrom(first, start), b = WalkFrom(first, end);
      Select(a.row, ColOf(a), b.row, ColOf(b));
      // The caret stands at the token's start.
      std::swap(row_, anchorRow_);
      std::swap(col_, anchorCol_);
      CaretMoved();
      return;
    }
    if (start > offset) return;
  }
}

}  // namespace rd
