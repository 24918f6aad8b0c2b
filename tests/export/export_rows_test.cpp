#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "export/export_rows.h"
#include "export_test_input.h"

namespace rd {

void PrintTo(const TExportRow& row, std::ostream* os) {
  *os << "(" << row.lineA << ", " << row.lineB << ", kind " << int(row.rowKind) << ", partner " << row.partner << ")";
}

namespace {

using testing::Numbered;
using testing::TTestTexts;

constexpr std::uint8_t A = KindAdded, U = KindChanged, M = KindMoved, C = kRowContext;

TTestTexts Texts(std::vector<std::string> a, std::vector<std::string> b, TDiffList diffA = {}, TDiffList diffB = {}) {
  TTestTexts texts;
  texts.lines = {std::move(a), std::move(b)};
  texts.diff = {std::move(diffA), std::move(diffB)};
  return texts;
}

std::vector<TExportRow> Rows(const TTestTexts& texts) {
  std::vector<TExportRow> rows;
  int checkpoint = 0;
  BuildExportRows(texts.Input(), rows, checkpoint);
  EXPECT_EQ(checkpoint, rows.empty() ? 205 : 215);
  return rows;
}

// ---- alignment ---------------------------------------------------------------------------

TEST(BuildExportRows, AlignsTheTextsRowByRow) {
  const struct {
    const char* name;
    TTestTexts texts;
    std::vector<TExportRow> rows;
  } cases[] = {
      {"identical texts without a comparison pair line by line",
       Texts(Numbered("x", 3), Numbered("x", 3)),
       {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 2, 0, 0}}},
      {"three lines against five: the rest of TextB stands alone",
       Texts(Numbered("a", 3), Numbered("b", 5)),
       {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 2, 0, 0}, {-1, 3, 0, 0}, {-1, 4, 0, 0}}},
      {"five lines against three: the rest of TextA stands alone",
       Texts(Numbered("a", 5), Numbered("b", 3)),
       {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 2, 0, 0}, {3, -1, 0, 0}, {4, -1, 0, 0}}},
      {"a blank TextA line opposite a text line forms a row of its own",
       Texts({"p", " \t", "q"}, {"p", "q"}),
       {{0, 0, 0, 0}, {1, -1, 0, 0}, {2, 1, 0, 0}}},
      {"a blank TextB line likewise, on the TextB side",
       Texts({"p", "q"}, {"p", "", "q"}),
       {{0, 0, 0, 0}, {-1, 1, 0, 0}, {1, 2, 0, 0}}},
      {"two blank lines opposite each other form one row; control bytes count as blank",
       Texts({"p", "\x01\x1f ", "q"}, {"p", "\t", "q"}),
       {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 2, 0, 0}}},
      {"a full-width blank is text, not blank",
       Texts({"\x81\x40"}, {"x"}),
       {{0, 0, 0, 0}}},
      {"added lines stand alone on their side",
       Texts({"p", "new", "q"}, {"p", "q", "new2"}, {{1, 0, A, 0}}, {{2, 1, A, 0}}),
       {{0, 0, 0, 0}, {1, -1, A, 0}, {2, 1, 0, 0}, {-1, 2, A, 0}}},
      {"changed lines pair and carry the kind of TextA",
       Texts({"p", "x", "q"}, {"p", "y", "q"}, {{1, 1, U, 0}}, {{1, 1, U, 0}}),
       {{0, 0, 0, 0}, {1, 1, U, 0}, {2, 2, 0, 0}}},
      {"moved lines stand alone and keep their partner",
       Texts({"m", "p", "q"}, {"p", "q", "m"}, {{0, 2, M, 0}}, {{2, 0, M, 0}}),
       {{0, -1, M, 2}, {1, 0, 0, 0}, {2, 1, 0, 0}, {-1, 2, M, 0}}},
      {"TextA's added line comes before TextB's added line at the same place",
       Texts({"a1"}, {"b1"}, {{0, 0, A, 0}}, {{0, 0, A, 0}}),
       {{0, -1, A, 0}, {-1, 0, A, 0}}},
      {"entries beyond the current lines are never reached",
       Texts({"p"}, {"p"}, {{5, 0, U, 0}}, {{7, 0, A, 0}}),
       {{0, 0, 0, 0}}},
      {"an empty TextA gives TextB's lines alone",
       Texts({}, {"x", "y"}),
       {{-1, 0, 0, 0}, {-1, 1, 0, 0}}},
      {"two empty texts give no row",
       Texts({}, {}),
       {}},
      {"a changed blank line stands alone; its partner does not pair with an unchanged line",
       Texts({"", "x"}, {"foo", "x"}, {{0, 0, U, 0}}, {{0, 0, U, 0}}),
       {{0, -1, U, 0}, {-1, 0, U, 0}, {1, 1, 0, 0}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Rows(c.texts), c.rows) << c.name;
}

