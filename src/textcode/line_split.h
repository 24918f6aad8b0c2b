// Splitting a file's bytes into lines.
#pragma once

#include <string_view>
#include <vector>

#include "textcode/line_list.h"

namespace rd {

// The lines of a file's bytes. A line ends at CR, at LF, or at CR LF (one
// break); LF CR is two breaks. A break at the very end adds no empty line.
// The first NUL byte ends the text: nothing after it is read.
std::vector<TLineList::TSpan> SplitLines(std::string_view bytes);

}  // namespace rd
