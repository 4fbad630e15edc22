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
// (289 and no constant when the sign change is a discontinuity). A root search stopped by Esc
// appends the constant marked not computed.
[[nodiscard]] int16_t ProcessZero(const rt::Text& statement);
// Bisection on [a, b] (narrowed in place) to width tol; root is the last midpoint. Returns 0, 288
// when F cannot be evaluated, 287 when F has the same sign at both ends. Every halving polls for
// Esc (PollAbort); an aborted bisection returns 0 with the midpoint it had reached. The
// worksheet's bar shows its steps unless showProgress is false (a further halving of the same
// command).
[[nodiscard]] int16_t BisectZero(int16_t funcIndex, double& a, double& b, double& root, double tol,
                                 bool showProgress = true);
// Whether the sign change that BisectZero narrowed from [a0, b0] to [a, b] is a zero: the bracket
// is halved on to about a millionth of its width, and discontinuity is set when the magnitude of
// F at its ends does not fall (a pole, where it grows, or a jump) and is not small beside F at
// a0 and b0. Returns 0, or 288 when F cannot be evaluated.
[[nodiscard]] int16_t CheckSignChange(int16_t funcIndex, double a0, double b0, double a, double b,
                                      bool& discontinuity);
// fx := F(x) for the function at funcIndex through an assignment text: 0, 57 for an index outside
// the function table, or the evaluator's message.
[[nodiscard]] int16_t EvalFunctionAtX(int16_t funcIndex, double x, double& fx);

// Bisection never runs more halvings than this; a bracket of doubles cannot be halved further.
constexpr int kMaxBisections = 2000;

}  // namespace ms
