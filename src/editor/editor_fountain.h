// TEditorFountain, the editor's default colouring scheme, and its walker
// TEditorParser: on top of the base walker it knows mail addresses, URLs,
// comments, quoted strings, control codes and prefixed hexadecimal numbers.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "editor/fountain.h"

namespace rd {

using TEditorColor = TFountainColor;

// The colour items of the default scheme, one per group of token kinds.
class TEditorColors {
 public:
  enum TItem { Ank, Comment, DBCS, Hit, Int, Mail, Reserve, Select, Str, Symbol, Url, kItemCount };
  TEditorColors();
  TEditorColor& operator[](TItem i) { return items_[i]; }
  const TEditorColor& operator[](TItem i) const { return items_[i]; }
  // Every item reports its changes here.
  void SetOnChange(const std::function<void()>& onChange);

 private:
  std::array<TEditorColor, kItemCount> items_;
};

class TEditorFountain : public TFountain {
 public:
  TEditorFountain();

  TEditorColors Colors;

  const std::string& Commenter() const { return commenter_; }
  void SetCommenter(std::string_view s) { set(commenter_, std::string(s)); }
  bool ControlCode() const { return controlCode_; }
  void SetControlCode(bool v) { set(controlCode_, v); }
  const std::string& HexPrefix() const { return hexPrefix_; }
  void SetHexPrefix(std::string_view s) { set(hexPrefix_, std::string(s)); }
  bool Mail() const { return mail_; }
  void SetMail(bool v) { set(mail_, v); }
  // Its first character delimits quoted strings.
  const std::string& Quotation() const { return quotation_; }
  void SetQuotation(std::string_view s) { set(quotation_, std::string(s)); }
  bool Url() const { return url_; }
  void SetUrl(bool v) { set(url_, v); }

  std::unique_ptr<TFountainParser> CreateParser() const override;

 private:
  template <class T>
  void set(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    NotifyChange();
  }
  std::string commenter_;
  bool controlCode_ = false;
  std::string hexPrefix_;
  bool mail_ = false;
  std::string quotation_;
  bool url_ = false;
};

class TEditorParser : public TFountainParser {
 public:
  explicit TEditorParser(const TEditorFountain* fountain);
  const TFountainColor* TokenColor() const override;

 protected:
  int ScanToken() override;

 private:
  bool ScanMail();
  bool ScanUrl();
  void ScanQuoted(std::string_view quote);
  const TEditorFountain* scheme_;
};

}  // namespace rd
