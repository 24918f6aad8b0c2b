// The colouring schemes' token walkers: token kinds, reserved words,
// bracket regions across rows and the end state of a row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editor_error.h"
#include "editor/editor_fountain.h"
#include "editor/editor_string_list.h"

namespace rd {
namespace {

struct Tok {
  int kind;
  int pos;
  int len;
  bool operator==(const Tok&) const = default;
};

void PrintTo(const Tok& t, std::ostream* os) { *os << "{" << t.kind << "," << t.pos << "," << t.len << "}"; }

std::vector<Tok> Tokens(const TFountain& f, std::string_view text, TRowAttributeData state = {}) {
  auto p = f.CreateParser();
  p->NewData(text, state);
  std::vector<Tok> out;
  while (p->NextToken() != tkEnd) out.push_back({p->Token(), p->SourcePos(), p->TokenLength()});
  return out;
}

struct TokCase {
  const char* name;
  std::string text;
  std::vector<Tok> tokens;
};

class DefaultSchemeTokens : public ::testing::TestWithParam<TokCase> {};

TEST_P(DefaultSchemeTokens, CutsTheRow) {
  TEditorFountain f;
  f.SetCommenter("//");
  f.SetQuotation("'");
  f.SetHexPrefix("0x");
  f.SetControlCode(true);
  f.SetMail(true);
  f.SetUrl(true);
  EXPECT_EQ(Tokens(f, GetParam().text), GetParam().tokens);
}

const TokCase kDefaultCases[] = {
    {"Integer", "42", {{3, 0, 2}}},
    {"RealWithExponent", "3.14e-2", {{4, 0, 7}}},
    {"RealPointOnly", "1.5+2", {{4, 0, 3}, {1, 3, 1}, {3, 4, 1}}},
    {"DigitThenPointThenLetter", "7.x", {{3, 0, 1}, {1, 1, 1}, {11, 2, 1}}},
    {"Word", "a_1 _b", {{11, 0, 3}, {11, 4, 2}}},
    {"TabIsOneToken", "\t\tx", {{9, 0, 1}, {9, 1, 1}, {11, 2, 1}}},
    {"SpacesAreSkipped", "  ;  ", {{1, 2, 1}}},
    {"FullWidthSpace", "\x81\x40", {{12, 0, 2}}},
    {"FullWidthDigitsWithStop", "\x82\x50\x81\x44\x82\x51\x81\x44", {{14, 0, 6}, {12, 6, 2}}},
    {"FullWidthLetters", "\x82\x60\x82\x81", {{15, 0, 4}}},
    {"HiraganaWithLongVowel", "\x82\xA0\x81\x5B\x82\xA2", {{16, 0, 6}}},
    {"KatakanaRun", "\x83\x4A\x83\x69", {{17, 0, 4}}},
    {"KatakanaGreekSplit", "\x83\x4A\x83\x9F", {{17, 0, 2}, {12, 2, 2}}},
    {"KanjiRun", "\x8A\xBF\x8E\x9A\xE0\x40", {{18, 0, 6}}},
    {"HalfWidthPunctuation", "\xA1\xA5", {{19, 0, 1}, {19, 1, 1}}},
    {"HalfWidthKatakana", "\xB1\xB2\xDF", {{20, 0, 3}}},
    {"LoneLeadByteAtEnd", "a\x82", {{11, 0, 1}, {1, 1, 1}}},
    {"Comment", "x // rest 'q'", {{11, 0, 1}, {7, 2, 11}}},
    {"QuotedDoubledQuote", "'it''s' x", {{26, 0, 7}, {11, 8, 1}}},
    {"QuotedUnclosed", "'abc", {{26, 0, 4}}},
    {"QuotedSkipsTrailByte", "'\x83\x27'", {{26, 0, 4}}},
    {"ControlCodes", "#13#$1F#", {{27, 0, 3}, {28, 3, 4}, {1, 7, 1}}},
    {"HexPrefix", "0XfF 0xg", {{23, 0, 4}, {3, 5, 1}, {11, 6, 2}}},
    {"Url", "see http://a.b/c?d=1 x", {{11, 0, 3}, {21, 4, 16}, {11, 21, 1}}},
    {"Mail", "to a.b@c.jp.", {{11, 0, 2}, {22, 3, 8}, {1, 11, 1}}},
    {"AtWithoutDotIsNoMail", "a@b", {{11, 0, 1}, {1, 1, 1}, {11, 2, 1}}},
    {"NulEndsRow", std::string("a\0b", 3), {{11, 0, 1}}},
};

INSTANTIATE_TEST_SUITE_P(Table, DefaultSchemeTokens, ::testing::ValuesIn(kDefaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BaseScheme, KnowsOnlyBracketsAndClasses) {
  TFountain f;
  f.Brackets.Add("(*", "*)");
  EXPECT_EQ(Tokens(f, "//x (*a*)b"), (std::vector<Tok>{{1, 0, 1}, {1, 1, 1}, {11, 2, 1}, {6, 4, 5}, {11, 9, 1}}));
}

TEST(ReserveWords, WholeTokenInAnyCase) {
  TEditorFountain f;
  f.ReserveWordList.Add("abc");
  f.ReserveWordList.Add("ABC");  // duplicate ignoring case
  EXPECT_EQ(f.ReserveWordList.Count(), 1);
  EXPECT_EQ(Tokens(f, "abc ABC abcd ab"), (std::vector<Tok>{{8, 0, 3}, {8, 4, 3}, {11, 8, 4}, {11, 13, 2}}));
  // A trail byte that looks like a letter is not folded.
  TEditorFountain g;
  g.ReserveWordList.Add("\x83\x61");  // katakana "da", trail byte 'a'
  EXPECT_FALSE(g.ReserveWordList.Contains("\x83\x41"));
  EXPECT_TRUE(g.ReserveWordList.Contains("\x83\x61"));
}

TEST(ReserveWords, NotInsideCommentsOrBrackets) {
  TEditorFountain f;
  f.SetCommenter("//");
  f.Brackets.Add("{", "}");
  f.ReserveWordList.Add("//x");
  f.ReserveWordList.Add("{x}");
  EXPECT_EQ(Tokens(f, "{x} //x"), (std::vector<Tok>{{6, 0, 3}, {7, 4, 3}}));
}

TEST(Brackets, CollectionRefusesAFifteenthPair) {
  TFountain f;
  for (int i = 0; i < 14; ++i) f.Brackets.Add("<", ">");
  try {
    f.Brackets.Add();
    FAIL();
  } catch (const EFountainError& e) {
    EXPECT_STREQ(e.what(), "TFountainBracketCollection\r\nYou can not add item over 14");
  }
  EXPECT_EQ(f.Brackets.Count(), 14);
}

TEST(Brackets, ParserNeedsAScheme) {
  try {
    TFountainParser p(nullptr);
    FAIL();
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "TFountainParser.Create need instance of TFountain");
  }
}

// Rows with computed start states, filled front to back from row 0.
void FillStates(const TFountain& f, TEditorStringList& rows) {
  auto p = f.CreateParser();
  TRowAttributeData first;
  rows.SetRowState(0, first);
  for (int r = 0; r + 1 < rows.Count(); ++r) rows.SetRowState(r + 1, p->EndState(r, rows));
}

TEST(EndState, OpenBracketRegionCarriesToTheNextRow) {
  TEditorFountain f;
  f.Brackets.Add("a", "z");
  f.Brackets.Add("/*", "*/");
  TEditorStringList rows;
  for (const char* t : {"x /* open", "   ", "still */ y", "z"}) rows.Add(t);
  FillStates(f, rows);
  EXPECT_EQ(rows.BracketIndex(1), 1);
  EXPECT_EQ(rows.StartToken(1), tkBracket);
  EXPECT_EQ(rows.BracketIndex(2), 1) << "a row of spaces passes its state on";
  EXPECT_EQ(rows.StartToken(2), tkBracket);
  EXPECT_EQ(rows.BracketIndex(3), -1);
  EXPECT_EQ(rows.StartToken(3), 0);
  EXPECT_EQ(Tokens(f, rows.View(2), rows.RowAttributes(2)), (std::vector<Tok>{{6, 0, 8}, {11, 9, 1}}));
}

TEST(EndState, TokenCrossingAWrapIsCarriedWithItsLength) {
  TEditorFountain f;
  f.SetCommenter("--");
  TEditorStringList rows;
  rows.Add("ab hello");
  rows.Add("world --c");
  rows.Add("ont");
  rows.Add("x");
  rows.SetRowEndKind(0, rowWrapped);
  rows.SetRowEndKind(1, rowWrapped);
  FillStates(f, rows);
  EXPECT_EQ(rows.StartToken(1), tkAnk);
  EXPECT_EQ(rows.CarryLength(1), 5);
  EXPECT_EQ(rows.PrevRowEndKind(1), rowWrapped);
  EXPECT_EQ(rows.StartToken(2), tkComment);
  EXPECT_EQ(rows.CarryLength(2), 3);
  EXPECT_EQ(rows.StartToken(3), 0);
  EXPECT_EQ(rows.PrevRowEndKind(3), rowEndLine);
  // The carried part is one continuation token.
  EXPECT_EQ(Tokens(f, "world --c", rows.RowAttributes(1)), (std::vector<Tok>{{11, 0, 5}, {7, 6, 3}}));
}

}  // namespace
}  // namespace rd
