// What the batch check needs of the main window: the comparison engine with
// its result files, the panes that show an opened pair, and a listener for
// the changes a window shows. TComparisonBatchEngine is the engine over a
// TComparison; tests put fakes in its place.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "compare/comparison.h"
#include "compare/side.h"
#include "textcode/text_code.h"

namespace rd {

class TBatchEngine {
 public:
  virtual ~TBatchEngine() = default;

  // Discards every comparison result.
  virtual void ResetResults() = 0;
  // Compares two files into the difference lists; an empty message or the
  // text for the user.
  virtual std::string CompareFiles(const std::string& pathA, const std::string& pathB) = 0;
  // The numbers of difference entries of TextA and TextB.
  virtual PerSide<std::size_t> DiffCounts() const = 0;
  // Result files in the check folder, by bare name.
  virtual std::string WriteResultFile(std::string_view name) = 0;
  virtual std::string ReadResultFile(std::string_view name) = 0;
};

// The panes of the main window, for opening a checked pair.
class TPairViewer {
 public:
  virtual ~TPairViewer() = default;
  // Loads the file into the pane of `side` in the current character code,
  // replacing its text without asking.
  virtual void LoadText(Side side, const std::string& path) = 0;
  // Repaints both panes and recomputes the map bar.
  virtual void ShowResults() = 0;
};

// Told of every change of the batch model, so that a window can show it.
class TBatchObserver {
 public:
  virtual ~TBatchObserver() = default;
  virtual void CandidatesChanged(Side /*side*/) {}
  // Rows were added or removed; row indexes may have moved.
  virtual void RowsChanged() {}
  // The row's state, message or check mark changed.
  virtual void RowChanged(std::size_t /*row*/) {}
  virtual void ProgressChanged(int /*position*/, int /*maximum*/) {}
  // A run starts (the window disables its controls) or ends.
  virtual void RunningChanged(bool /*running*/) {}
};

// The engine of the program: a TComparison, the files compared in the
// character code the window has chosen at the time of each comparison, and
// the result files in `checkFolder` (ending in "/").
class TComparisonBatchEngine final : public TBatchEngine {
 public:
  TComparisonBatchEngine(TComparison& comparison, std::string checkFolder, std::function<TextCode()> textCode)
      : comparison_(comparison), checkFolder_(std::move(checkFolder)), textCode_(std::move(textCode)) {}

  void ResetResults() override { comparison_.ResetResults(); }
  std::string CompareFiles(const std::string& pathA, const std::string& pathB) override;
  PerSide<std::size_t> DiffCounts() const override;
  std::string WriteResultFile(std::string_view name) override;
  std::string ReadResultFile(std::string_view name) override;

 private:
  TComparison& comparison_;  // the main window's; outlives the engine
  std::string checkFolder_;
  std::function<TextCode()> textCode_;
};

}  // namespace rd
