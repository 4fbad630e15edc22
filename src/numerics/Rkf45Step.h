// y' = f(t, y) for one to four unknowns by the adaptive Runge-Kutta-Fehlberg 4(5) method
// (E. Fehlberg, "Low-order classical Runge-Kutta formulas with stepsize control and their
// application to some heat transfer problems", NASA TR R-315, 1969; the 4(5) pair as tabulated in
// Burden & Faires, Numerical Analysis, algorithm 5.3). Every unknown is advanced with the
// fourth-order weights; the largest of the unknowns' error estimates (fifth minus fourth order)
// steers the step size through the control of Rkf45Control.h. The right-hand side is a callable:
// the method knows nothing of where its values come from.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "platform/runtime/ProgressSink.h"

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

constexpr int kMaxEquations = 4;

// The right-hand side f(t, y) of n unknowns: writes dydt[0..n-1] and returns 0, or a message
// number when a value cannot be had (the method then stops with that number).
using OdeRhs = std::function<int16_t(double t, const double y[], double dydt[])>;

using OdeValues = std::array<double, kMaxEquations>;

// One step of size h from (t, y) for n unknowns (1..4; any other n does nothing and gives 0): the
// fourth-order values y4 at t + h, errEst, the largest of the unknowns' |fifth - fourth order| (not
// divided by h; NaN when any is NaN), slope = f(t, y), and, where asked for, the fifth-order values
// y5. Returns 0, or the right-hand side's message with every output untouched.
[[nodiscard]] int16_t Rkf45Step(const OdeRhs& f, int n, double t, const OdeValues& y, double h,
                                OdeValues& y4, double& errEst, OdeValues& slope,
                                OdeValues* y5 = nullptr);

// A step as the integration loop hands it to its observer: taken from (t, y) with size h, where
// slope = f(t, y), it reaches (tNew, yNew) with error estimate errEst. accepted tells whether the
// loop keeps it (otherwise it is taken again, smaller); final whether it is the last, shortened
// step that lands on tf.
struct Rkf45Trial {
  double t, h, tNew, errEst;
  const OdeValues& y;
  const OdeValues& slope;
  const OdeValues& yNew;
  bool accepted, final;
};

// The observer of every step tried: true to go on, false to stop the integration there.
using Rkf45Observer = std::function<bool(const Rkf45Trial&)>;

struct Rkf45Run {
  int equations = 1;  // 1..4
  double t0 = 0, tf = 0;
  OdeValues y0{};
  double firstStep = 0.001;
  double tol = 1e-6;
};

// How an integration ended; kBeyondSmallestStep: a step at the smallest step size missed its
// tolerance by more than kSmallestStepMissFactor (Rkf45Control.h), and is not kept.
enum class Rkf45End : uint8_t { kReachedEnd, kStoppedByObserver, kAborted, kBeyondSmallestStep };

// Integrates from t0 to tf (nothing when tf <= t0): before every step the progress sink lets
// events run, and an abort seen before or after that ends the run; each step tried goes to the
// observer before the next size is used; the last step is shortened to land on tf; a step at the
// smallest size that misses its tolerance by far ends the run (kBeyondSmallestStep). On reaching
// tf, yEnd holds the values there. Returns 0 or the right-hand side's message.
[[nodiscard]] int16_t Rkf45Integrate(const OdeRhs& f, const Rkf45Run& run,
                                     const ProgressSink& progress, const Rkf45Observer& observe,
                                     Rkf45End& end, OdeValues& yEnd);

}  // namespace ms
