#include "app/headless.h"

#include "app/program_folder.h"

#include <exception>
#include <iostream>
#include <new>

#include "compare/compare_files.h"
#include "compare/report.h"
#include "settings/settings.h"
#include "textcode/mapped_file.h"
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
    // The report maps both files; one shortened meanwhile ends the run here.
    GuardMappedFiles("RavelleDiff: " + OneLine(std::string(kCannotRead) + "比較の途中でファイルが短くなりました（" +
                                               line.texta + "、" + line.textb + "）"));
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
