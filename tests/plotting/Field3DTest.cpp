#include <cmath>
#include <string>

#include "FieldTestSupport.h"
#include "plotting/Field3D.h"
#include "plotting/PlotField.h"
#include "plotting/ZGrids.h"

namespace ms {
namespace {

using testing::FieldSeg;
using testing::Near;

class Field3DTest : public testing::FieldTest {
 protected:
  static int16_t Field(const rt::Text& statement) {
    StartBuild();
    rt::Text s = statement;
    int16_t msgNo = -99;
    ProcessPlotField3D(s, msgNo);
    return msgNo;
  }
  static int16_t FieldStored() {
    StartBuild();
    int16_t msgNo = -99;
    ProcessPlotField3D(Requests.Field3DStmt, msgNo);
    return msgNo;
  }
  static double Dot(const Point3& p, const Point3& q) {
    return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
  }
  static Point3 Minus(const Point3& p, const Point3& q) {
    return {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
  }
};

TEST_F(Field3DTest, StatementMessages) {
  ASSERT_EQ(0, Run({u"F{x,y,z} = x", u"G{x,y,z} = y", u"H{x,y,z} = z", u"Ha{x,y,z} = x*y*z",
                    u"T{x,y} = x + y", u"L{x,y,z} = Ln[x]", u"w = 1"}));
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
  };
  const Case cases[] = {
      {u"PlotField3d[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1100},
      {u"PlotField3D(F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1102},
      {u"PlotField3D[F,G,H,{0,12}]", 1100},  // 25 characters
      {u"PlotField3D[f,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1104},
      {u"PlotField3D[F;G,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1106},
      {u"PlotField3D[F,g,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1108},
      {u"PlotField3D[F,G,h,{-1,1,2}{-1,1,2}{-1,1,2}]", 1109},
      // "_" written after a one-letter second or third ID is not part of it.
      {u"PlotField3D[F,G_,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1106},
      {u"PlotField3D[F,G,H_,{-1,1,2}{-1,1,2}{-1,1,2}]", 1106},
      {u"PlotField3D[F,G,H{-1,1,2}{-1,1,2}{-1,1,2}]", 1106},
      {u"PlotField3D[Q,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1114},
      {u"PlotField3D[T,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1116},
      {u"PlotField3D[F,Q,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1118},
      {u"PlotField3D[F,T,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1116},
      {u"PlotField3D[F,G,Q,{-1,1,2}{-1,1,2}{-1,1,2}]", 1120},
      {u"PlotField3D[F,G,T,{-1,1,2}{-1,1,2}{-1,1,2}]", 1116},
      {u"PlotField3D[F,G,H,(-1,1,2}{-1,1,2}{-1,1,2}]", 1122},
      {u"PlotField3D[F,G,H,{-1,1,2}(-1,1,2}{-1,1,2}]", 1128},
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}(-1,1,2}]", 1132},
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}rg]", 1136},
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]x", 1136},
      {u"PlotField3D[F,G,H,{1,-1,2}{-1,1,2}{-1,1,2}]", 1138},
      {u"PlotField3D[F,G,H,{-1,1,2}{1,1,2}{-1,1,2}]", 1138},
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{1,-1,2}]", 1138},
      {u"PlotField3D[F,G,H,{-1,1,0}{-1,1,2}{-1,1,2}]", 1140},
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,-2}{-1,1,2}]", 1140},
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,0}]", 1140},
      {u"PlotField3D[L,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1142},
      {u"PlotField3D[F,L,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 1144},
      {u"PlotField3D[F,G,L,{-1,1,2}{-1,1,2}{-1,1,2}]", 1146},
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,v,2}]", 339},
      // Accepted forms.
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]", 0},
      {u"plotfield3d[F_,G,Ha,{-w,w,2}{-1,1,2}{-1,1,2}w]", 0},
      {u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}x]", 0},
  };
  for (const Case& c : cases) {
    const rt::Text statement = c.statement;
    SCOPED_TRACE(std::string(statement.begin(), statement.end()));
    const int16_t msgNo = Field(statement);
    EXPECT_EQ(c.msgNo, msgNo);
    if (msgNo == 0) {
      EXPECT_EQ(27, FieldTables.FieldVectorCount);
      EXPECT_GE(Scene.SegmentCount, 81);
    } else if (msgNo < 1142) {
      EXPECT_EQ(0, Scene.SegmentCount) << "a refused statement appends nothing";
    } else {
      // An evaluation failure appends no arrows; the box and axes steps still run.
      for (const FieldSeg& s : Segments()) EXPECT_EQ(-10, s.kind);
    }
  }
}

