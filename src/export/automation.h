// Our own late-bound automation layer: objects reached by member name, the
// way a spreadsheet application is driven. The export speaks only to this
// layer; a backend decides what the calls do (build a workbook, record them).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace rd {

// A value passed to a member: a switch, an integer or a text. Texts are
// UTF-8 views into the caller's memory, valid for the one call.
using TAutoArg = std::variant<bool, std::int32_t, std::string_view>;

// What a failed call raises; the text says why, in words for the user.
class TAutoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One object of the application (application, workbook, sheet, range ...).
class IAutoObject {
 public:
  virtual ~IAutoObject() = default;
  // Property read or method call that gives an object: `WorkBooks`, `Add`,
  // `Range("B4")`, `Offset(0, 2)`, `Borders(8)`.
  virtual std::shared_ptr<IAutoObject> Get(std::string_view member, std::span<const TAutoArg> args) = 0;
  // Method call without a result: `Activate`.
  virtual void Call(std::string_view member, std::span<const TAutoArg> args) = 0;
  // Property write: `Value := "1"`.
  virtual void Put(std::string_view member, const TAutoArg& value) = 0;
};

// A held object, as a variable of the export holds it. Calls on an empty
// handle raise TAutoError.
class TAuto {
 public:
  TAuto() = default;
  explicit TAuto(std::shared_ptr<IAutoObject> object) : object_(std::move(object)) {}

  template <class... TArgs>
  TAuto Get(std::string_view member, TArgs... args) const {
    const TAutoArg list[] = {TAutoArg(args)..., TAutoArg(false)};
    return TAuto(Object().Get(member, std::span<const TAutoArg>(list, sizeof...(TArgs))));
  }
  template <class... TArgs>
  void Call(std::string_view member, TArgs... args) const {
    const TAutoArg list[] = {TAutoArg(args)..., TAutoArg(false)};
    Object().Call(member, std::span<const TAutoArg>(list, sizeof...(TArgs)));
  }
  void Put(std::string_view member, TAutoArg value) const { Object().Put(member, value); }

  explicit operator bool() const { return object_ != nullptr; }

 private:
  IAutoObject& Object() const;

  std::shared_ptr<IAutoObject> object_;
};

// The way to the application, as the program's automation runtime offers it.
class TAutomation {
 public:
  virtual ~TAutomation() = default;
  // Attaches to the running application registered under `progId`, or starts
  // one. Raises TAutoError when there is none to obtain.
  virtual TAuto GetApplication(std::string_view progId) = 0;
  // The program lets go of the application and keeps no reference to it; a
  // backend that shows its work only afterwards shows it now. Raises
  // TAutoError when that fails.
  virtual void Release() = 0;
};

// The program identifier of the spreadsheet application.
inline constexpr std::string_view kSpreadsheetProgId = "excel.application";

// Reading arguments in a backend: the n-th argument as an integer or a text,
// raising TAutoError naming `member` when it is missing or of another type.
std::int32_t IntArg(std::span<const TAutoArg> args, std::size_t n, std::string_view member);
std::string_view TextArg(std::span<const TAutoArg> args, std::size_t n, std::string_view member);
// A value in the form the call log shows it: "text" quoted, 3, true.
std::string ArgText(const TAutoArg& arg);

}  // namespace rd
