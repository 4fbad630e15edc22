// BVP[F,G,{t0,x0,tb,xb,n}] and BVP[F,G,{t0,x0,tb,xb}{slopes}{factor,tol,mode}]: the two-point
// boundary value problem x'' = G(t, x, x') written as the system X' = F{t,x,y}, Y' = G{t,x,y}
// (y standing for x'), with x(t0) = x0 and x(tb) = xb. The statement is parsed on every picture
// build and handed to linear shooting, secant shooting or the trial curves.
//
// Also here: the results of the BVP methods that the graph window, its request runner and its
// text overlays read, kept as one plain state group with a reset. BVPSolved and InitialSlope are
// shared with the initial value solvers and live in OdeResults (Rkf45.h).
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/runtime/Runtime.h"

namespace ms {

// Entries 0..10 of the slope list: entry 0 the count, entries 1..10 the slopes.
constexpr int kMaxTrialSlopes = 10;

struct BvpStateData {
  // Entry 0: the number of trial curves shown (0 when none); entries 1..10 their initial slopes.
  std::array<double, kMaxTrialSlopes + 1> BVPTrialSlopes{};
  // The second brace group was a list of slopes s1;s2;... (-1).
  int16_t BVPListGiven = 0;
  // The mode was negative: the end-miss plot instead of the trial curves (-1).
  int16_t BVPRootsMode = 0;
};

extern BvpStateData Bvp;

// Start-up state of the BVP results and of the working tables of the three methods.
void ResetBvpState();

// The arguments of BVP[F,G,{t0,x0,tb,xb,n}] (linear), BVP[F,G,{t0,x0,tb,xb}{a1,a2}{factor,tol,
// mode}] and BVP[F,G,{t0,x0,tb,xb}{s1;s2;...}{factor,tol,mode}] (shooting).
struct BvpArgs {
  rt::Text F, G;  // x' = F(t, x, y), y' = G(t, x, y)
  double t0 = 0, x0 = 0, tb = 0, xb = 0;
  bool linear = false;
  double n = 0;  // steps of the linear form
  double a1 = 0, a2 = 0;
  double factor = 0, tol = 0, mode = 0;
  // The slope list as far as it was read (a later check may still refuse): whether the second
  // brace group is a list, its entries 1..slopesWritten, and entry 0 (the count) once complete.
  std::optional<bool> listGiven;
  std::array<double, kMaxTrialSlopes + 1> slopes{};
  int slopesWritten = 0;
  bool listComplete = false;
};

// Parses and checks the statement: 0, or the first message met (3500..3560, 3045, 3050, 3059,
// 336, or a range reader's message).
[[nodiscard]] int16_t ParseBvpArgs(const rt::Text& statement, BvpArgs& args);

// The boundary value problem has no unique solution (linear shooting).
constexpr int16_t kMsgNoUniqueSolution = 2110;
// A trial slope of the secant shooting drove x or x' past the value limit.
constexpr int16_t kMsgTrialBeyondLimit = 2111;
// A run of the linear shooting passed the value limit (or lost its numbers) before tb.
constexpr int16_t kMsgRunBeyondLimit = 2112;
// The linear shooting's answer does not meet xb when run again: the equation is not linear.
constexpr int16_t kMsgNotLinear = 2113;
// The linear shooting's steps are too coarse to tell whether the boundary values can be met.
constexpr int16_t kMsgTooFewSteps = 2114;

// The curve drawn by the secant shooting ends more than 10 tol away from xb.
constexpr int16_t kMsgCurveMissesXb = 2116;

// The limit on |x| and |x'| past which an integration stops; NaN counts as beyond it.
constexpr double kBvpValueLimit = 100000;
inline bool BeyondValueLimit(double v) {
  return !(std::abs(v) <= kBvpValueLimit);
}

}  // namespace ms
