#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "plotting/PlotTestSupport.h"
#include "plotting/SceneView.h"

namespace ms::testing {
namespace {

constexpr double kPi = 3.1415926536;
using SceneViewTest = PlotTest;

TEST_F(SceneViewTest, ProjectsKnownPointsAndLabelsTheAngles) {
  struct Case {
    double rotationDeg, elevationDeg, scale, offsetY;
    Point3 point;
    double px, py, depth;
  };
  // Eye coordinates from the rotation formulas, then x' = x * 1000 * S / (1000 - d); theta = phi =
  // 0 maps (x, y, z) to (y, -x, 10 - z). The depth is limited to 999 for the divisor only.
  const Case cases[] = {
      {45, 60, 300, 300, {1, 2, 3}, 613.554926, -164.318512, 6.662882693},
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
    ExpectPointNear(Scene.ViewXYZ[0], {c.px, c.py, c.depth}, 1e-6);
    EXPECT_EQ(View.PictureScaleWork, c.scale);
    EXPECT_EQ(Scene.ViewXYZ[1], (Point3{7, 8, 9})) << "only the rows in use";
    EXPECT_EQ(View.RotationLabel, rt::Text(u"") + (c.rotationDeg ? u"45" : u"0"));
  }
  // Counts beyond the store or below zero are limited to it; labels are whole degrees, half to
  // even.
  for (const double count : {1e9, -5.0}) {
    Scene.VertexCountD = count;
    RotateView();
    ProjectView();
  }
  for (const auto& [degrees, label] : {std::pair{45.5, u"46"}, {44.5, u"44"}, {-0.4, u"0"}}) {
    View.RotationAngle = View.ElevationAngle = degrees * kPi / 180;
    RotateView();
    EXPECT_EQ(View.RotationLabel, label);
    EXPECT_EQ(View.ElevationLabel, label);
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

TEST_F(SceneViewTest, CrossesCoverTheBoxUpToTheGridLimit) {
  struct Case {
    double x1, x2, y1, y2;
    int vertexCount, pointsAdded;
    const char* centres;  // "x,y:crosses" of the crosses whole, in x-y plane grey
  };
  // Passes over i = 0 up and i = 0 down for each j: the crosses at i = 0 come twice unless the box
  // lies left of the origin. At 25,000 the x dash of the next cross still fits, its y dash does
  // not, and the next cross ends the routine; an empty box has none.
  const Case cases[] = {
      {-1.2, 2.7, 0.3, 1.4, 0, 48,
       "-1,0:1 -1,1:1 0,0:2 0,1:2 1,0:1 1,1:1 2,0:1 2,1:1 3,0:1 3,1:1 "},
      {-2.2, -0.6, -1.3, -0.2, 0, 24, "-2,-1:1 -2,0:1 -1,-1:1 -1,0:1 0,-1:1 0,0:1 "},
      {-5, 5, -5, 5, 25000, 2, ""},
      {-5, 5, -5, 5, 24998, 4, "0,0:1 "},
      {-5, 5, -5, 5, 25001, 0, ""},
      {10000, -10000, 10000, -10000, 0, 0, ""},
      {-1e300, 1e300, -1e300, 1e300, 0, kGridVertexLimit + 2, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x1) + " " + std::to_string(c.vertexCount));
    StartSceneBuild();
    SetViewBox(c.x1, c.x2, c.y1, c.y2);
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    AddGridCrosses();
    EXPECT_EQ(Scene.VertexCount, c.vertexCount + c.pointsAdded);
    if (!c.centres) continue;
    std::map<std::pair<long, long>, int> crosses;  // a dash along x and one along y per centre
    for (const Seg& s : Segments()) {
      const bool alongX = s.from[1] == s.to[1];
      EXPECT_NEAR(alongX ? s.to[0] - s.from[0] : s.to[1] - s.from[1], 0.1, 1e-12);
      EXPECT_EQ(s.row, (SegmentRow{s.row[0], s.row[1], 128, 128, 128, kSegStructure, 0, 0}));
      crosses[{std::lround((s.from[0] + s.to[0]) / 2), std::lround((s.from[1] + s.to[1]) / 2)}]++;
    }
    std::string centres;
    for (const auto& [at, dashes] : crosses)
      if (dashes >= 2)
        centres += std::to_string(at.first) + "," + std::to_string(at.second) + ":" +
                   std::to_string(dashes / 2) + " ";
    EXPECT_EQ(centres, c.centres);
  }
  StartSceneBuild();
  SetViewBox(0, 0.5, 0, 0.5);
  Settings.XYPlaneColor = rt::RGB(1, 2, 3);
  AddGridCrosses();
  EXPECT_EQ(Scene.SegmentTable[1], (SegmentRow{2, 3, 1, 2, 3, kSegStructure, 0, 0}));
}

}  // namespace
}  // namespace ms::testing
