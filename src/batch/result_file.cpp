// Writing and reading result files. Writing builds the bytes in memory and
// replaces the file atomically; reading streams the file line by line with a
// bound on the line length, so a damaged file of any size is read quickly
// and in little memory.
#include "batch/result_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <optional>

#include "compare/line_table.h"
#include "textcode/file_replace.h"

namespace rd {

namespace {

// No comparison produces more entries than it takes lines; a file that
// claims more is not one of ours, and reading on would only fill memory.
constexpr std::size_t kMaxEntries = TDataFile::kMaxKeys;

constexpr std::string_view kHeaderA = "[TextA]";
constexpr std::string_view kHeaderB = "[TextB]";

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path.append(name);
  return path;
}

void AppendEntry(std::string& out, const TDiffEntry& e) {
  out.append(std::to_string(e.line)).append(",");
  out.append(std::to_string(e.partner)).append(",");
  out.append(std::to_string(e.kind)).append("\r\n");
}

// Reads a file descriptor line by line; a line ends at LF, and a CR before
// the LF is dropped. The last line needs no line end.
class TLineReader {
 public:
  enum class Result { Line, End, TooLong, Error };

  explicit TLineReader(int fd) : fd_(fd) {}

  // On Line, `line` views memory of the reader, valid until the next call.
  Result Next(std::string_view& line) {
    long_.clear();
    for (;;) {
      const std::string_view rest(buffer_ + begin_, end_ - begin_);
      const std::size_t lf = rest.find('\n');
      const std::size_t take = lf == std::string_view::npos ? rest.size() : lf;
      if (long_.size() + take > kResultLineLimit + 1) return Result::TooLong;  // +1: the CR of CR LF
      if (lf != std::string_view::npos) {
        begin_ += lf + 1;
        if (long_.empty()) {
          line = rest.substr(0, lf);
        } else {
          long_.append(rest.substr(0, lf));
          line = long_;
        }
        return Finish(line);
      }
      long_.append(rest);
      const ssize_t n = Fill();
      if (n < 0) return Result::Error;
      if (n == 0) {
        if (long_.empty()) return Result::End;
        line = long_;
        return Finish(line);
      }
    }
  }

 private:
  Result Finish(std::string_view& line) const {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line.size() > kResultLineLimit ? Result::TooLong : Result::Line;
  }

  ssize_t Fill() {
    begin_ = 0;
    end_ = 0;
    ssize_t n;
    do {
      n = ::read(fd_, buffer_, sizeof buffer_);
    } while (n < 0 && errno == EINTR);
    if (n > 0) end_ = static_cast<std::size_t>(n);
    return n;
  }

  int fd_;
  char buffer_[64 * 1024];
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::string long_;  // a line that runs over the end of the buffer
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::optional<std::int32_t> ParseInteger(std::string_view field) {
  if (field.size() > 1 && field[0] == '+' && field[1] != '-') field.remove_prefix(1);
  std::int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || ptr != field.data() + field.size()) return std::nullopt;
  return value;
}

// The first three fields of an entry line as integers, or nothing when the
// line has fewer or one of them is not an integer. Fields are separated by a
// comma (with blanks around it) or by blanks alone; a field in double quotes
// may hold anything, with "" for a quote. Fields after the third are not
// looked at.
std::optional<TDiffEntry> ParseEntry(std::string_view s) {
  std::int32_t values[3] = {};
  std::size_t pos = 0;
  const auto skipBlanks = [&] {
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
  };
  skipBlanks();
  std::string quoted;
  for (std::int32_t& value : values) {
    if (pos >= s.size()) return std::nullopt;
    std::string_view field;
    if (s[pos] == '"') {
      quoted.clear();
      ++pos;
      for (;;) {
        if (pos >= s.size()) return std::nullopt;  // no closing quote
        if (s[pos] == '"') {
          if (pos + 1 < s.size() && s[pos + 1] == '"') {
            quoted += '"';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        quoted += s[pos++];
      }
      if (pos < s.size() && s[pos] != ',' && !IsBlank(s[pos])) return std::nullopt;  // "4"x
      field = quoted;
    } else {
      const std::size_t start = pos;
      while (pos < s.size() && s[pos] != ',' && !IsBlank(s[pos])) ++pos;
      field = s.substr(start, pos - start);
    }
    const std::optional<std::int32_t> parsed = ParseInteger(field);
    if (!parsed) return std::nullopt;
    value = *parsed;
    skipBlanks();
    if (pos < s.size() && s[pos] == ',') {
      ++pos;
      skipBlanks();
    }
  }
  return TDiffEntry{values[0], values[1], values[2], 0};
}

bool Acceptable(const TDiffList& list, const TDiffEntry& e) {
  if (e.line < 0 || e.partner < 0) return false;
  if (e.kind != KindAdded && e.kind != KindChanged && e.kind != KindMoved) return false;
  return list.empty() || list.back().line < e.line;
}

// Fills the lists from the open file; false when the file is broken.
bool ReadEntries(int fd, TComparison& comparison) {
  TLineReader reader(fd);
  Side section = Side::A;
  std::size_t entries = 0;
  std::string_view line;
  for (;;) {
    switch (reader.Next(line)) {
      case TLineReader::Result::End: return true;
      case TLineReader::Result::TooLong:
      case TLineReader::Result::Error: return false;
      case TLineReader::Result::Line: break;
    }
    if (line == kHeaderA) {
      section = Side::A;
      continue;
    }
    if (line == kHeaderB) {
      section = Side::B;
      continue;
    }
    const std::optional<TDiffEntry> entry = ParseEntry(line);
    TDiffList& list = comparison.MutableDiff(section);
    if (!entry || !Acceptable(list, *entry) || ++entries > kMaxEntries) return false;
    list.push_back(*entry);
  }
}

}  // namespace

bool IsBareFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

std::string FormatResultFile(const TDiffList& listA, const TDiffList& listB) {
  std::string out;
  out.reserve(20 + (listA.size() + listB.size()) * 16);
  out.append(kHeaderA).append("\r\n");
  for (const TDiffEntry& e : listA) AppendEntry(out, e);
  out.append(kHeaderB).append("\r\n");
  for (const TDiffEntry& e : listB) AppendEntry(out, e);
  return out;
}

std::string WriteResultFile(const TComparison& comparison, std::string_view checkFolder, std::string_view name) {
  if (!IsBareFileName(name)) return std::string(kResultWriteFailed);
  try {
    const std::string bytes = FormatResultFile(comparison.Diff(Side::A), comparison.Diff(Side::B));
    // The temporary name ends in the target's name and ".tmp…", so a file
    // left behind by a crash matches "*.ret*" and goes at the next start.
    if (ReplaceFileContents(JoinPath(checkFolder, name), bytes, ".tmp").empty()) return {};
  } catch (const std::bad_alloc&) {
    // Too many entries to hold their text: reported like any failed write.
  }
  return std::string(kResultWriteFailed);
}

std::string ReadResultFile(TComparison& comparison, std::string_view checkFolder, std::string_view name) {
  comparison.ResetResults();
  if (!IsBareFileName(name)) return std::string(kResultMissing);
  const std::string path = JoinPath(checkFolder, name);
  // Non-blocking, so that a pipe in the file's place fails the type check
  // below instead of waiting for a writer; regular files ignore the flag.
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) return std::string(kResultMissing);

  bool ok = false;
  if (fd >= 0) {
    struct stat st {};
    try {
      ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadEntries(fd, comparison);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
    ::close(fd);
  }
  comparison.ShowErrorCounts();
  return ok ? std::string() : std::string(kResultBroken);
}

}  // namespace rd
