// TEditorWrapOption and the wrapping of one line into rows by the Japanese
// line-breaking rules: double-byte characters never split, optional word
// breaks, hanging punctuation, and the line-start and line-end prohibitions.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rd {

class TEditorWrapOption {
 public:
  int WrapByte() const { return wrapByte_; }
  // Clamped to 20..250.
  void SetWrapByte(int v);
  bool WordBreak() const { return wordBreak_; }
  void SetWordBreak(bool v) { set(wordBreak_, v); }
  bool FollowPunctuation() const { return followPunctuation_; }
  void SetFollowPunctuation(bool v) { set(followPunctuation_, v); }
  const std::string& PunctuationStr() const { return punctuationStr_; }
  void SetPunctuationStr(std::string_view v) { set(punctuationStr_, std::string(v)); }
  bool Leading() const { return leading_; }
  void SetLeading(bool v) { set(leading_, v); }
  // Characters that must not end a row.
  const std::string& LeadStr() const { return leadStr_; }
  void SetLeadStr(std::string_view v) { set(leadStr_, std::string(v)); }
  // Characters that must not begin a row.
  const std::string& FollowStr() const { return followStr_; }
  void SetFollowStr(std::string_view v) { set(followStr_, std::string(v)); }
  bool FollowRetMark() const { return followRetMark_; }
  void SetFollowRetMark(bool v) { set(followRetMark_, v); }

  // Called after every change; the row store re-wraps then.
  std::function<void()> OnChange;

 private:
  template <class T>
  void set(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    if (OnChange) OnChange();
  }
  int wrapByte_ = 80;
  bool wordBreak_ = false;
  bool followPunctuation_ = false;
  // Shift_JIS: "、。，．,.｡､"
  std::string punctuationStr_ = "\x81\x41\x81\x42\x81\x43\x81\x44,.\xA1\xA4";
  bool leading_ = false;
  // Shift_JIS: "（［｛「『([{｢"
  std::string leadStr_ = "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77([{\xA2";
  // Shift_JIS: "、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"
  std::string followStr_ =
      "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52\x81\x53\x81\x54\x81\x55"
      "\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78!),.:;?]}\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
  bool followRetMark_ = false;
};

// Cuts `line` (no line break inside) into rows of at most about WrapByte
// columns. Every row but the last is wrapped; the views point into `line`.
// With `rows` null only counts. A line shorter than WrapByte is one row.
int WrapLine(std::string_view line, const TEditorWrapOption& option, int tabSpaceCount,
             std::vector<std::string_view>* rows);

}  // namespace rd
