// A settings file in INI form that keeps what the user wrote: comments,
// blank lines, unknown sections and keys stay in place through a write.
//
// Section and key names match in any letter case. A value is read with the
// blanks around it removed and one pair of surrounding quotes taken off.
// Lines that cannot be understood (a "[" without "]", an overlong line, a
// line with control bytes) are kept as they are and never match a lookup;
// keys under a broken section header belong to no section.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rd {

class TIniFile {
 public:
  static constexpr std::size_t kMaxLine = 4096;

  TIniFile() = default;
  // `text` is the file's content, already decoded to UTF-8.
  explicit TIniFile(std::string_view text);

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces the value of the first matching key, or adds the key at the end
  // of its section, or adds the section at the end of the file.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;

 private:
  struct TLine {
    std::string text;
    std::string section;  // lower-cased section the line belongs to; empty under no valid section
    bool inSection = false;
    bool isHeader = false;
    std::string key;      // lower-cased key of a key line, else empty
  };
  void Append(std::string_view raw);
  // Index of the first line holding the key, or -1.
  std::ptrdiff_t Find(std::string_view section, std::string_view key) const;

  std::vector<TLine> lines_;
  std::string newline_ = "\r\n";
  bool endsWithNewline_ = true;
};

// Reads a settings file: decodes its bytes (UTF-8 when they are valid UTF-8,
// else Shift_JIS). A missing or unreadable file gives an empty one.
TIniFile ReadIniFile(const std::string& path);

// Writes `ini` as UTF-8 through a temporary file in the same folder that is
// flushed to disk and renamed over `path`, so a failure part-way leaves the
// old file whole. Returns false when the file could not be written.
bool WriteIniFile(const std::string& path, const TIniFile& ini);

}  // namespace rd
