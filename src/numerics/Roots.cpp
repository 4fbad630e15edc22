#include "numerics/Roots.h"

#include <algorithm>
#include <cmath>

#include "numerics/RemovablePoint.h"
#include "platform/runtime/Runtime.h"

namespace ms {
namespace {

// Near a zero of a continuous f the values at the ends of the bracket fall as the bracket
// shrinks; through a pole they grow, across a jump they stay. The converged bracket is bisected
// on to kFurtherShrink of its width (about 20 halvings, well above the doubles where the guarded
// division turns an overflowing quotient into 0); the smaller end magnitude then is compared with
// that of the converged bracket (a zero loses at least kZeroShrink of it) and with the larger
// magnitude at the bracket as given (a zero's is at most kZeroScale of it).
constexpr double kFurtherShrink = 1e-6;
constexpr double kZeroShrink = 0.5;
constexpr double kZeroScale = 1e-6;

// f at the end x of a bracket whose other end is `inside`. Where the guarded division gave 0/0
// (sin x / x at 0, x (x - 0.5) / x at 0) the 0 is no value of f: the limit of f at x approached
// from inside the bracket stands for it, as quadrature takes it. 288 when there is none.
int16_t EndValue(const RealFunction& f, double x, double inside, double& fx) {
  UndefinedQuotientWatch watch;
  if (f(x, fx) != 0) return kMsgNoValue;
  if (!watch.Met()) return 0;
  const double offset = (inside - x) * kRemovableOffset;
  PointLimit limit;
  const int16_t msgNo =
      LimitAtPoint([&](double s, double& v) { return f(x + s * offset, v); }, limit);
  watch.Met();
  if (msgNo != 0 || limit.kind != LimitKind::kFinite) return kMsgNoValue;
  fx = limit.value;
  return 0;
}

// The point at which the bracket [a, b] is split, and f there: its midpoint m, or where f's value
// at m came from 0/0, a point moved off m by kRemovableOffset of the bracket (up, else down), so
// that no end of a bracket rests on a value f does not have. A removable point is then passed by
// as any other, and a jump stays a sign change between two values of f wherever it lies. 288 when
// every point tried gives 0/0.
int16_t SplitPoint(const RealFunction& f, double a, double b, double& m, double& fm) {
  UndefinedQuotientWatch watch;
  if (f(m, fm) != 0) return kMsgNoValue;
  if (!watch.Met()) return 0;
  const double shift = (b - a) * kRemovableOffset;
  const double moves[2] = {std::max(m + shift, std::nextafter(m, b)),
                           std::min(m - shift, std::nextafter(m, a))};
  for (const double moved : moves) {
    if (!(std::min(a, b) < moved && moved < std::max(a, b))) continue;
    if (f(moved, fm) != 0) return kMsgNoValue;
    if (!watch.Met()) {
      m = moved;
      return 0;
    }
  }
  return kMsgNoValue;
}

}  // namespace

int16_t BisectZero(const RealFunction& f, double& a, double& b, double& root, double tol,
                   const ProgressSink& progress) {
  double fa = 0, fb = 0;
  if (EndValue(f, a, b, fa) != 0 || EndValue(f, b, a, fb) != 0) return kMsgNoValue;
  if (rt::Sgn(fa) == rt::Sgn(fb)) return kMsgSameSign;
  // A bracket already within tolerance runs no step: its midpoint is the root.
  root = (a + b) / 2;
  // Each step halves the bracket: log2(|b - a| / tol) steps reach the tolerance.
  const double steps = std::ceil(std::log2(std::fabs(b - a) / tol));
  const double total = std::isfinite(steps) ? std::min<double>(steps, kMaxBisections) : 1;
  for (int step = 0; std::fabs(b - a) > tol && step < kMaxBisections; ++step) {
    progress.Step(step, total);
    double m = (a + b) / 2;
    root = m;
    // The bracket can no longer be halved in double precision: m is as close as it gets.
    if (m == a || m == b) break;
    progress.LetEventsRun();
    if (progress.Aborted()) return 0;
    double fm = 0;
    if (SplitPoint(f, a, b, m, fm) != 0) return kMsgNoValue;
    root = m;
    if (rt::Sgn(fm) != rt::Sgn(fa)) {
      b = m;
    } else {
      a = m;
      fa = fm;
    }
  }
  progress.Step(kMaxBisections, total);
  return 0;
}

int16_t CheckSignChange(const RealFunction& f, double a0, double b0, double a, double b,
                        bool& discontinuity, const ProgressSink& progress) {
  discontinuity = false;
  double fa0 = 0, fb0 = 0, fa = 0, fb = 0;
  if (EndValue(f, a0, b0, fa0) != 0 || EndValue(f, b0, a0, fb0) != 0 ||
      EndValue(f, a, b, fa) != 0 || EndValue(f, b, a, fb) != 0)
    return kMsgNoValue;
  const double converged = std::min(std::fabs(fa), std::fabs(fb));
  ProgressSink quiet = progress;
  quiet.step = nullptr;
  double m = 0;
  if (const int16_t msgNo = BisectZero(f, a, b, m, std::fabs(b - a) * kFurtherShrink, quiet);
      msgNo != 0)
    return msgNo;
  if (EndValue(f, a, b, fa) != 0 || EndValue(f, b, a, fb) != 0) return kMsgNoValue;
  const double last = std::min(std::fabs(fa), std::fabs(fb));
  // NaN or infinity at the ends is no zero either.
  discontinuity = !(last < kZeroShrink * converged ||
                    last < kZeroScale * std::max(std::fabs(fa0), std::fabs(fb0)));
  return 0;
}

}  // namespace ms
