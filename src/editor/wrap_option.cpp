// Wrapping one line: a cursor walks the column attribute string of the rest
// of the line; it starts on column WrapByte and is moved back or forward by
// the rules in turn (double-byte characters, word breaks, hanging
// punctuation, prohibitions), then the bytes up to it become a row.
#include "editor/wrap_option.h"

#include <algorithm>

#include "editor/column_model.h"
#include "editor/sjis.h"

namespace rd {

void TEditorWrapOption::SetWrapByte(int v) { set(wrapByte_, std::clamp(v, 20, 250)); }

namespace {

// Column p (from 1) of a row, its attribute, and b, the bytes of the text
// up to and including column p (filler columns hold no byte).
class TWrapCursor {
 public:
  TWrapCursor(std::string_view text, std::string attrs) : text_(text), attrs_(std::move(attrs)) {
    attrs_ += '0';
    b_ = counts(attrs_[0]) ? 1 : 0;
  }
  int P() const { return p_; }
  int B() const { return b_; }
  char Attr() const { return attrs_[static_cast<std::size_t>(p_ - 1)]; }
  bool AtEnd() const { return Attr() == '0'; }
  // Columns of the row text, without the end marker.
  int Length() const { return static_cast<int>(attrs_.size()) - 1; }

  void Forward() {
    if (AtEnd()) return;
    ++p_;
    if (counts(Attr())) ++b_;
  }
  void Back() {
    if (p_ == 1) return;
    if (counts(Attr())) --b_;
    --p_;
  }
  void WholeBack() {
    Back();
    if (Attr() == '4') Back();
  }
  void MoveTo(int n) {
    while (p_ < n && !AtEnd()) Forward();
    while (p_ > n && p_ > 1) Back();
  }
  // The character whose column the cursor stands on.
  std::string_view Char() const {
    if (AtEnd() || b_ == 0) return {};
    switch (Attr()) {
      case '4': return text_.substr(static_cast<std::size_t>(b_ - 1), 2);
      case '5': return text_.substr(static_cast<std::size_t>(b_ - 2), 2);
      default: return text_.substr(static_cast<std::size_t>(b_ - 1), 1);
    }
  }
  std::string_view NextChar() {
    if (AtEnd()) return {};
    Forward();
    const std::string_view c = Char();
    Back();
    return c;
  }

 private:
  static bool counts(char a) { return a != '3' && a != '0'; }
  std::string_view text_;
  std::string attrs_;
  int p_ = 1;
  int b_ = 0;
};

}  // namespace

int WrapLine(std::string_view line, const TEditorWrapOption& option, int tabSpaceCount,
             std::vector<std::string_view>* rows) {
  const int w = option.WrapByte();
  const TColumnLayout layout{tabSpaceCount, true, w};
  std::string attrs = ColumnAttributes(line, layout);
  if (static_cast<int>(attrs.size()) < w) {
    if (rows) rows->push_back(line);
    return 1;
  }
  int count = 0;
  std::string_view rest = line;
  for (;;) {
    TWrapCursor c(rest, std::move(attrs));
    c.MoveTo(w);
    if (c.AtEnd()) {
      if (!rest.empty() || !option.FollowRetMark()) {
        if (rows) rows->push_back(rest);
        ++count;
      }
      return count;
    }
    if (c.Attr() == '4') {
      c.Back();
    } else if (option.WordBreak() && c.Length() > w) {
      // Back to the last delimiter, tab or double-byte character; a word
      // with no break above a third of the width is cut at the width.
      TWrapCursor at = c;
      while (c.Attr() != '2' && c.Attr() != '3' && c.Attr() != '5' && c.P() > w / 3) c.WholeBack();
      if (c.Attr() != '2' && c.Attr() != '3' && c.Attr() != '5') c = at;
    }
    if (option.FollowPunctuation()) {
      while (c.P() < w + 2 && sjis::ContainsChar(option.PunctuationStr(), c.NextChar())) {
        c.Forward();
        if (c.Attr() == '4') c.Forward();
      }
    }
    if (option.Leading() && c.P() < c.Length()) {
      const int floor = w / 5 * 4;
      while (c.P() > floor && sjis::ContainsChar(option.LeadStr(), c.Char())) c.WholeBack();
      if (c.P() + 1 < c.Length() && sjis::ContainsChar(option.FollowStr(), c.NextChar())) {
        while (c.P() > floor && (sjis::ContainsChar(option.LeadStr(), c.Char()) ||
                                 sjis::ContainsChar(option.FollowStr(), c.NextChar()))) {
          c.WholeBack();
        }
      }
    }
    const auto bytes = static_cast<std::size_t>(std::max(c.B(), 1));
    if (rows) rows->push_back(rest.substr(0, bytes));
    ++count;
    rest.remove_prefix(std::min(bytes, rest.size()));
    attrs = ColumnAttributes(rest, layout);
  }
}

}  // namespace rd
