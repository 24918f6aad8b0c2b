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

// A line of a Japanese document in Shift_JIS: sentences of kanji and kana
// words with "、" and "。", a paragraph often indented with "　", now and
// then a term in ASCII between spaces; headings numbered in full-width
// digits ("第１章　..."); blank lines between paragraphs.
inline std::string DocumentLine(std::mt19937_64& rng) {
  static const char* const kWords[] = {
      "\x83\x66\x81\x5B\x83\x5E",          // データ
      "\x90\xDD\x92\xE8",                  // 設定
      "\x8D\x80\x96\xDA",                  // 項目
      "\x95\xDB\x91\xB6",                  // 保存
      "\x83\x74\x83\x40\x83\x43\x83\x8B",  // ファイル
      "\x94\xE4\x8A\x72",                  // 比較
      "\x8C\x8B\x89\xCA",                  // 結果
      "\x95\x5C\x8E\xA6",                  // 表示
      "\x95\xB6\x8F\x91",                  // 文書
      "\x95\xCF\x8D\x58",                  // 変更
      "\x8D\x73",                          // 行
  };
  static const char* const kParticles[] = {
      "\x82\xCC", "\x82\xF0", "\x82\xC9", "\x82\xCD", "\x82\xAA",  // の を に は が
      "\x82\xB7\x82\xE9",                                       // する
      "\x82\xB5\x82\xC4",                                       // して
      "\x81\x41",                                               // 、
  };
  static const char* const kTerms[] = {"UTF-8", "CSV", "ID", "Shift_JIS"};
  static const char* const kDigits[] = {"\x82\x50", "\x82\x51", "\x82\x52", "\x82\x53"};  // １ to ４
  const auto r = rng() % 100;
  if (r < 10) return "";
  std::string line;
  if (r < 16) {
    line = "\x91\xE6";  // 第
    line += kDigits[rng() % std::size(kDigits)];
    line += "\x8F\xCD\x81\x40";  // 章, "　"
    line += kWords[rng() % std::size(kWords)];
    return line += kWords[rng() % std::size(kWords)];
  }
  if (rng() % 3 == 0) line = "\x81\x40";  // "　"
  for (int k = 3 + static_cast<int>(rng() % 6); k > 0; --k) {
    if (rng() % 12 == 0) {
      line += ' ';
      line += kTerms[rng() % std::size(kTerms)];
      line += ' ';
    } else {
      line += kWords[rng() % std::size(kWords)];
    }
    line += kParticles[rng() % std::size(kParticles)];
  }
  return line += "\x81\x42";  // 。
}

using TMakeLine = std::string (*)(std::mt19937_64&);

inline Text MakeText(std::size_t lines, std::uint64_t seed, TMakeLine makeLine = SourceLine) {
  std::mt19937_64 rng(seed);
  Text t;
  t.reserve(lines);
  for (std::size_t i = 0; i < lines; ++i) t.push_back(makeLine(rng));
  return t;
}

// About 1% of the lines differ; new lines are made by `makeLine`.
inline Text EditText(const Text& a, std::uint64_t seed, TMakeLine makeLine = SourceLine) {
  std::mt19937_64 rng(seed);
  Text b;
  b.reserve(a.size() + a.size() / 50);
  const std::size_t n = a.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto r = rng() % 10000;
    if (r < 40) {
      b.push_back(makeLine(rng));  // changed
    } else if (r < 45) {
      for (int k = 1 + static_cast<int>(rng() % 8); k > 0; --k) b.push_back(makeLine(rng));  // inserted run
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
