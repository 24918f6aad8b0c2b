#include "settings/settings.h"

#include <charconv>
#include <optional>

namespace rd {

namespace {

// Decimal, or hexadecimal after "$" or "0x"; one sign may lead. Anything
// else (a second sign, a sign after "$" or "0x"), or a number outside 32
// bits, is no integer.
std::optional<std::int32_t> ParseInt(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.starts_with("$")) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.starts_with("0x") || s.starts_with("0X")) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  // Unsigned: from_chars then takes digits only, no sign of its own.
  std::uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (ec != std::errc() || end != s.data() + s.size() || magnitude > UINT32_MAX) return std::nullopt;
  std::int64_t value = static_cast<std::int64_t>(magnitude);
  if (negative) value = -value;
  // A hexadecimal colour may be written with all 32 bits.
  if (base == 16 && !negative && value > INT32_MAX) value -= std::int64_t{1} << 32;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// One key from the file into `s`, or its default.
void ReadKey(const TSettingKey& key, const TIniFile& ini, const TSettingsBase& base, TSettings& s) {
  const std::optional<std::string> text = ini.Get(key.Section, key.Name);
  if (key.Kind == TSettingKind::Text) {
    key.SetText(s, text.value_or(base.FontName));
    return;
  }
  std::int32_t value = key.DefaultFor(base);
  if (text) value = ParseInt(*text).value_or(value);
  if (key.Kind == TSettingKind::Boolean) value = value != 0;
  if (key.Rule) value = key.Rule(value);
  key.Set(s, value);
}

void WriteKey(const TSettingKey& key, const TSettings& s, TIniFile& ini) {
  switch (key.Kind) {
    case TSettingKind::Text: ini.Set(key.Section, key.Name, "\"" + key.GetText(s) + "\""); break;
    case TSettingKind::Boolean: ini.Set(key.Section, key.Name, key.Get(s) ? "1" : "0"); break;
    case TSettingKind::Integer:
    case TSettingKind::Colour: ini.Set(key.Section, key.Name, std::to_string(key.Get(s))); break;
  }
}

}  // namespace

int TabWidthOf(int value) { return value == 2 || value == 8 ? value : 4; }

TextCode CodeTypeOf(int value) {
  switch (value) {
    case 0: return TextCode::Auto;
    case 2: return TextCode::Euc;
    case 3: return TextCode::Utf8;
    default: return TextCode::Sjis;
  }
}

TSettings ReadSettings(const TIniFile& ini, const TSettingsBase& base) {
  TSettings s;
  for (const TSettingKey& key : SettingKeys()) ReadKey(key, ini, base, s);
  return s;
}

void WriteSettings(const TSettings& s, TIniFile& ini) {
  for (const TSettingKey& key : SettingKeys()) {
    if (key.Write == TSettingWrite::Never) continue;
    if (key.Write == TSettingWrite::UnlessMaximized && s.Form.Maximized) continue;
    WriteKey(key, s, ini);
  }
}

}  // namespace rd
