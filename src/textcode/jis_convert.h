// Conversion between Shift_JIS and JIS X 0208 row/cell pairs by arithmetic,
// and of whole lines between Shift_JIS and EUC-JP.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rd {

struct TBytePair {
  std::uint8_t first;
  std::uint8_t second;
  friend bool operator==(const TBytePair&, const TBytePair&) = default;
};

// A JIS X 0208 pair (7-bit bytes) as its Shift_JIS pair. Any input gives a
// result (8-bit arithmetic); only rows and cells 21..7E are meaningful.
TBytePair JisToSjis(std::uint8_t j1, std::uint8_t j2);

// A Shift_JIS pair as its JIS pair; nothing when s1 is below 0x70 or in
// A0..AF, or s2 is below 0x1F.
std::optional<TBytePair> SjisToJis(std::uint8_t s1, std::uint8_t s2);

// EUC-JP line to Shift_JIS. Fails when a two-byte form (or 8E) is cut by the
// end of the line. The three-byte JIS X 0212 form is not handled apart.
std::optional<std::string> EucToSjis(std::string_view line);

// Shift_JIS line to EUC-JP. Fails on a lead byte at the end of the line and
// on a pair that has no JIS form (lead byte A0, trail byte below 0x1F).
std::optional<std::string> SjisToEuc(std::string_view line);

// Buffer forms for converting many lines without an allocation per line:
// write to `out`, which must have room for line.size() bytes (EucToSjisInto)
// or 2 * line.size() bytes (SjisToEucInto); return the end of what was
// written, or nullptr on failure (then `out` holds garbage).
char* EucToSjisInto(std::string_view line, char* out);
char* SjisToEucInto(std::string_view line, char* out);

}  // namespace rd
