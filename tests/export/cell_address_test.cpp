#include <gtest/gtest.h>

#include "export/automation.h"
#include "export/cell_address.h"
#include "export/workbook_automation.h"
#include "temp_folder.h"

namespace rd {
namespace {

TEST(ParseAddress, CellsRectanglesAndWholeColumns) {
  constexpr std::int64_t kLastRow = 1048575;
  const struct {
    const char* address;
    std::optional<TCellRect> rect;
    const char* text;  // AddressText of the rectangle
  } cases[] = {
      {"B4", TCellRect{3, 1, 3, 1}, "B4"},
      {"b4", TCellRect{3, 1, 3, 1}, "B4"},
      {"B4:D4", TCellRect{3, 1, 3, 3}, "B4:D4"},
      {"A1", TCellRect{0, 0, 0, 0}, "A1"},
      {"XFD1048576", TCellRect{kLastRow, 16383, kLastRow, 16383}, "XFD1048576"},
      {"AA10", TCellRect{9, 26, 9, 26}, "AA10"},
      {"A:A", TCellRect{0, 0, kLastRow, 0}, "A:A"},
      {"F:G", TCellRect{0, 5, kLastRow, 6}, "F:G"},
      {"A:XFD", TCellRect{0, 0, kLastRow, 16383}, "A:XFD"},
      {"XFE1", std::nullopt, ""},
      {"A1048577", std::nullopt, ""},
      {"A0", std::nullopt, ""},
      {"A01", std::nullopt, ""},
      {"A", std::nullopt, ""},
      {"4", std::nullopt, ""},
      {"", std::nullopt, ""},
      {"D4:B4", std::nullopt, ""},
      {"B4:", std::nullopt, ""},
      {"B4 ", std::nullopt, ""},
      {"A:1", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseAddress(c.address), c.rect) << c.address;
    if (c.rect) {
      EXPECT_EQ(AddressText(*c.rect), c.text) << c.address;
    }
  }
  EXPECT_EQ(AddressText(TCellRect{1048576, 1, 1048576, 1}), "R1048577C2");
}

// What the workbook backend does not offer raises instead of passing quietly.
TEST(WorkbookBackend, CallsItDoesNotKnowRaise) {
  testing::TempFolder folder;
  TWorkbookOptions options;
  options.Folder = folder.Path();
  options.HasApplication = [] { return true; };
  TWorkbookAutomation automation(options);
  EXPECT_THROW(automation.GetApplication("word.application"), TAutoError);
  const TAuto app = automation.GetApplication("excel.application");
  const TAuto sheet = app.Get("workbooks").Get("add").Get("worksheets", 1);  // names in any case
  const TAuto cell = sheet.Get("Range", std::string_view("B5"));
  const struct {
    const char* name;
    std::function<void()> call;
  } cases[] = {
      {"unknown member", [&] { sheet.Get("Charts"); }},
      {"second workbook", [&] { app.Get("WorkBooks").Get("Add"); }},
      {"second sheet", [&] { app.Get("WorkBooks").Get("Add").Get("WorkSheets", 2); }},
      {"bad address", [&] { sheet.Get("Range", std::string_view("B")); }},
      {"columns need whole columns", [&] { sheet.Get("Columns", std::string_view("B5")); }},
      {"a border other than the top", [&] { cell.Get("Borders", 9); }},
      {"border weight", [&] { cell.Get("Borders", 8).Put("Weight", 7); }},
      {"colour index", [&] { cell.Get("Interior").Put("ColorIndex", 57); }},
      {"font of one cell", [&] { cell.Get("Font").Put("Name", std::string_view("x")); }},
      {"switch given as text", [&] { app.Put("Visible", std::string_view("yes")); }},
      {"offset without a number", [&] { cell.Get("Offset", std::string_view("1")); }},
      {"two rows at once", [&] { sheet.Get("Range", std::string_view("B5:B6")).Put("Value", 1); }},
      {"a name after a row went out", [&] {
         cell.Put("Value", 1);
         cell.Get("Offset", 1).Put("Value", 2);
         sheet.Put("Name", std::string_view("late"));
       }},
      {"a row above the one written", [&] { sheet.Get("Range", std::string_view("B4")).Put("Value", 1); }},
  };
  for (const auto& c : cases) EXPECT_THROW(c.call(), TAutoError) << c.name;
}

}  // namespace
}  // namespace rd
