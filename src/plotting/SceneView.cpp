#include "plotting/SceneView.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/Runtime.h"
#include "plotting/SceneStore.h"

namespace ms {

namespace {

constexpr double kDegreesPerRadian = 180 / 3.1415926536;
constexpr double kDashHalf = 0.05;

// Number of point rows the drawing uses: VertexCountD, limited to the store.
int RowsInUse() {
  const double n = Scene.VertexCountD;
  if (!(n > 0)) return 0;
  return static_cast<int>(std::min<double>(n, kSceneRows));
}

bool AppendDash(const Point3& p, const Point3& q, int32_t colour) {
  if (Scene.VertexCount > kGridVertexLimit) return false;
  int r = 0, g = 0, b = 0;
  rt::SplitRGB(colour, r, g, b);
  return AppendSegment(p, q, r, g, b, kSegStructure);
}

}  // namespace

void RotateView() {
  const double st = std::sin(View.RotationAngle);
  const double ct = std::cos(View.RotationAngle);
  const double sp = std::sin(View.ElevationAngle);
  const double cp = std::cos(View.ElevationAngle);
  const int rows = RowsInUse();
  for (int i = 0; i < rows; ++i) {
    Point3& p = Scene.ViewXYZ[i];
    const double x = p[0], y = p[1], z = p[2];
    p[0] = -x * st + y * ct;
    p[1] = -x * ct * cp - y * st * cp + z * sp;
    p[2] = -x * ct * sp - y * st * sp - z * cp + View.EyeDistance;
  }
  View.DrawnElevation = View.ElevationAngle;
  View.DrawnRotation = View.RotationAngle;
}

// The degree value is first rounded to nine decimals so that an angle set to a half degree (45.5)
// counts as the half it is, not as the radian round trip's 45.4999999.
rt::Text WholeDegrees(double radians) {
  const double degrees = rt::RoundHalfEven(radians * kDegreesPerRadian, 9);
  if (!(std::fabs(degrees) < 1e9)) return u"0";
  return rt::IntText(static_cast<long>(rt::RoundHalfEven(degrees)));
}

void ProjectView() {
  View.PictureScaleWork = View.PictureScale;
  const double height = static_cast<float>(View.DisplayScaleHeight);
  const double scale = 1000 * View.PictureScaleWork;
  const int rows = RowsInUse();
  for (int i = 0; i < rows; ++i) {
    Point3& p = Scene.ViewXYZ[i];
    const double d = std::clamp(p[2], -999.0, 999.0);
    const double w = 1000 - d;
    p[0] = View.ImageOffsetX + p[0] * scale / w;
    p[1] = height - (View.ImageOffsetY + p[1] * scale / w);
  }
}

int16_t IsOutsideViewBox(int i) {
  bool outside = true;
  if (i >= 0 && i < kSceneRows) {
    const Point3& p = Scene.VertexXYZ[i];
    outside = !(p[0] >= Scene.ViewXMin && p[0] <= Scene.ViewXMax) ||
              !(p[1] >= Scene.ViewYMin && p[1] <= Scene.ViewYMax) ||
              !(p[2] >= Scene.ViewZMin && p[2] <= Scene.ViewZMax);
  }
  Scene.OutsideViewBox = outside ? -1 : 0;
  return Scene.OutsideViewBox;
}

bool AddGridDashX(double x, double y, int32_t colour) {
  return AppendDash({x - kDashHalf, y, 0}, {x + kDashHalf, y, 0}, colour);
}

bool AddGridDashY(double x, double y, int32_t colour) {
  return AppendDash({x, y - kDashHalf, 0}, {x, y + kDashHalf, 0}, colour);
}

void AddGridCrosses(int32_t colour) {
  struct Pass {
    bool runs;
    double jEnd, jStep, iEnd, iStep;
  };
  const double xMax = rt::Int(Scene.ViewXMax + 0.5), xMin = rt::Int(Scene.ViewXMin + 0.5);
  const double yMax = rt::Int(Scene.ViewYMax + 0.5), yMin = rt::Int(Scene.ViewYMin + 0.5);
  const Pass passes[4] = {
      {Scene.ViewXMax > 0 && Scene.ViewYMax > 0, yMax, 1, xMax, 1},
      {Scene.ViewXMin < 0 && Scene.ViewYMax > 0, yMax, 1, xMin, -1},
      {Scene.ViewXMin < 0 && Scene.ViewYMin < 0, yMin, -1, xMin, -1},
      {Scene.ViewXMax > 0 && Scene.ViewYMin < 0, yMin, -1, xMax, 1},
  };
  for (const Pass& pass : passes) {
    if (!pass.runs) continue;
    for (double j = 0; pass.jStep > 0 ? j <= pass.jEnd : j >= pass.jEnd; j += pass.jStep) {
      for (double i = 0; pass.iStep > 0 ? i <= pass.iEnd : i >= pass.iEnd; i += pass.iStep) {
        if (Scene.VertexCount > kGridVertexLimit) return;
        // Each dash appends and advances the counts itself when it fits.
        AddGridDashX(i, j, colour);
        AddGridDashY(i, j, colour);
      }
    }
  }
}

}  // namespace ms
