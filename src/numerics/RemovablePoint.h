// The value of a function at a removable point. The evaluator gives 0 for 0/0 (sin x / x at 0,
// (1 - cos x) / x^2 at 0), which is no value of the function there: a quadrature that meets such a
// node takes the function's limit at the node instead, approached from inside its interval.
#pragma once

#include <cstdint>
#include <functional>

#include "mathematics/EvaluatorState.h"

namespace ms {

// Tells whether the evaluator's guarded division met 0/0 since the watch began or since Met was
// last asked.
class UndefinedQuotientWatch : public GuardCountWatch {
 public:
  UndefinedQuotientWatch() : GuardCountWatch(MathVars.UndefinedQuotients) {}
};

// Where the samples are taken: s units of a small offset from the point along a direction into
// the interval (or region), the offset kRemovableOffset of the node spacing.
constexpr double kRemovableOffset = 1.0 / 256;

enum class LimitKind {
  kFinite,     // value holds the limit
  kPole,       // the samples grow towards the point, or are infinite: no finite limit
  kUndefined,  // a sample came out of 0/0 as well: this direction tells nothing
};

struct PointLimit {
  LimitKind kind = LimitKind::kUndefined;
  double value = 0;
};

// valueAt(s, v): v = the function at the point moved s offsets along the direction (s = 1, 2, 4);
// 0, or a message that ends the search. The limit at s -> 0 from the three samples.
using OffsetFunction = std::function<int16_t(double s, double& v)>;
[[nodiscard]] int16_t LimitAtPoint(const OffsetFunction& valueAt, PointLimit& limit);

}  // namespace ms
