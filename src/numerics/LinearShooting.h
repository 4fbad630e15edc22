// Linear shooting by superposition for x'' = G(t, x, x'), x(t0) = x0, x(tb) = xb (Burden and
// Faires, Numerical Analysis, Algorithm 11.1, in the form that needs no separate homogeneous
// equation): the system X' = F, Y' = G is integrated twice with n fixed steps of the classical
// fourth-order Runge-Kutta method, from (x0, 0) and from (x0, 1), and the two runs are combined as
// x = x1 + c (x2 - x1) so that x(tb) = xb. Exact (up to the integration error) when the equation
// is linear in x and x'.
#pragma once

#include <array>
#include <cstdint>

#include "numerics/Rkf45Step.h"
#include "platform/runtime/Runtime.h"

namespace ms {

constexpr int kBvpLastRow = 1000;  // rows 0..1000 of the working tables
// Column groups of a row, one (X, Y, Z) triple per view: x against t, x' against t, x' against x.
constexpr int kBvpViewColumn[3] = {1, 6, 11};
constexpr int kBvpColumns = 14;  // columns 0..13; those between the triples are unused

using BvpRow = std::array<double, kBvpColumns>;
using BvpTable = std::array<BvpRow, kBvpLastRow + 1>;

struct LinearShootingData {
  BvpTable BVPRunTable1{};      // the run from (x0, 0); y in place of x'
  BvpTable BVPRunTable2{};      // the run from (x0, 1)
  BvpTable BVPSolutionTable{};  // the combination, source of every redraw
  // Last row of the last combination (-1 before any): a redraw shows rows 0..SolutionLastRow.
  int16_t SolutionLastRow = -1;
};

extern LinearShootingData LinearShooting;

void ResetLinearShooting();

// One classical Runge-Kutta step of size h for the two unknowns of (x, y)' = f(t, x, y). A
// right-hand side that cannot be evaluated ends the step with its message and nothing written.
[[nodiscard]] int16_t RK4Step2(const OdeRhs& f, double t, double x, double y, double& tNew,
                               double& xNew, double& yNew, double h);

// Solves the linear form (n steps, n at least 1) and draws the view PlotKind (1, 2 or 3; other
// codes show view 1). With Replot set nothing is integrated: the last combination is drawn again.
// Returns 0 or: 2100 (a right-hand side failed), 2110 (x2(tb) - x1(tb) is 0: the homogeneous
// equation has a solution through both boundaries, no unique solution), 2114 (at these steps that
// difference is lost in its integration error, estimated from the same runs at half the step,
// while finer runs show it is not 0: too few steps), 2113 (a run from the combination's start
// slope does not end at xb within the combination's integration error: the equation is not
// linear), 2112 (a run passes 100000 in x or x', or loses its numbers, before tb), 3990 (scene
// store full). More than 1000 steps show "Out of space, for now". Esc (AbortRun) ends it without
// drawing. Sets InitialSlope.
[[nodiscard]] int16_t SolveBVPLinear(const OdeRhs& f, double t0, double x0, double tb, double xb,
                                     double n);

// Draws rows 1..lastRow of the view PlotKind of the solution table into the scene store: 0, or
// 3990 when the scene store is full.
[[nodiscard]] int16_t DrawBVPLinear(int lastRow);

}  // namespace ms
