#include "compare/report.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

#include "compare/compare_files.h"
#include "textcode/file_bytes.h"
#include "textcode/text_code.h"
#include "textcode/utf8_convert.h"

namespace rd {

namespace {

void AppendLine(std::string& out, std::string_view a, std::string_view b = {}, std::string_view c = {}) {
  out.append(a);
  out.append(b);
  out.append(c);
  out.append("\r\n");
}

// Paths and messages are UTF-8 in the program; the report holds Shift_JIS.
std::string ToSjis(std::string_view utf8) { return Utf8ToSjis(utf8).value_or(std::string(utf8)); }

// A file name: in Shift_JIS when it is UTF-8, else (a legacy Shift_JIS name
// on disk) its bytes as they are.
std::string ReportName(std::string_view name) {
  return OneLine(IsValidUtf8(name) ? ToSjis(name) : std::string(name));
}

// The message is UTF-8 but may hold one of the names; a name that is not
// UTF-8 keeps its bytes there too.
std::string ReportMessage(std::string_view message, std::string_view pathA, std::string_view pathB) {
  for (const std::string_view path : {pathA, pathB}) {
    if (path.empty() || IsValidUtf8(path)) continue;
    if (const std::size_t at = message.find(path); at != std::string_view::npos)
      return ReportMessage(message.substr(0, at), pathA, pathB) + ReportName(path) +
             ReportMessage(message.substr(at + path.size()), pathA, pathB);
  }
  return OneLine(ToSjis(message));
}

// "N>", written without a string of its own.
struct LineNumber {
  explicit LineNumber(std::int32_t n) : end(std::to_chars(text, text + sizeof text - 1, n).ptr) { *end++ = '>'; }
  std::string_view View() const { return std::string_view(text, static_cast<std::size_t>(end - text)); }
  char text[16];
  char* end;
};

std::string_view LineAt(const TLineList& lines, std::int32_t i) {
  return i >= 0 && static_cast<std::size_t>(i) < lines.Count() ? lines[i] : std::string_view();
}

// Writes the report's bytes; returns `failure`, with the reason why the
// file could not be written added when it could not.
std::string WriteReportFile(const std::string& reportPath, std::string_view bytes, std::string failure) {
  std::string error;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(reportPath.c_str(), "wb"), std::fclose);
  if (!file) error = "cannot create " + reportPath + ": " + std::strerror(errno);
  else if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() || std::fflush(file.get()) != 0)
    error = "cannot write " + reportPath + ": " + std::strerror(errno);
  if (error.empty()) return failure;
  return failure.empty() ? error : failure + "; " + error;
}

}  // namespace

std::string FormatReport(std::string_view pathA, std::string_view pathB, std::string_view message,
                         const TComparison& results, const TLineList& linesA, const TLineList& linesB) {
  const TDiffList& diffA = results.Diff(Side::A);
  const TDiffList& diffB = results.Diff(Side::B);
  const std::string count = " \x8d\x73";  // " 行"
  std::string out;
  AppendLine(out, "[INFO]");
  AppendLine(out, "TextA=", ReportName(pathA));
  AppendLine(out, "TextB=", ReportName(pathB));
  AppendLine(out, "Msg=", ReportMessage(message, pathA, pathB));
  AppendLine(out, "ErrA=", std::to_string(diffA.size()), count);
  AppendLine(out, "ErrB=", std::to_string(diffB.size()), count);
  AppendLine(out, "[RESULT]");
  AppendLine(out, "[TextA]");
  // Room for the result lines at a guess of 64 bytes each: a few copies of
  // a large report fewer.
  out.reserve(out.size() + (2 * diffA.size() + diffB.size()) * 64);
  for (const TDiffEntry& e : diffA) {
    if (e.kind == KindAdded) {
      AppendLine(out, "INS:A", LineNumber(e.line).View(), LineAt(linesA, e.line));
      continue;
    }
    AppendLine(out, e.kind == KindMoved ? "MOV:A" : "UDT:A", LineNumber(e.line).View(), LineAt(linesA, e.line));
    AppendLine(out, "    B", LineNumber(e.partner).View(), LineAt(linesB, e.partner));
  }
  for (const TDiffEntry& e : diffB)
    if (e.kind == KindAdded) AppendLine(out, "INS:B", LineNumber(e.line).View(), LineAt(linesB, e.line));
  return out;
}

std::string WriteReport(TComparison& comparison, TextCode code, const std::string& pathA, const std::string& pathB,
                        const std::string& reportPath) {
  TLineList linesA;
  TLineList linesB;
  comparison.ResetResults();
  // The two files are independent: TextB is read on a second thread. They
  // are mapped rather than copied: the report is written before either
  // could be needed for long.
  const TPairOutcome outcome = ReadAndCompare(comparison, code, pathA, pathB, linesA, linesB, true, TReadWay::Map);
  std::string bytes;
  try {
    bytes = FormatReport(pathA, pathB, outcome.message, comparison, linesA, linesB);
  } catch (const std::bad_alloc&) {
    // No room for the result lines: the report says so instead.
    comparison.ResetResults();
    const std::string message = ReadFailure(pathA, kReasonOutOfMemory);
    bytes = FormatReport(pathA, pathB, message, comparison, linesA, linesB);
    return WriteReportFile(reportPath, bytes, message);
  }
  return WriteReportFile(reportPath, bytes, outcome.failed ? outcome.message : std::string());
}

}  // namespace rd
