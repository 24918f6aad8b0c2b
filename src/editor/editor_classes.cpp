// The reserved-word list and extension matching of the colouring schemes.
#include "editor/editor_classes.h"

#include <algorithm>

#include "editor/sjis.h"

namespace rd {

int TWordList::IndexOf(std::string_view word) const {
  const std::string key = sjis::UpperCase(word);
  const auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
  if (it == keys_.end() || *it != key) return -1;
  return static_cast<int>(it - keys_.begin());
}

int TWordList::Add(std::string_view word) {
  const std::string key = sjis::UpperCase(word);
  const auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
  const auto index = it - keys_.begin();
  if (it != keys_.end() && *it == key) return static_cast<int>(index);
  keys_.insert(it, key);
  words_.insert(words_.begin() + index, std::string(word));
  if (OnChange) OnChange();
  return static_cast<int>(index);
}

void TWordList::Delete(int i) {
  keys_.erase(keys_.begin() + i);
  words_.erase(words_.begin() + i);
  if (OnChange) OnChange();
}

void TWordList::Clear() {
  if (keys_.empty()) return;
  keys_.clear();
  words_.clear();
  if (OnChange) OnChange();
}

bool TFileExtComponent::HasExtension(std::string_view fileName) const {
  const std::string name = sjis::UpperCase(fileName);
  return std::any_of(FileExtList.begin(), FileExtList.end(), [&](const std::string& ext) {
    const std::string e = sjis::UpperCase(ext);
    return !e.empty() && name.size() >= e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0;
  });
}

}  // namespace rd
