#include "app/headless.h"

#include "app/program_folder.h"

#include <exception>
#include <iostream>
#include <new>

#include "compare/report.h"
#include "settings/settings.h"
#include "textcode/text_code.h"

namespace rd {

namespace {

// Standard error gets one line, whatever bytes the names hold.
void PrintLine(std::string text) { std::cerr << "RavelleDiff: " << OneLine(std::move(text)) << '\n'; }

}  // namespace

int RunHeadless(const std::string& programDir, const TCommandLine& line) {
  try {
    const TSettings settings = ReadSettings(ReadIniFile(SettingsFile(programDir)), TSettingsBase());
    TComparison comparison;
    comparison.Options = settings.Check;
    const std::string error = WriteReport(comparison, settings.Editor.CodeType, line.texta, line.textb, line.ret);
    if (error.empty()) return 0;
    PrintLine(error);
  } catch (const std::bad_alloc&) {
    PrintLine("メモリが不足しています");
  } catch (const std::exception& e) {
    PrintLine(e.what());
  }
  return 1;
}

}  // namespace rd
