// The column model and the wrapping of one line by the Japanese rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/column_model.h"
#include "editor/sjis.h"
#include "editor/wrap_option.h"

namespace rd {
namespace {

TEST(ByteClasses, LeadBytesAndDelimitersOverAllBytes) {
  // Written out independently: lead bytes 0x81-0x9F and 0xE0-0xFC.
  for (int b = 0; b < 256; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(sjis::IsLeadByte(static_cast<unsigned char>(b)), lead) << b;
  }
  const std::string notDelimiters =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
  for (int b = 0; b < 256; ++b) {
    bool delim;
    if (b < 128) delim = notDelimiters.find(static_cast<char>(b)) == std::string::npos;
    else delim = b == 128 || (b >= 160 && b <= 165) || b >= 253;
    EXPECT_EQ(sjis::IsDelimiter(static_cast<unsigned char>(b)), delim) << b;
  }
}

struct AttrCase {
  std::string text;
  int tab;
  bool wrap;
  std::string attrs;
};

class ColumnAttributesTest : public ::testing::TestWithParam<AttrCase> {};

TEST_P(ColumnAttributesTest, OneCharacterPerColumn) {
  const AttrCase& c = GetParam();
  EXPECT_EQ(ColumnAttributes(c.text, {c.tab, c.wrap, 20}), c.attrs);
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnAttributesTest,
                         ::testing::Values(AttrCase{"\t", 4, false, "2333"}, AttrCase{"a\t", 4, false, "1233"},
                                           AttrCase{"a,\x82\xA0\t", 4, false, "12452333"},
                                           AttrCase{"\t\t", 2, false, "2323"},
                                           // the tab stops at the wrap column
                                           AttrCase{std::string(19, 'x') + "\tb", 8, true, std::string(19, '1') + "21"},
                                           AttrCase{std::string(30, 'x'), 8, true, std::string(23, '1')},
                                           AttrCase{"a\x82", 4, false, "11"}));

TEST(ColumnModel, CapsAtThousandColumns) {
  EXPECT_EQ(ColumnAttributes(std::string(1500, 'a'), {}).size(), 1000u);
  EXPECT_EQ(ColumnAttributesFull(std::string(1500, 'a'), {}).size(), 1500u);
}

TEST(ColumnModel, ColumnToByteSkipsTabFiller) {
  EXPECT_EQ(ColumnToByte("12452333", 6), 5);
  EXPECT_EQ(ColumnToByte("12452333", 4), 4);
  EXPECT_EQ(ColumnToByte("123", 5), 4);  // past the end, by the excess
  EXPECT_EQ(ByteToColumn("a,\x82\xA0\tb", 5, {4, false, 80}), 8);
  EXPECT_EQ(DisplayWidth("\x82\xA0\t", {4, false, 80}), 4);
}

struct WrapCase {
  const char* name;
  std::string line;
  std::vector<std::string> rows;
  void (*setup)(TEditorWrapOption&);
};

const std::string A16(16, 'a'), A18(18, 'a'), A19(19, 'a'), A20(20, 'a');
const std::string kHira = "\x82\xA0";      // あ
const std::string kStop = "\x81\x42";      // 。
const std::string kOpen = "\x81\x75";      // 「
const std::string kClose = "\x81\x76";     // 」

class WrapTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapTest, CutsRows) {
  const WrapCase& c = GetParam();
  TEditorWrapOption o;
  o.SetWrapByte(20);
  if (c.setup) c.setup(o);
  std::vector<std::string_view> rows;
  const int n = WrapLine(c.line, o, 8, &rows);
  EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.end()), c.rows);
  EXPECT_EQ(n, static_cast<int>(c.rows.size()));
  EXPECT_EQ(WrapLine(c.line, o, 8, nullptr), n) << "counting agrees with wrapping";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WrapTest,
    ::testing::Values(
        WrapCase{"Short", A19, {A19}, nullptr},
        WrapCase{"ExactWidthGetsEmptyLastRow", A20, {A20, ""}, nullptr},
        WrapCase{"ExactWidthWithFollowRetMark", A20, {A20}, [](TEditorWrapOption& o) { o.SetFollowRetMark(true); }},
        WrapCase{"TwoRowsAndRest", std::string(45, 'a'), {A20, A20, std::string(5, 'a')}, nullptr},
        WrapCase{"DoubleByteAcrossWidthMovesWhole", A19 + kHira + "b", {A19, kHira + "b"}, nullptr},
        WrapCase{"DoubleByteEndingOnWidthStays", A18 + kHira + "b", {A18 + kHira, "b"}, nullptr},
        WrapCase{"HangingFullStop", A20 + kStop + "b", {A20 + kStop, "b"},
                 [](TEditorWrapOption& o) { o.SetFollowPunctuation(true); }},
        WrapCase{"NoHangingWhenOff", A20 + kStop + "b", {A20, kStop + "b"}, nullptr},
        WrapCase{"OpeningBracketMovesDown", A18 + kOpen + "bbb", {A18, kOpen + "bbb"},
                 [](TEditorWrapOption& o) { o.SetLeading(true); }},
        WrapCase{"ClosingBracketPullsPredecessor", A20 + kClose + "b", {A19, "a" + kClose + "b"},
                 [](TEditorWrapOption& o) { o.SetLeading(true); }},
        WrapCase{"ProhibitionStopsAtFourFifths", A16 + "))))))b", {A16, "))))))b"},
                 [](TEditorWrapOption& o) { o.SetLeading(true); }},
        WrapCase{"ProhibitionBeatsHanging", A19 + kOpen + kStop + "b", {A19, kOpen + kStop + "b"},
                 [](TEditorWrapOption& o) {
                   o.SetLeading(true);
                   o.SetFollowPunctuation(true);
                 }},
        WrapCase{"WordBreakAtSpace", "aaaaaaaaaa bbbbbbbbbbbbbbbbbbbbbbb", {"aaaaaaaaaa ", std::string(20, 'b'), "bbb"},
                 [](TEditorWrapOption& o) { o.SetWordBreak(true); }},
        WrapCase{"LongWordCutAtWidth", "aaaa bbbbbbbbbbbbbbbbbbbbbbbbbbb", {"aaaa bbbbbbbbbbbbbbb", "bbbbbbbbbbbb"},
                 [](TEditorWrapOption& o) { o.SetWordBreak(true); }},
        WrapCase{"WordBreakAfterDoubleByte", "aaaaaaaaa" + kHira + "bbbbbbbbbbbbbbbbbb",
                 {"aaaaaaaaa" + kHira, "bbbbbbbbbbbbbbbbbb"}, [](TEditorWrapOption& o) { o.SetWordBreak(true); }},
        WrapCase{"TabFillerEndsAtWrapColumn", std::string(17, 'a') + "\tbbb", {std::string(17, 'a') + "\t", "bbb"},
                 nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WrapOption, ClampsAndNotifies) {
  TEditorWrapOption o;
  int changes = 0;
  o.OnChange = [&] { ++changes; };
  o.SetWrapByte(10);
  EXPECT_EQ(o.WrapByte(), 20);
  o.SetWrapByte(1000);
  EXPECT_EQ(o.WrapByte(), 250);
  o.SetWrapByte(250);
  EXPECT_EQ(changes, 2);
  o.SetLeading(true);
  o.SetFollowStr(")");
  EXPECT_EQ(changes, 4);
}

TEST(WrapOption, TrailByteNeverMatchesSingleByteCharacter) {
  // 0x83 0x5D (katakana "zo") has the trail byte ']' which is in FollowStr.
  TEditorWrapOption o;
  o.SetWrapByte(20);
  o.SetLeading(true);
  EXPECT_FALSE(sjis::ContainsChar("\x83\x5D", "]"));
  std::vector<std::string_view> rows;
  const std::string line = A20 + "\x83\x5D" + "b";
  WrapLine(line, o, 8, &rows);
  EXPECT_EQ(rows[0], A20);
}

}  // namespace
}  // namespace rd
