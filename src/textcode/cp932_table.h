// Code page 932 (Windows Shift_JIS) as lookup tables, taken once from the
// system's iconv converter and mended where it differs from Windows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rd {

// One iconv conversion handle, closed with the object.
class TIconv {
 public:
  TIconv(const char* to, const char* from);
  ~TIconv();
  TIconv(TIconv&& other) noexcept;
  TIconv& operator=(TIconv&&) = delete;
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  bool Ok() const;
  // Converts all of `in` from a fresh state; nothing when any of it fails.
  std::optional<std::string> Convert(std::string_view in);

 private:
  void* handle_;  // an iconv_t; (iconv_t)-1 when the system lacks the pair
};

// The mapping between Shift_JIS bytes and BMP code points, as the Windows
// conversion functions use it: unassigned and malformed bytes decode to
// U+FFFD; characters without a Shift_JIS form encode to nothing.
class TCp932Table {
 public:
  // Built on first use and shared read-only by all threads; nullptr when the
  // system has no CP932 converter.
  static const TCp932Table* Get();

  // Code point of a single byte that is not a lead byte.
  char16_t Single(std::uint8_t b) const { return single_[b]; }
  // Code point of a lead byte followed by any byte; U+FFFD when unassigned.
  char16_t Double(std::uint8_t lead, std::uint8_t trail) const {
    return double_[LeadIndex(lead) * 256 + trail];
  }
  // Shift_JIS form of a BMP code point: a single byte (below 0x100), a pair
  // (lead byte high), or 0 when it has none.
  std::uint16_t Encode(char16_t cp) const { return encode_[cp]; }

 private:
  TCp932Table() = default;
  static std::optional<TCp932Table> Build();
  static std::size_t LeadIndex(std::uint8_t lead) { return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31u; }

  std::array<char16_t, 256> single_{};
  std::vector<char16_t> double_;   // 60 lead bytes x 256 trail bytes
  std::vector<std::uint16_t> encode_;  // 65536 code points
};

}  // namespace rd
