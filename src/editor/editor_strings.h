// TEditorStrings: the editor's line view (`Lines`). It holds no text: its
// operations translate line indexes into row ranges of the row store and go
// through the replace-rows primitive, then place the owner's caret.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace rd {

class TEditorModel;

class TEditorStrings {
 public:
  explicit TEditorStrings(TEditorModel& owner) : owner_(owner) {}
  TEditorStrings(const TEditorStrings&) = delete;
  TEditorStrings& operator=(const TEditorStrings&) = delete;

  int Count() const;
  std::string Get(int i) const;
  void Put(int i, std::string_view s);
  void Insert(int i, std::string_view s);
  int Add(std::string_view s);
  void Delete(int i);
  std::string Text() const;
  void SetText(std::string_view text);
  // SetText for a large text: the rows keep the buffer instead of copies.
  void AdoptText(std::unique_ptr<char[]> buffer, std::size_t size);
  void Clear();
  // Raises EEditorFileError when the file cannot be read; the text stays.
  void LoadFromFile(const std::string& path);
  void Assign(const TEditorStrings& other) { AssignText(other.Text()); }
  void Assign(std::span<const std::string> lines);
  void BeginUpdate();
  void EndUpdate();

 private:
  void AssignText(std::string_view text);
  TEditorModel& owner_;
};

}  // namespace rd
