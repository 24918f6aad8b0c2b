// TFountain, the colouring scheme of the editor, and TFountainParser, the
// token walker that cuts one row at a time into coloured tokens.
//
// A walker starts from a row's carried-over state (TRowAttributeData) and
// leaves the state for the next row; the base walker knows bracket regions,
// numbers, words, tabs, the Shift_JIS character classes and single symbols.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_classes.h"
#include "editor/row_attribute_strings.h"

namespace rd {

// Red in the low byte, green in the next, blue in the third.
using TColor = std::int32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNavy = 0x800000;

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

// Token kinds; painting and the comparison's line hook rely on the numbers.
enum TTokenKind : std::uint8_t {
  tkEnd = 0, tkSymbol = 1, tkInt = 3, tkFloat = 4, tkBracket = 6, tkComment = 7, tkReserve = 8, tkTab = 9,
  tkAnk = 11, tkDbSymbol = 12, tkDbInt = 14, tkDbAlpha = 15, tkHiragana = 16, tkKatakana = 17, tkKanji = 18,
  tkKanaSymbol = 19, tkKana = 20, tkUrl = 21, tkMail = 22, tkHex = 23, tkSingleQuote = 24, tkDoubleQuote = 25,
  tkString = 26, tkControlCode = 27, tkHexControlCode = 28,
};

// Colours and style of one kind of token; every change calls OnChange.
class TFountainColor {
 public:
  TColor BkColor() const { return bkColor_; }
  TColor Color() const { return color_; }
  TFontStyles Style() const { return style_; }
  void SetBkColor(TColor c) { set(bkColor_, c); }
  void SetColor(TColor c) { set(color_, c); }
  void SetStyle(TFontStyles s) { set(style_, s); }
  // Colours clNone and no style: the token is drawn like plain text.
  bool IsDefault() const { return bkColor_ == clNone && color_ == clNone && style_ == 0; }

  std::function<void()> OnChange;

 private:
  template <class T>
  void set(T& field, T value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange();
  }
  TColor bkColor_ = clNone;
  TColor color_ = clNone;
  TFontStyles style_ = 0;
};

struct TFountainBracketItem {
  std::string LeftBracket;
  std::string RightBracket;
  TFountainColor ItemColor;
};

// At most 14 pairs, so that a bracket index fits the 4-bit field of a row.
class TFountainBracketCollection {
 public:
  static constexpr int kMaxItems = 14;
  // Appends an empty pair; a fifteenth raises EFountainError.
  TFountainBracketItem& Add();
  TFountainBracketItem& Add(std::string_view left, std::string_view right);
  void Delete(int i);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  TFountainBracketItem& operator[](int i) { return *items_[static_cast<std::size_t>(i)]; }
  const TFountainBracketItem& operator[](int i) const { return *items_[static_cast<std::size_t>(i)]; }

  std::function<void()> OnChange;

 private:
  std::vector<std::unique_ptr<TFountainBracketItem>> items_;
};

class TFountainParser;

class TFountain : public TFileExtComponent {
 public:
  TFountain();
  ~TFountain() override;

  TFountainBracketCollection Brackets;
  TFountainColor Reserve;
  TWordList ReserveWordList;

  virtual std::unique_ptr<TFountainParser> CreateParser() const;

  // Schemes notify their editors of every change (tokenizer states are
  // then recomputed and the editor repaints). Answers a handle for removal.
  int AddChangeListener(std::function<void()> listener);
  void RemoveChangeListener(int handle);
  // Calls every listener; setters of derived schemes call it.
  void NotifyChange();

 private:
  std::vector<std::pair<int, std::function<void()>>> listeners_;
  int nextHandle_ = 1;
};

class TFountainParser {
 public:
  // Fails with std::invalid_argument when `fountain` is null.
  explicit TFountainParser(const TFountain* fountain);
  virtual ~TFountainParser() = default;

  // Starts on `text` (a row, with the next row appended when the row is
  // wrapped) in the carried-over state `state`.
  void NewData(std::string_view text, const TRowAttributeData& state);
  // Steps to the next token and answers its kind; 0 at the end of the row.
  int NextToken();
  int Token() const { return token_; }
  int SourcePos() const { return static_cast<int>(tokenStart_); }
  int TokenLength() const { return static_cast<int>(pos_ - tokenStart_); }
  std::string TokenString() const { return text_.substr(tokenStart_, pos_ - tokenStart_); }
  // Bracket pair of the current bracket token (-1 for other tokens).
  int TokenBracket() const { return tokenBracket_; }
  // The colour item of the current token, or null for plain text.
  virtual const TFountainColor* TokenColor() const;
  // Turns off bracket regions for the next NewData calls (token picking).
  void SetIgnoreBrackets(bool ignore) { ignoreBrackets_ = ignore; }

  // Start state of row `row + 1`, from row `row`'s start state and text
  // (the next row appended when `row` is wrapped).
  TRowAttributeData EndState(int row, const TRowAttributeStringList& rows);

 protected:
  // Scans one token from pos_ (blanks already skipped, not at the end):
  // sets pos_ past it and answers its kind.
  virtual int ScanToken();
  // Bracket region opening at pos_, if any: consumes it and answers true.
  bool ScanBracketOpen();
  // Continues the open bracket region to its right bracket or the end.
  void ScanBracketRest();
  // Numbers, words, tabs, Shift_JIS classes and single symbols by the first byte.
  int ScanByFirstByte();
  void ScanDigits();
  void ScanHexDigits();
  unsigned char At(std::size_t i) const { return i < text_.size() ? static_cast<unsigned char>(text_[i]) : 0; }
  bool StartsWith(std::string_view s, bool ignoreCase) const;

  const TFountain* fountain_;
  std::string text_;
  std::size_t pos_ = 0;
  std::size_t tokenStart_ = 0;
  int token_ = tkEnd;
  int bracketIndex_ = kNoBracket;  // open bracket region, or -1
  int tokenBracket_ = kNoBracket;
  bool continuation_ = false;      // current token continues one of the previous row
  bool ignoreBrackets_ = false;

 private:
  int carryKind_ = 0;              // kind carried over from the previous row, 0 none
  std::size_t carryLength_ = 0;    // its remaining bytes, 0 when unknown
};

}  // namespace rd
