// The base colouring scheme and its token walker.
//
// A walker sees one row (plus the next row when the row is wrapped, so that
// tokens crossing the wrap are whole). A token still running at the end of
// the row hands its kind and remaining length to the next row's start state;
// an open bracket region hands its pair index.
#include "editor/fountain.h"

#include <algorithm>
#include <stdexcept>

#include "editor/editor_error.h"
#include "editor/sjis.h"

namespace rd {

// ---- bracket collection ---------------------------------------------------

TFountainBracketItem& TFountainBracketCollection::Add() {
  if (Count() >= kMaxItems) {
    throw EFountainError("TFountainBracketCollection\r\nYou can not add item over " + std::to_string(kMaxItems));
  }
  items_.push_back(std::make_unique<TFountainBracketItem>());
  TFountainBracketItem& item = *items_.back();
  item.ItemColor.OnChange = [this] {
    if (OnChange) OnChange();
  };
  if (OnChange) OnChange();
  return item;
}

TFountainBracketItem& TFountainBracketCollection::Add(std::string_view left, std::string_view right) {
  TFountainBracketItem& item = Add();
  item.LeftBracket = left;
  item.RightBracket = right;
  if (OnChange) OnChange();
  return item;
}

void TFountainBracketCollection::Delete(int i) {
  items_.erase(items_.begin() + i);
  if (OnChange) OnChange();
}

void TFountainBracketCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  if (OnChange) OnChange();
}

// ---- scheme ----------------------------------------------------------------

TFountain::TFountain() {
  Brackets.OnChange = [this] { NotifyChange(); };
  Reserve.OnChange = [this] { NotifyChange(); };
  ReserveWordList.OnChange = [this] { NotifyChange(); };
}

TFountain::~TFountain() = default;

std::unique_ptr<TFountainParser> TFountain::CreateParser() const { return std::make_unique<TFountainParser>(this); }

int TFountain::AddChangeListener(std::function<void()> listener) {
  listeners_.emplace_back(nextHandle_, std::move(listener));
  return nextHandle_++;
}

void TFountain::RemoveChangeListener(int handle) {
  std::erase_if(listeners_, [handle](const auto& l) { return l.first == handle; });
}

void TFountain::NotifyChange() {
  for (const auto& l : listeners_) l.second();
}

// ---- walker ------------------------------------------------------------------

TFountainParser::TFountainParser(const TFountain* fountain) : fountain_(fountain) {
  if (fountain == nullptr) throw std::invalid_argument("TFountainParser.Create need instance of TFountain");
}

void TFountainParser::NewData(std::string_view text, const TRowAttributeData& state) {
  text_.assign(text);
  pos_ = tokenStart_ = 0;
  token_ = tkEnd;
  tokenBracket_ = kNoBracket;
  continuation_ = false;
  const bool bracketValid = !ignoreBrackets_ && state.BracketIndex >= 0 && state.BracketIndex < fountain_->Brackets.Count();
  bracketIndex_ = kNoBracket;
  carryKind_ = state.StartToken;
  carryLength_ = state.CarryLength;
  if (carryKind_ == tkBracket) {
    if (!bracketValid) {
      carryKind_ = 0;
      carryLength_ = 0;
    } else if (carryLength_ == 0) {
      bracketIndex_ = state.BracketIndex;  // the region simply goes on
      carryKind_ = 0;
    } else {
      bracketIndex_ = state.BracketIndex;
    }
  }
}

bool TFountainParser::StartsWith(std::string_view s, bool ignoreCase) const {
  if (s.empty() || pos_ + s.size() > text_.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char a = At(pos_ + i), b = static_cast<unsigned char>(s[i]);
    if (ignoreCase) {
      if (a >= 'a' && a <= 'z') a = static_cast<unsigned char>(a - 32);
      if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 32);
    }
    if (a != b) return false;
  }
  return true;
}

static bool EndsRow(unsigned char b) { return b == 0 || b == '\r' || b == '\n'; }

