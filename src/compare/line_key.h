// The comparison text ("key") of a line under the comparison options.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "compare/compare_options.h"
#include "textcode/text_code.h"

namespace rd {

// Every byte of 32 or less is white space; the full-width blank is not.
constexpr bool IsCompareSpace(unsigned char c) { return c <= 32; }

std::string_view TrimBoth(std::string_view s);
std::string_view TrimRight(std::string_view s);

// Upper-cases the ASCII letters a-z in place and leaves every other byte,
// including the second byte of each double-byte character, as it is.
void UpperSjisInPlace(std::span<char> s);

// The key of `line`, or nullopt when the line takes no part. `upper` must be
// the line upper-cased when options.Text is on (it is ignored otherwise); the
// returned view points into `line` or `upper`.
std::optional<std::string_view> LineKey(std::string_view line, std::string_view upper, const TCompareOptions& options);

}  // namespace rd
