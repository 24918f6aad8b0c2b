// The batch result file: one checked pair's difference lists, kept in the
// check folder so that the pair can be shown later without comparing again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "compare/comparison.h"

namespace rd {

inline constexpr std::string_view kResultWriteFailed = "結果ファイルの書込みに失敗しました。";
inline constexpr std::string_view kResultMissing = "結果ファイルが存在しません";
inline constexpr std::string_view kResultBroken = "結果ファイルが破損しています。";

// Longest line a result file can hold. An entry line is at most 35 bytes;
// the rest is room for blanks, quotes and ignored fields. A longer line
// makes the file broken, so a file without line ends is never read whole.
inline constexpr std::size_t kResultLineLimit = 4096;

// A name that stays inside the check folder: not empty, not "." or "..",
// without "/" and without a NUL byte.
bool IsBareFileName(std::string_view name);

// The file's bytes: "[TextA]", TextA's entries as "line,partner,kind",
// "[TextB]", TextB's entries; CR LF after every line.
std::string FormatResultFile(const TDiffList& listA, const TDiffList& listB);

// Writes both difference lists of `comparison` to checkFolder + name,
// replacing the file. The bytes go to a temporary file beside it first,
// which then takes the name, so a failed write leaves the previous file as
// it was. Returns an empty message or kResultWriteFailed (also for a name
// that is not bare). `checkFolder` ends in "/".
std::string WriteResultFile(const TComparison& comparison, std::string_view checkFolder, std::string_view name);

// Discards the results of `comparison`, then fills its difference lists from
// checkFolder + name and shows their sizes. Returns an empty message,
// kResultMissing (no such file, or a name that is not bare; the counts stay
// blank) or kResultBroken (the entries before the bad line are kept and
// their counts shown).
//
// A line is "[TextA]" or "[TextB]" (exact), which chooses the list of the
// entries below it (TextA before any header), or an entry: three integers
// separated by a comma or blanks, each possibly in double quotes; further
// fields are ignored. Besides a malformed line, an entry that would break a
// list's ascending order, a negative line or partner, or a kind other than
// 1, 2 or 3 makes the file broken: every reader of the lists relies on them.
std::string ReadResultFile(TComparison& comparison, std::string_view checkFolder, std::string_view name);

}  // namespace rd
