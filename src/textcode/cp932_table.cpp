// Builds the code page 932 tables from glibc's "CP932" converter: every
// single byte and every lead/trail pair is decoded once; where a character
// has several codes the converter's own choice of code is kept. Per-line
// iconv calls would neither be as fast nor give the Windows treatment of
// malformed input, so the converter is used only here.
#include "textcode/cp932_table.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "textcode/text_code.h"

namespace rd {
namespace {

iconv_t AsIconv(void* h) { return static_cast<iconv_t>(h); }
const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

// Characters that Windows writes in Shift_JIS although they decode to
// another code point (their usual spellings in UTF-8 text from Linux and
// macOS); glibc knows them too, but the table must not depend on that.
struct TOneWay {
  char16_t cp;
  std::uint16_t code;
};
constexpr TOneWay kOneWay[] = {
    {0x301C, 0x8160},  // WAVE DASH as FULLWIDTH TILDE
    {0x2016, 0x8161},  // DOUBLE VERTICAL LINE as PARALLEL TO
    {0x2212, 0x817C},  // MINUS SIGN as FULLWIDTH HYPHEN-MINUS
    {0x00A2, 0x8191},  // CENT SIGN
    {0x00A3, 0x8192},  // POUND SIGN
    {0x00AC, 0x81CA},  // NOT SIGN
    {0x2014, 0x815C},  // EM DASH as HORIZONTAL BAR
    {0x00A5, 0x005C},  // YEN SIGN as the backslash byte
    {0x203E, 0x007E},  // OVERLINE as the tilde byte
};

std::optional<char16_t> DecodeWith(TIconv& dec, std::string_view bytes) {
  const std::optional<std::string> u = dec.Convert(bytes);
  if (!u || u->size() != 4) return std::nullopt;
  std::uint32_t cp;
  std::memcpy(&cp, u->data(), 4);
  if (cp > 0xFFFF || cp == 0xFFFD) return std::nullopt;
  return static_cast<char16_t>(cp);
}

}  // namespace

TIconv::TIconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}

TIconv::~TIconv() {
  if (Ok()) iconv_close(AsIconv(handle_));
}

TIconv::TIconv(TIconv&& other) noexcept : handle_(other.handle_) { other.handle_ = kNoIconv; }

bool TIconv::Ok() const { return AsIconv(handle_) != kNoIconv; }

std::optional<std::string> TIconv::Convert(std::string_view in) {
  if (!Ok()) return std::nullopt;
  iconv_t cd = AsIconv(handle_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || srcLeft != 0)
    return std::nullopt;
  if (iconv(cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - dstLeft);
  return out;
}

const TCp932Table* TCp932Table::Get() {
  static const std::optional<TCp932Table> table = Build();
  return table ? &*table : nullptr;
}

std::optional<TCp932Table> TCp932Table::Build() {
  TIconv dec("UCS-4LE", "CP932");
  TIconv enc("CP932", "UCS-4LE");
  if (!dec.Ok() || !enc.Ok()) return std::nullopt;

  TCp932Table t;
  t.double_.assign(60 * 256, char16_t(0xFFFD));
  t.encode_.assign(0x10000, 0);
  std::vector<std::uint8_t> codes(0x10000, 0);  // codes per code point, to find duplicates

  const auto assign = [&](char16_t cp, std::uint16_t code) {
    if (codes[cp]++ == 0) t.encode_[cp] = code;
  };
  for (int b = 0; b < 256; ++b) {
    t.single_[b] = 0xFFFD;
    if (IsSjisLead(static_cast<std::uint8_t>(b))) continue;
    const char byte = static_cast<char>(b);
    if (const auto cp = DecodeWith(dec, std::string_view(&byte, 1))) {
      t.single_[b] = *cp;
      assign(*cp, static_cast<std::uint16_t>(b));
    }
  }
  if (t.single_['A'] != u'A') return std::nullopt;  // not the converter we expect
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsSjisLead(static_cast<std::uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      if (const auto cp = DecodeWith(dec, std::string_view(pair, 2))) {
        t.double_[LeadIndex(static_cast<std::uint8_t>(lead)) * 256 + trail] = *cp;
        assign(*cp, static_cast<std::uint16_t>(lead << 8 | trail));
      }
    }
  }
  // A character with several codes (NEC and IBM extensions) is written in
  // the code the converter prefers, as Windows does.
  for (std::uint32_t cp = 0; cp < 0x10000; ++cp) {
    if (codes[cp] < 2) continue;
    char ucs[4];
    std::memcpy(ucs, &cp, 4);
    const std::optional<std::string> code = enc.Convert(std::string_view(ucs, 4));
    if (code && code->size() == 2)
      t.encode_[cp] = static_cast<std::uint16_t>(std::uint8_t((*code)[0]) << 8 | std::uint8_t((*code)[1]));
  }
  for (const TOneWay& m : kOneWay) t.encode_[m.cp] = m.code;
  t.encode_[0xFFFD] = 0;
  return t;
}

}  // namespace rd
