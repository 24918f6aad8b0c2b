// The batch engine over the program's comparison model.
#include "batch/batch_engine.h"

#include "batch/result_file.h"
#include "compare/compare_files.h"

namespace rd {

std::string TComparisonBatchEngine::CompareFiles(const std::string& pathA, const std::string& pathB) {
  return rd::CompareFiles(comparison_, textCode_ ? textCode_() : TextCode::Auto, pathA, pathB);
}

PerSide<std::size_t> TComparisonBatchEngine::DiffCounts() const {
  return {comparison_.Diff(Side::A).size(), comparison_.Diff(Side::B).size()};
}

std::string TComparisonBatchEngine::WriteResultFile(std::string_view name) {
  return rd::WriteResultFile(comparison_, checkFolder_, name);
}

std::string TComparisonBatchEngine::ReadResultFile(std::string_view name) {
  return rd::ReadResultFile(comparison_, checkFolder_, name);
}

}  // namespace rd
