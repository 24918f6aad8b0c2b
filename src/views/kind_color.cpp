// Kind to colour; see kind_color.h.
#include "views/kind_color.h"

#include "compare/diff_entry.h"

namespace rd {

std::optional<std::int32_t> KindColor(std::int32_t kind, const TEditorSettings& colours) {
  switch (kind) {
    case KindAdded: return colours.InsColor;
    case KindChanged: return colours.UpdColor;
    case KindMoved: return colours.MovColor;
    default: return std::nullopt;
  }
}

}  // namespace rd
