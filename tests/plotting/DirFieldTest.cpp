#include <cmath>
#include <string>

#include "FieldTestSupport.h"
#include "plotting/DirField.h"
#include "plotting/Field3D.h"
#include "plotting/PlotField.h"
#include "plotting/ZGrids.h"

namespace ms {
namespace {

using testing::FieldSeg;
using testing::Near;

constexpr double kPi = 3.1415926536;

class DirFieldTest : public testing::FieldTest {
 protected:
  static int16_t Dir(const rt::Text& statement) {
    StartBuild();
    rt::Text s = statement;
    int16_t msgNo = -99;
    ProcessPlotDirField(s, msgNo);
    return msgNo;
  }
  static int16_t DirStored() {
    StartBuild();
    int16_t msgNo = -99;
    ProcessPlotDirField(Requests.DirFieldStmt, msgNo);
    return msgNo;
  }
  // The segments a reference builder appends to an empty store.
  template <typename Build>
  static std::vector<FieldSeg> Reference(Build build) {
    StartBuild();
    build();
    return Segments();
  }
  static void ExpectSameSegments(const std::vector<FieldSeg>& want,
                                 const std::vector<FieldSeg>& got) {
    ASSERT_EQ(want.size(), got.size());
    for (size_t k = 0; k < want.size(); ++k) {
      for (int q = 0; q < 3; ++q) {
        EXPECT_TRUE(Near(want[k].from[q], got[k].from[q], 1e-12)) << k;
        EXPECT_TRUE(Near(want[k].to[q], got[k].to[q], 1e-12)) << k;
      }
      EXPECT_EQ(want[k].red, got[k].red) << k;
      EXPECT_EQ(want[k].kind, got[k].kind) << k;
    }
  }
};

TEST_F(DirFieldTest, StatementMessages) {
  ASSERT_EQ(0, Run({u"F{x,y} = -y", u"H{x,y} = x", u"Ga{x,y} = x + y", u"O{x} = x",
                    u"L{x,y} = Ln[x]", u"w = 2"}));
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
  };
  const Case cases[] = {
      {u"PlotDirfield[F,H,{-2,2,4}{-2,2,4}]", 1000},
      {u"PlotDirField[F,H,{0,2,4}]", 1000},  // 25 characters
      {u"PlotDirField(F,H,{-2,2,4}{-2,2,4}]", 1002},
      {u"PlotDirField[f,H,{-2,2,4}{-2,2,4}]", 1004},
      {u"PlotDirField[F;H,{-2,2,4}{-2,2,4}]", 1006},
      {u"PlotDirField[F,H{-2,2,4}{-2,2,4}]", 1006},
      {u"PlotDirField[F,H_,{-2,2,4}{-2,2,4}]", 1006},
      {u"PlotDirField[F,,H,{-2,2,4}{-2,2,4}]", 1008},
      {u"PlotDirField[F,h,{-2,2,4}{-2,2,4}]", 1008},
      {u"PlotDirField[F,H,Q,{-2,2,4}{-2,2,4}]", 57},
      {u"PlotDirField[F,H,O,{-2,2,4}{-2,2,4}]", 1012},
      {u"PlotDirField[F,H,Ga{-2,2,4}{-2,2,4}]", 1006},
      {u"PlotDirField[O,H,{-2,2,4}{-2,2,4}]", 1012},
      {u"PlotDirField[F,O,{-2,2,4}{-2,2,4}]", 1012},
      {u"PlotDirField[Q,H,{-2,2,4}{-2,2,4}]", 1014},
      {u"PlotDirField[F,Q,{-2,2,4}{-2,2,4}]", 1016},
      {u"PlotDirField[F,H,(-2,2,4}{-2,2,4}]", 1018},
      {u"PlotDirField[F,H,{-2,2,4}(-2,2,4}]", 1024},
      {u"PlotDirField[F,H,{-2,2,4}{-2,2,4}rg]", 1026},
      {u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]]", 1026},
      {u"PlotDirField[F,H,{2,-2,4}{-2,2,4}]", 1028},
      {u"PlotDirField[F,H,{-2,2,4}{2,2,4}]", 1028},
      {u"PlotDirField[F,H,{-2,2,0}{-2,2,4}]", 1030},
      {u"PlotDirField[F,H,{-2,2,4}{-2,2,-1}]", 1030},
      {u"PlotDirField[L,H,{-2,2,4}{-2,2,4}]", 1032},
      {u"PlotDirField[F,L,{-2,2,4}{-2,2,4}]", 1034},
      {u"PlotDirField[F,H,L,{-2,2,4}{-2,2,4}]", 1036},
      {u"PlotDirField[F,H,{-2,2,4}{-2,q,4}]", 339},
      // Accepted forms.
      {u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]", 0},
      {u"plotdirfield[F_,H,{-2,2,4}{-2,2,4}]", 0},
      {u"PlotDirField[F,H,Ga,{-w,w,4}{-2,2,4}r]", 0},
      {u"PlotDirField[F,H,{-2,2,4}{-2,2,4}x]", 0},
  };
  for (const Case& c : cases) {
    const rt::Text statement = c.statement;
    SCOPED_TRACE(std::string(statement.begin(), statement.end()));
    const int16_t msgNo = Dir(statement);
    EXPECT_EQ(c.msgNo, msgNo);
    if (msgNo == 0) {
      EXPECT_EQ(25, FieldTables.FieldVectorCount);
      ASSERT_GE(Scene.SegmentCount, 75);
      for (int k = 0; k < 75; ++k)
        EXPECT_EQ(0, Scene.SegmentTable[static_cast<size_t>(k)][kSegKind]);
    } else if (msgNo < 1032 || msgNo > 1036) {
      EXPECT_EQ(0, Scene.SegmentCount) << "a refused statement appends nothing";
    } else {
      // An evaluation failure appends no arrows; the axes are still added.
      for (const FieldSeg& s : Segments()) EXPECT_EQ(-10, s.kind);
    }
  }
}

