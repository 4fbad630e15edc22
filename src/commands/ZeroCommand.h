// Zero[F,{r1,r2,z1}tol]: a root of a one-parameter worksheet function inside a bracket, found by
// bisection at Execute and stored as a new worksheet constant z1.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// The arguments of Zero[F,{a,b,r}tol]: the root of F in [a, b] is stored as the constant r.
struct ZeroArgs {
  int16_t fRecord = 0;  // F's record in FuncTable
  double a = 0, b = 0;  // the bracket
  rt::Text resultId;    // the constant that receives the root
  double tol = 0.00001;
};

// Parses the statement: 0, or the first message met (280..286, 57, or a value reader's message).
[[nodiscard]] int16_t ParseZeroArgs(const rt::Text& statement, ZeroArgs& args);

// Parses the statement, finds the root and appends it as a constant: 0, or the first message
// (287, 288, and 289 with no constant when the sign change is a discontinuity). A root search
// stopped by Esc appends the constant marked not computed.
[[nodiscard]] int16_t ProcessZero(const rt::Text& statement);

}  // namespace ms
