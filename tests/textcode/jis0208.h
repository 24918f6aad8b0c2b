// The cells of JIS X 0208 that hold a character (6879 in all), written out
// from the standard's code chart: row, then runs of cells, 1-based.
#pragma once

#include <vector>

namespace rd::test {

struct TCellRun {
  int row;
  int firstCell;
  int lastCell;
};

inline std::vector<TCellRun> Jis0208Cells() {
  std::vector<TCellRun> runs = {
      {1, 1, 94},                                                                // symbols
      {2, 1, 14},  {2, 26, 33}, {2, 42, 48}, {2, 60, 74}, {2, 82, 89}, {2, 94, 94},  // symbols
      {3, 16, 25}, {3, 33, 58}, {3, 65, 90},                                     // digits, Latin
      {4, 1, 83},                                                                // hiragana
      {5, 1, 86},                                                                // katakana
      {6, 1, 24},  {6, 33, 56},                                                  // Greek
      {7, 1, 33},  {7, 49, 81},                                                  // Cyrillic
      {8, 1, 32},                                                                // box drawing
      {47, 1, 51},                                                               // end of level 1
      {84, 1, 6},                                                                // end of level 2
  };
  for (int row = 16; row <= 46; ++row) runs.push_back({row, 1, 94});
  for (int row = 48; row <= 83; ++row) runs.push_back({row, 1, 94});
  return runs;
}

inline bool IsJis0208Cell(int row, int cell) {
  for (const TCellRun& run : Jis0208Cells())
    if (run.row == row && cell >= run.firstCell && cell <= run.lastCell) return true;
  return false;
}

}  // namespace rd::test
