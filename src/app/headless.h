// The headless run: the report of two files, with no window at all.
#pragma once

#include <string>

#include "app/command_line.h"

namespace rd {

// Reads the settings beside the program, writes the report that `line`
// asks for and returns the process's exit status: 0 when the report was
// written with the comparison's outcome, 1 (with one line on standard
// error) when it could not be written or a file could not be read or
// compared (the report then says so in "Msg=").
int RunHeadless(const std::string& programDir, const TCommandLine& line);

}  // namespace rd
