// The export of both texts into a new worksheet: the rows aligned, the
// application obtained, the header and the rows written through the
// automation layer, every failure turned into its message.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "export/automation.h"
#include "export/export_input.h"

namespace rd {

enum class TExportMode { AllLines, Differences };

// The mode of a menu item's tag: 1 all lines, any other tag the differences.
constexpr TExportMode ExportModeOfTag(int tag) { return tag == 1 ? TExportMode::AllLines : TExportMode::Differences; }

inline constexpr std::string_view kMsgInitFailed = "初期化失敗：";
inline constexpr std::string_view kMsgCannotStart = "Excelが起動できません";
inline constexpr std::string_view kMsgTransferFailed = "Excel転送失敗：";
inline constexpr std::string_view kMsgTransferDone = "Excel転送終了";

struct TExportHooks {
  // Shows a message (UTF-8) and returns when the user has read it.
  std::function<void(const std::string& text)> ShowMessage;
  // Lets the window catch up once, before the application is obtained.
  std::function<void()> ProcessMessages;
  // The local time that names the sheet; the clock when unset.
  std::function<std::tm()> Now;
  // Asked after each written row; true ends the export with what was written,
  // without a message.
  std::function<bool()> Cancelled;
};

// The palette indexes of the fills of added, changed and moved lines,
// indexed by row kind (0 and 5 have none).
using TKindColorIndexes = std::array<int, 4>;
TKindColorIndexes KindColorIndexes(const TExportInput& input);

// The whole export, from the aligned rows to the last message.
void ExportToSheet(TExportMode mode, const TExportInput& input, TAutomation& automation, const TExportHooks& hooks);

// The sheet's name for a time: "yymmdd hhnnss".
std::string SheetNameOf(const std::tm& time);

// "追加", "変更", "移動" and the partner's line number; empty for other kinds.
std::string RowLabel(std::uint8_t kind, std::int32_t partner);

// Writes one side of an exported row at its label cell: line number, text
// (UTF-8), a blank, and for kinds 1 to 3 the fill and the label.
void WriteSideCells(const TAuto& labelCell, std::int32_t line, std::uint8_t kind, std::int32_t partner,
                    std::string_view text, const TKindColorIndexes& indexes);

}  // namespace rd
