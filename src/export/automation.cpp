// The handle and the argument helpers of the automation layer.
#include "export/automation.h"

#include <string>

namespace rd {

IAutoObject& TAuto::Object() const {
  if (!object_) throw TAutoError("オブジェクトがありません");
  return *object_;
}

namespace {

[[noreturn]] void BadArg(std::string_view member, std::size_t n) {
  throw TAutoError(std::string(member) + ": 引数" + std::to_string(n + 1) + "が正しくありません");
}

}  // namespace

std::int32_t IntArg(std::span<const TAutoArg> args, std::size_t n, std::string_view member) {
  if (n >= args.size() || !std::holds_alternative<std::int32_t>(args[n])) BadArg(member, n);
  return std::get<std::int32_t>(args[n]);
}

std::string_view TextArg(std::span<const TAutoArg> args, std::size_t n, std::string_view member) {
  if (n >= args.size() || !std::holds_alternative<std::string_view>(args[n])) BadArg(member, n);
  return std::get<std::string_view>(args[n]);
}

std::string ArgText(const TAutoArg& arg) {
  if (const auto* b = std::get_if<bool>(&arg)) return *b ? "true" : "false";
  if (const auto* i = std::get_if<std::int32_t>(&arg)) return std::to_string(*i);
  std::string text = "\"";
  text += std::get<std::string_view>(arg);
  text += '"';
  return text;
}

}  // namespace rd
