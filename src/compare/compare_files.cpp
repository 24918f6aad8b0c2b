#include "compare/compare_files.h"

#include "textcode/file_bytes.h"
#include "textcode/load_lines.h"

namespace rd {

std::string CompareFiles(TComparison& comparison, TextCode code, const std::string& pathA, const std::string& pathB) {
  for (const std::string* path : {&pathA, &pathB})
    if (!FileExists(*path)) return "ファイルが存在しません。" + *path;
  std::string message;
  try {
    TLineList linesA;
    TLineList linesB;
    LoadLines(linesA, code, pathA);
    LoadLines(linesB, code, pathB);
    message = comparison.CompareTexts(linesA, linesB, false, pathA, pathB);
  } catch (const std::exception&) {
    // Reading or comparing failed: nothing to report beyond what was set.
  }
  return message;
}

}  // namespace rd
