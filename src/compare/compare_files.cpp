#include "compare/compare_files.h"

#include <new>

#include "compare/line_table.h"
#include "compare/run_both.h"
#include "textcode/file_bytes.h"
#include "textcode/load_lines.h"

namespace rd {

namespace {

// Reads one file; the failure's message, or nothing.
std::string Load(TLineList& lines, TextCode code, const std::string& path, TReadWay way) {
  try {
    LoadLines(lines, code, path, way);
    return {};
  } catch (const TFileReadError& e) {
    return ReadFailure(path, e.Reason());
  } catch (const std::bad_alloc&) {
    return ReadFailure(path, kReasonOutOfMemory);
  } catch (const std::exception& e) {
    return ReadFailure(path, e.what());
  }
}

// Reads both files, TextB on a second thread when one can be started.
std::string LoadBoth(TLineList& linesA, TLineList& linesB, TextCode code, const std::string& pathA,
                     const std::string& pathB, bool parallel, TReadWay way) {
  std::string errorA;
  std::string errorB;
  RunBoth(
      parallel, [&] { errorA = Load(linesA, code, pathA, way); }, [&] { errorB = Load(linesB, code, pathB, way); });
  return errorA.empty() ? errorB : errorA;
}

}  // namespace

std::string ReadFailure(std::string_view path, std::string_view reason) {
  std::string message(kCannotRead);
  message.append(path).append(": ").append(reason);
  return message;
}

TPairOutcome ReadAndCompare(TComparison& comparison, TextCode code, const std::string& pathA,
                            const std::string& pathB, TLineList& linesA, TLineList& linesB, bool parallel,
                            TReadWay way) {
  TPairOutcome outcome;
  outcome.message = LoadBoth(linesA, linesB, code, pathA, pathB, parallel, way);
  if (outcome.message.empty()) {
    // The tables number the lines of both texts together.
    if (linesA.Count() + linesB.Count() > kMaxTextLines) {
      outcome.message = ReadFailure(pathB, "行数が多すぎます（2 つのテキストを合わせて " +
                                               std::to_string(kMaxTextLines) + " 行まで）");
    } else {
      try {
        outcome.message = comparison.CompareTexts(linesA, linesB, false, pathA, pathB);
        return outcome;
      } catch (const std::bad_alloc&) {
        outcome.message = ReadFailure(pathA, kReasonOutOfMemory);
      } catch (const std::exception& e) {
        outcome.message = ReadFailure(pathA, e.what());
      }
    }
  }
  outcome.failed = true;
  comparison.ResetResults();
  return outcome;
}

std::string CompareFiles(TComparison& comparison, TextCode code, const std::string& pathA, const std::string& pathB) {
  for (const std::string* path : {&pathA, &pathB})
    if (!FileExists(*path)) return "ファイルが存在しません。" + *path;
  TLineList linesA;
  TLineList linesB;
  return ReadAndCompare(comparison, code, pathA, pathB, linesA, linesB, false).message;
}

}  // namespace rd
