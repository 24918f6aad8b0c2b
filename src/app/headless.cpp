#include "app/headless.h"

#include <iostream>

#include "compare/report.h"
#include "settings/settings.h"

namespace rd {

int RunHeadless(const std::string& programDir, const TCommandLine& line) {
  const TSettings settings = ReadSettings(ReadIniFile(programDir + kSettingsFileName), TSettingsBase());
  TComparison comparison;
  comparison.Options = settings.Check;
  const std::string error = WriteReport(comparison, settings.Editor.CodeType, line.texta, line.textb, line.ret);
  if (error.empty()) return 0;
  std::cerr << "RavelleDiff: " << error << '\n';
  return 1;
}

}  // namespace rd
