// The editor's text model: a fuzzed text, then a fuzzed sequence of edits,
// caret moves, selections, undo and redo. Properties: the model's
// invariants hold after every step, and undoing every edit gives back the
// text that was set.
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/editor_model.h"
#include "fuzz_check.h"

namespace {

class TViewport : public rd::IEditorViewport {
 public:
  int VisibleRowCount() const override { return 20; }
  int VisibleColCount() const override { return 60; }
  bool HasFocus() const override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rd;
  if (size < 2) return 0;
  const std::size_t textSize = std::min<std::size_t>(data[0], size - 1);
  const std::string text(reinterpret_cast<const char*>(data) + 1, textSize);
  TViewport viewport;
  TEditorModel model;
  model.SetViewport(&viewport);
  model.SetUndoListMax(100000);
  model.Lines().SetText(text);
  const std::string original = model.Lines().Text();
  RD_FUZZ_CHECK(model.checkInvariants().empty());

  int edits = 0;
  for (std::size_t i = 1 + textSize; i + 1 < size; i += 2) {
    const std::uint8_t op = data[i], arg = data[i + 1];
    const std::string piece(1, static_cast<char>(arg));
    switch (op % 14) {
      case 0: model.InsertText(piece); break;
      case 1: model.InsertText("\x82\xa0" + piece + "\r\n"); break;  // a double-byte character and a break
      case 2: model.DeleteChar(); break;
      case 3: model.BackSpace(); break;
      case 4: model.NewLine(); break;
      case 5: model.SetRowCol(arg % 8, arg / 8); break;
      case 6: model.Select(arg % 5, arg % 7, (arg / 5) % 6, arg / 30); break;
      case 7: model.DeleteSelection(); break;
      case 8: model.Undo(); break;
      case 9: model.Redo(); break;
      case 10: model.TabKey(); break;
      case 11: model.MoveDown(arg & 1); break;
      case 12: model.MoveLeft(arg & 1); break;
      case 13: model.PasteText("a\r\nb" + piece, arg & 1); break;
    }
    edits += op % 14 != 8 && op % 14 != 9;
    const std::string problem = model.checkInvariants();
    if (!problem.empty()) std::fprintf(stderr, "%s\n", problem.c_str());
    RD_FUZZ_CHECK(problem.empty());
  }
  while (model.CanUndo()) model.Undo();
  RD_FUZZ_CHECK(model.Lines().Text() == original);
  (void)edits;
  return 0;
}
