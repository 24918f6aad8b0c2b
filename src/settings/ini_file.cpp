#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>

#include "textcode/file_replace.h"
#include "textcode/text_code.h"
#include "textcode/utf8_convert.h"

namespace rd {

namespace {

// Control bytes other than tab mean the line is not text.
bool IsText(std::string_view s) {
  for (unsigned char c : s)
    if (c < 0x20 && c != '\t') return false;
  return s.size() <= TIniFile::kMaxLine;
}

// The same text, letter case aside; `lower` is in lower case already.
bool EqualsLower(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (AsciiLower(text[i]) != lower[i]) return false;
  return true;
}

}  // namespace

TIniFile::TIniFile(std::string_view text) {
  if (text.find("\r\n") == std::string_view::npos && text.find('\n') != std::string_view::npos) newline_ = "\n";
  endsWithNewline_ = text.empty() || text.back() == '\n';
  lines_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(at, end - at);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    Append(raw);
    at = end + 1;
  }
}

void TIniFile::ParseKey(TLine& line) {
  line.isKey = false;
  if (line.section < 0 || line.isHeader || !IsText(line.text)) return;
  const std::string_view t = TrimBlanks(line.text);
  if (t.empty() || t.front() == ';' || t.front() == '[') return;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return;
  const std::string_view key = TrimBlanks(t.substr(0, eq));
  if (key.empty()) return;
  line.isKey = true;
  line.keyBegin = static_cast<std::uint32_t>(key.data() - line.text.data());
  line.keySize = static_cast<std::uint32_t>(key.size());
}

void TIniFile::Append(std::string_view raw) {
  TLine line;
  line.text = std::string(raw);
  if (!lines_.empty()) line.section = lines_.back().section;
  const std::string_view t = TrimBlanks(raw);
  if (IsText(raw) && !t.empty() && t.front() == '[') {
    const std::size_t close = t.find(']');
    line.isHeader = true;
    line.section = -1;
    if (close != std::string_view::npos) {
      sections_.push_back(AsciiLower(TrimBlanks(t.substr(1, close - 1))));
      line.section = static_cast<std::int32_t>(sections_.size() - 1);
    }
  } else {
    ParseKey(line);
  }
  lines_.push_back(std::move(line));
}

std::ptrdiff_t TIniFile::Find(std::string_view section, std::string_view key) const {
  const std::string s = AsciiLower(section);
  const std::string k = AsciiLower(key);
  std::vector<bool> match(sections_.size());
  for (std::size_t i = 0; i < sections_.size(); ++i) match[i] = sections_[i] == s;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const TLine& line = lines_[i];
    if (line.isKey && match[line.section] &&
        EqualsLower(std::string_view(line.text).substr(line.keyBegin, line.keySize), k))
      return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

std::optional<std::string> TIniFile::Get(std::string_view section, std::string_view key) const {
  const std::ptrdiff_t at = Find(section, key);
  if (at < 0) return std::nullopt;
  const std::string_view t = TrimBlanks(lines_[at].text);
  std::string_view value = TrimBlanks(t.substr(t.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

void TIniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string text = std::string(key) + "=" + std::string(value);
  if (const std::ptrdiff_t at = Find(section, key); at >= 0) {
    lines_[at].text = text;
    ParseKey(lines_[at]);
    return;
  }
  endsWithNewline_ = true;
  const std::string s = AsciiLower(section);
  // After the last non-blank line of the first section of that name.
  std::ptrdiff_t header = -1;
  std::ptrdiff_t last = -1;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const TLine& line = lines_[i];
    if (line.isHeader && line.section >= 0 && sections_[line.section] == s && header < 0)
      header = last = static_cast<std::ptrdiff_t>(i);
    else if (header >= 0 && line.isHeader) break;
    else if (header >= 0 && !TrimBlanks(line.text).empty()) last = static_cast<std::ptrdiff_t>(i);
  }
  if (header < 0) {
    Append("[" + std::string(section) + "]");
    Append(text);
    return;
  }
  TLine line;
  line.text = text;
  line.section = lines_[header].section;
  ParseKey(line);
  lines_.insert(lines_.begin() + last + 1, std::move(line));
}

std::string TIniFile::Text() const {
  std::string out;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i].text;
    if (i + 1 < lines_.size() || endsWithNewline_) out += newline_;
  }
  return out;
}

TIniFile ReadIniFile(const std::string& path) {
  try {
    // Non-blocking, so that a pipe in the file's place is not waited for;
    // only a regular file is read.
    int fd;
    do {
      fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return TIniFile();
    std::string bytes;
    bool ok = false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
      bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
      std::size_t used = 0;
      for (;;) {
        if (used == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR) continue;
        ok = n == 0;
        if (n <= 0) break;
        used += static_cast<std::size_t>(n);
      }
      bytes.resize(used);
    }
    ::close(fd);
    if (!ok) return TIniFile();
    if (IsValidUtf8(bytes)) return TIniFile(bytes);
    return TIniFile(SjisToUtf8(bytes).value_or(std::string()));
  } catch (const std::bad_alloc&) {
    // No room for the file: the defaults, as for a missing one.
    return TIniFile();
  }
}

bool WriteIniFile(const std::string& path, const TIniFile& ini) {
  return ReplaceFileContents(path, ini.Text(), ".tmp").empty();
}

}  // namespace rd
