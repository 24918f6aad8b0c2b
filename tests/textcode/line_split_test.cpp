// Splitting into lines, whole and while a file is read in pieces, against a
// literal reading of the rules on random texts that cross the 64-byte blocks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "textcode/line_split.h"

namespace rd {
namespace {

using Strings = std::vector<std::string>;

// A line ends at CR, LF or CR LF; a break at the very end adds no empty
// line; the first NUL ends the text.
Strings LiteralLines(const std::string& text) {
  Strings lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
      open = false;
    } else {
      line += text[i];
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

Strings Lines(const TLineList& list) {
  Strings lines;
  for (std::size_t i = 0; i < list.Count(); ++i) lines.emplace_back(list[i]);
  return lines;
}

std::string RandomText(std::mt19937& rng) {
  static const char kBytes[] = {'a', 'b', ' ', '\r', '\n', '\r', '\n', '\x82'};
  std::string text(rng() % 400, 'a');
  for (char& c : text) c = kBytes[rng() % sizeof kBytes];
  if (!text.empty() && rng() % 8 == 0) text[rng() % text.size()] = '\0';
  return text;
}

TEST(LineSplit, WholeAndInPiecesAgreeWithTheRules) {
  std::mt19937 rng(21);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = RandomText(rng);
    const Strings expected = LiteralLines(text);
    ASSERT_EQ(Lines(SplitLines(text)), expected) << testing::PrintToString(text);

    TSplitWhileReading split;
    split.Start(text.size());
    for (std::size_t read = 0; read < text.size();) {
      read = std::min(text.size(), read + 1 + rng() % 100);
      split.Read(std::string_view(text).substr(0, read));
    }
    ASSERT_EQ(Lines(split.Finish(text)), expected) << testing::PrintToString(text);
  }
}

TEST(LineSplit, AFileThatGrewPastTheLimitWhileReadFails) {
  TSplitWhileReading split(2);
  split.Start(2);  // the size the file reported
  const std::string grown = "a\nb\nc\n";
  split.Read(grown);
  EXPECT_THROW(split.Finish(grown), TTooManyLines);
}

}  // namespace
}  // namespace rd