// F = -y, H = x: 25 arrows of length 0.5 along (F, H), circling the origin, blue, in the plane
// view; both ranges change sign, so the axes are BuildAxes over the ranges times 1.1.
TEST_F(DirFieldTest, PlaneArrowsFollowTheVectors) {
  ASSERT_EQ(0, Run({u"F{x,y} = -y", u"H{x,y} = x", u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]"}));
  View.RotationAngle = 1;
  View.ElevationAngle = 1;
  ASSERT_EQ(0, DirStored());
  EXPECT_EQ(0, View.ZAxisNeeded);
  EXPECT_EQ(-kPi / 2, View.RotationAngle);
  EXPECT_EQ(0, View.ElevationAngle);
  ASSERT_EQ(25, FieldTables.FieldVectorCount);
  const auto segs = Segments();
  ASSERT_GE(segs.size(), 75u);
  const double L = 1.0;  // (dx + dy) / 2
  for (int i = 0; i < 25; ++i) {
    const double x = -2 + (i % 5), y = -2 + (i / 5);
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    const Point3& v = FieldTables.FieldVectorTable[static_cast<size_t>(i)];
    EXPECT_EQ(-y, v[0]);
    EXPECT_EQ(x, v[1]);
    EXPECT_EQ(0, v[2]);
    const FieldSeg& shaft = segs[static_cast<size_t>(3 * i)];
    EXPECT_TRUE(Near(shaft.from[0], x));
    EXPECT_TRUE(Near(shaft.from[1], y));
    EXPECT_NEAR(0.5, Length(shaft), 1e-12);
    const double ux = (shaft.to[0] - shaft.from[0]) / 0.5, uy = (shaft.to[1] - shaft.from[1]) / 0.5;
    if (x == 0 && y == 0) {
      // The zero vector points along +x.
      EXPECT_NEAR(1, ux, 1e-12);
      EXPECT_NEAR(0, uy, 1e-12);
    } else {
      // The evaluator's angles carry pi to ten decimals.
      const double len = std::hypot(v[0], v[1]);
      EXPECT_NEAR(v[0] / len, ux, 1e-9);
      EXPECT_NEAR(v[1] / len, uy, 1e-9);
    }
    EXPECT_EQ(0, shaft.red);
    EXPECT_EQ(255, shaft.blue);
    // Barbs from the tip, 0.2 L long, turned 162 degrees from the shaft on either side.
    for (int k = 1; k <= 2; ++k) {
      const FieldSeg& barb = segs[static_cast<size_t>(3 * i + k)];
      EXPECT_EQ(shaft.to, barb.from);
      EXPECT_NEAR(0.2 * L, Length(barb), 1e-12);
      const double cosine =
          ((barb.to[0] - barb.from[0]) * ux + (barb.to[1] - barb.from[1]) * uy) / Length(barb);
      EXPECT_NEAR(std::cos(0.9 * M_PI), cosine, 1e-9);
      EXPECT_EQ(0, barb.to[2]);
    }
  }
  const auto got = Segments(75);
  const auto axes = Reference([] { BuildAxes(-2.2, 2.2, -2.2, 2.2, -1, 1); });
  ExpectSameSegments(axes, got);
}

// With a third function the arrows stand at the heights G(x, y); the box spans the heights, and
// the view turns to the saved field angles.
TEST_F(DirFieldTest, LiftedField) {
  struct Case {
    const char16_t* g;
    double (*height)(double x, double y);
    const char16_t* statement;
    double a;  // left end of the x range (the y range is -2 to 2)
    double zMin, zMax;
    bool corner;
  };
  const Case cases[] = {
      {u"G{x,y} = x + y", [](double x, double y) { return x + y; },
       u"PlotDirField[F,H,G,{-2,2,4}{-2,2,4}]", -2, -4, 4, false},
      // A constant height: zMin = zMax, Sgn equal, so corner axes.
      {u"G{x,y} = 3 + 0*x", [](double, double) { return 3.0; },
       u"PlotDirField[F,H,G,{-2,2,4}{-2,2,4}]", -2, 3, 3, true},
      {u"G{x,y} = x*x", [](double x, double) { return x * x; },
       u"PlotDirField[F,H,G,{1,2,2}{-2,2,4}g]", 1, 1, 4, true},
  };
  for (const Case& c : cases) {
    const rt::Text g = c.g;
    SCOPED_TRACE(std::string(g.begin(), g.end()));
    ASSERT_EQ(0, Run({u"F{x,y} = 1 + 0*x", u"H{x,y} = 0*y", c.g, c.statement}));
    View.FieldRotation = 0.3;
    View.FieldElevation = 0.7;
    View.ShowBox = -1;
    FieldGraph.mnuBoxEnabled = 0;
    ASSERT_EQ(0, DirStored());
    EXPECT_EQ(-1, View.ZAxisNeeded);
    EXPECT_EQ(0.3, View.RotationAngle);
    EXPECT_EQ(0.7, View.ElevationAngle);
    EXPECT_EQ(-1, FieldGraph.mnuBoxEnabled);
    EXPECT_EQ(c.zMin, FieldTables.FieldZMin);
    EXPECT_EQ(c.zMax, FieldTables.FieldZMax);
    const int arrows = FieldTables.FieldVectorCount;
    const auto segs = Segments();
    for (int i = 0; i < arrows; ++i) {
      const double height = FieldTables.FieldVectorTable[static_cast<size_t>(i)][2];
      for (int k = 0; k < 3; ++k) {
        const FieldSeg& s = segs[static_cast<size_t>(3 * i + k)];
        EXPECT_EQ(height, s.from[2]);
        EXPECT_EQ(height, s.to[2]);
      }
      // F = 1, H = 0: every arrow points along +x.
      EXPECT_NEAR(0.5,
                  segs[static_cast<size_t>(3 * i)].to[0] - segs[static_cast<size_t>(3 * i)].from[0],
                  1e-12);
      // The height is G at the arrow's foot.
      const double x = segs[static_cast<size_t>(3 * i)].from[0];
      const double y = segs[static_cast<size_t>(3 * i)].from[1];
      EXPECT_TRUE(Near(c.height(x, y), height, 1e-12));
    }
    const double a = c.a, b = 2;
    const auto got = Segments(3 * arrows);
    const auto tail = Reference([&] {
      AddBoundingBox(a, b, -2, 2, c.zMin, c.zMax);
      if (c.corner) {
        BuildCornerAxes(a, b, -2, 2, c.zMin, c.zMax);
      } else {
        BuildAxes(a, b, -2, 2, c.zMin, c.zMax);
      }
    });
    ExpectSameSegments(tail, got);

    // Without "Box ?" the box is left out; with the axes off neither box nor axes are added.
    View.ShowBox = 0;
    ASSERT_EQ(0, DirStored());
    EXPECT_EQ(3 * arrows + static_cast<int>(tail.size()) - 12, Scene.SegmentCount);
    View.ShowBox = -1;
    FieldGraph.mnuXYEnabled = 0;
    ASSERT_EQ(0, DirStored());
    EXPECT_EQ(3 * arrows, Scene.SegmentCount);
    FieldGraph.mnuXYEnabled = -1;
  }
}

// The plane field's axes: corner axes through z = 0 when a range keeps its sign.
TEST_F(DirFieldTest, PlaneAxes) {
  struct Case {
    const char16_t* statement;
    bool corner;
    double args[6];
  };
  const Case cases[] = {
      {u"PlotDirField[F,H,{-2,2,2}{-1,3,2}]", false, {-2.2, 2.2, -1.1, 3.3, -1, 1}},
      {u"PlotDirField[F,H,{1,3,2}{-1,3,2}]", true, {1, 3, -1, 3, 0, 0}},
      {u"PlotDirField[F,H,{-2,2,2}{0.5,3,2}]", true, {-2, 2, 0.5, 3, 0, 0}},
  };
  for (const Case& c : cases) {
    const rt::Text statement = c.statement;
    SCOPED_TRACE(std::string(statement.begin(), statement.end()));
    ASSERT_EQ(0, Run({u"F{x,y} = x", u"H{x,y} = y", c.statement}));
    View.ShowBox = -1;  // the plane field has no box
    ASSERT_EQ(0, DirStored());
    const double* a = c.args;
    const auto axes = Reference([&] {
      if (c.corner) {
        BuildCornerAxes(a[0], a[1], a[2], a[3], a[4], a[5]);
      } else {
        BuildAxes(a[0], a[1], a[2], a[3], a[4], a[5]);
      }
    });
    ASSERT_EQ(0, DirStored());
    ExpectSameSegments(axes, Segments(3 * FieldTables.FieldVectorCount));
  }
}

// Esc stops the evaluation at the next grid point without a message, arrows or axes.
TEST_F(DirFieldTest, EscStopsQuietly) {
  ASSERT_EQ(0, Run({u"F{x,y} = -y", u"H{x,y} = x", u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]"}));
  const long before = screen_.doEventsCount;
  screen_.onDoEvents = [&] {
    if (screen_.doEventsCount - before == 7) RunFlags.AbortRun = -1;
  };
  EXPECT_EQ(0, DirStored());
  EXPECT_NE(0, RunFlags.AbortRun);
  EXPECT_EQ(7, screen_.doEventsCount - before) << "one DoEvents per grid point";
  EXPECT_EQ(0, Scene.SegmentCount);
  EXPECT_TRUE(screen_.boxes.empty());
  EXPECT_EQ(6, FieldTables.FieldVectorCount) << "the points evaluated before Esc";

  // A rebuild with Replot set evaluates again: the kept vectors are incomplete.
  screen_.onDoEvents = nullptr;
  RunFlags.Replot = -1;
  EXPECT_EQ(0, DirStored());
  EXPECT_EQ(25, FieldTables.FieldVectorCount);
  EXPECT_EQ(25, screen_.doEventsCount - before - 7);
  ASSERT_GE(Scene.SegmentCount, 75);
  for (int k = 0; k < 75; ++k) EXPECT_EQ(0, Scene.SegmentTable[static_cast<size_t>(k)][kSegKind]);
}

// Replot draws the kept vectors with the current factors without evaluating; the vectors of a
// space field built in between do not take their place.
TEST_F(DirFieldTest, ReplotDrawsKeptVectors) {
  ASSERT_EQ(0, Run({u"F{x,y} = -y", u"H{x,y} = x", u"P{x,y,z} = 1 + 0*x", u"Q{x,y,z} = 0*y",
                    u"R{x,y,z} = 0*z", u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]",
                    u"PlotField3D[P,Q,R,{-1,1,2}{-1,1,2}{-1,1,2}]"}));
  FieldGraph.mnuXYEnabled = 0;
  ASSERT_EQ(0, DirStored());
  const auto first = Segments();
  ASSERT_EQ(75u, first.size());
  int16_t msgNo = 0;
  ProcessPlotField3D(Requests.Field3DStmt, msgNo);
  ASSERT_EQ(0, msgNo);

  // F and H can no longer be evaluated.
  ASSERT_EQ(0, Run({u"F{x,y} = Ln[x - 100]", u"H{x,y} = Ln[y - 100]",
                    u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]"}));
  FieldGraph.mnuXYEnabled = 0;
  RunFlags.Replot = -1;
  EXPECT_EQ(1032, DirStored()) << "the table holds the space field's vectors: evaluate";

  // Once more from the start, then Replot with new factors.
  ASSERT_EQ(0, Run({u"F{x,y} = -y", u"H{x,y} = x", u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]"}));
  RunFlags.Replot = 0;
  ASSERT_EQ(0, DirStored());
  ASSERT_EQ(0, Run({u"F{x,y} = Ln[x - 100]", u"H{x,y} = Ln[y - 100]",
                    u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]"}));
  FieldGraph.mnuXYEnabled = 0;
  RunFlags.Replot = -1;
  View.FieldVectorScale = 0.8;
  View.ArrowHeadScale = 2;
  const long events = screen_.doEventsCount;
  ASSERT_EQ(0, DirStored());
  EXPECT_EQ(events, screen_.doEventsCount) << "no evaluation";
  const auto again = Segments();
  ASSERT_EQ(75u, again.size());
  for (size_t k = 0; k < 75; k += 3) {
    EXPECT_EQ(first[k].from, again[k].from);
    EXPECT_NEAR(0.8, Length(again[k]), 1e-12);
    EXPECT_NEAR(0.4, Length(again[k + 1]), 1e-12);
    // Same direction as before.
    EXPECT_NEAR((again[k].to[0] - again[k].from[0]) / 0.8,
                (first[k].to[0] - first[k].from[0]) / 0.5, 1e-12);
  }
}

// More than 15,000 grid points are refused with the count box; the axes still follow.
TEST_F(DirFieldTest, PointLimit) {
  ASSERT_EQ(0,
            Run({u"F{x,y} = -y", u"H{x,y} = x", u"PlotDirField[F,H,{-100,100,200}{-50,50,100}]"}));
  const long events = screen_.doEventsCount;
  ASSERT_EQ(0, DirStored());
  ASSERT_EQ(1u, screen_.boxes.size());
  EXPECT_EQ(u"2D vector count <= 3000 (including arrows). Reduce the ranges of x,y, & z.",
            screen_.boxes[0].text);
  EXPECT_EQ(0, screen_.boxes[0].style);
  EXPECT_EQ(events, screen_.doEventsCount) << "refused before any evaluation";
  const auto segs = Segments();
  ASSERT_FALSE(segs.empty());
  for (const FieldSeg& s : segs) EXPECT_EQ(-10, s.kind) << "axes only";

  // A nearly full store takes what fits and never writes past its last row.
  ASSERT_EQ(0, Run({u"F{x,y} = -y", u"H{x,y} = x", u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]"}));
  FieldGraph.mnuXYEnabled = 0;
  StartBuild();
  Scene.VertexCount = kSceneRows - 5;
  Scene.SegmentCount = 10;
  int16_t msgNo = 0;
  ProcessPlotDirField(Requests.DirFieldStmt, msgNo);
  EXPECT_EQ(0, msgNo);
  EXPECT_EQ(kSceneRows - 1, Scene.VertexCount);
  EXPECT_EQ(12, Scene.SegmentCount);
}

}  // namespace
}  // namespace ms
