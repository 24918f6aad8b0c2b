// Whether the window system named by the environment answers, asked before
// the windows are loaded: Qt aborts the process when its display does not.
#pragma once

#include <optional>
#include <string>

namespace rd {

// The X display that Qt would open (DISPLAY, when no other platform is
// chosen) when it cannot be reached; nothing when it answers, when another
// platform is chosen, or when the X client library is not there to ask.
std::optional<std::string> UnreachableXDisplay();

}  // namespace rd