int TFountainParser::NextToken() {
  continuation_ = false;
  tokenBracket_ = kNoBracket;
  if (carryKind_ != 0) {
    // The token that the previous row left unfinished comes first.
    const int kind = carryKind_;
    carryKind_ = 0;
    if (carryLength_ > 0 && pos_ == 0 && !text_.empty()) {
      tokenStart_ = 0;
      pos_ = std::min(carryLength_, text_.size());
      continuation_ = true;
      if (kind == tkBracket) {
        tokenBracket_ = bracketIndex_;
        bracketIndex_ = kNoBracket;
      }
      return token_ = kind;
    }
    if (kind == tkComment && !text_.empty()) {
      tokenStart_ = 0;
      while (pos_ < text_.size() && !EndsRow(At(pos_))) ++pos_;
      continuation_ = true;
      return token_ = kind;
    }
  }
  if (bracketIndex_ >= 0) {
    tokenStart_ = pos_;
    if (pos_ >= text_.size() || EndsRow(At(pos_))) return token_ = tkEnd;
    continuation_ = pos_ == 0;
    ScanBracketRest();
    return token_ = tkBracket;
  }
  while (pos_ < text_.size() && At(pos_) >= 1 && At(pos_) <= 32 && At(pos_) != '\t' && !EndsRow(At(pos_))) ++pos_;
  tokenStart_ = pos_;
  if (pos_ >= text_.size() || EndsRow(At(pos_))) return token_ = tkEnd;
  int kind = ScanToken();
  if (pos_ == tokenStart_) ++pos_;  // every token covers at least one byte
  if (kind != tkBracket && kind != tkComment && fountain_->ReserveWordList.Count() > 0 &&
      fountain_->ReserveWordList.Contains(std::string_view(text_).substr(tokenStart_, pos_ - tokenStart_))) {
    kind = tkReserve;
  }
  return token_ = kind;
}

int TFountainParser::ScanToken() {
  if (ScanBracketOpen()) return tkBracket;
  return ScanByFirstByte();
}

bool TFountainParser::ScanBracketOpen() {
  if (ignoreBrackets_) return false;
  const TFountainBracketCollection& brackets = fountain_->Brackets;
  for (int i = 0; i < brackets.Count(); ++i) {
    if (StartsWith(brackets[i].LeftBracket, false)) {
      pos_ += brackets[i].LeftBracket.size();
      bracketIndex_ = i;
      ScanBracketRest();
      return true;
    }
  }
  return false;
}

void TFountainParser::ScanBracketRest() {
  tokenBracket_ = bracketIndex_;
  const std::string& right = fountain_->Brackets[bracketIndex_].RightBracket;
  while (pos_ < text_.size() && !EndsRow(At(pos_))) {
    if (StartsWith(right, false)) {
      pos_ += right.size();
      bracketIndex_ = kNoBracket;
      return;
    }
    pos_ += sjis::CharLength(text_, pos_);
  }
  // A pair without a right bracket ends with its row.
  if (right.empty()) bracketIndex_ = kNoBracket;
}

void TFountainParser::ScanDigits() {
  while (At(pos_) >= '0' && At(pos_) <= '9') ++pos_;
}

static bool IsHexDigit(unsigned char b) {
  return (b >= '0' && b <= '9') || (b >= 'a' && b <= 'f') || (b >= 'A' && b <= 'F');
}

void TFountainParser::ScanHexDigits() {
  while (IsHexDigit(At(pos_))) ++pos_;
}

