// Texts the main window builds from its state: questions before edits are
// discarded and what a finished comparison tells the user.
#pragma once

#include <cstddef>
#include <string>

namespace rd {

// "TextAとTextB", "TextA" or "TextB" for the modified panes; empty for none.
std::string ModifiedPanesName(bool modifiedA, bool modifiedB);

// The question before the window closes with edits; empty for none.
std::string CloseQuestion(bool modifiedA, bool modifiedB);

// What a comparison without a message tells: "違いはありませんでした", a
// one-sided text, or nothing when both texts have differences.
std::string CompareOutcome(std::size_t countA, std::size_t countB);

// "変換できない文字が N 文字あります。…" after a lossy load.
std::string LostCharactersNotice(std::size_t lost);

}  // namespace rd
