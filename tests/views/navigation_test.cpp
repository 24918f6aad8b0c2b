#include <gtest/gtest.h>

#include "views/navigation.h"

namespace rd {

void PrintTo(const TNavPlan& p, std::ostream* os) {
  *os << "own top " << (p.OwnTopRow ? std::to_string(*p.OwnTopRow) : "-") << ", own caret " << p.OwnCaretRow
      << ", other top " << p.OtherTopRow << ", other caret "
      << (p.OtherCaretRow ? std::to_string(*p.OtherCaretRow) : "-") << (p.FocusOwn ? ", focus" : "");
}

namespace {

TEST(NavRequest, ButtonsByTag) {
  const struct {
    int tag;
    std::optional<TNavRequest> request;
  } cases[] = {{1, TNavRequest{Side::A, false}}, {2, TNavRequest{Side::A, true}}, {3, TNavRequest{Side::B, false}},
               {4, TNavRequest{Side::B, true}},  {0, std::nullopt},             {5, std::nullopt},
               {-1, std::nullopt}};
  for (const auto& c : cases) {
    EXPECT_EQ(NavRequestForTag(c.tag), c.request) << c.tag;
    if (c.request) {
      EXPECT_EQ(NavTagOf(*c.request), c.tag);
    }
  }
}

TEST(NavRequest, KeysWithExactlyTheirModifiers) {
  using K = TNavKey;
  const struct {
    TNavChord chord;
    std::optional<bool> backward;  // nothing: no navigation
  } cases[] = {
      {{K::F4, false, false, false}, false}, {{K::F4, true, false, false}, true},
      {{K::F4, false, true, false}, std::nullopt}, {{K::F4, false, false, true}, std::nullopt},
      {{K::F4, true, true, false}, std::nullopt},  {{K::Up, false, true, false}, true},
      {{K::Down, false, true, false}, false},      {{K::Up, false, false, false}, std::nullopt},
      {{K::Down, true, true, false}, std::nullopt}, {{K::Up, false, true, true}, std::nullopt},
      {{K::Other, false, true, false}, std::nullopt},
  };
  for (const Side pane : {Side::A, Side::B}) {
    for (const auto& c : cases) {
      const auto request = NavRequestForKey(pane, c.chord);
      ASSERT_EQ(request.has_value(), c.backward.has_value());
      if (request) {
        EXPECT_EQ(*request, (TNavRequest{pane, *c.backward}));
      }
    }
  }
}

// TextA: an added line 4, changed lines 5 to 7, an added line 8, a moved
// line 20 and a changed line 40.
const TDiffList kListA{{4, 3, 1, 0}, {5, 5, 2, 0}, {6, 6, 2, 0}, {7, 7, 2, 0},
                       {8, 7, 1, 0}, {20, 30, 3, 0}, {40, 45, 2, 0}};

TEST(PlanNavigation, EveryCase) {
  const TNavRequest down{Side::A, false};
  const TNavRequest up{Side::A, true};
  const struct {
    const char* name;
    TNavRequest request;
    TDiffList list;
    TNavPane own;  // caret, top, visible, lines
    TNavPane other;
    TNavPlan plan;  // own top, own caret, other top, other caret, focus
  } cases[] = {
      {"down out of a block to the added line after it", down, kListA, {6, 0, 10, 100}, {0, 0, 10, 100},
       {std::nullopt, 8, 0, 7, true}},
      {"up from the block's end to the last line of the block above", up, kListA, {7, 0, 10, 100}, {0, 0, 10, 100},
       {std::nullopt, 4, 0, 3, true}},
      {"a target below the screen is centred", down, kListA, {8, 0, 10, 100}, {0, 0, 10, 100},
       {15, 20, 25, 30, true}},
      {"the row just below the last visible one is off screen", down, kListA, {8, 10, 10, 100}, {0, 0, 10, 100},
       {15, 20, 25, 30, true}},
      {"a target on the last visible row stays", down, kListA, {8, 11, 10, 100}, {0, 0, 10, 100},
       {std::nullopt, 20, 21, 30, true}},
      {"a target above the screen is centred", up, kListA, {20, 30, 10, 100}, {0, 0, 10, 100},
       {3, 8, 2, 7, true}},
      {"centring near the top goes to row 0", up, kListA, {5, 50, 10, 100}, {0, 0, 10, 100},
       {0, 4, 0, 3, true}},
      {"the other pane stops at its last line", down, kListA, {20, 0, 10, 100}, {0, 0, 10, 40},
       {35, 40, 39, 39, true}},
      {"the other pane's partner at the target's height", down, kListA, {20, 0, 10, 100}, {0, 0, 10, 46},
       {35, 40, 40, 45, true}},
      {"an empty other pane", down, kListA, {6, 0, 10, 100}, {0, 0, 10, 0}, {std::nullopt, 8, 0, 0, true}},
      {"down after the last difference: own last line, other scrolled by the own length", down, kListA,
       {40, 35, 10, 100}, {0, 0, 10, 300}, {std::nullopt, 99, 90, std::nullopt, false}},
      {"down after the last difference in a short text", down, kListA, {45, 0, 10, 5}, {0, 0, 10, 100},
       {std::nullopt, 4, 0, std::nullopt, false}},
      {"up before the first difference: line 0 and the other pane's top", up, kListA, {2, 0, 10, 100},
       {0, 50, 10, 100}, {std::nullopt, 0, 0, std::nullopt, false}},
      {"no differences at all, empty own text", down, {}, {0, 0, 10, 0}, {0, 0, 10, 0},
       {std::nullopt, 0, 0, std::nullopt, false}},
  };
  for (const auto& c : cases) EXPECT_EQ(PlanNavigation(c.request, c.list, c.own, c.other), c.plan) << c.name;
}

}  // namespace
}  // namespace rd
