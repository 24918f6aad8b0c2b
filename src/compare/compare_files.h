// Two files compared by path, as the batch check does for each pair.
#pragma once

#include <string>

#include "compare/comparison.h"
#include "textcode/text_code.h"

namespace rd {

// Reads both files in `code` and compares them into `comparison`. Returns
// "ファイルが存在しません。" and the path when a file is missing (the results
// stay as they were), else the comparison's message. An error while reading
// or comparing ends it quietly.
std::string CompareFiles(TComparison& comparison, TextCode code, const std::string& pathA, const std::string& pathB);

}  // namespace rd
