// The row lists: storage, notifications, update nesting, growth, packing.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/editor_error.h"
#include "editor/editor_string_list.h"

namespace rd {
namespace {

struct Counter {
  int changing = 0;
  int change = 0;
  void attach(TheStringList& l) {
    l.OnChanging = [this](TheStringList&) { ++changing; };
    l.OnChange = [this](TheStringList&) { ++change; };
  }
};

TEST(RowStringList, EditsFireOneNotificationPairEach) {
  TEditorStringList l;
  Counter c;
  c.attach(l);
  EXPECT_EQ(l.Add("a"), 0);
  l.Insert(0, "b");
  l.Put(1, "c");
  l.Exchange(0, 1);
  l.Delete(0);
  EXPECT_EQ(c.changing, 5);
  EXPECT_EQ(c.change, 5);
  ASSERT_EQ(l.Count(), 1);
  EXPECT_EQ(l.Get(0), "b");
  // Field setters are silent.
  l.SetData(0, 7);
  l.SetAttributesA(0, 1);
  l.SetStateText(0, "x");
  EXPECT_EQ(c.change, 5);
}

TEST(RowStringList, ClearOnEmptyListFiresNothing) {
  TEditorStringList l;
  Counter c;
  c.attach(l);
  l.Clear();
  EXPECT_EQ(c.changing + c.change, 0);
  l.Add("x");
  l.Clear();
  EXPECT_EQ(c.changing, 2);
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.Capacity(), 0);
}

TEST(RowStringList, UpdateBracketFiresOncePerOutermostBracket) {
  TEditorStringList l;
  Counter c;
  c.attach(l);
  l.BeginUpdate();
  EXPECT_EQ(c.changing, 1);
  l.BeginUpdate();
  for (int i = 0; i < 10; ++i) l.Add("r");
  l.Delete(3);
  l.Clear();
  l.EndUpdate();
  EXPECT_EQ(c.change, 0);
  l.EndUpdate();
  EXPECT_EQ(c.changing, 1);
  EXPECT_EQ(c.change, 1);
}

TEST(RowStringList, GrowthFromEmpty) {
  TEditorStringList l;
  std::vector<int> seen;
  for (int i = 0; i < 100; ++i) {
    l.Add("");
    if (seen.empty() || seen.back() != l.Capacity()) seen.push_back(l.Capacity());
  }
  EXPECT_EQ(seen, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
  l.SetCapacity(200);
  EXPECT_EQ(l.Capacity(), 200);
  EXPECT_THROW(l.SetCapacity(99), EListError);
}

TEST(RowStringList, BadIndexRaisesListErrorAndKeepsList) {
  TEditorStringList l;
  l.Add("a");
  l.Add("b");
  Counter c;
  c.attach(l);
  try {
    l.Get(2);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています");
  }
  EXPECT_THROW(l.Put(-1, "x"), EListError);
  EXPECT_THROW(l.Insert(3, "x"), EListError);
  EXPECT_THROW(l.Delete(2), EListError);
  EXPECT_THROW(l.Exchange(0, 2), EListError);
  EXPECT_THROW(l.SetData(2, 1), EListError);
  EXPECT_THROW(l.RowMarks(5), EListError);
  EXPECT_THROW(l.StateText(-1), EListError);
  EXPECT_EQ(c.changing + c.change, 0);
  ASSERT_EQ(l.Count(), 2);
  EXPECT_EQ(l.Get(0), "a");
  EXPECT_EQ(l.Get(1), "b");
  l.Insert(2, "c");  // Insert at Count is allowed
  EXPECT_EQ(l.Get(2), "c");
}

TEST(RowStringList, ExchangeSwapsAllFields) {
  TEditorStringList l;
  l.Add("one");
  l.Add("two");
  l.SetStateText(0, "state");
  l.SetData(0, -5);
  l.SetAttributesA(0, 0x12345678u);
  l.SetAttributesB(1, 0x9ABCDEF0u);
  l.Exchange(0, 1);
  EXPECT_EQ(l.Get(1), "one");
  EXPECT_EQ(l.StateText(1), "state");
  EXPECT_EQ(l.Data(1), -5);
  EXPECT_EQ(l.AttributesA(1), 0x12345678u);
  EXPECT_EQ(l.AttributesB(0), 0x9ABCDEF0u);
  EXPECT_EQ(l.StateText(0), "");
  // A carry-over string survives a change of the text and vice versa.
  l.Put(1, "uno");
  EXPECT_EQ(l.StateText(1), "state");
  l.SetStateText(1, "");
  EXPECT_EQ(l.Get(1), "uno");
}

TEST(RowAttributeStrings, FreshRowHasAllAttributesZero) {
  TEditorStringList l;
  l.Add("x");
  l.SetAttributesA(0, ~0u);
  l.Insert(0, "y");
  EXPECT_EQ(l.AttributesA(0), 0u);
  EXPECT_EQ(l.AttributesB(0), 0u);
  EXPECT_EQ(l.RowEndKind(0), rowEndLine);
  EXPECT_EQ(l.BracketIndex(0), -2);
  EXPECT_EQ(l.RowMarks(0), 0);
  EXPECT_EQ(l.Data(0), 0);
  EXPECT_EQ(l.StateText(0), "");
}

// Each setter writes exactly its own bits of a word that starts all ones
// or all zeros.
struct PackCase {
  const char* name;
  void (*set)(TRowAttributeStringList&, std::uint32_t);
  std::uint32_t value;
  std::uint32_t wordA;  // expected AttributesA starting from 0
  std::uint32_t wordB;
  std::uint32_t wordAFromOnes;  // expected AttributesA starting from all ones
  std::uint32_t wordBFromOnes;
};

const PackCase kPackCases[] = {
    {"EndKind", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetRowEndKind(0, v); }, 2, 0x2, 0, 0xFFFFFFFE, ~0u},
    {"PrevEnd", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetPrevRowEndKind(0, v); }, 1, 0x4, 0, 0xFFFFFFF7, ~0u},
    {"Bracket13", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetBracketIndex(0, int(v)); }, 13, 0xF0, 0, ~0u, ~0u},
    {"Bracket-1", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetBracketIndex(0, int(v)); }, std::uint32_t(-1), 0x10, 0, 0xFFFFFF1F, ~0u},
    {"Bracket254", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetBracketIndex(0, int(v)); }, 254, 0x00, 0, 0xFFFFFF0F, ~0u},
    {"ParserValue", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetParserValue(0, v); }, 0x1AB, 0xAB00, 0, 0xFFFFABFF, ~0u},
    {"Carry", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetCarryLength(0, v); }, 0x42, 0x420000, 0, 0xFF42FFFF, ~0u},
    {"Extra", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetParserExtra(0, v); }, 0x81, 0x81000000, 0, 0x81FFFFFF, ~0u},
    {"StartToken", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetStartToken(0, v); }, 6, 0, 0x6, ~0u, 0xFFFFFF06},
    {"Flags", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetParserFlags(0, v); }, 0x3C, 0, 0x3C00, ~0u, 0xFFFF3CFF},
    {"Marks", [](TRowAttributeStringList& l, std::uint32_t v) { l.SetRowMarks(0, v); }, 0x1BEEF, 0, 0xBEEF0000, ~0u, 0xBEEFFFFF},
};

