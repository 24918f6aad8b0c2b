// TEditorStringList: the editor's temporary set of rows (the output of the
// wrapping step, the fragments of a block selection) and the base of its
// row store; it has exactly the layout of TRowAttributeStringList.
#pragma once

#include "editor/row_attribute_strings.h"

namespace rd {

class TEditorStringList : public TRowAttributeStringList {
 public:
  using TRowAttributeStringList::TRowAttributeStringList;
};

}  // namespace rd
