#include <cmath>
#include <string>

#include "plotting/PlotTestSupport.h"
#include "plotting/SceneView.h"

namespace ms::testing {
namespace {

constexpr double kPi = 3.1415926536;
using SceneViewTest = PlotTest;

// The points in use are copied to the view, rotated and projected.
TEST_F(SceneViewTest, CopiesAndProjectsKnownPoints) {
  struct Case {
    double rotationDeg, elevationDeg, scale, offsetY;
    Point3 point;
    double px, py, depth;
  };
  // Eye coordinates from the rotation formulas, then x' = x * 1000 * S / (1000 - d); theta = phi =
  // 0 maps (x, y, z) to (y, -x, 10 - z). The depth is limited to 999 for the divisor only.
  const Case cases[] = {
      {45, 60, 300, 300, {1, 2, 3}, 613.554926, -164.318512, 6.662882693},
      {0, 0, 1, 0, {-1, 1, -989.5}, 1000, -1000, 999.5},
      {0, 0, 1, 0, {-1, 1, 5010}, 1000 / 1999.0, -1000 / 1999.0, -5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.point[2]);
    View.RotationAngle = c.rotationDeg * kPi / 180;
    View.ElevationAngle = c.elevationDeg * kPi / 180;
    View.PictureScale = c.scale;
    View.ImageOffsetX = c.offsetY ? 400 : 0;
    View.ImageOffsetY = c.offsetY;
    View.DisplayScaleHeight = 2 * c.offsetY;
    Scene.VertexXYZ[0] = c.point;
    Scene.VertexXYZ[1] = {7, 8, 9};
    Scene.ViewXYZ[1] = {4, 5, 6};
    Scene.VertexCountD = 1;
    CopyVerticesToView();
    RotateView();
    ProjectView();
    ExpectPointNear(Scene.ViewXYZ[0], {c.px, c.py, c.depth}, 1e-6);
    EXPECT_EQ(Scene.ViewXYZ[1], (Point3{4, 5, 6})) << "only the rows in use";
  }
  // Counts beyond the store or below zero are limited to it.
  for (const double count : {1e9, -5.0}) {
    Scene.VertexCountD = count;
    CopyVerticesToView();
    RotateView();
    ProjectView();
  }
}

TEST_F(SceneViewTest, ViewBoxTestCountsBoundsAsInside) {
  SetViewBox(-1, 2, 0, 1);
  struct Case {
    int index;
    Point3 p;
    int16_t outside;
  };
  const Case cases[] = {{5, {-1, 0, 0}, 0},     {5, {2, 1, 0}, 0},     {5, {2.0001, 0, 0}, -1},
                        {5, {0, -1e-9, 0}, -1}, {5, {0, 0, 1e-9}, -1}, {5, {NAN, 0, 0}, -1},
                        {-1, {0, 0, 0}, -1},    {kSceneRows, {}, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p[0]);
    if (c.index == 5) Scene.VertexXYZ[5] = c.p;
    EXPECT_EQ(IsOutsideViewBox(c.index), c.outside);
    EXPECT_EQ(Scene.OutsideViewBox, c.index == 5 ? c.outside : Scene.OutsideViewBox);
  }
}

// A cross is two dashes, four points; passes over i = 0 up and i = 0 down for each j draw the
// crosses at i = 0 twice unless the box lies left of the origin. At 25,000 the x dash of the next
// cross still fits, its y dash does not, and the next cross ends the routine; an empty box has
// none.
TEST_F(SceneViewTest, CrossesCoverTheBoxUpToTheGridLimit) {
  struct Case {
    double x1, x2, y1, y2;
    int vertexCount, pointsAdded;
  };
  const Case cases[] = {
      {-1.2, 2.7, 0.3, 1.4, 0, 4 * 12},  // x -1..3, y 0..1, and x = 0 twice
      {-2.2, -0.6, -1.3, -0.2, 0, 4 * 6},
      {-5, 5, -5, 5, 25000, 2},
      {-5, 5, -5, 5, 24998, 4},
      {-5, 5, -5, 5, 25001, 0},
      {10000, -10000, 10000, -10000, 0, 0},
      {-1e300, 1e300, -1e300, 1e300, 0, kGridVertexLimit + 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x1) + " " + std::to_string(c.vertexCount));
    StartSceneBuild();
    SetViewBox(c.x1, c.x2, c.y1, c.y2);
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    AddGridCrosses(0x808080);
    EXPECT_EQ(Scene.VertexCount, c.vertexCount + c.pointsAdded);
  }
}

}  // namespace
}  // namespace ms::testing