class PackingTest : public ::testing::TestWithParam<PackCase> {};

TEST_P(PackingTest, SetterTouchesOnlyItsBits) {
  const PackCase& c = GetParam();
  TEditorStringList l;
  l.Add("");
  c.set(l, c.value);
  EXPECT_EQ(l.AttributesA(0), c.wordA);
  EXPECT_EQ(l.AttributesB(0), c.wordB);
  l.SetAttributesA(0, ~0u);
  l.SetAttributesB(0, ~0u);
  c.set(l, c.value);
  EXPECT_EQ(l.AttributesA(0), c.wordAFromOnes);
  EXPECT_EQ(l.AttributesB(0), c.wordBFromOnes);
}

INSTANTIATE_TEST_SUITE_P(AllFields, PackingTest, ::testing::ValuesIn(kPackCases),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& ch : n) if (ch == '-') ch = 'm';
                           return n;
                         });

TEST(RowAttributeStrings, GettersReadBackUnsignedBytes) {
  TEditorStringList l;
  l.Add("");
  l.SetAttributesA(0, 0xFEDCBA98u);
  l.SetAttributesB(0, 0x8001F00Fu);
  const TRowAttributeData d = l.RowAttributes(0);
  EXPECT_EQ(d.EndKind, 0);
  EXPECT_EQ(d.PrevEndKind, 2);
  EXPECT_EQ(d.BracketIndex, 7);
  EXPECT_EQ(d.ParserValue, 0xBAu);
  EXPECT_EQ(d.CarryLength, 0xDCu);
  EXPECT_EQ(d.ParserExtra, 0xFEu);
  EXPECT_EQ(d.StartToken, 0x0F);
  EXPECT_EQ(d.ParserFlags, 0xF0);
  EXPECT_EQ(l.RowMarks(0), 0x8001);
}

// Random edits against a vector of (text, data) pairs.
TEST(RowStringList, RandomEditsMatchSimpleModel) {
  std::mt19937 rng(7);
  TEditorStringList l;
  std::vector<std::pair<std::string, int>> model;
  for (int step = 0; step < 3000; ++step) {
    const int n = static_cast<int>(model.size());
    const std::string text(rng() % 40, static_cast<char>('a' + rng() % 26));
    switch (rng() % 6) {
      case 0:
      case 1: {
        const int i = static_cast<int>(rng() % (n + 1));
        l.Insert(i, text);
        l.SetData(i, step);
        model.insert(model.begin() + i, {text, step});
        break;
      }
      case 2:
        if (n > 0) {
          const int i = static_cast<int>(rng() % n);
          l.Delete(i);
          model.erase(model.begin() + i);
        }
        break;
      case 3:
        if (n > 0) {
          const int i = static_cast<int>(rng() % n);
          l.Put(i, text);
          model[i].first = text;
        }
        break;
      case 4:
        if (n > 1) {
          const int i = static_cast<int>(rng() % n), j = static_cast<int>(rng() % n);
          l.Exchange(i, j);
          std::swap(model[i], model[j]);
        }
        break;
      case 5:
        if (n > 0 && rng() % 50 == 0) {
          l.Clear();
          model.clear();
        } else if (n > 0) {
          l.SetStateText(static_cast<int>(rng() % n), text);
        }
        break;
    }
    ASSERT_EQ(l.checkInvariants(), "");
    ASSERT_EQ(l.Count(), static_cast<int>(model.size()));
  }
  for (int i = 0; i < l.Count(); ++i) {
    EXPECT_EQ(l.Get(i), model[i].first);
    EXPECT_EQ(l.Data(i), model[i].second);
  }
}

}  // namespace
}  // namespace rd
