// The editor's default colouring scheme: the steps tried at each token start,
// in order, are bracket regions, mail addresses, URLs, comments, quoted
// strings, control codes, prefixed hex numbers and then the base classes.
#include "editor/editor_fountain.h"

#include "editor/sjis.h"

namespace rd {

TEditorColors::TEditorColors() {
  items_[Select].SetBkColor(clNavy);
  items_[Select].SetColor(clWhite);
}

void TEditorColors::SetOnChange(const std::function<void()>& onChange) {
  for (TEditorColor& c : items_) c.OnChange = onChange;
}

TEditorFountain::TEditorFountain() {
  Colors.SetOnChange([this] { NotifyChange(); });
}

std::unique_ptr<TFountainParser> TEditorFountain::CreateParser() const { return std::make_unique<TEditorParser>(this); }

TEditorParser::TEditorParser(const TEditorFountain* fountain) : TFountainParser(fountain), scheme_(fountain) {}

namespace {

bool IsAlnum(unsigned char b) { return (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'); }
bool IsMailByte(unsigned char b) { return IsAlnum(b) || b == '.' || b == '_' || b == '-' || b == '+' || b == '@'; }
bool IsUrlByte(unsigned char b) {
  if (IsAlnum(b)) return true;
  switch (b) {
    case '-': case '.': case '_': case '~': case ':': case '/': case '?': case '#': case '[': case ']':
    case '@': case '!': case '$': case '&': case '*': case '+': case ',': case ';': case '=': case '%':
      return true;
    default:
      return false;
  }
}
bool IsHex(unsigned char b) { return (b >= '0' && b <= '9') || (b >= 'a' && b <= 'f') || (b >= 'A' && b <= 'F'); }

}  // namespace

// A run of mail characters that holds an at sign with a full stop later on;
// full stops at the end of the run do not belong to the address.
bool TEditorParser::ScanMail() {
  if (!IsAlnum(At(pos_))) return false;
  std::size_t end = pos_;
  std::size_t at = std::string::npos;
  while (end < text_.size() && IsMailByte(At(end))) {
    if (At(end) == '@') {
      if (at != std::string::npos) break;
      at = end;
    }
    ++end;
  }
  while (end > pos_ && At(end - 1) == '.') --end;
  if (at == std::string::npos || at == pos_) return false;
  const std::size_t dot = std::string_view(text_).substr(0, end).find('.', at + 1);
  if (dot == std::string::npos || dot == at + 1) return false;
  pos_ = end;
  return true;
}

bool TEditorParser::ScanUrl() {
  static constexpr std::string_view kPrefixes[] = {"ftp:", "http:", "https:", "www."};
  for (std::string_view prefix : kPrefixes) {
    if (StartsWith(prefix, true)) {
      pos_ += prefix.size();
      while (pos_ < text_.size() && IsUrlByte(At(pos_))) ++pos_;
      return true;
    }
  }
  return false;
}

// From the opening quote to the next quote that is not doubled, or to the
// end of the row; double-byte characters are skipped whole.
void TEditorParser::ScanQuoted(std::string_view quote) {
  pos_ += quote.size();
  while (pos_ < text_.size() && At(pos_) != 0 && At(pos_) != '\r' && At(pos_) != '\n') {
    if (StartsWith(quote, false)) {
      pos_ += quote.size();
      if (!StartsWith(quote, false)) return;
      pos_ += quote.size();
      continue;
    }
    pos_ += sjis::CharLength(text_, pos_);
  }
}

int TEditorParser::ScanToken() {
  if (ScanBracketOpen()) return tkBracket;
  if (scheme_->Mail() && ScanMail()) return tkMail;
  if (scheme_->Url() && ScanUrl()) return tkUrl;
  if (StartsWith(scheme_->Commenter(), false)) {
    while (pos_ < text_.size() && At(pos_) != 0 && At(pos_) != '\r' && At(pos_) != '\n') ++pos_;
    return tkComment;
  }
  if (const std::string& q = scheme_->Quotation(); !q.empty()) {
    const std::string_view quote(q.data(), sjis::CharLength(q, 0));
    if (StartsWith(quote, false)) {
      ScanQuoted(quote);
      return tkString;
    }
  }
  if (scheme_->ControlCode() && At(pos_) == '#') {
    if (At(pos_ + 1) == '$' && IsHex(At(pos_ + 2))) {
      pos_ += 2;
      ScanHexDigits();
      return tkHexControlCode;
    }
    if (At(pos_ + 1) >= '0' && At(pos_ + 1) <= '9') {
      ++pos_;
      ScanDigits();
      return tkControlCode;
    }
  }
  if (const std::string& prefix = scheme_->HexPrefix(); StartsWith(prefix, true) && IsHex(At(pos_ + prefix.size()))) {
    pos_ += prefix.size();
    ScanHexDigits();
    return tkHex;
  }
  return ScanByFirstByte();
}

const TFountainColor* TEditorParser::TokenColor() const {
  const TEditorColors& c = scheme_->Colors;
  switch (Token()) {
    case tkSymbol: return &c[TEditorColors::Symbol];
    case tkInt: case tkFloat: case tkHex: return &c[TEditorColors::Int];
    case tkComment: return &c[TEditorColors::Comment];
    case tkAnk: return &c[TEditorColors::Ank];
    case tkDbSymbol: case tkDbInt: case tkDbAlpha: case tkHiragana: case tkKatakana: case tkKanji:
    case tkKanaSymbol: case tkKana:
      return &c[TEditorColors::DBCS];
    case tkUrl: return &c[TEditorColors::Url];
    case tkMail: return &c[TEditorColors::Mail];
    case tkReserve: return &c[TEditorColors::Reserve];
    case tkString: case tkControlCode: case tkHexControlCode: return &c[TEditorColors::Str];
    default: return TFountainParser::TokenColor();
  }
}

}  // namespace rd
