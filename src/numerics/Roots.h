// A root of a function of one variable inside a bracket, found by bisection, and the check that
// the sign change it narrowed is a zero rather than a pole or a jump.
#pragma once

#include <cstdint>

#include "numerics/RealFunction.h"
#include "platform/runtime/ProgressSink.h"

namespace ms {

constexpr int16_t kMsgSameSign = 287;  // f has the same sign at both ends of the bracket
constexpr int16_t kMsgNoValue = 288;   // f cannot be evaluated inside the bracket

// Bisection never runs more halvings than this; a bracket of doubles cannot be halved further.
constexpr int kMaxBisections = 2000;

// Bisection on [a, b] (narrowed in place) to width tol; root is the last midpoint. A value of 0/0
// is no value of f: at an end of the bracket f's limit from inside stands for it, and a midpoint
// where f gives one is moved off it. Returns 0,
// kMsgNoValue when f cannot be evaluated, kMsgSameSign when f has the same sign at both ends.
// Every halving lets events run and asks the sink whether to stop: a stopped bisection returns 0
// with the midpoint it had reached. Steps go to the sink's step report.
[[nodiscard]] int16_t BisectZero(const RealFunction& f, double& a, double& b, double& root,
                                 double tol, const ProgressSink& progress = {});
// Whether the sign change that BisectZero narrowed from [a0, b0] to [a, b] is a zero: the bracket
// is halved on to about a millionth of its width (reporting no steps), and discontinuity is set
// when the magnitude of f at its ends does not fall (a pole, where it grows, or a jump) and is not
// small beside f at a0 and b0. Returns 0, or kMsgNoValue when f cannot be evaluated.
[[nodiscard]] int16_t CheckSignChange(const RealFunction& f, double a0, double b0, double a,
                                      double b, bool& discontinuity,
                                      const ProgressSink& progress = {});

}  // namespace ms
