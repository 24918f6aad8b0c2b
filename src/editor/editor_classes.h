// Small building blocks shared by the editor's colouring schemes: the word
// list of reserved words and the base of every scheme, which names the file
// extensions it is meant for.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rd {

// A sorted list of words that ignores duplicates; lookups ignore the letter
// case of ASCII letters (Shift_JIS trail bytes are never folded).
class TWordList {
 public:
  // Adds `word` unless an equal word (ignoring case) is present; answers its index.
  int Add(std::string_view word);
  void Delete(int i);
  void Clear();
  int Count() const { return static_cast<int>(words_.size()); }
  const std::string& operator[](int i) const { return words_[static_cast<std::size_t>(i)]; }
  bool Contains(std::string_view word) const { return IndexOf(word) >= 0; }
  int IndexOf(std::string_view word) const;

  // Called after every change.
  std::function<void()> OnChange;

 private:
  // Upper-cased keys in ascending order, with the words as added beside them.
  std::vector<std::string> keys_;
  std::vector<std::string> words_;
};

// Base of the colouring schemes: the file extensions the scheme suits
// (".cpp", ".pas"), for an owner that picks a scheme by file name.
class TFileExtComponent {
 public:
  TFileExtComponent() = default;
  TFileExtComponent(const TFileExtComponent&) = delete;
  TFileExtComponent& operator=(const TFileExtComponent&) = delete;
  virtual ~TFileExtComponent() = default;

  std::vector<std::string> FileExtList;

  // True when `fileName` ends with one of the extensions, ignoring case.
  bool HasExtension(std::string_view fileName) const;
};

}  // namespace rd
