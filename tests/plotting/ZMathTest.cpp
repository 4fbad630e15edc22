#include <cmath>
#include <map>
#include <utility>

#include "plotting/PlotTestSupport.h"
#include "plotting/ZMath.h"

namespace ms::testing {
namespace {

constexpr double kPi = 3.1415926536;
using ZMathTest = PlotTest;

TEST_F(ZMathTest, ProjectsKnownPointsToPictureCoordinates) {
  struct Case {
    double rotationDeg, elevationDeg, scale, offsetY;
    Point3 point;
    double px, py, depth;
  };
  // Eye coordinates from the rotation formulas, then x' = x * 1000 * S / (1000 - d); theta = phi =
  // 0 maps (x, y, z) to (y, -x, 10 - z). The depth is limited to 999 for the divisor only.
  const Case cases[] = {
      {45, 60, 300, 300, {1, 2, 3}, 613.554926, -164.318512, 6.662882693},
      {0, 0, 300, 300, {0, 0, 0}, 400, 300, 10},
      {0, 0, 600, 300, {1, 2, 3}, 400 + 2 * 600000 / 993.0, 300 + 600000 / 993.0, 7},
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
    Scene.ViewXYZ[0] = c.point;
    Scene.ViewXYZ[1] = {7, 8, 9};
    Scene.VertexCountD = 1;
    RotateView();
    ProjectView();
    EXPECT_NEAR(Scene.ViewXYZ[0][0], c.px, 1e-6 * std::fabs(c.px) + 1e-9);
    EXPECT_NEAR(Scene.ViewXYZ[0][1], c.py, 1e-6 * std::fabs(c.py) + 1e-9);
    EXPECT_NEAR(Scene.ViewXYZ[0][2], c.depth, 1e-8);
    EXPECT_EQ(View.PictureScaleWork, c.scale);
    ExpectPointNear(Scene.ViewXYZ[1], {7, 8, 9}, 0);  // only the rows in use
  }
  // Counts beyond the store or below zero are limited to it.
  for (double count : {1e9, -5.0}) {
    Scene.VertexCountD = count;
    RotateView();
    ProjectView();
  }
}

TEST_F(ZMathTest, AngleLabelsInWholeDegreesHalfToEven) {
  struct Case {
    double degrees;
    const char16_t* label;
  };
  const Case cases[] = {{-90, u"-90"}, {45.5, u"46"}, {44.5, u"44"}, {-0.4, u"0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degrees);
    View.RotationAngle = View.ElevationAngle = c.degrees * kPi / 180;
    RotateView();
    EXPECT_EQ(View.RotationLabel, c.label);
    EXPECT_EQ(View.ElevationLabel, c.label);
  }
}

TEST_F(ZMathTest, ViewBoxTestCountsBoundsAsInside) {
  SetViewBox(-1, 2, 0, 1);
  struct Case {
    int index;
    Point3 p;
    int16_t outside;
  };
  const Case cases[] = {{5, {-1, 0, 0}, 0},     {5, {2, 1, 0}, 0},     {5, {2.0001, 0, 0}, -1},
                        {5, {0, -1e-9, 0}, -1}, {5, {0, 0, 1e-9}, -1}, {5, {NAN, 0, 0}, -1},
                        {-1, {0, 0, 0}, -1},    {kSceneRows, {}, -1},  {100000, {}, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p[0]);
    if (c.index == 5) Scene.VertexXYZ[5] = c.p;
    EXPECT_EQ(IsOutsideViewBox(c.index), c.outside);
    if (c.index == 5) {
      EXPECT_EQ(Scene.OutsideViewBox, c.outside);
    }
  }
}

TEST_F(ZMathTest, CrossesCoverTheBoxQuadrantByQuadrant) {
  struct Case {
    double x1, x2, y1, y2;
    int32_t colour;                              // of the x-y plane; 0: the default grey
    std::map<std::pair<int, int>, int> centres;  // crosses per centre
  };
  // Passes over i = 0 up and i = 0 down for each j: the crosses at i = 0 come twice unless the box
  // lies left of the origin.
  const Case cases[] = {
      {-1.2,
       2.7,
       0.3,
       1.4,
       0,
       {{{-1, 0}, 1},
        {{0, 0}, 2},
        {{1, 0}, 1},
        {{2, 0}, 1},
        {{3, 0}, 1},
        {{-1, 1}, 1},
        {{0, 1}, 2},
        {{1, 1}, 1},
        {{2, 1}, 1},
        {{3, 1}, 1}}},
      {-2.2,
       -0.6,
       -1.3,
       -0.2,
       rt::RGB(1, 2, 3),
       {{{0, 0}, 1}, {{-1, 0}, 1}, {{-2, 0}, 1}, {{0, -1}, 1}, {{-1, -1}, 1}, {{-2, -1}, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x1);
    StartSceneBuild();
    SetViewBox(c.x1, c.x2, c.y1, c.y2);
    if (c.colour) Settings.XYPlaneColor = c.colour;
    AddGridCrosses();
    std::map<std::pair<int, int>, int> centres;
    for (const Seg& s : Segments()) {
      const bool alongX = s.from[1] == s.to[1];
      EXPECT_NEAR(alongX ? s.to[0] - s.from[0] : s.to[1] - s.from[1], 0.1, 1e-12);
      EXPECT_EQ(s.from[2], 0);
      EXPECT_EQ(s.row[kSegKind], kSegStructure);
      EXPECT_EQ(s.row[kRed], c.colour ? 1 : 128);
      EXPECT_EQ(s.row[kBlue], c.colour ? 3 : 128);
      const int cx = static_cast<int>(std::lround((s.from[0] + s.to[0]) / 2));
      if (alongX) ++centres[{cx, static_cast<int>(std::lround(s.from[1]))}];
    }
    EXPECT_EQ(centres, c.centres);
  }
}

TEST_F(ZMathTest, CrossesStopAtTheGridLimit) {
  struct Case {
    double box;
    int vertexCount, pointsAdded;
  };
  // At 25,000 the x dash of the next cross still fits, its y dash does not, and the next cross
  // ends the routine; an empty box has no crosses and a huge one stops at the limit.
  const Case cases[] = {
      {5, 25000, 2}, {5, 24998, 4}, {5, 25001, 0}, {0, 0, 0}, {1e300, 0, kGridVertexLimit + 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vertexCount);
    StartSceneBuild();
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    if (c.box) SetViewBox(-c.box, c.box, -c.box, c.box);
    AddGridCrosses();
    EXPECT_EQ(Scene.VertexCount, c.vertexCount + c.pointsAdded);
  }
}

}  // namespace
}  // namespace ms::testing
