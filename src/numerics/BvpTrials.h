// Trial curves of a boundary value problem: for a set of initial slopes x'(t0) the system
// X' = F{t,x,y}, Y' = G{t,x,y} is integrated from t0 to tb in 100 fixed steps (the fourth-order
// result of the Runge-Kutta-Fehlberg step), and either the family of curves is drawn, so that
// the slopes bracketing x(tb) = xb can be seen, or the end-miss plot xb - X(tb) against the
// slope, whose zero crossings are the solving slopes. Also the ten-colour curve table.
#pragma once

#include <array>
#include <cstdint>

#include "numerics/Rkf45Step.h"
#include "platform/runtime/Runtime.h"

namespace ms {

constexpr int kTrialSteps = 100;     // fixed steps per trial curve, rows 0..100
constexpr int kFamilyRows = 201;     // BVPFamilyTable rows 0..200 (0..100 used)
constexpr int kFamilySheets = 30;    // sheets 0..29: ten curves times three views
constexpr int kEndMissEntries = 50;  // BVPEndMiss entries 0..49 (0..9 used)

struct BvpTrialData {
  // [row][column][sheet]: sheet k-1 holds (t, x, 0) of curve k, sheet k+9 (t, x', 0), sheet
  // k+19 (x, x', 0).
  std::array<std::array<std::array<double, kFamilySheets>, 3>, kFamilyRows> BVPFamilyTable{};
  // Entry k-1: xb - x(tb) of trial curve k.
  std::array<double, kEndMissEntries> BVPEndMiss{};
  // -1 once DrawBVPFamily drew the trial curves (not the end-miss plot); the picture build takes
  // it (their colours may then be chosen) and clears it.
  int16_t FamilyDrawn = 0;
};

extern BvpTrialData BvpTrials;

void ResetBvpTrials();

// The fixed colour of curve index 1..10 (red, green, blue 0..255); any other index is black.
void GetCurveColor(int16_t index, int16_t& red, int16_t& green, int16_t& blue);

// Computes (unless Replot is set) and draws the trial curves of the slopes in BVPTrialSlopes,
// which, unless a list was given, are filled here: mode curves (at most 10) from a1 in steps of
// (a2 - a1) / mode. With BVPRootsMode set the end-miss plot is drawn instead. mode is positive.
// Returns 0, the right-hand side's message or 3990 (scene store full). Esc ends it without
// drawing.
[[nodiscard]] int16_t PlotBVPFamily(const OdeRhs& f, double t0, double x0, double tb, double xb,
                                    double a1, double a2, double mode);

// Draws the stored trial curves (or the end-miss plot) in the view PlotKind: 0, or 3990.
[[nodiscard]] int16_t DrawBVPFamily();

}  // namespace ms
