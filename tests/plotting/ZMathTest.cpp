#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "plotting/SceneTestSupport.h"
#include "plotting/ZMath.h"

namespace ms {
namespace {

using testing::SceneTest;

constexpr double kPi = 3.1415926536;

class ZMathTest : public SceneTest {
 protected:
  // Puts the points into ViewXYZ as the graph window's copy does and sets the drawing count.
  void LoadView(std::initializer_list<Point3> points) {
    int i = 0;
    for (const Point3& p : points) Scene.ViewXYZ[i++] = p;
    Scene.VertexCountD = i;
  }
};

TEST_F(ZMathTest, ProjectsKnownPointsToPictureCoordinates) {
  struct Case {
    double rotationDeg, elevationDeg, scale;
    Point3 point;
    double px, py, depth;
  };
  // Exact values: eye coordinates from the rotation formulas, then x' = x * 1000 * S / (1000 - d).
  const Case cases[] = {
      {45, 60, 300, {1, 2, 3}, 613.554926, -164.318512, 6.662882693},
      {0, 0, 300, {0, 0, 0}, 400, 300, 10},
      // theta = phi = 0: (x, y, z) -> (y, -x, 10 - z) in eye coordinates.
      {0, 0, 300, {1, 2, 3}, 400 + 2 * 300000 / 993.0, 300 - (-1 * 300000 / 993.0), 7},
      {0, 0, 600, {1, 2, 3}, 400 + 2 * 600000 / 993.0, 300 + 600000 / 993.0, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rotationDeg);
    View.RotationAngle = c.rotationDeg * kPi / 180;
    View.ElevationAngle = c.elevationDeg * kPi / 180;
    View.PictureScale = c.scale;
    View.EyeDistance = 10;
    View.ImageOffsetX = 400;
    View.ImageOffsetY = 300;
    View.DisplayScaleHeight = 600;
    LoadView({c.point});
    RotateView();
    ProjectView();
    EXPECT_NEAR(Scene.ViewXYZ[0][0], c.px, 1e-6 * std::fabs(c.px) + 1e-9);
    EXPECT_NEAR(Scene.ViewXYZ[0][1], c.py, 1e-6 * std::fabs(c.py) + 1e-9);
    EXPECT_NEAR(Scene.ViewXYZ[0][2], c.depth, 1e-8);
    EXPECT_EQ(View.PictureScaleWork, c.scale);
  }
}

TEST_F(ZMathTest, DepthIsLimitedForTheDivisorOnly) {
  struct Case {
    double depth;
    double divisor;
  };
  const Case cases[] = {{999.5, 1}, {-5000, 1999}, {999, 1}, {0, 1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.depth);
    View.PictureScale = 1;
    View.ImageOffsetX = 0;
    View.ImageOffsetY = 0;
    View.DisplayScaleHeight = 0;
    LoadView({{1, 1, c.depth}});
    ProjectView();
    EXPECT_DOUBLE_EQ(Scene.ViewXYZ[0][0], 1000 / c.divisor);
    EXPECT_DOUBLE_EQ(Scene.ViewXYZ[0][1], -1000 / c.divisor);
    EXPECT_EQ(Scene.ViewXYZ[0][2], c.depth);
  }
}

TEST_F(ZMathTest, TransformsOnlyTheRowsInUse) {
  const Point3 sentinel{7, 8, 9};
  Scene.ViewXYZ[2] = sentinel;
  LoadView({{1, 0, 0}, {0, 1, 0}});
  RotateView();
  ProjectView();
  testing::ExpectPointNear(Scene.ViewXYZ[2], sentinel, 0);

  // A count beyond the store is limited to it.
  Scene.VertexCountD = 1e9;
  RotateView();
  ProjectView();
  Scene.VertexCountD = -5;
  RotateView();
  ProjectView();
}

TEST_F(ZMathTest, AngleLabelsInWholeDegreesHalfToEven) {
  struct Case {
    double radians;
    const char16_t* label;
  };
  const Case cases[] = {{-kPi / 2, u"-90"},        {0, u"0"},
                        {60 * kPi / 180, u"60"},   {45.5 * kPi / 180, u"46"},
                        {44.5 * kPi / 180, u"44"}, {-0.4 * kPi / 180, u"0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.label));
    View.RotationAngle = c.radians;
    View.ElevationAngle = c.radians;
    RotateView();
    EXPECT_EQ(View.RotationLabel, c.label);
    EXPECT_EQ(View.ElevationLabel, c.label);
  }
}

TEST_F(ZMathTest, ViewBoxTestCountsBoundsAsInside) {
  Scene.ViewXMin = -1;
  Scene.ViewXMax = 2;
  Scene.ViewYMin = 0;
  Scene.ViewYMax = 1;
  Scene.ViewZMin = 0;
  Scene.ViewZMax = 0;
  struct Case {
    Point3 p;
    int16_t outside;
  };
  const Case cases[] = {{{-1, 0, 0}, 0},      {{2, 1, 0}, 0},      {{0.5, 0.5, 0}, 0},
                        {{2.0001, 0, 0}, -1}, {{0, -1e-9, 0}, -1}, {{0, 0, 1e-9}, -1},
                        {{NAN, 0, 0}, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p[0]);
    Scene.VertexXYZ[5] = c.p;
    EXPECT_EQ(IsOutsideViewBox(5), c.outside);
    EXPECT_EQ(Scene.OutsideViewBox, c.outside);
  }
  for (int bad : {-1, kSceneRows, 100000}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(IsOutsideViewBox(bad), -1);
  }
}

// Crosses as (centre, count): a cross is a dash along x and one along y about the same centre.
std::map<std::pair<int, int>, int> CrossCentres() {
  std::map<std::pair<int, int>, int> centres;
  for (int s = 0; s < Scene.SegmentCount; ++s) {
    const auto seg = testing::SegmentAt(s);
    const bool alongX = seg.from[1] == seg.to[1];
    EXPECT_NEAR(alongX ? seg.to[0] - seg.from[0] : seg.to[1] - seg.from[1], 0.1, 1e-12);
    EXPECT_EQ(seg.from[2], 0);
    EXPECT_EQ(seg.row[kSegKind], kSegStructure);
    if (alongX) {
      const double cx = (seg.from[0] + seg.to[0]) / 2;
      ++centres[{static_cast<int>(std::lround(cx)), static_cast<int>(std::lround(seg.from[1]))}];
    }
  }
  return centres;
}

TEST_F(ZMathTest, CrossesCoverTheBoxQuadrantByQuadrant) {
  Scene.ViewXMin = -1.2;
  Scene.ViewXMax = 2.7;
  Scene.ViewYMin = 0.3;
  Scene.ViewYMax = 1.4;
  AddGridCrosses();
  // Passes 1 and 2: i = 0..3 and 0..-1 for j = 0, 1; the crosses at i = 0 come twice.
  EXPECT_EQ(Scene.VertexCount, 48);
  EXPECT_EQ(Scene.SegmentCount, 24);
  const std::map<std::pair<int, int>, int> expected = {
      {{-1, 0}, 1}, {{0, 0}, 2}, {{1, 0}, 1}, {{2, 0}, 1}, {{3, 0}, 1},
      {{-1, 1}, 1}, {{0, 1}, 2}, {{1, 1}, 1}, {{2, 1}, 1}, {{3, 1}, 1}};
  EXPECT_EQ(CrossCentres(), expected);
  const auto first = testing::SegmentAt(0);
  EXPECT_EQ(first.row[kRed], 128);
  EXPECT_EQ(first.row[kGreen], 128);
  EXPECT_EQ(first.row[kBlue], 128);
}

TEST_F(ZMathTest, CrossesOfANegativeBoxStartAtTheOrigin) {
  Scene.ViewXMin = -2.2;
  Scene.ViewXMax = -0.6;
  Scene.ViewYMin = -1.3;
  Scene.ViewYMax = -0.2;
  Settings.XYPlaneColor = rt::RGB(1, 2, 3);
  AddGridCrosses();
  const std::map<std::pair<int, int>, int> expected = {{{0, 0}, 1},  {{-1, 0}, 1},  {{-2, 0}, 1},
                                                       {{0, -1}, 1}, {{-1, -1}, 1}, {{-2, -1}, 1}};
  EXPECT_EQ(CrossCentres(), expected);
  const auto first = testing::SegmentAt(0);
  EXPECT_EQ(first.row[kRed], 1);
  EXPECT_EQ(first.row[kGreen], 2);
  EXPECT_EQ(first.row[kBlue], 3);
}

TEST_F(ZMathTest, CrossesStopAtTheGridLimit) {
  struct Case {
    int vertexCount;
    int pointsAdded;
  };
  // At 25,000 the x dash of the next cross still fits, its y dash does not, and the next cross
  // ends the routine.
  const Case cases[] = {{25000, 2}, {24999, 2}, {24998, 4}, {25001, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vertexCount);
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    Scene.SegmentCount = 0;
    Scene.ViewXMin = -5;
    Scene.ViewXMax = 5;
    Scene.ViewYMin = -5;
    Scene.ViewYMax = 5;
    AddGridCrosses();
    EXPECT_EQ(Scene.VertexCount, c.vertexCount + c.pointsAdded);
  }
}

TEST_F(ZMathTest, NoCrossesForAnEmptyBoxAndFiniteWorkForAHugeOne) {
  StartSceneBuild();
  AddGridCrosses();
  EXPECT_EQ(Scene.VertexCount, 0);

  Scene.ViewXMin = -1e300;
  Scene.ViewXMax = 1e300;
  Scene.ViewYMin = -1e300;
  Scene.ViewYMax = 1e300;
  AddGridCrosses();
  EXPECT_GT(Scene.VertexCount, kGridVertexLimit);
  EXPECT_LE(Scene.VertexCount, kGridVertexLimit + 2);
}

}  // namespace
}  // namespace ms
