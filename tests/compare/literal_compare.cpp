#include "literal_compare.h"

#include <algorithm>
#include <map>
#include <optional>

#include "textcode/utf8_convert.h"

namespace rd::testing {

namespace {

enum State { Same = 0, Added = 1, Changed = 2, Moved = 3, Pending = 4 };

struct Entry {
  int line = 0;
  int partnerLine = -1;
  int position = 0;
  int partnerPosition = -1;
  int group = -1;
  int partnerGroup = -1;
  int state = Same;
  std::string key;
};
using Table = std::vector<Entry>;

bool Space(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Upper(const std::string& s) {
  std::string r = s;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const unsigned c = static_cast<unsigned char>(r[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) { ++i; continue; }
    if (c >= 'a' && c <= 'z') r[i] = static_cast<char>(c - 32);
  }
  return r;
}

std::string StripRight(const std::string& s) {
  std::size_t e = s.size();
  while (e > 0 && Space(s[e - 1])) --e;
  return s.substr(0, e);
}

std::string StripBoth(const std::string& s) {
  std::size_t b = 0;
  while (b < s.size() && Space(s[b])) ++b;
  return StripRight(s.substr(b));
}

// ---- the options for Japanese text, one character at a time ----

std::string Sjis(std::string_view utf8) { return *Utf8ToSjis(utf8); }

// The UTF-8 characters of a string, each as its Shift_JIS bytes.
std::vector<std::string> SjisCharsOf(std::string_view utf8) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned c = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    out.push_back(Sjis(utf8.substr(i, n)));
    i += n;
  }
  return out;
}

// Pairs the characters of `from` with those of `to`, one for one.
void AddPairs(std::map<std::string, std::string>& map, std::string_view from, std::string_view to) {
  const std::vector<std::string> f = SjisCharsOf(from);
  const std::vector<std::string> t = SjisCharsOf(to);
  for (std::size_t i = 0; i < f.size(); ++i) map[f[i]] = t[i];
}

// What one character, or a half-width kana with its mark, stands for when widths do not matter.
const std::map<std::string, std::string>& WidthMap() {
  static const std::map<std::string, std::string> map = [] {
    std::map<std::string, std::string> m;
    AddPairs(m,
             "！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"
             "［＼］＾＿｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～",
             "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~");
    m["\xEE\xFB"] = "'";  // the NEC-selected copies of ＇ and ＂
    m["\xEE\xFC"] = "\"";
    AddPairs(m, "｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ",
             "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
    const std::vector<std::string> voicedFrom = SjisCharsOf("ｳｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ");
    const std::vector<std::string> voicedTo = SjisCharsOf("ヴガギグゲゴザジズゼゾダヂヅデドバビブベボ");
    for (std::size_t i = 0; i < voicedFrom.size(); ++i) m[voicedFrom[i] + Sjis("ﾞ")] = voicedTo[i];
    const std::vector<std::string> semiFrom = SjisCharsOf("ﾊﾋﾌﾍﾎ");
    const std::vector<std::string> semiTo = SjisCharsOf("パピプペポ");
    for (std::size_t i = 0; i < semiFrom.size(); ++i) m[semiFrom[i] + Sjis("ﾟ")] = semiTo[i];
    return m;
  }();
  return map;
}

// A lead byte with a trail byte in 0x40-0x7E or 0x80-0xFC is one character; every other byte is one.
std::vector<std::string> Characters(const std::string& s) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned c = static_cast<unsigned char>(s[i]);
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (lead && i + 1 < s.size()) {
      const unsigned t = static_cast<unsigned char>(s[i + 1]);
      if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) {
        chars.push_back(s.substr(i, 2));
        ++i;
        continue;
      }
    }
    chars.push_back(s.substr(i, 1));
  }
  return chars;
}

std::string Join(const std::vector<std::string>& chars, std::size_t from, std::size_t to) {
  std::string s;
  for (std::size_t i = from; i < to; ++i) s += chars[i];
  return s;
}

// The key under a width or space option, or nothing when the line takes no part.
std::optional<std::string> CharacterKey(const std::string& line, const TCompareOptions& o) {
  std::vector<std::string> chars = Characters(line);
  if (o.Width) {
    std::vector<std::string> folded;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      if (i + 1 < chars.size() && WidthMap().count(chars[i] + chars[i + 1])) {
        folded.push_back(WidthMap().at(chars[i] + chars[i + 1]));
        ++i;
      } else if (WidthMap().count(chars[i])) {
        folded.push_back(WidthMap().at(chars[i]));
      } else {
        folded.push_back(chars[i]);
      }
    }
    chars = folded;
  }
  if (o.Text)
    for (std::string& c : chars)
      if (c.size() == 1 && c[0] >= 'a' && c[0] <= 'z') c[0] = static_cast<char>(c[0] - 'a' + 'A');
  const auto white = [&](const std::string& c) {
    return (c.size() == 1 && static_cast<unsigned char>(c[0]) <= 32) || (o.ZSpace && c == "\x81\x40");
  };
  if (o.AllSpace) std::erase_if(chars, white);
  std::size_t first = 0;
  while (first < chars.size() && white(chars[first])) ++first;
  std::size_t last = chars.size();
  while (last > first && white(chars[last - 1])) --last;
  const bool blank = first == last;
  if (o.Blank && blank) return std::nullopt;
  if (o.TrimLR) {
    if (blank) return std::nullopt;
    return Join(chars, first, last);
  }
  if (o.TrimR) {
    if (blank) return std::nullopt;
    return Join(chars, 0, last);
  }
  return Join(chars, 0, chars.size());
}

