#include "mathematics/GuardedFunctions.h"

namespace ms {

int16_t SafePower(double x, double y, double& result) {
  result = 0;
  if (x == 0) {
    if (y < 0) {
      ++MathVars.PoleStandIns;
      result = kGuardInfinity;
    }
    return 0;
  }
  if (!(x < 0) && !(x > 0)) return 0;  // NaN base
  if (x > 0 || std::fabs(y - std::trunc(y)) < 1E-7) {
    result = IsProductPower(y) ? WholePower(x, static_cast<int>(y)) : Guard(std::pow(x, y));
    return 0;
  }
  // A negative base with a fractional exponent: look for an odd denominator n with y = m / n
  // (within 0.000501); the real n-th root exists, and the sign is that of (-1)^m.
  for (int n = 1; n <= 101; n += 2) {
    const double yn = y * n;
    const double m = std::floor(yn + 0.0001);
    if (std::fabs(yn - m) < 0.000501) {
      const double magnitude = std::pow(-x, y);
      const bool odd = std::fmod(m, 2.0) != 0;
      result = Guard(odd ? -magnitude : magnitude);
      return 0;
    }
  }
  return kMsgNegativePower;
}

}  // namespace ms
