#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

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

}  // namespace

TIniFile::TIniFile(std::string_view text) {
  if (text.find("\r\n") == std::string_view::npos && text.find('\n') != std::string_view::npos) newline_ = "\n";
  endsWithNewline_ = text.empty() || text.back() == '\n';
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

void TIniFile::Append(std::string_view raw) {
  TLine line;
  line.text = std::string(raw);
  if (!lines_.empty()) {
    line.section = lines_.back().section;
    line.inSection = lines_.back().inSection;
  }
  const std::string_view t = TrimBlanks(raw);
  if (!IsText(raw) || t.empty() || t.front() == ';') {
    lines_.push_back(std::move(line));
    return;
  }
  if (t.front() == '[') {
    const std::size_t close = t.find(']');
    line.isHeader = true;
    line.inSection = close != std::string_view::npos;
    line.section = line.inSection ? AsciiLower(TrimBlanks(t.substr(1, close - 1))) : std::string();
  } else if (const std::size_t eq = t.find('='); eq != std::string_view::npos && line.inSection) {
    line.key = AsciiLower(TrimBlanks(t.substr(0, eq)));
  }
  lines_.push_back(std::move(line));
}

std::ptrdiff_t TIniFile::Find(std::string_view section, std::string_view key) const {
  const std::string s = AsciiLower(section);
  const std::string k = AsciiLower(key);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const TLine& line = lines_[i];
    if (line.inSection && !line.isHeader && line.section == s && !line.key.empty() && line.key == k)
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
    return;
  }
  endsWithNewline_ = true;
  const std::string s = AsciiLower(section);
  // After the last non-blank line of the first section of that name.
  std::ptrdiff_t header = -1;
  std::ptrdiff_t last = -1;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const TLine& line = lines_[i];
    if (line.isHeader && line.inSection && line.section == s && header < 0) header = last = static_cast<std::ptrdiff_t>(i);
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
  line.section = s;
  line.inSection = true;
  line.key = AsciiLower(key);
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
  std::ifstream in(path, std::ios::binary);
  if (!in) return TIniFile();
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (IsValidUtf8(bytes)) return TIniFile(bytes);
  return TIniFile(SjisToUtf8(bytes).value_or(std::string()));
}

bool WriteIniFile(const std::string& path, const TIniFile& ini) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string temp = folder + ".settings-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  struct stat old {};
  ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  const std::string text = ini.Text();
  bool ok = true;
  for (std::size_t done = 0; ok && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace rd
