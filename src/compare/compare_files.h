// Two files compared by path, as the batch check does for each pair, and
// the reading and comparing that the headless report shares with it.
#pragma once

#include <string>
#include <string_view>

#include "compare/comparison.h"
#include "textcode/line_list.h"
#include "textcode/load_lines.h"
#include "textcode/text_code.h"

namespace rd {

inline constexpr std::string_view kCannotRead = "ファイルを読み込めません。";

// "ファイルを読み込めません。" PATH ": " REASON
std::string ReadFailure(std::string_view path, std::string_view reason);

// How reading and comparing two files ended.
struct TPairOutcome {
  std::string message;  // empty, the comparison's message, or ReadFailure
  bool failed = false;  // true for a ReadFailure: the results are discarded
};

// Reads both files in `code` into linesA and linesB (TextB on a second
// thread when `parallel`; mapped or read as `way` says) and compares them
// into `comparison`. Any failure
// while reading or comparing (a read error, a text of too many lines, memory
// running out) discards the results and comes back as ReadFailure with the
// path and the reason; a failure of the comparison itself names pathA.
TPairOutcome ReadAndCompare(TComparison& comparison, TextCode code, const std::string& pathA,
                            const std::string& pathB, TLineList& linesA, TLineList& linesB, bool parallel,
                            TReadWay way = TReadWay::Read);

// Reads both files in `code` and compares them into `comparison`. Returns
// "ファイルが存在しません。" and the path when a file is missing (the results
// stay as they were), ReadFailure when a file cannot be read or the pair
// cannot be compared (the results are discarded), else the comparison's
// message.
std::string CompareFiles(TComparison& comparison, TextCode code, const std::string& pathA, const std::string& pathB);

}  // namespace rd
