// Candidate files of one side of the batch check: bare names in one folder,
// kept sorted and unique ignoring letter case; and the path helpers that
// file paths and dropped folders into them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rd {

// Letter case is ASCII letter case: other bytes of a UTF-8 name compare as
// they are.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// Ordering ignoring letter case; names equal that way order by their bytes.
bool LessIgnoringCase(std::string_view a, std::string_view b);

class TCandidateList {
 public:
  std::size_t Count() const { return names_.size(); }
  const std::string& operator[](std::size_t i) const { return names_[i]; }
  const std::vector<std::string>& Names() const { return names_; }

  // The position of the name ignoring letter case, or nothing.
  std::optional<std::size_t> Find(std::string_view name) const;
  // Adds the name in its sorted place; false when the list already holds it
  // ignoring letter case.
  bool Add(std::string_view name);
  void Remove(std::size_t index);
  void Clear() { names_.clear(); }

 private:
  std::vector<std::string> names_;  // sorted by LessIgnoringCase
};

struct TSplitPath {
  std::string folder;  // ends in "/"
  std::string name;    // the last component; empty for a path ending in "/"
};

// Splits at the last "/". A path without one has the folder "/", as a folder
// with "/" appended to the empty folder.
TSplitPath SplitPath(std::string_view path);

// The folder with "/" appended unless it ends in one.
std::string WithSlash(std::string_view folder);

bool IsFolder(const std::string& path);
// An existing ordinary file: a regular file, also through a link.
bool IsOrdinaryFile(const std::string& path);

// The paths of the ordinary files of `folder` (ending in "/") in the order
// the file system lists them: no folders, no hidden files (a name starting
// with "."), nothing that is not a regular file. An unreadable folder gives
// none.
std::vector<std::string> ListOrdinaryFiles(const std::string& folder);

}  // namespace rd