TEST(BuildExportRows, KeepsTheRowsBuiltWhenALineCannotBeRead) {
  const TTestTexts texts = Texts(Numbered("a", 4), Numbered("a", 4));
  TExportInput input = texts.Input();
  input.Lines[Index(Side::B)].Line = [&texts](std::size_t i) -> std::string_view {
    if (i == 2) throw std::runtime_error("unreadable");
    return texts.lines[Index(Side::B)][i];
  };
  std::vector<TExportRow> rows;
  int checkpoint = 0;
  EXPECT_THROW(BuildExportRows(input, rows, checkpoint), std::runtime_error);
  EXPECT_EQ(checkpoint, 209);  // the blank tests
  EXPECT_EQ(rows, (std::vector<TExportRow>{{0, 0, 0, 0}, {1, 1, 0, 0}}));
}

// ---- context rows ------------------------------------------------------------------------

// Row kinds as a string, one character per row: '.' unchanged, 'C' context,
// digits for the kinds 1 to 3.
std::string Kinds(const std::vector<TExportRow>& rows) {
  std::string text;
  for (const TExportRow& row : rows)
    text += row.rowKind == 0 ? '.' : row.rowKind == C ? 'C' : static_cast<char>('0' + row.rowKind);
  return text;
}

std::vector<TExportRow> FromKinds(std::string_view kinds) {
  std::vector<TExportRow> rows;
  for (char k : kinds) rows.push_back({0, 0, static_cast<std::uint8_t>(k == '.' ? 0 : k - '0'), 0});
  return rows;
}

TEST(MarkAllContextRows, MarksUpToAddRowLinesAroundEachDifference) {
  const struct {
    const char* kinds;
    int addRow;
    const char* marked;
  } cases[] = {
      // A single change at row 10 of 30 with two context lines: rows 8 to 12.
      {"..........2...................", 2, "........CC2CC................."},
      // Four rows apart: the context joins them.
      {"......2...2.....", 2, "....CC2CCC2CC..."},
      // Further apart: two groups.
      {"..2......2..", 2, "CC2CC..CC2CC"},
      {"..2......2..", 0, "..2......2.."},
      {"..2......2..", -3, "..2......2.."},
      // The list's ends and other differences stop the marking.
      {"1......", 5, "1CCCCC."},
      {"......3", 9, "CCCCCC3"},
      {"..12..", 1, ".C12C."},
      {"", 5, ""},
  };
  for (const auto& c : cases) {
    std::vector<TExportRow> rows = FromKinds(c.kinds);
    MarkAllContextRows(rows, c.addRow);
    EXPECT_EQ(Kinds(rows), c.marked) << c.kinds << " AddRow " << c.addRow;
  }
}

TEST(MarkContextRows, StopsAtTheFirstRowThatIsNotUnchanged) {
  std::vector<TExportRow> rows = FromKinds("1.C...2..");
  MarkContextRows(rows, 6, rows.size() - 1, 4);
  EXPECT_EQ(Kinds(rows), "1.CCCC2CC");
  // `last` bounds the forward marking.
  rows = FromKinds("2.....");
  MarkContextRows(rows, 0, 2, 4);
  EXPECT_EQ(Kinds(rows), "2CC...");
}

