// c=dblInt[F,C,D,{a,b,n,m,x|y}]: the double integral of a two-parameter worksheet function over
// the region between two constant outer limits and two one-parameter limit functions, stored as
// the worksheet constant c.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// The arguments of c=dblInt[F,C,D,{a,b,n,m,v}].
struct DblIntArgs {
  rt::Text constId;                               // the constant the result is stored in
  int16_t fRecord = 0, cRecord = 0, dRecord = 0;  // F(x, y) and the inner limits C, D
  double a = 0, b = 0;                            // the outer limits
  double n = 0, m = 0;                            // panel counts, made even
  rt::Text variable;                              // "x" or "y": the inner variable
};

// Parses and checks the statement: 0, or the first message met (6000..6092 or a range reader's
// message). constId is set whatever the message.
[[nodiscard]] int16_t ParseDblIntArgs(const rt::Text& statement, DblIntArgs& args);

// Parses the statement and computes the integral into its constant: 0 (also when Esc stopped it,
// nothing stored), the parser's message, or kMsgIntegralPole after the pole box when an integrand
// or limit value met the guarded division's infinity (or is not a number), nothing stored.
[[nodiscard]] int16_t ProcessDblInt(const rt::Text& statement);

}  // namespace ms