// (x, y, z) on the 3 x 3 x 3 grid: 27 arrows of length 0.5 pointing away from the origin, blue;
// the arrow at the origin has zero length; the barbs point back from the tip.
TEST_F(Field3DTest, ArrowsFollowTheVectors) {
  ASSERT_EQ(0, Run({u"F{x,y,z} = x", u"G{x,y,z} = y", u"H{x,y,z} = z",
                    u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]"}));
  View.FieldRotation = 0.25;
  View.FieldElevation = 1.25;
  ASSERT_EQ(0, FieldStored());
  EXPECT_EQ(-1, View.ZAxisNeeded);
  EXPECT_EQ(0.25, View.RotationAngle);
  EXPECT_EQ(1.25, View.ElevationAngle);
  ASSERT_EQ(27, FieldTables.FieldVectorCount);
  const auto segs = Segments();
  ASSERT_GE(segs.size(), 81u);
  const double head = 0.2 * (1 + 1 + 1) / 8;
  for (int i = 0; i < 27; ++i) {
    // Grid order: z outermost, then y, then x.
    const Point3 p = {-1.0 + i % 3, -1.0 + (i / 3) % 3, -1.0 + i / 9};
    SCOPED_TRACE(std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]));
    EXPECT_EQ(p, FieldTables.FieldVectorTable[static_cast<size_t>(i)]);
    const FieldSeg& shaft = segs[static_cast<size_t>(3 * i)];
    EXPECT_EQ(p, shaft.from);
    EXPECT_EQ(0, shaft.red);
    EXPECT_EQ(0, shaft.green);
    EXPECT_EQ(255, shaft.blue);
    const double len = std::sqrt(Dot(p, p));
    if (len == 0) {
      for (int k = 0; k < 3; ++k) EXPECT_EQ(p, segs[static_cast<size_t>(3 * i + k)].to);
      continue;
    }
    EXPECT_NEAR(0.5, Length(shaft), 1e-12);
    const Point3 u = Minus(shaft.to, shaft.from);
    EXPECT_NEAR(0.5, Dot(u, p) / len, 1e-12) << "along the vector";
    for (int k = 1; k <= 2; ++k) {
      const FieldSeg& barb = segs[static_cast<size_t>(3 * i + k)];
      EXPECT_EQ(shaft.to, barb.from);
      EXPECT_LT(Dot(Minus(barb.to, barb.from), u), 0) << "the barbs point back";
      EXPECT_LE(Length(barb), head * std::sqrt(3.0) + 1e-12);
    }
  }
  // Each barb coordinate is its direction angle turned by 0.9 pi: along +x the barbs are
  // (cos(-0.9 pi), cos(pi/2 -+ 0.9 pi), cos(pi/2 -+ 0.9 pi)) times the head length.
  const FieldSeg& barb = segs[3 * 14 + 1];  // the arrow at (1, 0, 0)
  EXPECT_NEAR(head * std::cos(0.9 * M_PI), barb.to[0] - barb.from[0], 1e-9);
  EXPECT_NEAR(head * std::cos(M_PI / 2 - 0.9 * M_PI), barb.to[1] - barb.from[1], 1e-9);
  EXPECT_NEAR(head * std::cos(M_PI / 2 - 0.9 * M_PI), barb.to[2] - barb.from[2], 1e-9);

  // All three ranges change sign: BuildAxes with each range times 1.1.
  const auto got = Segments(81);
  StartBuild();
  BuildAxes(-1.1, 1.1, -1.1, 1.1, -1.1, 1.1);
  const auto axes = Segments();
  ASSERT_EQ(axes.size(), got.size());
  for (size_t k = 0; k < axes.size(); ++k) {
    for (int q = 0; q < 3; ++q) {
      EXPECT_TRUE(Near(axes[k].from[q], got[k].from[q], 1e-12));
      EXPECT_TRUE(Near(axes[k].to[q], got[k].to[q], 1e-12));
    }
  }
}

