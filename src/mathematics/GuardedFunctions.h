// The guarded numeric functions, defined in this header so that the evaluation loop inlines them.
// They replace every arithmetic failure by a fixed value: 1E+20 stands for an infinite result,
// -1E+20 for a negative infinite one, 0 for an undefined one. Only a negative number under a square
// root (610), an inverse sine or cosine of a number outside [-1, 1] (612), the logarithm of a
// number that is not positive (993), a negative base with no odd root (603) and an unknown name
// (-1) become messages. Every ±1E+20 given for a pole is counted in MathVars.PoleStandIns.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "mathematics/EvaluatorState.h"

namespace ms {

// Results of "+", "*", "M" and "^" that leave the range of doubles become the guard value of
// their sign; an undefined one (NaN) becomes 0.
inline double Guard(double v) {
  if (std::fabs(v) <= DBL_MAX) return v;
  if (std::isnan(v)) return 0;
  return v > 0 ? kGuardInfinity : -kGuardInfinity;
}

// Whole exponents 2 to 4 are computed as products, the way a hand-written polynomial is, at a
// fraction of the cost of pow. Each multiplication rounds once: x*x is exact to half a unit in the
// last place, x*x*x and (x*x)*(x*x) round twice and stay within about a unit of the exact power.
// Longer chains (and quotients for negative exponents, whose intermediate product can overflow
// where the exact power does not) would drift further, so every other exponent goes to pow.
constexpr int kMaxProductPower = 4;

inline bool IsProductPower(double y) {
  return y == 2 || y == 3 || y == kMaxProductPower;
}

inline double ProductPower(double x, int n) {
  const double square = x * x;
  return n == 2 ? square : n == 3 ? square * x : square * square;
}

// x^n for a whole n from 2 to kMaxProductPower under the power rules: a zero or undefined base
// gives 0, every other base the guarded product. SafePower gives the same for these exponents.
inline double WholePower(double x, int n) {
  return x > 0 || x < 0 ? Guard(ProductPower(x, n)) : 0;
}

inline double SafeDivide(double a, double b) {
  if (b == 0) {
    if (a > 0 || a < 0) {
      ++MathVars.PoleStandIns;
      return a > 0 ? kGuardInfinity : -kGuardInfinity;
    }
    ++MathVars.UndefinedQuotients;
    return 0;
  }
  const double q = a / b;
  return std::fabs(q) <= DBL_MAX ? q : 0;
}

// x^y into result: 603 (result 0) for a negative base with no odd root, else 0. Kept out of line:
// its root search would bloat the evaluation loop, which calls it only for a general power.
[[nodiscard]] int16_t SafePower(double x, double y, double& result);

inline double SafeTan(double x) {
  const double half = kWorksheetPi / 2;
  if (x > 0 && std::fabs(x - half) < 1E-20) {
    ++MathVars.PoleStandIns;
    return kGuardInfinity;
  }
  if (x < 0 && (std::fabs(x + half) < 1E-20 || std::fabs(x + 3 * kWorksheetPi / 2) < 1E-20)) {
    ++MathVars.PoleStandIns;
    return -kGuardInfinity;
  }
  const double t = std::tan(x);
  return std::isnan(t) ? 0 : t;
}

inline double SafeSqrt(double x) {
  return x >= 0 ? std::sqrt(x) : 0;
}

inline double UnitStep(double x) {
  return x >= 0 ? 1 : 0;
}

inline double SafeASin(double x) {
  if (x == 1) return kWorksheetPi / 2;
  if (x == -1) return -kWorksheetPi / 2;
  const double r = std::atan(x / std::sqrt(1 - x * x));
  return std::isnan(r) ? 0 : r;
}

inline double SafeACos(double x) {
  if (std::fabs(x) > 1) return 0;
  if (x == -1) return kWorksheetPi;
  if (x == 1) return 0;
  const double r = std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0);
  return std::isnan(r) ? 0 : r;
}

inline double SafeATan(double x) {
  if (x > kGuardInfinity) return kWorksheetPi / 2;
  if (x < -kGuardInfinity) return -kWorksheetPi / 2;
  const double r = std::atan(x);
  return std::isnan(r) ? 0 : r;
}

// The angle of the vector (x, y) in [-π/2, 3π/2), 0 for the zero vector. It is the true angle at
// every scale: a field whose components are all tiny or all huge points where it points. The
// smaller of |x| and |y| is divided by the larger, so the quotient never overflows, and the result
// is built on π/2 or π of the worksheet's π, which the axis directions give exactly.
inline double ATan2(double y, double x) {
  if (x == 0 && y == 0) return 0;
  double r = 0;
  if (std::fabs(y) <= std::fabs(x)) {
    const double a = std::atan(y / x);  // within ±π/4
    r = x > 0 ? a : kWorksheetPi + a;
  } else {
    const double a = std::atan(x / y);  // within ±π/4, the turn away from the y axis
    r = y > 0 ? kWorksheetPi / 2 - a : (x < 0 ? 3 * kWorksheetPi / 2 - a : -kWorksheetPi / 2 - a);
    // A turn too small to show against 3π/2 is straight down, which the range writes as -π/2.
    if (r >= 3 * kWorksheetPi / 2) r = -kWorksheetPi / 2;
  }
  return std::isnan(r) ? 0 : r;
}

// The logarithms of every positive finite number (a double has no overflow to guard against
// here); 0 for any other argument, which the evaluator refuses before it gets here.
inline double SafeLn(double x) {
  return x > 0 && x <= DBL_MAX ? std::log(x) : 0;
}

inline double SafeExp(double x) {
  const double r = std::exp(x);
  if (std::isnan(r)) return 0;
  return std::isinf(r) ? kGuardInfinity : r;
}

// The common logarithm directly, not as ln x / ln 10, whose two roundings miss the whole number of
// more than half of the powers of ten (ln 1E26 / ln 10 is 25.999999999999996).
inline double SafeLog10(double x) {
  return x > 0 && x <= DBL_MAX ? std::log10(x) : 0;
}

inline double Alog10(double x) {
  const double r = std::pow(10.0, x);
  if (std::isnan(r)) return 0;
  return std::isinf(r) ? kGuardInfinity : r;
}

inline double SquareWave(double x) {
  return x > 0 ? 1 : x < 0 ? -1 : 0;
}

inline int16_t SignOf(double x) {
  return x > 0 ? 1 : x < 0 ? -1 : 0;
}

inline int16_t InverterMemory(double x) {
  if (x > 0) {
    MathVars.InvMemory = -1;
    return -1;
  }
  if (x < 0) {
    MathVars.InvMemory = 1;
    return 1;
  }
  return MathVars.InvMemory;
}

inline double ClipUnit(double x) {
  if (x < -1) return -1;
  if (x > 1) return 1;
  return x;
}

// Floor, ceiling and truncation of Floor[, Ceil[ and Int[ (computed in double, so large arguments
// stay exact); each sets its Used flag. "+ 0.0" turns the -0 of floor/ceil/trunc of small negatives
// into 0.
inline double FloorInt(double x) {
  MathVars.UsedFloor = -1;
  return std::floor(x) + 0.0;
}

inline double CeilInt(double x) {
  MathVars.UsedCeil = -1;
  return std::ceil(x) + 0.0;
}

inline double TruncInt(double x) {
  MathVars.UsedInt = -1;
  return std::trunc(x) + 0.0;
}

}  // namespace ms