static bool IsWordByte(unsigned char b) {
  return (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_';
}

namespace {

// Double-byte classes of a (lead, trail) pair.
bool IsDbDigit(unsigned char l, unsigned char t) { return l == 0x82 && t >= 0x4F && t <= 0x58; }
bool IsDbAlpha(unsigned char l, unsigned char t) {
  return l == 0x82 && ((t >= 0x60 && t <= 0x79) || (t >= 0x81 && t <= 0x9A));
}
bool IsHiragana(unsigned char l, unsigned char t) { return l == 0x82 && t >= 0x9F && t <= 0xF1; }
bool IsKatakana(unsigned char l, unsigned char t) { return l == 0x83 && t >= 0x40 && t <= 0x96; }
bool IsKanjiLead(unsigned char l) { return (l >= 0x88 && l <= 0x9F) || (l >= 0xE0 && l <= 0xFC); }
// The long vowel mark and the full-width hyphen, allowed inside kana runs.
bool IsKanaJoiner(unsigned char l, unsigned char t) { return l == 0x81 && (t == 0x5B || t == 0x5D); }

}  // namespace

int TFountainParser::ScanByFirstByte() {
  const unsigned char b = At(pos_);
  if (b >= '0' && b <= '9') {
    ScanDigits();
    int kind = tkInt;
    auto exponentAt = [this](std::size_t p) {
      if (At(p) != 'e' && At(p) != 'E') return std::size_t{0};
      std::size_t q = p + 1;
      if (At(q) == '+' || At(q) == '-') ++q;
      return (At(q) >= '0' && At(q) <= '9') ? q : std::size_t{0};
    };
    if (At(pos_) == '.' && ((At(pos_ + 1) >= '0' && At(pos_ + 1) <= '9') || exponentAt(pos_ + 1) != 0)) {
      ++pos_;
      ScanDigits();
      kind = tkFloat;
    }
    if (const std::size_t q = exponentAt(pos_); q != 0) {
      pos_ = q;
      ScanDigits();
      kind = tkFloat;
    }
    return kind;
  }
  if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_') {
    while (IsWordByte(At(pos_))) ++pos_;
    return tkAnk;
  }
  if (b == '\t') {
    ++pos_;
    return tkTab;
  }
  if (sjis::IsLeadByte(b) && pos_ + 1 < text_.size()) {
    const unsigned char t = At(pos_ + 1);
    auto run = [this](auto member) {
      while (pos_ + 1 < text_.size() && member(At(pos_), At(pos_ + 1))) pos_ += 2;
    };
    if (IsDbDigit(b, t)) {
      run([this](unsigned char l, unsigned char tr) {
        // Full-width comma and full stop only between full-width digits.
        if (l == 0x81 && (tr == 0x43 || tr == 0x44)) return IsDbDigit(At(pos_ + 2), At(pos_ + 3));
        return IsDbDigit(l, tr);
      });
      return tkDbInt;
    }
    if (IsDbAlpha(b, t)) {
      run(IsDbAlpha);
      return tkDbAlpha;
    }
    if (IsHiragana(b, t)) {
      run([](unsigned char l, unsigned char tr) { return IsHiragana(l, tr) || IsKanaJoiner(l, tr); });
      return tkHiragana;
    }
    if (IsKatakana(b, t)) {
      run([](unsigned char l, unsigned char tr) { return IsKatakana(l, tr) || IsKanaJoiner(l, tr); });
      return tkKatakana;
    }
    if (IsKanjiLead(b)) {
      run([](unsigned char l, unsigned char) { return IsKanjiLead(l); });
      return tkKanji;
    }
    pos_ += 2;
    return tkDbSymbol;
  }
  ++pos_;
  if (b >= 0xA1 && b <= 0xA5) return tkKanaSymbol;
  if (b >= 0xA6 && b <= 0xDF) {
    while (At(pos_) >= 0xA6 && At(pos_) <= 0xDF && pos_ < text_.size()) ++pos_;
    return tkKana;
  }
  return tkSymbol;
}

const TFountainColor* TFountainParser::TokenColor() const {
  if (token_ == tkBracket && tokenBracket_ >= 0 && tokenBracket_ < fountain_->Brackets.Count()) {
    return &fountain_->Brackets[tokenBracket_].ItemColor;
  }
  if (token_ == tkReserve) return &fountain_->Reserve;
  return nullptr;
}

TRowAttributeData TFountainParser::EndState(int row, const TRowAttributeStringList& rows) {
  const TRowAttributeData start = rows.RowAttributes(row);
  std::string text(rows.View(row));
  const std::size_t rowLength = text.size();
  if (start.EndKind == rowWrapped && row + 1 < rows.Count()) text.append(rows.View(row + 1));
  NewData(text, start);

  TRowAttributeData next;
  next.PrevEndKind = start.EndKind;
  next.BracketIndex = kNoBracket;
  while (NextToken() != tkEnd && static_cast<std::size_t>(SourcePos()) < rowLength) {
    const std::size_t end = pos_;
    if (end <= rowLength) continue;
    // The token runs into the next row.
    const bool regionOpen = token_ == tkBracket && bracketIndex_ >= 0;
    next.StartToken = static_cast<std::uint8_t>(token_);
    next.CarryLength = regionOpen ? 0 : static_cast<std::uint32_t>(std::min<std::size_t>(end - rowLength, 255));
    next.BracketIndex = token_ == tkBracket ? tokenBracket_ : kNoBracket;
    return next;
  }
  if (bracketIndex_ >= 0) {
    next.StartToken = tkBracket;
    next.BracketIndex = bracketIndex_;
  }
  return next;
}

}  // namespace rd
