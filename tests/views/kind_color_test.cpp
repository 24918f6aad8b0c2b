#include <gtest/gtest.h>

#include "views/kind_color.h"

namespace rd {
namespace {

TEST(KindColor, OneColourPerKindNoneOtherwise) {
  TEditorSettings colours;
  colours.InsColor = 0x111111;
  colours.UpdColor = 0x222222;
  colours.MovColor = 0x333333;
  const struct {
    std::int32_t kind;
    std::optional<std::int32_t> colour;
  } cases[] = {{1, 0x111111}, {2, 0x222222}, {3, 0x333333}, {0, std::nullopt}, {4, std::nullopt}, {-1, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(KindColor(c.kind, colours), c.colour) << "kind " << c.kind;

  // The defaults of the settings: added light blue, changed light red, moved light green.
  const TEditorSettings defaults = TSettings().Editor;
  EXPECT_EQ(KindColor(1, defaults), 16768477);
  EXPECT_EQ(KindColor(2, defaults), 14540287);
  EXPECT_EQ(KindColor(3, defaults), 14548957);
}

}  // namespace
}  // namespace rd
