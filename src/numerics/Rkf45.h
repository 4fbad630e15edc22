// x' = F(t, x), x(t0) = x0 solved from t0 to tf by the adaptive Runge-Kutta-Fehlberg 4(5) method
// (E. Fehlberg, "Low-order classical Runge-Kutta formulas with stepsize control and their
// application to some heat transfer problems", NASA TR R-315, 1969; the 4(5) pair as tabulated in
// Burden & Faires, Numerical Analysis, algorithm 5.3). The fourth-order value is carried on, the
// difference of the two orders steers the step size. Every value of F is obtained by text through
// the worksheet compiler (EvalFunctionCall); a thinned selection of the points goes to the shared
// solution table and the curve of the current view into the scene store.
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Fehlberg's 4(5) tableau: stage nodes, stage coefficients (row i holds the weights of k1..k5 for
// stage i + 1), the fourth- and fifth-order weights and the error weights (fifth minus fourth).
namespace fehlberg {
inline constexpr int kStages = 6;
inline constexpr std::array<double, kStages> kNode = {0.0,       1.0 / 4, 3.0 / 8,
                                                      12.0 / 13, 1.0,     1.0 / 2};
inline constexpr std::array<std::array<double, kStages - 1>, kStages> kStage = {{
    {0, 0, 0, 0, 0},
    {1.0 / 4, 0, 0, 0, 0},
    {3.0 / 32, 9.0 / 32, 0, 0, 0},
    {1932.0 / 2197, -7200.0 / 2197, 7296.0 / 2197, 0, 0},
    {439.0 / 216, -8.0, 3680.0 / 513, -845.0 / 4104, 0},
    {-8.0 / 27, 2.0, -3544.0 / 2565, 1859.0 / 4104, -11.0 / 40},
}};
inline constexpr std::array<double, kStages> kOrder4 = {25.0 / 216,    0,        1408.0 / 2565,
                                                        2197.0 / 4104, -1.0 / 5, 0};
inline constexpr std::array<double, kStages> kOrder5 = {16.0 / 135,      0,         6656.0 / 12825,
                                                        28561.0 / 56430, -9.0 / 50, 2.0 / 55};
inline constexpr std::array<double, kStages> kError = {1.0 / 360,       0,        -128.0 / 4275,
                                                       -2197.0 / 75240, 1.0 / 50, 2.0 / 55};
}  // namespace fehlberg

// Results of the differential-equation commands that the steps and the text overlays read.
struct OdeResultsState {
  // Initial slope of the last solution: F(t0, x0) of a single equation, y at the first stored
  // point of a system; the shooting methods write theirs here too.
  double InitialSlope = 0;
  // t0 of the last single-equation solve (the step records the initial slope there).
  double IVPStartT = 0;
  // A boundary value problem was solved by shooting (-1); cleared by every IVP[ solve.
  int16_t BVPSolved = 0;
};

extern OdeResultsState OdeResults;

void ResetOdeResults();

// Message of a right-hand side that cannot be evaluated.
constexpr int16_t kMsgRhsFailed = 2100;
// Limits shared by the initial value solvers.
constexpr double kValueLimit = 100000.0;  // |value| above this stops a solve
constexpr int16_t kMaxStoredRow = 1000;   // last row of the solution table a solve writes

// The value rounded to single precision, as every stored solution value is; a value beyond the
// single-precision range (or NaN) is returned unchanged.
double RoundToSingle(double v);

// The road by which the solvers obtain a right-hand-side value: EvalFunctionCall unless a test
// has wrapped it (to count or record the evaluations).
using RhsEvaluator = int16_t (*)(const rt::Text& resultName, const rt::Text& name,
                                 const double* args, int count, double& value);
RhsEvaluator& RhsEvaluatorEntry();
void ResetRhsEvaluator();

// resultName = name{args...} through the evaluator: 0, or 2100 for any failure (value untouched).
[[nodiscard]] int16_t EvalRhs(const rt::Text& resultName, const rt::Text& name, const double* args,
                              int count, double& value);

// One Fehlberg step of size h from (t, x): tNew = t + h, the fourth- and fifth-order values x4
// and x5, R = |x4 - x5| estimated from the stages (not divided by h) and slope = F(t, x). At
// t = IVPStartT the slope becomes the initial slope. Returns 0, or 2100 when an evaluation fails
// (every output then unset).
[[nodiscard]] int16_t RKF45Step1(const rt::Text& F, double t, double x, double& tNew, double& x4,
                                 double& x5, double h, double& R, double& slope);

// The step size after a step of size h with error estimate errEst: h times
// q = (tol h / (2 errEst))^(1/4), q = 0 when errEst is 0, q kept within [0.1, 4], and never below
// tol.
double NextStepSize(double h, double errEst, double tol);

// Whether a step of size h with error estimate errEst is kept: its error per unit of t is within
// tol (Burden and Faires, algorithm 5.3), or h is already at its floor tol. A step that is not
// kept is taken again with the smaller size NextStepSize gives, so that the error of the
// solution stays within about tol (tf - t0).
bool StepAccepted(double h, double errEst, double tol);

// A point is stored at least every this many steps, whatever the thinning test says.
constexpr int16_t kMaxUnstoredSteps = 3;

// The thinning test: store (store := -1, count := 0) when cur and prev have the same sign and the
// larger magnitude is at least factor times the smaller, or when the sign changes strictly;
// otherwise count goes up by one and store is left as it was.
void TestStoreFactor(double prev, double cur, double factor, int16_t& store, int16_t& count);

// Solves x' = F{t,x} from t0 to tf (F in its two-character form), stores the points in slots 1
// (t, x), 2 (t, x') and 3 (x, x') and builds the curve of the view ODEViewRequest (1 to 3; a code
// of another problem shows view 1). Row 1 holds the start point, rows 2 on the thinned points and
// the last row the end point tf, which the final, shortened step lands on. With Replot set the
// stored rows are drawn again without solving. Returns 0, 2100 or the curve build's 3990.
[[nodiscard]] int16_t SolveIVP1(const rt::Text& F, double t0, double tf, double x0, double factor,
                                double tol);

}  // namespace ms
