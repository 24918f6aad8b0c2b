// The string form of a buffer conversion: room for `factor` output bytes per
// input byte, then cut to what the conversion wrote.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rd {

template <class TInto>
std::optional<std::string> ConvertToString(std::string_view line, std::size_t factor, TInto into) {
  std::string result(line.size() * factor, '\0');
  char* end = into(line, result.data());
  if (!end) return std::nullopt;
  result.resize(static_cast<std::size_t>(end - result.data()));
  return result;
}

}  // namespace rd