Table Build(const std::vector<std::string>& lines, const TCompareOptions& o) {
  Table t;
  const bool japanese = o.Width || o.ZSpace || o.AllSpace;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string key;
    if (japanese) {
      const std::optional<std::string> k = CharacterKey(lines[i], o);
      if (!k) continue;
      key = *k;
    } else {
      std::string s = o.Text ? Upper(lines[i]) : lines[i];
      std::string trimmed = StripBoth(s);
      if (o.Blank && trimmed.empty()) continue;
      if (o.TrimLR) {
        if (trimmed.empty()) continue;
        key = trimmed;
      } else if (o.TrimR) {
        key = StripRight(s);
        if (key.empty()) continue;
      } else {
        key = s;
      }
    }
    Entry e;
    e.line = static_cast<int>(i);
    e.position = static_cast<int>(t.size());
    e.key = key;
    t.push_back(e);
  }
  return t;
}

// Unsigned byte order, a proper prefix first: std::string's own order with char_traits<char> is
// signed on this platform, so compare through unsigned char.
bool KeyLess(const std::string& x, const std::string& y) {
  return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
    return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
  });
}

void Groups(Table& t) {
  if (t.size() > 1) {
    std::sort(t.begin(), t.end(), [](const Entry& x, const Entry& y) {
      if (x.key != y.key) return KeyLess(x.key, y.key);
      return x.position < y.position;
    });
    int n = 1;
    for (std::size_t i = 1; i < t.size(); ++i) {
      if (t[i].key == t[i - 1].key) {
        t[i].group = n;
        t[i - 1].group = n;
      } else {
        ++n;
      }
    }
  }
}

void PairUp(Entry& a, Entry& b, int state) {
  a.partnerLine = b.line;
  a.partnerPosition = b.position;
  b.partnerLine = a.line;
  b.partnerPosition = a.position;
  a.state = state;
  b.state = state;
}

bool Paired(const Entry& e) { return e.partnerPosition >= 0; }

void Merge(Table& A, Table& B) {
  std::size_t a = 0, b = 0;
  while (a < A.size() && b < B.size()) {
    if (KeyLess(A[a].key, B[b].key)) {
      const std::string k = A[a].key;
      while (a < A.size() && A[a].key == k) A[a++].state = Added;
    } else if (KeyLess(B[b].key, A[a].key)) {
      const std::string k = B[b].key;
      while (b < B.size() && B[b].key == k) B[b++].state = Added;
    } else {
      const std::string k = A[a].key;
      const int groupA = A[a].group;
      const int groupB = B[b].group;
      int state = Pending;
      if (groupA == -1 && groupB == -1) {
        PairUp(A[a], B[b], Same);
        state = Same;
      }
      while (a < A.size() && A[a].key == k) {
        A[a].state = state;
        A[a].partnerGroup = groupB;
        ++a;
      }
      while (b < B.size() && B[b].key == k) {
        B[b].state = state;
        B[b].partnerGroup = groupA;
        ++b;
      }
    }
  }
  for (; a < A.size(); ++a) A[a].state = Added;
  for (; b < B.size(); ++b) B[b].state = Added;
}

void TextOrder(Table& t) {
  std::sort(t.begin(), t.end(), [](const Entry& x, const Entry& y) { return x.position < y.position; });
}

void Forward(Table& A, Table& B) {
  int b = -1;
  for (Entry& e : A) {
    if (e.state == Added) continue;
    if (Paired(e)) { b = e.partnerPosition; continue; }
    ++b;
    while (b < static_cast<int>(B.size()) && B[b].state == Added) ++b;
    if (b >= static_cast<int>(B.size())) return;
    Entry& f = B[b];
    if (!Paired(f) && e.group != -1 && e.group == f.partnerGroup) PairUp(e, f, Same);
  }
}

void Backward(Table& A, Table& B) {
  int b = static_cast<int>(B.size());
  for (int i = static_cast<int>(A.size()) - 1; i >= 0; --i) {
    Entry& e = A[i];
    if (e.state == Added) continue;
    if (Paired(e)) { b = e.partnerPosition; continue; }
    --b;
    while (b >= 0 && B[b].state == Added) --b;
    if (b < 0) return;
    Entry& f = B[b];
    if (!Paired(f) && e.group != -1 && e.group == f.partnerGroup) PairUp(e, f, Same);
  }
}

// Keys that occur once in TextA carry the group -1 on both sides; each such
// key counts as a group of its own, so they are ordered by key within -1.
bool BlockLess(int gx, const std::string& kx, int px, int gy, const std::string& ky, int py) {
  if (gx != gy) return gx < gy;
  if (gx == -1 && kx != ky) return KeyLess(kx, ky);
  return px < py;
}