// The box comes with "Box ?" and stays when the axes are off; corner axes when a range keeps its
// sign; the colour letter.
TEST_F(Field3DTest, BoxAxesAndColour) {
  struct Case {
    const char16_t* statement;
    double box[6];
    bool corner;
    double rgb[3];
  };
  const Case cases[] = {
      {u"PlotField3D[F,G,H,{-1,1,1}{-2,2,1}{-1,3,1}]", {-1, 1, -2, 2, -1, 3}, false, {0, 0, 255}},
      {u"PlotField3D[F,G,H,{-1,1,1}{-2,2,1}{0.5,3,1}r]", {-1, 1, -2, 2, 0.5, 3}, true, {255, 0, 0}},
      {u"PlotField3D[F,G,H,{1,2,1}{-2,2,1}{-1,3,1}B]", {1, 2, -2, 2, -1, 3}, true, {0, 0, 0}},
      {u"PlotField3D[F,G,H,{-1,1,1}{1,2,1}{-1,3,1}w]", {-1, 1, 1, 2, -1, 3}, true, {255, 255, 255}},
  };
  for (const Case& c : cases) {
    const rt::Text statement = c.statement;
    SCOPED_TRACE(std::string(statement.begin(), statement.end()));
    ASSERT_EQ(0, Run({u"F{x,y,z} = y", u"G{x,y,z} = z", u"H{x,y,z} = x", c.statement}));
    const double* b = c.box;
    for (const bool axesOn : {true, false}) {
      SCOPED_TRACE(axesOn);
      View.ShowBox = -1;
      FieldGraph.mnuXYEnabled = axesOn ? -1 : 0;
      ASSERT_EQ(0, FieldStored());
      ASSERT_EQ(8, FieldTables.FieldVectorCount);
      const auto segs = Segments();
      for (int k = 0; k < 24; ++k) {
        EXPECT_EQ(c.rgb[0], segs[static_cast<size_t>(k)].red);
        EXPECT_EQ(c.rgb[1], segs[static_cast<size_t>(k)].green);
        EXPECT_EQ(c.rgb[2], segs[static_cast<size_t>(k)].blue);
      }
      const std::vector<FieldSeg> got(segs.begin() + 24, segs.end());
      StartBuild();
      AddBoundingBox(b[0], b[1], b[2], b[3], b[4], b[5]);
      if (axesOn) {
        if (c.corner) {
          BuildCornerAxes(1.1 * b[0], 1.1 * b[1], 1.1 * b[2], 1.1 * b[3], 1.1 * b[4], 1.1 * b[5]);
        } else {
          BuildAxes(1.1 * b[0], 1.1 * b[1], 1.1 * b[2], 1.1 * b[3], 1.1 * b[4], 1.1 * b[5]);
        }
      }
      const auto want = Segments();
      ASSERT_EQ(want.size(), got.size());
      for (size_t k = 0; k < want.size(); ++k) {
        EXPECT_EQ(want[k].from, got[k].from) << k;
        EXPECT_EQ(want[k].to, got[k].to) << k;
        EXPECT_EQ(want[k].red, got[k].red) << k;
      }
    }
    // Without "Box ?" and without axes: the arrows alone.
    View.ShowBox = 0;
    FieldGraph.mnuXYEnabled = 0;
    ASSERT_EQ(0, FieldStored());
    EXPECT_EQ(24, Scene.SegmentCount);
    FieldGraph.mnuXYEnabled = -1;
  }
}

