// A backend that only writes down every call with its arguments, one line
// each, for checking the order and the values of what the export sends.
//
//   GetApplication("excel.application")
//   app.Visible := true
//   app.WorkBooks.Add
//   [B4].Offset(1)
//   [C5].Value := "1"
//   [D5].Interior.ColorIndex := 24
//
// Ranges are named by their address in square brackets, so a cursor shows
// where it stands; other objects by the path they were reached by, with the
// workbook as "book" and its first sheet as "sheet".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "export/automation.h"

namespace rd {

class TRecordingAutomation : public TAutomation {
 public:
  TRecordingAutomation();

  TAuto GetApplication(std::string_view progId) override;
  void Release() override;

  // Every call so far.
  const std::vector<std::string>& Log() const;
  // No application is obtained: GetApplication is logged, then raises.
  void SetAvailable(bool available);
  // The call whose log line equals `line` raises, after it was logged.
  void FailAt(std::string line);

  struct TState;

 private:
  std::shared_ptr<TState> state_;
};

}  // namespace rd
