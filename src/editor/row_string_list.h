// TheStringList: a string list whose items carry a text, a rarely used
// carry-over string, a free integer and two packed attribute words.
//
// Items are 24-byte records moved as raw memory; the text and the carry-over
// string share one heap block, or the text lies in a block the list adopted
// whole (a loaded file), so a million-row text costs no heap string per row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rd {

class TheStringList {
 public:
  using TNotify = std::function<void(TheStringList&)>;

  TheStringList() = default;
  TheStringList(const TheStringList&) = delete;
  TheStringList& operator=(const TheStringList&) = delete;
  TheStringList(TheStringList&& other) noexcept;
  TheStringList& operator=(TheStringList&& other) noexcept;
  virtual ~TheStringList();

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  void SetCapacity(int capacity);

  std::string Get(int i) const { return std::string(View(i)); }
  // A view of item i's text, valid until the item is changed or removed.
  std::string_view View(int i) const;
  void Put(int i, std::string_view s);
  int Add(std::string_view s);
  void Insert(int i, std::string_view s);
  void Delete(int i);
  void Exchange(int i, int j);
  void Clear();

  std::string StateText(int i) const;
  void SetStateText(int i, std::string_view s);
  std::int32_t Data(int i) const { return item(i).data; }
  void SetData(int i, std::int32_t v) { item(i).data = v; }
  std::uint32_t AttributesA(int i) const { return item(i).attrA; }
  void SetAttributesA(int i, std::uint32_t v) { item(i).attrA = v; }
  std::uint32_t AttributesB(int i) const { return item(i).attrB; }
  void SetAttributesB(int i, std::uint32_t v) { item(i).attrB = v; }

  // Update nesting: only the outermost bracket fires OnChanging (at its
  // beginning) and OnChange (at its end); edits inside fire nothing.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  TNotify OnChange;
  TNotify OnChanging;

  // Empty when counts, capacity and every item's block are consistent,
  // else what is wrong.
  std::string checkInvariants() const;
  // Bytes the list holds beyond the row texts themselves (items, headers,
  // spare capacity); adopted blocks count as text.
  std::size_t OverheadBytes() const;

 protected:
  struct TItem {
    char* bytes;         // text, then (with kHasState) a 32-bit length and the carry-over string
    std::uint32_t size;  // text length in the low bits, flags in the top two
    std::int32_t data;
    std::uint32_t attrA;
    std::uint32_t attrB;
  };
  static_assert(sizeof(TItem) == 24, "rows must stay small");
  static constexpr std::uint32_t kBorrowed = 1u << 31;  // text lies in an adopted block
  static constexpr std::uint32_t kHasState = 1u << 30;  // a carry-over string follows the text
  static constexpr std::uint32_t kSizeMask = kHasState - 1;

  TItem& item(int i);
  const TItem& item(int i) const;
  void checkIndex(int i, int limit) const;
  void changing();
  void changed();

  // Raw row moves used by the row store: they keep the attributes and fire nothing.
  // Opens a gap of `n` zeroed items at i.
  void InsertGap(int i, int n);
  // Removes items [i, i + n), releasing their texts.
  void RemoveRange(int i, int n);
  // Moves every item of `from` into this list at i, keeping their attributes; `from` ends empty.
  void TakeItems(int i, TheStringList& from);
  // Replaces items [i, i + n) by the items of `from` (which ends empty),
  // overwriting in place where it can so that few items move.
  void ReplaceItems(int i, int n, TheStringList& from);
  // Sets the text of item i without notification, keeping its other fields.
  void SetText(int i, std::string_view s);
  // Takes over a block of bytes that rows may then point into (see AddBorrowed).
  void AdoptBlock(std::unique_ptr<char[]> block, std::size_t size);
  // Appends an item whose text lies inside an adopted block.
  void AddBorrowed(std::string_view inBlock);

 private:
  static void release(TItem& it);
  static char* allocate(std::string_view text, std::string_view state, std::uint32_t& size);
  void grow();
  void reallocate(int capacity);
  void freeAll();

  TItem* items_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
  int updateCount_ = 0;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockBytes_ = 0;
};

}  // namespace rd
