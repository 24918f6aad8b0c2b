#include "app/window_texts.h"

namespace rd {

std::string ModifiedPanesName(bool modifiedA, bool modifiedB) {
  if (modifiedA && modifiedB) return "TextAとTextB";
  if (modifiedA) return "TextA";
  if (modifiedB) return "TextB";
  return {};
}

std::string CloseQuestion(bool modifiedA, bool modifiedB) {
  const std::string name = ModifiedPanesName(modifiedA, modifiedB);
  return name.empty() ? name : name + "が変更されています。終了してよろしいですか？";
}

std::string CompareOutcome(std::size_t countA, std::size_t countB) {
  if (countA == 0 && countB == 0) return "違いはありませんでした";
  if (countA == 0) return "TextB のみエラーがあります";
  if (countB == 0) return "TextA のみエラーがあります";
  return {};
}

std::string LostCharactersNotice(std::size_t lost) {
  return "変換できない文字が " + std::to_string(lost) + " 文字あります。保存するとこれらの文字は失われます。";
}

}  // namespace rd
