// Errors raised by the editor's row lists and its file loading.
//
// Both carry a message meant for the user; the Qt layer shows it in a box.
#pragma once

#include <stdexcept>
#include <string>

namespace rd {

// A bad row or item index; the list is left as it was.
class EListError : public std::out_of_range {
 public:
  EListError() : std::out_of_range(kMessage) {}
  static constexpr const char* kMessage = "リストのインデックスが範囲を超えています";
};

// A file that could not be read into the editor; the text is left as it was.
class EEditorFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bracket collection of a colouring scheme is full.
class EFountainError : public std::length_error {
 public:
  using std::length_error::length_error;
};

}  // namespace rd
