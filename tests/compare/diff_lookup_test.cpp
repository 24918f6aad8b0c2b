#include <gtest/gtest.h>

#include "compare/diff_entry.h"

namespace rd {
namespace {

TDiffList Entries(std::initializer_list<std::pair<int, int>> lineKind) {
  TDiffList list;
  for (auto [line, kind] : lineKind) list.push_back({line, 0, kind, line + 100});
  return list;
}

int LineOf(const TDiffEntry* e) { return e ? e->line : -1; }

TEST(FindEntry, BinarySearchOnLineAndFullLine) {
  EXPECT_EQ(FindEntry(0, {}), nullptr);
  const TDiffList one = Entries({{4, KindAdded}});
  EXPECT_EQ(LineOf(FindEntry(4, one)), 4);
  EXPECT_EQ(FindEntry(3, one), nullptr);
  EXPECT_EQ(FindEntry(5, one), nullptr);

  const TDiffList many = Entries({{1, 1}, {3, 2}, {4, 2}, {9, 3}, {10, 1}, {20, 1}, {21, 1}});
  for (const TDiffEntry& e : many) {
    EXPECT_EQ(FindEntry(e.line, many), &e);
    EXPECT_EQ(FindEntryByFullLine(e.fullLine, many), &e);
  }
  for (int line : {-1, 0, 2, 5, 8, 11, 19, 22}) EXPECT_EQ(FindEntry(line, many), nullptr) << line;
  EXPECT_EQ(FindEntryByFullLine(1, many), nullptr);
}

TEST(FindNextBlock, WalksOutOfTheBlock) {
  const TDiffList list = Entries({{4, KindAdded}, {5, KindChanged}, {6, KindChanged}, {7, KindChanged}, {8, KindAdded}});
  EXPECT_EQ(LineOf(FindNextBlock(6, list, false)), 8);
  EXPECT_EQ(LineOf(FindNextBlock(5, list, false)), 8);
  EXPECT_EQ(LineOf(FindNextBlock(7, list, true)), 4);
  EXPECT_EQ(FindNextBlock(8, list, false), nullptr);  // runs off the list
  EXPECT_EQ(FindNextBlock(4, list, true), nullptr);
}

TEST(FindNextBlock, LinesNotConsecutiveAreTwoBlocks) {
  const TDiffList list = Entries({{5, KindChanged}, {7, KindChanged}});
  EXPECT_EQ(LineOf(FindNextBlock(5, list, false)), 7);
  EXPECT_EQ(LineOf(FindNextBlock(7, list, true)), 5);
}

TEST(FindNextBlock, FromALineWithoutEntry) {
  const TDiffList list = Entries({{2, 1}, {3, 1}, {10, 2}, {11, 2}, {30, 3}});
  EXPECT_EQ(LineOf(FindNextBlock(5, list, false)), 10);
  EXPECT_EQ(LineOf(FindNextBlock(5, list, true)), 3);
  EXPECT_EQ(LineOf(FindNextBlock(20, list, false)), 30);
  EXPECT_EQ(LineOf(FindNextBlock(20, list, true)), 11);
  EXPECT_EQ(FindNextBlock(31, list, false), nullptr);
  EXPECT_EQ(FindNextBlock(0, list, true), nullptr);
  EXPECT_EQ(LineOf(FindNextBlock(0, list, false)), 2);
  EXPECT_EQ(LineOf(FindNextBlock(40, list, true)), 30);
  const TDiffList one = Entries({{5, 1}});
  EXPECT_EQ(LineOf(FindNextBlock(3, one, false)), 5);
  EXPECT_EQ(FindNextBlock(3, one, true), nullptr);
  EXPECT_EQ(LineOf(FindNextBlock(7, one, true)), 5);
  EXPECT_EQ(FindNextBlock(7, one, false), nullptr);
}

TEST(KindName, NamesTheThreeKinds) {
  EXPECT_EQ(KindName(KindAdded), "INS");
  EXPECT_EQ(KindName(KindChanged), "UDT");
  EXPECT_EQ(KindName(KindMoved), "MOV");
  EXPECT_EQ(KindName(0), "");
}

}  // namespace
}  // namespace rd