// Esc stops the evaluation at the next grid row (each y of each z) without a message, box or
// axes.
TEST_F(Field3DTest, EscStopsQuietly) {
  ASSERT_EQ(0, Run({u"F{x,y,z} = x", u"G{x,y,z} = y", u"H{x,y,z} = z",
                    u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]"}));
  View.ShowBox = -1;
  const long before = screen_.doEventsCount;
  screen_.onDoEvents = [&] {
    if (screen_.doEventsCount - before == 5) RunFlags.AbortRun = -1;
  };
  EXPECT_EQ(0, FieldStored());
  EXPECT_NE(0, RunFlags.AbortRun);
  EXPECT_EQ(5, screen_.doEventsCount - before);
  EXPECT_EQ(12, FieldTables.FieldVectorCount) << "four rows of three evaluated";
  EXPECT_EQ(0, Scene.SegmentCount);
  EXPECT_TRUE(screen_.boxes.empty());

  screen_.onDoEvents = nullptr;
  const long again = screen_.doEventsCount;
  EXPECT_EQ(0, FieldStored());
  EXPECT_EQ(0, RunFlags.AbortRun);
  EXPECT_EQ(9, screen_.doEventsCount - again) << "nine rows";
  EXPECT_EQ(27, FieldTables.FieldVectorCount);
}

// Replot rebuilds the arrows from the kept vectors with the current factors and evaluates none of
// the three functions; a direction field in between leaves its own vectors, which are not used.
TEST_F(Field3DTest, ReplotDrawsKeptVectors) {
  ASSERT_EQ(0, Run({u"F{x,y,z} = x", u"G{x,y,z} = y", u"H{x,y,z} = z",
                    u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]"}));
  FieldGraph.mnuXYEnabled = 0;
  ASSERT_EQ(0, FieldStored());
  const auto first = Segments();
  ASSERT_EQ(81u, first.size());

  ASSERT_EQ(0, Run({u"F{x,y,z} = Ln[x - 100]", u"G{x,y,z} = y", u"H{x,y,z} = z",
                    u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]"}));
  FieldGraph.mnuXYEnabled = 0;
  RunFlags.Replot = -1;
  View.FieldVectorScale = 1.0;
  const long events = screen_.doEventsCount;
  ASSERT_EQ(0, FieldStored());
  EXPECT_EQ(events, screen_.doEventsCount) << "no evaluation";
  const auto again = Segments();
  ASSERT_EQ(81u, again.size());
  for (size_t k = 0; k < 81; k += 3) {
    EXPECT_EQ(first[k].from, again[k].from);
    if (Length(first[k]) == 0) continue;
    EXPECT_NEAR(1.0, Length(again[k]), 1e-12);
    for (int q = 0; q < 3; ++q) {
      EXPECT_NEAR(2 * (first[k].to[q] - first[k].from[q]), again[k].to[q] - again[k].from[q],
                  1e-12);
    }
  }

  // Without Replot the failing function is evaluated.
  RunFlags.Replot = 0;
  EXPECT_EQ(1142, FieldStored());
  EXPECT_EQ(0, Scene.SegmentCount);
}

// More than 15,000 grid points are refused with the count box (the box and axes still follow);
// a nearly full store is never written past its last row.
TEST_F(Field3DTest, PointAndVertexLimits) {
  ASSERT_EQ(0, Run({u"F{x,y,z} = x", u"G{x,y,z} = y", u"H{x,y,z} = z",
                    u"PlotField3D[F,G,H,{-15,15,30}{-15,15,30}{-10,10,20}]"}));
  View.ShowBox = -1;
  const long events = screen_.doEventsCount;
  ASSERT_EQ(0, FieldStored());
  ASSERT_EQ(1u, screen_.boxes.size());
  EXPECT_EQ(u"On 3D vector count exceeded 3000 (including arrows). Reduce the ranges of x,y, & z.",
            screen_.boxes[0].text);
  EXPECT_EQ(0, screen_.boxes[0].style);
  EXPECT_EQ(events, screen_.doEventsCount) << "refused before any evaluation";
  const auto segs = Segments();
  ASSERT_GT(segs.size(), 12u);
  for (size_t k = 0; k < 12; ++k) EXPECT_EQ(128, segs[k].red) << "the box";
  for (size_t k = 12; k < segs.size(); ++k) EXPECT_EQ(-10, segs[k].kind) << "then the axes";

  ASSERT_EQ(0, Run({u"F{x,y,z} = x", u"G{x,y,z} = y", u"H{x,y,z} = z",
                    u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]"}));
  FieldGraph.mnuXYEnabled = 0;
  View.ShowBox = 0;
  StartBuild();
  Scene.VertexCount = kSceneRows - 9;
  Scene.SegmentCount = 50;
  int16_t msgNo = 0;
  ProcessPlotField3D(Requests.Field3DStmt, msgNo);
  EXPECT_EQ(0, msgNo);
  EXPECT_EQ(kSceneRows - 1, Scene.VertexCount);
  EXPECT_EQ(54, Scene.SegmentCount);
}

}  // namespace
}  // namespace ms
