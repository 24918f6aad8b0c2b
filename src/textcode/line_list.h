// A text as a list of byte-string lines, stored in one buffer.
//
// Lines of a million-line file cost one span each instead of one heap string
// each, and a file read whole can be adopted without copying its lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rd {

class TLineList {
 public:
  struct TSpan {
    std::size_t begin;
    std::size_t size;
  };

  TLineList() = default;
  TLineList(std::initializer_list<std::string_view> lines);
  TLineList(TLineList&&) noexcept = default;
  TLineList& operator=(TLineList&&) noexcept = default;
  TLineList(const TLineList&) = delete;
  TLineList& operator=(const TLineList&) = delete;

  // Takes over `bytes`; each span names one line inside them.
  static TLineList Adopt(std::string bytes, std::vector<TSpan> spans);

  void Add(std::string_view line);
  void Clear();
  void Reserve(std::size_t lines, std::size_t bytes);

  std::size_t Count() const { return spans_.size(); }
  bool Empty() const { return spans_.empty(); }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(bytes_).substr(spans_[i].begin, spans_[i].size);
  }
  // Where line i begins in Bytes().
  std::size_t Offset(std::size_t i) const { return spans_[i].begin; }
  // All bytes held, including any that lie between the lines of an adopted text.
  std::string_view Bytes() const { return bytes_; }
  std::size_t ByteSize() const { return bytes_.size(); }
  // Asks the processor to fetch what operator[] reads for line i.
  void Prefetch(std::size_t i) const { __builtin_prefetch(&spans_[i]); }

 private:
  std::string bytes_;
  std::vector<TSpan> spans_;
};

}  // namespace rd
