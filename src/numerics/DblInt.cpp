#include "numerics/DblInt.h"

#include <cmath>

#include "mathematics/Math.h"
#include "platform/runtime/Runtime.h"

namespace ms {
namespace {

// Half an even panel count as a loop bound; counts beyond any feasible run are held at a bound
// that keeps the conversion defined (the user stops such a run with Esc).
long HalfCount(double panels) {
  const double half = panels / 2;
  return half > 1e15 ? static_cast<long>(1e15) : static_cast<long>(half);
}

// A node value at the guarded division's infinity (or beyond, or not a number) is a pole of the
// integrand or of a limit function on the region: the rule stops at the first one.
struct PoleWatch {
  bool hit = false;
  double operator()(double v) {
    if (!(std::fabs(v) < kGuardInfinity)) hit = true;
    return v;
  }
};

// Composite Simpson rule over [lo, hi] with an even panel count, sampling g in the order: even
// interior nodes, odd nodes, then the two ends. Every node lets events run and asks whether to
// stop, so that a run of any length stops within a fraction of a second; a stopped rule, or one
// whose nodes met a pole, returns 0.
template <typename G>
double Simpson(double lo, double hi, double panels, const PoleWatch& pole,
               const ProgressSink& progress, G g) {
  const double k = (hi - lo) / panels;
  const long half = HalfCount(panels);
  const auto stop = [&] {
    progress.LetEventsRun();
    return progress.Aborted() || pole.hit;
  };
  double even = 0, odd = 0;
  for (long j = 1; j <= half - 1; ++j) {
    if (stop()) return 0;
    even += g(lo + 2.0 * j * k);
  }
  for (long j = 1; j <= half; ++j) {
    if (stop()) return 0;
    odd += g(lo + (2.0 * j - 1) * k);
  }
  const double g0 = g(lo);
  const double gn = g(hi);
  if (pole.hit) return 0;
  return (2 * even + g0 + 4 * odd + gn) * k / 3;
}

}  // namespace

double NestedSimpson(const PlaneFunction& f, const LineFunction& c, const LineFunction& d, double a,
                     double b, double outerPanels, double innerPanels, bool yInner,
                     const ProgressSink& progress, bool& pole) {
  PoleWatch watch;
  const double total = (outerPanels + 1) * (innerPanels + 1);
  double values = 0;
  progress.Step(values, total);
  const double result = Simpson(a, b, outerPanels, watch, progress, [&](double u) {
    const double lo = watch(c(u));
    const double hi = watch(d(u));
    return Simpson(lo, hi, innerPanels, watch, progress, [&](double v) {
      progress.Step(++values, total);
      return watch(yInner ? f(u, v) : f(v, u));
    });
  });
  pole = watch.hit;
  return result;
}

double EvenPanelCount(double count) {
  double whole = rt::Int(count + 0.1);
  if (std::fmod(whole, 2.0) != 0) whole += 1;
  return whole;
}

}  // namespace ms
