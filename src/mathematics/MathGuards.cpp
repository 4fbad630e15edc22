// The guarded numeric functions of the evaluator: each replaces an arithmetic failure by the fixed
// value the worksheet language gives it (see Math.h).
#include <cfloat>
#include <cmath>

#include "mathematics/Math.h"

namespace ms {

double SafeDivide(double a, double b) {
  if (b == 0) {
    if (a > 0) return kGuardInfinity;
    if (a < 0) return -kGuardInfinity;
    return 0;
  }
  const double q = a / b;
  return std::fabs(q) <= DBL_MAX ? q : 0;
}

double SafeTan(double x) {
  const double half = kWorksheetPi / 2;
  if (x > 0 && std::fabs(x - half) < 1E-20) return kGuardInfinity;
  if (x < 0 && (std::fabs(x + half) < 1E-20 || std::fabs(x + 3 * kWorksheetPi / 2) < 1E-20)) {
    return -kGuardInfinity;
  }
  const double t = std::tan(x);
  return std::isnan(t) ? 0 : t;
}

double SafeSqrt(double x) {
  return x >= 0 ? std::sqrt(x) : 0;
}

double UnitStep(double x) {
  return x >= 0 ? 1 : 0;
}

double SafeASin(double x) {
  if (x == 1) return kWorksheetPi / 2;
  if (x == -1) return -kWorksheetPi / 2;
  const double r = std::atan(x / std::sqrt(1 - x * x));
  return std::isnan(r) ? 0 : r;
}

double SafeACos(double x) {
  if (std::fabs(x) > 1) return 0;
  if (x == -1) return kWorksheetPi;
  if (x == 1) return 0;
  const double r = std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0);
  return std::isnan(r) ? 0 : r;
}

double SafeATan(double x) {
  if (x > kGuardInfinity) return kWorksheetPi / 2;
  if (x < -kGuardInfinity) return -kWorksheetPi / 2;
  const double r = std::atan(x);
  return std::isnan(r) ? 0 : r;
}

double ATan2(double y, double x) {
  const double sy = y > 0 ? 1 : y < 0 ? -1 : 0;
  if (std::fabs(x) < 1E-8) return sy * kWorksheetPi / 2;
  const double q = y / x;
  if (!(std::fabs(q) <= DBL_MAX)) return 0;
  if (std::fabs(q) > kGuardInfinity) return (q > 0 ? 1 : -1) * kWorksheetPi / 2;
  if (x > 0) return sy * std::atan(std::fabs(q));
  if (x < 0 && y > 0) return kWorksheetPi - std::atan(std::fabs(q));
  if (x < 0 && y + 0.0001 < 0) return kWorksheetPi + std::atan(q);
  if (x < 0) return kWorksheetPi;  // on the negative x axis
  return 0;
}

double SafeLn(double x) {
  static const double kLimit = std::pow(10.0, 25.0);
  if (x > 0 && x < kLimit) return std::log(x);
  return 0;
}

double SafeExp(double x) {
  const double r = std::exp(x);
  if (std::isnan(r)) return 0;
  return std::isinf(r) ? kGuardInfinity : r;
}

double SafeLog10(double x) {
  static const double kLimit = std::pow(10.0, 25.0);
  if (x > 0 && x < kLimit) return std::log(x) / std::log(10.0);
  return 0;
}

double Alog10(double x) {
  const double r = std::pow(10.0, x);
  if (std::isnan(r)) return 0;
  return std::isinf(r) ? kGuardInfinity : r;
}

double SquareWave(double x) {
  return x > 0 ? 1 : x < 0 ? -1 : 0;
}

int16_t SignOf(double x) {
  return x > 0 ? 1 : x < 0 ? -1 : 0;
}

int16_t InverterMemory(double x) {
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

double ClipUnit(double x) {
  if (x < -1) return -1;
  if (x > 1) return 1;
  return x;
}

// "+ 0.0" turns the -0 of floor/ceil/trunc of small negatives into 0.
double FloorInt(double x) {
  MathVars.UsedFloor = -1;
  return std::floor(x) + 0.0;
}

double CeilInt(double x) {
  MathVars.UsedCeil = -1;
  return std::ceil(x) + 0.0;
}

double TruncInt(double x) {
  MathVars.UsedInt = -1;
  return std::trunc(x) + 0.0;
}

}  // namespace ms
