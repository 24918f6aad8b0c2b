// A settings file in INI form that keeps what the user wrote: comments,
// blank lines, unknown sections and keys stay in place through a write.
//
// Section and key names match in any letter case. A value is read with the
// blanks around it removed and one pair of surrounding quotes taken off.
// Lines that cannot be understood (a "[" without "]", an overlong line, a
// line with control bytes) are kept as they are and never match a lookup;
// keys under a broken section header belong to no section.
#pragma once

#include <cstdint>
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
  // A line costs its text and a few numbers: the name of its section is
  // held once, by the header, so memory stays proportional to the file.
  struct TLine {
    std::string text;
    std::int32_t section = -1;  // index in sections_ of the section the line belongs to; -1 under none
    bool isHeader = false;
    bool isKey = false;         // a line "key=value" inside a section
    std::uint32_t keyBegin = 0;  // the key as written: text.substr(keyBegin, keySize)
    std::uint32_t keySize = 0;
  };
  void Append(std::string_view raw);
  // Finds the key of a line "key=value" inside a section.
  static void ParseKey(TLine& line);
  // Index of the first line holding the key, or -1.
  std::ptrdiff_t Find(std::string_view section, std::string_view key) const;

  std::vector<TLine> lines_;
  std::vector<std::string> sections_;  // lower-cased name of each valid section header, in order
  std::string newline_ = "\r\n";
  bool endsWithNewline_ = true;
};

// Reads a settings file: decodes its bytes (UTF-8 when they are valid UTF-8,
// else Shift_JIS). A missing or unreadable file gives an empty one, and so
// does anything that is not a regular file (a folder, a pipe, a device),
// which is not read at all. Never throws.
TIniFile ReadIniFile(const std::string& path);

// Writes `ini` as UTF-8 through a temporary file in the same folder that is
// flushed to disk and renamed over `path`, so a failure part-way leaves the
// old file whole. Returns false when the file could not be written.
bool WriteIniFile(const std::string& path, const TIniFile& ini);

}  // namespace rd
