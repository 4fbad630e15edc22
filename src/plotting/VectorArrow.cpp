#include <cmath>

#include "mathematics/Evaluator.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

namespace ms {

namespace {
// Barb angle of an arrow head: 0.9 pi, the barbs sweeping back 18 degrees off the shaft.
constexpr double kBarbAngle = 2.82743338824;
constexpr double kBarbLength = 0.2;
constexpr double kFlatTolerance = 0.001;
}  // namespace

void AddVectorArrow(double tailX, double tailY, double tailZ, double headX, double headY,
                    double headZ, int16_t /*count*/, int32_t red, int32_t green, int32_t blue) {
  const double dx = headX - tailX, dy = headY - tailY, dz = headZ - tailZ;
  const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (length == 0) {
    ui::Ui().MsgBox(u"Vector length of zero was detected.", ui::kExclamation, u"Vector");
    return;
  }
  const double h = kBarbLength * View.ArrowHeadScale;
  View.ArrowAngleFactor = View.ArrowAngleScale * View.ArrowAngleFactor;
  const double w = View.ArrowAngleFactor * kBarbAngle;
  Point3 head{headX, headY, headZ};
  Point3 barb1, barb2;
  if (std::fabs(tailZ) < kFlatTolerance && std::fabs(headZ) < kFlatTolerance) {
    head[2] = 0;
    const double a = ATan2(dy, dx);
    barb1 = {headX + h * std::cos(a - w), headY + h * std::sin(a - w), 0};
    barb2 = {headX + h * std::cos(a + w), headY + h * std::sin(a + w), 0};
  } else {
    View.ZAxisNeeded = -1;
    const double alpha = SafeACos(dx / length);
    const double beta = SafeACos(dy / length);
    const double gamma = SafeACos(dz / length);
    barb1 = {headX + h * std::cos(alpha - w), headY + h * std::cos(beta - w),
             headZ + h * std::cos(gamma - w)};
    barb2 = {headX + h * std::cos(alpha + w), headY + h * std::cos(beta + w),
             headZ + h * std::cos(gamma + w)};
  }
  if (!SceneHasRoom(4)) return;
  AppendSegment(head, barb1, red, green, blue);
  AppendSegment(head, barb2, red, green, blue);
}

}  // namespace ms
