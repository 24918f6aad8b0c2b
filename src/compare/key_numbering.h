// The first step of a comparison: the line tables of both texts, with the
// key of every entry numbered and the keys of TextA counted.
//
// A key's number is the position of the entry where it first occurs in
// TextA; a key found only in TextB is numbered by the position of its first
// entry there, counted after all lines of TextA. The numbers do not depend
// on how the work is spread over threads.
#pragma once

#include <memory>

#include "compare/compare_options.h"
#include "compare/pairing.h"
#include "textcode/line_list.h"

namespace rd {

class TKeyNumbering {
 public:
  // All arguments outlive this. `parallel`: the work may use a second thread.
  TKeyNumbering(const TLineList& a, const TLineList& b, const TCompareOptions& options, TLineTables& t,
                bool parallel);
  ~TKeyNumbering();
  TKeyNumbering(const TKeyNumbering&) = delete;
  TKeyNumbering& operator=(const TKeyNumbering&) = delete;

  // One entry per line of TextA that takes part, in text order.
  void BuildTableA();
  // Numbers and counts the keys of TextA.
  void NumberA();
  // The same for TextB, with its table.
  void BuildAndNumberB();

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

}  // namespace rd
