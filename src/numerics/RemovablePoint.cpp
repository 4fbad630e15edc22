#include "numerics/RemovablePoint.h"

#include <array>
#include <cmath>

namespace ms {
namespace {

// The samples lie at s = 1, 2 and 4 offsets; the quadratic through them, taken at s = 0
// (Lagrange's weights), leaves an error of the order of the third derivative times the offset
// cubed. A single sample would leave one of the first derivative times the offset, and a smaller
// offset instead would lose the value to cancellation ((1 - cos x) / x^2 has no digit left at x =
// 1e-8): the extrapolation lets the offset stay where rounding does no harm.
constexpr std::array<double, 3> kSampleAt = {1, 2, 4};
constexpr std::array<double, 3> kExtrapolationWeight = {8.0 / 3, -2.0, 1.0 / 3};

// A value that grows by this factor or more at each halving of the distance, at both halvings,
// grows at least like |x|^-0.26: no finite limit. A finite limit changes by a small fraction of
// itself over offsets this small, and one of 0 is approached with falling values.
constexpr double kPoleGrowth = 1.2;

}  // namespace

int16_t LimitAtPoint(const OffsetFunction& valueAt, PointLimit& limit) {
  limit = PointLimit{};
  std::array<double, 3> v{};
  UndefinedQuotientWatch watch;
  for (size_t k = 0; k < v.size(); ++k) {
    if (const int16_t msgNo = valueAt(kSampleAt[k], v[k]); msgNo != 0) return msgNo;
    if (watch.Met()) return 0;
    if (!(std::fabs(v[k]) < kGuardInfinity)) {
      limit.kind = LimitKind::kPole;
      return 0;
    }
  }
  if (std::fabs(v[0]) > kPoleGrowth * std::fabs(v[1]) &&
      std::fabs(v[1]) > kPoleGrowth * std::fabs(v[2])) {
    limit.kind = LimitKind::kPole;
    return 0;
  }
  limit.kind = LimitKind::kFinite;
  limit.value = 0;
  for (size_t k = 0; k < v.size(); ++k) limit.value += kExtrapolationWeight[k] * v[k];
  return 0;
}

}  // namespace ms
