#include "numerics/DblInt.h"

#include <cmath>

#include "mathematics/Evaluator.h"
#include "numerics/RemovablePoint.h"
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
  // A value that cannot be had (not a number) at an inner node of a rule: the integrand has no
  // real value inside the region.
  bool undefined = false;
  double operator()(double v) {
    if (!(std::fabs(v) < kGuardInfinity)) hit = true;
    return v;
  }
};

// The offset of a limit's samples from a node at `at` of [lo, hi] in `panels` panels: towards the
// middle of the interval, a small fraction of the node spacing.
double Inward(double at, double lo, double hi, double panels) {
  return (lo + hi > 2 * at ? 1 : -1) * std::fabs(hi - lo) / panels * kRemovableOffset;
}

// The limit of value(s) at s -> 0 (s in offsets); the functions here give 0 for what cannot be had
// and never fail.
PointLimit LimitAlong(const std::function<double(double s)>& value) {
  PointLimit found;
  if (LimitAtPoint(
          [&](double s, double& v) -> int16_t {
            v = value(s);
            return 0;
          },
          found) != 0)
    found.kind = LimitKind::kUndefined;
  return found;
}

// Composite Simpson rule over [lo, hi] with an even panel count, sampling g(node, atEnd) in the
// order: even interior nodes, odd nodes, then the two ends. Every node lets events run and asks
// whether to stop, so that a run of any length stops within a fraction of a second; a stopped rule,
// or one whose nodes met a pole, returns 0.
template <typename G>
double Simpson(double lo, double hi, double panels, const PoleWatch& pole,
               const ProgressSink& progress, G g) {
  const double k = (hi - lo) / panels;
  const long half = HalfCount(panels);
  const auto stop = [&] {
    progress.LetEventsRun();
    return progress.Aborted() || pole.hit || pole.undefined;
  };
  double even = 0, odd = 0;
  for (long j = 1; j <= half - 1; ++j) {
    if (stop()) return 0;
    even += g(lo + 2.0 * j * k, false);
  }
  for (long j = 1; j <= half; ++j) {
    if (stop()) return 0;
    odd += g(lo + (2.0 * j - 1) * k, false);
  }
  const double g0 = g(lo, true);
  const double gn = g(hi, true);
  if (pole.hit || pole.undefined) return 0;
  return (2 * even + g0 + 4 * odd + gn) * k / 3;
}

}  // namespace

double NestedSimpson(const PlaneFunction& f, const LineFunction& c, const LineFunction& d, double a,
                     double b, double outerPanels, double innerPanels, bool yInner,
                     const ProgressSink& progress, bool& pole, bool* undefinedInside) {
  PoleWatch watch;
  // A value the caller could not have (not a number) at a node on the region's edge counts as 0:
  // rounding makes such values there (y^2 just past 1 - x^2 under Sqrt[ at y = Sqrt[1 - x^2]).
  // Inside the region it is the integrand's own: without undefinedInside it counts as a pole.
  const auto edgeOrInside = [&](double value, bool atEdge) {
    if (!std::isnan(value)) return value;
    if (atEdge) return 0.0;
    if (undefinedInside != nullptr) {
      watch.undefined = true;
      return 0.0;
    }
    return value;
  };
  UndefinedQuotientWatch quotients;
  const double total = (outerPanels + 1) * (innerPanels + 1);
  double values = 0;
  progress.Step(values, total);
  // A limit function's value of 0/0: its limit from inside [a, b].
  const auto limitValue = [&](const LineFunction& g, double u, bool atEdge) {
    const double value = edgeOrInside(g(u), atEdge);
    if (!quotients.Met()) return watch(value);
    const PointLimit found =
        LimitAlong([&](double s) { return g(u + s * Inward(u, a, b, outerPanels)); });
    quotients.Met();
    if (found.kind != LimitKind::kFinite) watch.hit = true;
    return watch(found.value);
  };
  const double result = Simpson(a, b, outerPanels, watch, progress, [&](double u, bool outerEnd) {
    const double lo = limitValue(c, u, outerEnd);
    const double hi = limitValue(d, u, outerEnd);
    return Simpson(lo, hi, innerPanels, watch, progress, [&](double v, bool innerEnd) {
      progress.Step(++values, total);
      const auto at = [&](double outer, double inner) {
        return yInner ? f(outer, inner) : f(inner, outer);
      };
      const double value = edgeOrInside(at(u, v), outerEnd || innerEnd);
      if (!quotients.Met()) return watch(value);
      // A value of 0/0 (sin(x y) / (x y) on an axis): the limit from inside the region, along the
      // inner variable, else along the outer one (the inner line lies in the removable set), else
      // along both (a corner).
      const double du = Inward(u, a, b, outerPanels), dv = Inward(v, lo, hi, innerPanels);
      const double directions[3][2] = {{0, dv}, {du, 0}, {du, dv}};
      for (const auto& dir : directions) {
        const PointLimit found =
            LimitAlong([&](double s) { return at(u + s * dir[0], v + s * dir[1]); });
        quotients.Met();
        if (found.kind == LimitKind::kFinite) return watch(found.value);
        if (found.kind == LimitKind::kPole) break;
      }
      watch.hit = true;
      return 0.0;
    });
  });
  pole = watch.hit;
  if (undefinedInside != nullptr) *undefinedInside = watch.undefined;
  return result;
}

double EvenPanelCount(double count) {
  double whole = rt::Int(count + 0.1);
  if (std::fmod(whole, 2.0) != 0) whole += 1;
  return whole;
}

}  // namespace ms
