// Splitting a file's bytes into lines.
#pragma once

#include <string>

#include "textcode/line_list.h"

namespace rd {

// The lines of a file's bytes, adopted in place. A line ends at CR, at LF,
// or at CR LF (one break); LF CR is two breaks. A break at the very end adds
// no empty line. The first NUL byte ends the text: nothing after it is read.
TLineList SplitLines(std::string bytes);

}  // namespace rd
