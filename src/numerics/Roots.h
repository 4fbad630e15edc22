// Zero[F,{r1,r2,z1}tol]: a root of a one-parameter worksheet function inside a bracket, found by
// bisection at Execute and stored as a new worksheet constant z1.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

void ProcessZero(rt::Text& statement, int16_t& msgNo);
// Bisection on [a, b] (narrowed in place) to width tol; root is the last midpoint.
void BisectZero(int16_t& funcIndex, double& a, double& b, double& root, double& tol,
                int16_t& msgNo);
// fx := F(x) for the function at funcIndex through an assignment text; tol is not used.
void EvalFunctionAtX(int16_t& funcIndex, double& x, double& fx, double& tol, int16_t& msgNo);

// Bisection never runs more halvings than this; a bracket of doubles cannot be halved further.
constexpr int kMaxBisections = 2000;

}  // namespace ms
