// Export inputs built from literal lines and difference entries.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_input.h"

namespace rd::testing {

// Owns the lines and lists that an input's views point into.
struct TTestTexts {
  PerSide<std::vector<std::string>> lines;
  PerSide<TDiffList> diff;

  TExportInput Input() const {
    TExportInput input;
    for (const Side side : {Side::A, Side::B}) {
      const std::vector<std::string>& own = lines[Index(side)];
      input.Lines[Index(side)] = {own.size(), [&own](std::size_t i) { return std::string_view(own[i]); }};
      input.Diff[Index(side)] = diff[Index(side)];
    }
    return input;
  }
};

// Lines "<prefix>0", "<prefix>1", ...
inline std::vector<std::string> Numbered(std::string_view prefix, int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(std::string(prefix) + std::to_string(i));
  return lines;
}

// A local time, by its calendar fields (months from 1).
inline std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm time{};
  time.tm_year = year - 1900;
  time.tm_mon = month - 1;
  time.tm_mday = day;
  time.tm_hour = hour;
  time.tm_min = minute;
  time.tm_sec = second;
  return time;
}

}  // namespace rd::testing
