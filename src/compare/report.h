// The headless report: two files compared without a window, the outcome
// written to a report file that the calling program reads.
#pragma once

#include <string>
#include <string_view>

#include "compare/comparison.h"
#include "textcode/line_list.h"
#include "textcode/text_code.h"

namespace rd {

// The report's bytes: "[INFO]", the two paths, the message and the counts,
// then "[RESULT]" with the result lines; CR LF after every line, Shift_JIS.
// Paths and message are UTF-8 and are converted; the lines are Shift_JIS.
std::string FormatReport(std::string_view pathA, std::string_view pathB, std::string_view message,
                         const TComparison& results, const TLineList& linesA, const TLineList& linesB);

// Reads both files in `code`, compares them with the options of
// `comparison` and writes the report to reportPath, replacing it. A file
// that cannot be read, or a pair that cannot be compared, gives a report
// whose message says so ("ファイルを読み込めません。", the path and the
// reason) and that has no result lines. Returns an empty string when the
// report was written with the comparison's outcome, else that failure and/or
// why the report could not be written. Paths are written as Shift_JIS when
// they are UTF-8, else with their bytes as they are; a CR or LF byte of a
// path or message is written as "?". The files are mapped into memory,
// not copied (see GuardMappedFiles).
std::string WriteReport(TComparison& comparison, TextCode code, const std::string& pathA, const std::string& pathB,
                        const std::string& reportPath);

}  // namespace rd
