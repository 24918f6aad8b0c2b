// The recording backend: objects that log each call and hand out objects
// that know their names.
#include "export/recording_automation.h"

#include <optional>

#include "export/cell_address.h"

namespace rd {

struct TRecordingAutomation::TState {
  std::vector<std::string> log;
  bool available = true;
  std::string failAt;

  void Record(std::string line) {
    log.push_back(std::move(line));
    if (!failAt.empty() && log.back() == failAt) throw TAutoError("記録: 失敗を指示された呼び出しです");
  }
};

namespace {

using TState = TRecordingAutomation::TState;

std::string CallText(std::string_view member, std::span<const TAutoArg> args) {
  std::string text(member);
  if (args.empty()) return text;
  text += '(';
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) text += ", ";
    text += ArgText(args[i]);
  }
  text += ')';
  return text;
}

class TRecordedObject : public IAutoObject {
 public:
  TRecordedObject(std::shared_ptr<TState> state, std::string name, std::optional<TCellRect> range)
      : state_(std::move(state)), name_(std::move(name)), range_(range) {}

  std::shared_ptr<IAutoObject> Get(std::string_view member, std::span<const TAutoArg> args) override {
    state_->Record(name_ + "." + CallText(member, args));
    return std::make_shared<TRecordedObject>(state_, ChildName(member, args), ChildRange(member, args));
  }
  void Call(std::string_view member, std::span<const TAutoArg> args) override {
    state_->Record(name_ + "." + CallText(member, args));
  }
  void Put(std::string_view member, const TAutoArg& value) override {
    state_->Record(name_ + "." + std::string(member) + " := " + ArgText(value));
  }

 private:
  std::optional<TCellRect> ChildRange(std::string_view member, std::span<const TAutoArg> args) const {
    if (member == "Range" || member == "Columns") {
      const std::optional<TCellRect> rect = ParseAddress(TextArg(args, 0, member));
      if (!rect) throw TAutoError("記録: アドレスが正しくありません");
      return rect;
    }
    if (member == "Cells") return TCellRect{0, 0, kSheetRows - 1, kSheetColumns - 1};
    if (member == "Offset" && range_) {
      const std::int32_t rows = IntArg(args, 0, member);
      const std::int32_t columns = args.size() > 1 ? IntArg(args, 1, member) : 0;
      return range_->Offset(rows, columns);
    }
    return std::nullopt;
  }

  std::string ChildName(std::string_view member, std::span<const TAutoArg> args) const {
    if (const std::optional<TCellRect> rect = ChildRange(member, args)) return "[" + AddressText(*rect) + "]";
    if (member == "Add") return "book";
    if (member == "WorkSheets") return "sheet";
    return name_ + "." + CallText(member, args);
  }

  std::shared_ptr<TState> state_;
  std::string name_;
  std::optional<TCellRect> range_;  // set when the object is a range
};

}  // namespace

TRecordingAutomation::TRecordingAutomation() : state_(std::make_shared<TState>()) {}

TAuto TRecordingAutomation::GetApplication(std::string_view progId) {
  state_->Record("GetApplication(\"" + std::string(progId) + "\")");
  if (!state_->available) throw TAutoError("記録: アプリケーションがありません");
  return TAuto(std::make_shared<TRecordedObject>(state_, "app", std::nullopt));
}

void TRecordingAutomation::Release() { state_->Record("Release"); }

const std::vector<std::string>& TRecordingAutomation::Log() const { return state_->log; }
void TRecordingAutomation::SetAvailable(bool available) { state_->available = available; }
void TRecordingAutomation::FailAt(std::string line) { state_->failAt = std::move(line); }

}  // namespace rd
