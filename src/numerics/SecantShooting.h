// Shooting with the secant method for x'' = G(t, x, x'), x(t0) = x0, x(tb) = xb (Burden and
// Faires, Numerical Analysis, section 11.2, with the secant rule in place of Newton's): the end
// value X(s) of the initial slope s comes from 100 fixed classical Runge-Kutta steps, the slope is
// improved by s2 = s1 + (xb - X1)(s1 - s0)/(X1 - X0), and the final curve of the slope found is
// computed and drawn by the adaptive two-equation initial value solver. The fixed steps can be too
// coarse for the curve drawn: from their slope the same secant rule goes on with the end values of
// the adaptive integration, so that the curve drawn is the one that meets xb.
#pragma once

#include <cstdint>

#include "numerics/Rkf45Step.h"
#include "platform/runtime/Runtime.h"

namespace ms {

constexpr int kShootSteps = 100;  // fixed steps of one end-value integration

// X(slope): exactly 100 steps from (t0, x0, slope), the last ending on tb. X is written and
// reached set only when tb is reached; a step beyond 100000 in x or x' (or not a number) shows
// "For first estimate: ..." and leaves X (returns 0). 2100 when a right-hand side cannot be
// evaluated (the right-hand side's message); Esc (AbortRun) returns 0 at once.
[[nodiscard]] int16_t ShootEndValue(const OdeRhs& f, double t0, double x0, double tb, double slope,
                                    double& X, bool& reached);

// Finds the slope by the secant rule from s0 and s1 (both overwritten) and draws its curve with
// SolveShootingCurve (factor, tol), after settling it on that solver's own end values (at most 20
// more secant steps); a drawn curve that still ends more than 10 tol away from xb shows 2116's
// text with X(tb) and xb in a box. With Replot set the last solution is drawn again from the
// stored rows. Slopes that settle within tol while their end value misses xb by more than 10 tol,
// end values that stop changing while xb is missed, and 50 secant steps that have not met xb show
// the non-convergence box and draw nothing (returning 0). A trial slope whose run passes 100000
// ends the shooting with 2111 after its box: it is never taken for the answer. Messages of the
// steps (2100) and of the final solve are returned.
[[nodiscard]] int16_t ShootBVP(const OdeRhs& f, double t0, double x0, double tb, double xb,
                               double& s0, double& s1, double factor, double tol,
                               const ProgressSink& progress);

}  // namespace ms
