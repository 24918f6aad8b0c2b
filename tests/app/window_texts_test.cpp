// The texts the main window builds from its state.
#include <gtest/gtest.h>

#include "app/window_texts.h"

namespace rd {
namespace {

TEST(WindowTexts, CloseQuestionNamesTheModifiedPanes) {
  EXPECT_EQ(CloseQuestion(true, true), "TextAとTextBが変更されています。終了してよろしいですか？");
  EXPECT_EQ(CloseQuestion(true, false), "TextAが変更されています。終了してよろしいですか？");
  EXPECT_EQ(CloseQuestion(false, true), "TextBが変更されています。終了してよろしいですか？");
  EXPECT_EQ(CloseQuestion(false, false), "");
}

TEST(WindowTexts, CompareOutcome) {
  EXPECT_EQ(CompareOutcome(0, 0), "違いはありませんでした");
  EXPECT_EQ(CompareOutcome(0, 3), "TextB のみエラーがあります");
  EXPECT_EQ(CompareOutcome(2, 0), "TextA のみエラーがあります");
  EXPECT_EQ(CompareOutcome(1, 1), "");
  EXPECT_EQ(LostCharactersNotice(12), "変換できない文字が 12 文字あります。保存するとこれらの文字は失われます。");
}

}  // namespace
}  // namespace rd
