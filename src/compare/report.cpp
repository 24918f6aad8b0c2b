#include "compare/report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <future>
#include <memory>

#include "textcode/load_lines.h"
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

std::string_view LineAt(const TLineList& lines, std::int32_t i) {
  return i >= 0 && static_cast<std::size_t>(i) < lines.Count() ? lines[i] : std::string_view();
}

}  // namespace

std::string FormatReport(std::string_view pathA, std::string_view pathB, std::string_view message,
                         const TComparison& results, const TLineList& linesA, const TLineList& linesB) {
  const TDiffList& diffA = results.Diff(Side::A);
  const TDiffList& diffB = results.Diff(Side::B);
  const std::string count = " \x8d\x73";  // " 行"
  std::string out;
  AppendLine(out, "[INFO]");
  AppendLine(out, "TextA=", ToSjis(pathA));
  AppendLine(out, "TextB=", ToSjis(pathB));
  AppendLine(out, "Msg=", ToSjis(message));
  AppendLine(out, "ErrA=", std::to_string(diffA.size()), count);
  AppendLine(out, "ErrB=", std::to_string(diffB.size()), count);
  AppendLine(out, "[RESULT]");
  AppendLine(out, "[TextA]");
  for (const TDiffEntry& e : diffA) {
    const std::string n = std::to_string(e.line) + ">";
    if (e.kind == KindAdded) {
      AppendLine(out, "INS:A", n, LineAt(linesA, e.line));
      continue;
    }
    AppendLine(out, e.kind == KindMoved ? "MOV:A" : "UDT:A", n, LineAt(linesA, e.line));
    AppendLine(out, "    B", std::to_string(e.partner) + ">", LineAt(linesB, e.partner));
  }
  for (const TDiffEntry& e : diffB)
    if (e.kind == KindAdded) AppendLine(out, "INS:B", std::to_string(e.line) + ">", LineAt(linesB, e.line));
  return out;
}

std::string WriteReport(TComparison& comparison, TextCode code, const std::string& pathA, const std::string& pathB,
                        const std::string& reportPath) {
  TLineList linesA;
  TLineList linesB;
  std::string message;
  comparison.ResetResults();
  try {
    // The two files are independent: TextB is read on a second thread.
    std::future<void> readB = std::async(std::launch::async, [&] { LoadLines(linesB, code, pathB); });
    try {
      LoadLines(linesA, code, pathA);
    } catch (...) {
      readB.wait();
      throw;
    }
    readB.get();
    message = comparison.CompareTexts(linesA, linesB, false, pathA, pathB);
  } catch (const std::exception&) {
    // The report is written all the same, with what the comparison reached.
  }
  const std::string bytes = FormatReport(pathA, pathB, message, comparison, linesA, linesB);

  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(reportPath.c_str(), "wb"), std::fclose);
  if (!file) return "cannot create " + reportPath + ": " + std::strerror(errno);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() || std::fflush(file.get()) != 0)
    return "cannot write " + reportPath + ": " + std::strerror(errno);
  return {};
}

}  // namespace rd
