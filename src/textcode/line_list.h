// A text as a list of byte-string lines, stored in one buffer.
//
// A line costs one 4-byte offset instead of a heap string: a file read
// whole (or mapped) is adopted with its line breaks in place, and a line's
// end is found by stepping back over the break in front of the next line's
// start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "textcode/line_starts.h"
#include "textcode/mapped_file.h"

namespace rd {

// The most lines a text can have to be compared: the line tables number the
// lines of both texts together below 2^29.
inline constexpr std::size_t kMaxTextLines = (std::size_t{1} << 29) - 1;

class TLineList {
 public:
  TLineList() { starts_.Push(0); }
  TLineList(std::initializer_list<std::string_view> lines);
  // A list moved from is left empty.
  TLineList(TLineList&& other) noexcept;
  TLineList& operator=(TLineList&& other) noexcept;
  TLineList(const TLineList&) = delete;
  TLineList& operator=(const TLineList&) = delete;

  // Takes over the bytes of a text. `starts` has one offset per line and one
  // more at the end; the bytes from the end of line i up to starts[i + 1]
  // are its line break (CR, LF or CR LF; none after a last line without
  // one). The lines themselves hold no CR or LF.
  static TLineList AdoptText(std::string bytes, TLineStarts starts);
  // The same for the bytes of a mapped file.
  static TLineList AdoptText(TMappedFile file, TLineStarts starts);
  // Takes over lines that follow each other without anything between them.
  static TLineList AdoptPacked(std::string bytes, TLineStarts starts);

  // Appends a line, which may hold any bytes.
  void Add(std::string_view line);
  void Clear();
  void Reserve(std::size_t lines, std::size_t bytes);

  std::size_t Count() const { return starts_.Size() > 0 ? starts_.Size() - 1 : 0; }
  bool Empty() const { return Count() == 0; }
  std::string_view operator[](std::size_t i) const {
    const std::size_t begin = starts_[i];
    std::size_t end = starts_[i + 1];
    if (withBreaks_ && end > begin) {
      if (text_[end - 1] == '\n') {
        --end;
        if (end > begin && text_[end - 1] == '\r') --end;
      } else if (text_[end - 1] == '\r') {
        --end;
      }
    }
    return std::string_view(text_.data() + begin, end - begin);
  }
  // Where line i begins in Bytes().
  std::size_t Offset(std::size_t i) const { return starts_[i]; }
  // All bytes held, with the line breaks of an adopted text.
  std::string_view Bytes() const { return text_; }
  // True for an adopted text, whose line breaks lie between its lines.
  bool HoldsBreaks() const { return withBreaks_; }
  // Asks the processor to fetch what operator[] reads for line i.
  void Prefetch(std::size_t i) const { __builtin_prefetch(starts_.Address(i)); }

 private:
  // What a move leaves: no lines, without taking memory for the start of
  // the first one.
  void LeaveEmpty() noexcept;
  // Points text_ at the bytes held, after they change.
  void Sync() { text_ = mapped_ ? mapped_.Bytes() : std::string_view(bytes_); }

  std::string bytes_;
  TMappedFile mapped_;     // the bytes instead, for a mapped file
  std::string_view text_;  // bytes_ or the mapped file's
  TLineStarts starts_;
  bool withBreaks_ = false;
};

}  // namespace rd
