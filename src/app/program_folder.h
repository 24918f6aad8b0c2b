// Where the program keeps its files: the folder of its executable, and the
// check folder of batch result files beside it.
#pragma once

#include <string>

namespace rd {

// The folder of the running executable, ending in "/". `argv0` is used only
// when /proc/self/exe cannot be read.
std::string ProgramDirectory(const char* argv0);

// Whether the program keeps its files beside itself: its folder is
// writable (a build folder, a portable copy). An installed program keeps
// them in the user's folders instead.
bool Portable(const std::string& programDir);

// The settings file: "RavelleDiff.INI" beside the program, or in
// $XDG_CONFIG_HOME/RavelleDiff/ (created when missing) when that is not writable.
std::string SettingsFile(const std::string& programDir);

// The folder of batch result files, ending in "/": "check/" beside the
// program, or $XDG_CACHE_HOME/RavelleDiff/check/.
std::string CheckFolder(const std::string& programDir);

// Deletes every ordinary file of the check folder whose name matches
// "*.ret*" in any letter case; hidden files, folders and links stay, and a
// file that cannot be deleted is skipped. Creates the folder, with missing
// parents, when it does not exist. Failures are not reported.
void TidyCheckFolder(const std::string& checkFolder);

}  // namespace rd