bool SameGroup(int gx, const std::string& kx, int gy, const std::string& ky) {
  return gx == gy && (gx != -1 || kx == ky);
}

void PairOneBlock(std::vector<Entry*>& ba, std::vector<Entry*>& bb) {
  std::sort(ba.begin(), ba.end(), [](const Entry* x, const Entry* y) {
    return BlockLess(x->group, x->key, x->position, y->group, y->key, y->position);
  });
  std::sort(bb.begin(), bb.end(), [](const Entry* x, const Entry* y) {
    return BlockLess(x->partnerGroup, x->key, x->position, y->partnerGroup, y->key, y->position);
  });
  std::size_t i = 0, j = 0;
  while (i < ba.size() && j < bb.size()) {
    const Entry& x = *ba[i];
    const Entry& y = *bb[j];
    if (SameGroup(x.group, x.key, y.partnerGroup, y.key)) {
      std::size_t ci = 0, cj = 0;
      while (i + ci < ba.size() && SameGroup(ba[i + ci]->group, ba[i + ci]->key, x.group, x.key)) ++ci;
      while (j + cj < bb.size() && SameGroup(bb[j + cj]->partnerGroup, bb[j + cj]->key, x.group, x.key)) ++cj;
      if (ci == cj)
        for (std::size_t k = 0; k < ci; ++k) PairUp(*ba[i + k], *bb[j + k], Same);
      i += ci;
      j += cj;
    } else if (BlockLess(x.group, x.key, 0, y.partnerGroup, y.key, 0)) {
      ++i;
    } else {
      ++j;
    }
  }
}

void Blocks(Table& A, Table& B) {
  std::vector<Entry*> ba, bb;
  int b = 0;
  for (Entry& e : A) {
    if (!Paired(e)) {
      if (e.state == Pending) ba.push_back(&e);
      continue;
    }
    if (ba.empty()) { b = e.partnerPosition; continue; }
    for (int j = b; j <= e.partnerPosition; ++j)
      if (B[j].state == Pending) bb.push_back(&B[j]);
    b = e.partnerPosition;
    if (!bb.empty()) PairOneBlock(ba, bb);
    ba.clear();
    bb.clear();
  }
}

void MovedLines(Table& A, Table& B) {
  int J = 0;
  for (Entry& f : B) {
    if (f.state != Same || !Paired(f)) continue;
    const int p = f.partnerPosition;
    if (p >= J) { J = p; continue; }
    int k = 1, K = f.position;
    for (int q = J - 1; q >= 0; --q) {
      if (!Paired(A[q]) || A[q].partnerPosition > K) break;
      K = A[q].partnerPosition;
      ++k;
    }
    int l = 1;
    K = f.position;
    for (int q = p + 1; q < static_cast<int>(A.size()); ++q) {
      if (!Paired(A[q]) || A[q].partnerPosition < K) break;
      K = A[q].partnerPosition;
      ++l;
    }
    const int from = k > l ? p : J - k + 1;
    const int to = k > l ? p + l - 1 : J;
    for (int q = from; q <= to; ++q) {
      A[q].state = Moved;
      B[A[q].partnerPosition].state = Moved;
    }
    J = p;
  }
}

void ChangedLines(Table& A, Table& B) {
  int a = -1, limit = -1;
  for (Entry& f : B) {
    if (Paired(f)) { a = f.partnerPosition; limit = f.position; continue; }
    if (f.position <= limit) continue;
    ++a;
    if (a >= static_cast<int>(A.size())) continue;
    Entry& e = A[a];
    if (Paired(e)) limit = e.partnerPosition;
    else PairUp(e, f, Changed);
  }
}

TDiffList List(const Table& t) {
  TDiffList out;
  int last = 0;
  for (const Entry& e : t) {
    if (Paired(e)) last = e.partnerLine;
    if (e.state == Same) continue;
    out.push_back({e.line, Paired(e) ? e.partnerLine : last, e.state == Pending ? 1 : e.state, 0});
  }
  return out;
}

}  // namespace

std::optional<std::string> JapaneseKey(const std::string& line, const TCompareOptions& o) { return CharacterKey(line, o); }

LiteralResult LiteralCompare(const std::vector<std::string>& a, const std::vector<std::string>& b,
                             const TCompareOptions& options) {
  LiteralResult r;
  Table A = Build(a, options);
  if (A.empty()) { r.noData = true; r.emptySide = Side::A; return r; }
  Groups(A);
  Table B = Build(b, options);
  if (B.empty()) { r.noData = true; r.emptySide = Side::B; return r; }
  Groups(B);
  Merge(A, B);
  TextOrder(A);
  TextOrder(B);
  Forward(A, B);
  Backward(A, B);
  Blocks(A, B);
  MovedLines(A, B);
  ChangedLines(A, B);
  r.diff[0] = List(A);
  r.diff[1] = List(B);
  return r;
}

}  // namespace rd::testing