// ---- colour matching ---------------------------------------------------------------------

TEST(ColorToColorIndex, GivesTheNearestPaletteEntry) {
  auto colour = [](int r, int g, int b) { return static_cast<std::int32_t>(r | g << 8 | b << 16); };
  const struct {
    std::int32_t colour;
    int index;
  } cases[] = {
      {16768477, 24},             // InsColor's default: 221, 221, 255
      {14548957, 35},             // MovColor's default: 221, 255, 221
      {14540287, 19},             // UpdColor's default: 255, 221, 221
      {colour(128, 128, 128), 16},
      {colour(255, 0, 0), 3},
      {colour(0, 0, 0), 1},
      {colour(255, 255, 255), 2},
      {colour(192, 192, 192), 15},
      {colour(0, 0, 255), 5},     // the first of the equal entries 5 and 32 wins
      {colour(255, 255, 0), 6},   // likewise 6 before 27
  };
  for (const auto& c : cases) EXPECT_EQ(ColorToColorIndex(c.colour), c.index) << std::hex << c.colour;
}

// The rule read literally, with the palette copied from its table as text.
int LiteralColorIndex(int red, int green, int blue) {
  static const char* const palette[56] = {
      "000000", "FFFFFF", "FF0000", "00FF00", "0000FF", "FFFF00", "FF00FF", "00FFFF", "800000", "008000",
      "000080", "808000", "800080", "008080", "C0C0C0", "808080", "9999FF", "993366", "FFFFCC", "CCFFFF",
      "660066", "FF8080", "0066CC", "CCCCFF", "000080", "FF00FF", "FFFF00", "00FFFF", "800080", "800000",
      "008080", "0000FF", "00CCFF", "CCFFFF", "CCFFCC", "FFFF99", "99CCFF", "FF99CC", "CC99FF", "FFCC99",
      "3366FF", "33CCCC", "99CC00", "FFCC00", "FF9900", "FF6600", "666699", "969696", "003366", "339966",
      "003300", "333300", "993300", "993366", "333399", "333333"};
  int smallest = red / 4;
  if (green / 4 < smallest) smallest = green / 4;
  if (blue / 4 < smallest) smallest = blue / 4;
  int best = 1;
  int bestDistance = 16777215;
  for (int index = 1; index <= 56; ++index) {
    const std::string hex = palette[index - 1];
    const int pr = std::stoi(hex.substr(0, 2), nullptr, 16);
    const int pg = std::stoi(hex.substr(2, 2), nullptr, 16);
    const int pb = std::stoi(hex.substr(4, 2), nullptr, 16);
    int distance = 0;
    distance += red / 4 == smallest ? std::abs(red - pr) : std::abs(red / 4 - pr / 4);
    distance += green / 4 == smallest ? std::abs(green - pg) : std::abs(green / 4 - pg / 4);
    distance += blue / 4 == smallest ? std::abs(blue - pb) : std::abs(blue / 4 - pb / 4);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = index;
    }
  }
  return best;
}

TEST(ColorToColorIndex, AgreesWithTheRuleReadLiterallyOnRandomColours) {
  std::mt19937 random(14);
  std::uniform_int_distribution<int> component(0, 255);
  for (int n = 0; n < 20000; ++n) {
    const int r = component(random), g = component(random), b = component(random);
    // The high byte (system colours) plays no part.
    const std::int32_t high = n % 3 == 0 ? static_cast<std::int32_t>(0x80000000u) : 0;
    ASSERT_EQ(ColorToColorIndex(high | r | g << 8 | b << 16), LiteralColorIndex(r, g, b)) << r << "," << g << "," << b;
  }
}

}  // namespace
}  // namespace rd
