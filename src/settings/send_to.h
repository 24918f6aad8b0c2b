// The send-to entries: two per-user desktop entries that file managers offer
// under "Open With" for text files. Each starts the companion program with
// "-a" or "-b" and the chosen file, which the companion hands to a pane of
// the running window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "compare/side.h"

namespace rd {

// The companion program, beside the main program.
inline constexpr const char* kCompanionName = "ravelle_diff_tool";

// The user's applications folder, ending in "/": $XDG_DATA_HOME/applications/,
// or $HOME/.local/share/applications/ when XDG_DATA_HOME is unset, empty or
// relative (a relative path there is invalid and ignored). Empty when
// neither names an absolute folder. Either argument may be null.
std::string FindSendToFolder(const char* xdgDataHome, const char* home);
// The same from this process's environment.
std::string FindSendToFolder();

// "RavelleDiff テキストA.desktop" and "RavelleDiff テキストB.desktop".
std::string SendToEntryName(Side side);

// One argument of an Exec line: as it is when it holds no reserved
// character, else in double quotes with " ` $ \ escaped; "%" is doubled
// either way, so that no field code can arise from a path.
std::string QuoteExecArgument(std::string_view arg);

// A value of type string: backslash, newline, tab and carriage return
// escaped as "\\", "\n", "\t" and "\r".
std::string EscapeDesktopValue(std::string_view value);

// The whole entry for the companion program at `companion` (an absolute
// path). Nothing when the path cannot be written into an entry: it is not
// UTF-8, holds a control character other than newline, tab and carriage
// return, or its program path holds "=", which an Exec line forbids.
std::optional<std::string> SendToEntryText(Side side, std::string_view companion);

// What the register button does to each entry.
struct TSendToPlan {
  PerSide<bool> create{false, false};
  PerSide<bool> remove{false, false};
  friend bool operator==(const TSendToPlan&, const TSendToPlan&) = default;
};
// Wanted: create each entry that is missing and leave existing ones alone.
// Not wanted: remove both, whether they exist or not.
TSendToPlan PlanSendTo(bool wanted, PerSide<bool> exists);

bool SendToEntryExists(const std::string& folder, Side side);

enum class TSendToRefusal { None, NoFolder, NoCompanion };

struct TSendToResult {
  TSendToRefusal refusal = TSendToRefusal::None;
  // Entries that could not be written or removed, one line each: the
  // entry's path and the reason. Empty when everything went as planned.
  std::string failures;
  bool textAExists = false;  // what the check box shows afterwards
};

// The register button: refuses with NoFolder when `folder` is empty or cannot
// be created, with NoCompanion when programDir holds no executable companion;
// otherwise carries out PlanSendTo, each entry written whole or not at all,
// and refreshes the desktop database when update-desktop-database exists.
TSendToResult UpdateSendTo(const std::string& folder, const std::string& programDir, bool wanted);

}  // namespace rd
