// The field commands (slope, direction and 3-D fields) run from worksheet functions, checked
// against the mathematics of their fields.
#include <cmath>
#include <string>

#include "commands/DirFieldCommand.h"
#include "commands/Field3DCommand.h"
#include "commands/SlopeFieldCommand.h"
#include "plotting/Axes.h"
#include "plotting/BoundingBox.h"
#include "plotting/PlotTestSupport.h"

namespace ms::testing {
namespace {

using Command = int16_t (*)(const rt::Text&);
const Command kSlope = ProcessPlotSlopeField, kDir = ProcessPlotDirField,
              kSpace = ProcessPlotField3D;

// The three fields on small grids: the slopes x + y, the rotation (-y, x), the field (x, y, z).
const char16_t* const kSlopeSheet = u"F{x,y} = x + y\r\nPlotSlopeField[F,{0,4,4}{0,4,4}]\r\n";
const char16_t* const kDirSheet =
    u"F{x,y} = -y\r\nH{x,y} = x\r\nPlotDirField[F,H,{-2,2,4}{-2,2,4}]\r\n";
const char16_t* const kSpaceSheet =
    u"F{x,y,z} = x\r\nG{x,y,z} = y\r\nH{x,y,z} = z\r\n"
    u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{-1,1,2}]\r\n";

class FieldTest : public PlotTest {
 protected:
  // Runs the worksheet, then the command on the statement it stored.
  int16_t RunField(Command cmd, const rt::Text& sheet) {
    EXPECT_EQ(RunText(sheet), 0);
    return Stored(cmd);
  }
  // The statement the worksheet stored for the command.
  static rt::Text StmtOf(Command cmd) {
    return cmd == kSlope ? Requests.SlopeFieldStmt
           : cmd == kDir ? Requests.DirFieldStmt
                         : Requests.Field3DStmt;
  }
  static int16_t Stored(Command cmd) { return Build(cmd, StmtOf(cmd)); }
  static Point3 Dir(const Seg& s) {
    const double n = s.Length();
    return {(s.to[0] - s.from[0]) / n, (s.to[1] - s.from[1]) / n, (s.to[2] - s.from[2]) / n};
  }
};

TEST_F(FieldTest, StatementMessages) {
  ASSERT_EQ(Run({u"F{x,y} = x + y", u"H{x,y} = x", u"Fa{x,y} = x - y", u"Ga{x,y} = x + y",
                 u"O{x} = 2*x", u"L{x,y} = Ln[x - 3]", u"w = 2", u"P{x,y,z} = x", u"R{x,y,z} = y",
                 u"S{x,y,z} = z", u"Pa{x,y,z} = x*y*z", u"M{x,y,z} = Ln[x - 3]"}),
            0);
  struct Case {
    Command cmd;
    const char16_t* statement;
    int16_t msgNo;
  };
  const Case cases[] = {
      {kSlope, u"PlotSlopefield[F,{0,4,4}{0,4,4}]", 1200},
      {kSlope, u"PlotSlopeField(F,{0,4,4}{0,4,4}]", 1202},
      {kSlope, u"PlotSlopeField[f,{0,4,4}{0,4,4}]", 1204},
      {kSlope, u"PlotSlopeField[F;{0,4,4}{0,4,4}]", 1206},
      {kSlope, u"PlotSlopeField[Q,{0,4,4}{0,4,4}]", 1208},
      {kSlope, u"PlotSlopeField[O,{0,4,4}{0,4,4}]", 1210},
      {kSlope, u"PlotSlopeField[F,{0,4,4}(0,4,4}]", 1214},
      {kSlope, u"PlotSlopeField[F,{0,4,4}{0,4,4}(1,2)]", 1218},
      {kSlope, u"PlotSlopeField[F,{0,4,4}{3,3,4}]", 1226},
      {kSlope, u"PlotSlopeField[F,{0,4,0}{0,4,4}]", 1228},
      {kSlope, u"PlotSlopeField[L,{0,4,4}{0,4,4}]", 1230},
      {kSlope, u"PlotSlopeField[F,{0,4,4}{0,4,4}{4.001,1}]", 1232},
      {kSlope, u"plotslopefield[F_,{0,4,4}{0,4,4}{4,1}x]", 0},
      {kSlope, u"PlotSlopeField[Fa,{0,w,4}{-w,w,4}b]", 0},
      {kDir, u"PlotDirfield[F,H,{-2,2,4}{-2,2,4}]", 1000},
      {kDir, u"PlotDirField[F,H,Q,{-2,2,4}{-2,2,4}]", 57},
      {kDir, u"PlotDirField[F,H,O,{-2,2,4}{-2,2,4}]", 1012},
      {kDir, u"PlotDirField[Q,H,{-2,2,4}{-2,2,4}]", 1014},
      {kDir, u"PlotDirField[F,H,{-2,2,4}{-2,2,4}]]", 1026},
      {kDir, u"PlotDirField[L,H,{-2,2,4}{-2,2,4}]", 1032},
      {kDir, u"PlotDirField[F,L,{-2,2,4}{-2,2,4}]", 1034},
      {kDir, u"PlotDirField[F,H,L,{-2,2,4}{-2,2,4}]", 1036},
      {kDir, u"plotdirfield[F_,H,Ga,{-w,w,4}{-2,2,4}r]", 0},
      {kSpace, u"PlotField3d[P,R,S,{-1,1,2}{-1,1,2}{-1,1,2}]", 1100},
      {kSpace, u"PlotField3D[Q,R,S,{-1,1,2}{-1,1,2}{-1,1,2}]", 1114},
      {kSpace, u"PlotField3D[F,R,S,{-1,1,2}{-1,1,2}{-1,1,2}]", 1116},  // two parameters
      {kSpace, u"PlotField3D[M,R,S,{-1,1,2}{-1,1,2}{-1,1,2}]", 1142},
      {kSpace, u"PlotField3D[P,R,M,{-1,1,2}{-1,1,2}{-1,1,2}]", 1146},
      {kSpace, u"plotfield3d[P_,R,Pa,{-w,w,2}{-1,1,2}{-1,1,2}w]", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    EXPECT_EQ(Build(c.cmd, c.statement), c.msgNo);
  }
}

// Every slope segment has the slope of its grid point (level below 0.001: here x = 0.5 is level,
// x = 1 is not) toward increasing x, starts a quarter x step before the point and ends
// FieldVectorScale / 5 beyond it.
TEST_F(FieldTest, SlopeSegmentsFollowTheSlope) {
  const double dx = 0.5, vectorScale = 1;
  ASSERT_EQ(Run({u"F{x,y} = x/1000", u"PlotSlopeField[F,{0,2,4}{0,1,1}r]"}), 0);
  FieldGraph.AxesWanted = 0;
  View.FieldVectorScale = vectorScale;
  // Marks an earlier curve left in the rows must not mark the field's segments.
  for (auto& row : Scene.SegmentTable) row = {0, 0, 0, 0, 0, 1, 1, 3};
  ASSERT_EQ(Stored(kSlope), 0);
  ASSERT_EQ(FieldTables.SlopePointCount, 10);
  ASSERT_EQ(Scene.SegmentCount, 3 * 10);  // a shaft and two barbs per point
  const auto segs = Segments();
  for (int i = 0; i < 10; ++i) {
    const SlopePointRec& p = FieldTables.SlopePointTable[i + 1];
    SCOPED_TRACE(std::to_string(p.X) + "," + std::to_string(p.Y));
    EXPECT_TRUE(Near(p.Slope, p.X / 1000));
    const double m = std::fabs(p.Slope) < 0.001 ? 0 : p.Slope, n = std::hypot(1, m);
    const Seg& shaft = segs[3 * i];
    ExpectPointNear(shaft.from, {p.X - dx / 4 / n, p.Y - dx / 4 * m / n, 0});
    ExpectPointNear(shaft.to, {p.X + vectorScale / 5 / n, p.Y + vectorScale / 5 * m / n, 0});
    for (int k = 0; k < 3; ++k) {  // red, and no mark an earlier curve left in the rows
      const SegmentRow& row = segs[3 * i + k].row;
      EXPECT_EQ(row, (SegmentRow{row[0], row[1], 255, 0, 0, 0, 0, 0}));
    }
  }
}

// Solutions by RK-4 against the exact solutions, with the stops at 1.1 d and 1.1 c. In both
// directions the field has no barbs, and a backward trace follows the forward one.
TEST_F(FieldTest, SlopeSolutionTraces) {
  struct Case {
    const char16_t *f, *statement;
    double (*exact)(double x);
    double relTol;
    size_t steps;
    double lastX, lastY;  // lastY NaN: on the exact solution
    bool both = false;
  };
  const Case cases[] = {
      // y = e^x leaves 1.1 d = 2.2 at x = 0.8.
      {u"F{x,y} = y", u"PlotSlopeField[F,{0,2,4}{-2,2,4}{0,1}]",
       [](double x) { return std::exp(x); }, 2e-5, 4, 0.8, 2.0},
      // y = 1.5 e^-x falls below 1.1 c = 1.1 at x = 0.4 and is moved to c = 1.
      {u"F{x,y} = -y", u"PlotSlopeField[F,{0,2,4}{1,5,4}{0,1.5}]",
       [](double x) { return 1.5 * std::exp(-x); }, 2e-5, 2, 0.4, 1.0},
      // Inside the box: forward to the first x past b = 2, then back from the start point to the
      // first x past a = -2.
      {u"F{x,y} = x", u"PlotSlopeField[F,{-2,2,4}{-4,4,4}{0,-3}]",
       [](double x) { return -3 + x * x / 2; }, 1e-12, 22, -2.2, NAN, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    ASSERT_EQ(Run({c.f, c.statement}), 0);
    FieldGraph.AxesWanted = 0;
    Settings.BothDirections = c.both ? -1 : 0;
    ASSERT_EQ(Stored(kSlope), 0);
    const auto trace = Segments((c.both ? 1 : 3) * FieldTables.SlopePointCount);
    ASSERT_EQ(trace.size(), c.steps);
    for (size_t k = 0; k < trace.size(); ++k) {
      const Seg& s = trace[k];
      const bool back = c.both && k >= c.steps / 2;
      EXPECT_NEAR(s.to[0] - s.from[0], back ? -0.2 : 0.2, 1e-12);
      const bool restart = k == 0 || (back && k == c.steps / 2);
      EXPECT_EQ(s.from, (restart ? Point3{0, s.from[1], 0} : trace[k - 1].to)) << "connected";
      EXPECT_TRUE(Near(s.from[1], c.exact(s.from[0]), c.relTol)) << k;
      // The last point, past 1.1 d or 1.1 c, is moved onto the edge.
      const bool moved = k + 1 == trace.size() && !std::isnan(c.lastY);
      EXPECT_TRUE(Near(s.to[1], moved ? c.lastY : c.exact(s.to[0]), moved ? 0 : c.relTol)) << k;
    }
    EXPECT_NEAR(trace.back().to[0], c.lastX, 1e-12);
  }
}

// The arrows of the direction and space fields, grid point by grid point (x fastest, z slowest):
// from the point (a lifted arrow at the height G), blue, length FieldVectorScale 0.5 along the
// vector (the plane field's zero vector along +x; the space field's drawn as a point). The plane
// view looks down the z axis; the lifted and the space field open at the saved field angles, 45
// and 60 degrees from start-up.
// A lifted field's height range is that of its values, whatever side of 200 and -200 they lie on.
TEST_F(FieldTest, ArrowsFollowTheVectors) {
  struct Case {
    Command cmd;
    rt::Text sheet;
    double x0, dx;
    int nx;
    double y0, dy;
    int ny, nz;
    bool lifted;     // the vector (1, 0) at the height a x^2 + b y + k
    double a, b, k;  // the height function
    double zMin, zMax;
  };
  const auto lifted = [](const char16_t* g) {
    return u"F{x,y} = 1 + 0*x\r\nH{x,y} = 0*y\r\nG{x,y} = " + rt::Text(g) +
           u"\r\nPlotDirField[F,H,G,{1,2,2}{-2,2,4}]\r\n";
  };
  const Case cases[] = {
      {kDir, kDirSheet, -2, 1, 5, -2, 1, 5, 1, false, 0, 0, 0, 0, 0},
      {kDir, lifted(u"x*x + y"), 1, 0.5, 3, -2, 1, 5, 1, true, 1, 1, 0, -1, 6},
      {kDir, lifted(u"300 + 0*x"), 1, 0.5, 3, -2, 1, 5, 1, true, 0, 0, 300, 300, 300},
      {kDir, lifted(u"-250 + 0*x"), 1, 0.5, 3, -2, 1, 5, 1, true, 0, 0, -250, -250, -250},
      {kSpace, kSpaceSheet, -1, 1, 3, -1, 1, 3, 3, false, 0, 0, 0, NAN, NAN},
  };
  const double k45 = 45 * 3.1415926536 / 180, k60 = 60 * 3.1415926536 / 180;
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.sheet));
    SetUp();
    View.ShowBox = -1;
    View.RotationAngle = View.ElevationAngle = 1;
    const bool flat = c.zMax == 0;
    ASSERT_EQ(RunField(c.cmd, c.sheet), 0);
    EXPECT_EQ(View.RotationAngle, flat ? -3.1415926536 / 2 : k45);
    EXPECT_EQ(View.ElevationAngle, flat ? 0 : k60);
    if (c.cmd == kDir) {
      EXPECT_EQ(FieldTables.FieldZMin, c.zMin);
      EXPECT_EQ(FieldTables.FieldZMax, c.zMax);
    }
    const int count = c.nx * c.ny * c.nz;
    ASSERT_EQ(FieldTables.FieldVectorCount, count);
    const auto segs = Segments();
    for (int i = 0; i < count; ++i) {
      const double x = c.x0 + i % c.nx * c.dx, y = c.y0 + i / c.nx % c.ny * c.dy;
      const double z = -1.0 + i / (c.nx * c.ny);
      const Point3 v = c.cmd == kSpace ? Point3{x, y, z}
                       : c.lifted      ? Point3{1, 0, c.a * x * x + c.b * y + c.k}
                                       : Point3{-y, x, 0};
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z));
      ExpectPointNear(FieldTables.FieldVectorTable[i], v);
      const Seg& shaft = segs[3 * i];
      ExpectPointNear(shaft.from, {x, y, c.cmd == kDir ? v[2] : z});
      const Point3 w = c.cmd == kDir ? Point3{v[0], v[1], 0} : v;
      const double n = std::hypot(w[0], w[1], w[2]);
      if (n == 0 && c.cmd == kSpace) {
        for (int k = 0; k < 3; ++k) EXPECT_EQ(segs[3 * i + k].to, shaft.from);
        continue;
      }
      EXPECT_NEAR(shaft.Length(), 0.5, 1e-12);
      // The evaluator's angles carry pi to ten decimals.
      ExpectPointNear(Dir(shaft), n == 0 ? Point3{1, 0, 0} : Point3{w[0] / n, w[1] / n, w[2] / n},
                      1e-9);
    }
  }
  // Angles saved by turning an earlier field are the ones the next lifted or space field opens at.
  for (const Command cmd : {kDir, kSpace}) {
    View.FieldRotation = 0.3;
    View.FieldElevation = 0.7;
    ASSERT_EQ(RunField(cmd, cmd == kDir ? lifted(u"x + y") : kSpaceSheet), 0);
    EXPECT_EQ(View.RotationAngle, 0.3);
    EXPECT_EQ(View.ElevationAngle, 0.7);
  }
}

// Arrows point along their vectors at every size of the vectors: the rotation field
// k (x - 2y, xy - 1) and the radial field k (x, y) scaled by k from 1E-9 to 1E+9 give every arrow
// the unit direction of the unscaled vector, a shaft 0.5 long and barb tips 0.2 (a fifth of the
// mean grid step) from the shaft's end, turned 162 degrees each way; the radial field's zero
// vector at the origin points along +x. Each scaled picture is the unscaled one.
TEST_F(FieldTest, DirectionFieldArrowsKeepTheirDirectionAtEveryScale) {
  const double pi = std::acos(-1.0);
  struct Field {
    const char16_t *f, *h, *range;
    double x0, y0;
    int n;
    Point3 (*v)(double x, double y);
  };
  const Field fields[] = {
      {u"k*(x - 2*y)", u"k*(x*y - 1)", u"{-2,2,4}{-2,2,4}", -2, -2, 5,
       [](double x, double y) {
         return Point3{x - 2 * y, x * y - 1, 0};
       }},
      {u"k*x", u"k*y", u"{-1,1,2}{-1,1,2}", -1, -1, 3,
       [](double x, double y) {
         return Point3{x, y, 0};
       }},
  };
  const char16_t* const scales[] = {u"1", u"0.000000001", u"0.00001", u"100000", u"1000000000"};
  for (const Field& fd : fields) {
    std::vector<Seg> unscaled;
    for (const char16_t* k : scales) {
      SCOPED_TRACE(rt::ToUtf8(rt::Text(fd.f) + u" k = " + k));
      FieldGraph.AxesWanted = 0;
      ASSERT_EQ(RunField(kDir, u"k = " + rt::Text(k) + u"\r\nF{x,y} = " + fd.f + u"\r\nH{x,y} = " +
                                   fd.h + u"\r\nPlotDirField[F,H," + fd.range + u"]\r\n"),
                0);
      const auto segs = Segments();
      ASSERT_EQ(segs.size(), 3u * fd.n * fd.n);
      for (int i = 0; i < fd.n * fd.n; ++i) {
        const double x = fd.x0 + i % fd.n, y = fd.y0 + i / fd.n;
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        const Point3 v = fd.v(x, y);
        const double n = std::hypot(v[0], v[1]);
        const double t = n == 0 ? 0 : std::atan2(v[1], v[0]);
        const Point3 end{x + 0.5 * std::cos(t), y + 0.5 * std::sin(t), 0};
        ExpectPointNear(segs[3 * i].from, {x, y, 0});
        ExpectPointNear(segs[3 * i].to, end, 1e-9);
        for (int b = 1; b <= 2; ++b) {
          const double turn = (b == 1 ? -0.9 : 0.9) * pi;
          ExpectPointNear(segs[3 * i + b].from, end, 1e-9);
          ExpectPointNear(segs[3 * i + b].to,
                          {end[0] + 0.2 * std::cos(t + turn), end[1] + 0.2 * std::sin(t + turn), 0},
                          1e-9);
        }
      }
      if (unscaled.empty()) unscaled = segs;
      for (size_t q = 0; q < segs.size(); ++q) {
        ExpectPointNear(segs[q].from, unscaled[q].from);
        ExpectPointNear(segs[q].to, unscaled[q].to);
      }
    }
  }
  // Small constant components: the arrow at (1, 1) points at 263.66 degrees, not along -x.
  FieldGraph.AxesWanted = 0;
  ASSERT_EQ(RunField(kDir,
                     u"F{x,y} = 0-0.00001\r\nH{x,y} = 0-0.00009\r\n"
                     u"PlotDirField[F,H,{1,2,1}{1,2,1}]\r\n"),
            0);
  ExpectPointNear(Segments(0, 1)[0].to, {1 - 0.5 / std::sqrt(82.0), 1 - 4.5 / std::sqrt(82.0), 0},
                  1e-9);
}

// Slope segments and their barbs on grids scaled from 1E-9 to 1E+9 with the slopes 2 and -0.5:
// the segment starts a quarter step before the grid point along (1, s), runs along (1, s), and the
// barb tips lie a fifth of the mean grid step from that start, turned 162 degrees each way from
// the direction back to the grid point.
TEST_F(FieldTest, SlopeBarbsKeepTheirDirectionAtEveryScale) {
  const double pi = std::acos(-1.0);
  const std::pair<const char16_t*, double> scales[] = {{u"0.000000004", 1e-9},
                                                       {u"0.00004", 1e-5},
                                                       {u"4", 1},
                                                       {u"400000", 1e5},
                                                       {u"4000000000", 1e9}};
  for (const double m : {2.0, -0.5}) {
    for (const auto& [range, step] : scales) {
      SCOPED_TRACE(std::to_string(m) + " on 0.." + rt::ToUtf8(range));
      FieldGraph.AxesWanted = 0;
      ASSERT_EQ(RunField(kSlope, u"F{x,y} = " + rt::Text(m > 0 ? u"2" : u"0-0.5") +
                                     u" + 0*x\r\nPlotSlopeField[F,{0," + range + u",4}{0," + range +
                                     u",4}]\r\n"),
                0);
      ASSERT_EQ(FieldTables.SlopePointCount, 25);
      const auto segs = Segments();
      ASSERT_EQ(segs.size(), 75u);
      const double n = std::hypot(1.0, m);
      const Point3 along{1 / n, m / n, 0};
      const double back = std::atan2(-m, -1.0);
      for (int i = 0; i < 25; ++i) {
        const SlopePointRec& p = FieldTables.SlopePointTable[i + 1];
        SCOPED_TRACE(i);
        const Point3 p1 = segs[3 * i].from;
        ExpectPointNear({(p1[0] - p.X) / step, (p1[1] - p.Y) / step, 0},
                        {-along[0] / 4, -along[1] / 4, 0}, 1e-9);
        ExpectPointNear(Dir(segs[3 * i]), along, 1e-9);
        for (int b = 1; b <= 2; ++b) {
          const double phi = back + (b == 1 ? -0.9 : 0.9) * pi;
          const Point3 tip = segs[3 * i + b].to;
          ExpectPointNear({(tip[0] - p1[0]) / step, (tip[1] - p1[1]) / step, 0},
                          {0.2 * std::cos(phi), 0.2 * std::sin(phi), 0}, 1e-9);
        }
      }
    }
  }
}

// Every colour letter of every field command: r, g, b, w, B and G give their colours; no letter,
// or a letter other than these six (passed over), gives the command's default, green for slope
// fields and blue for direction and space fields. Every segment of the field takes it.
TEST_F(FieldTest, EveryColourLetterOfEveryField) {
  struct Letter {
    const char16_t* letter;
    int red, green, blue;
  };
  const Letter letters[] = {{u"r", 255, 0, 0},     {u"g", 0, 255, 0}, {u"b", 0, 0, 255},
                            {u"w", 255, 255, 255}, {u"B", 0, 0, 0},   {u"G", 128, 128, 128},
                            {u"", -1, -1, -1},     {u"x", -1, -1, -1}};
  struct FieldCommand {
    Command cmd;
    const char16_t *functions, *head, *ranges;
    int fallback[3];
  };
  const FieldCommand commands[] = {
      {kSlope, u"F{x,y} = x + y", u"PlotSlopeField[F,", u"{0,4,4}{0,4,4}", {0, 255, 0}},
      {kDir, u"F{x,y} = -y\r\nH{x,y} = x", u"PlotDirField[F,H,", u"{-2,2,4}{-2,2,4}", {0, 0, 255}},
      {kSpace,
       u"F{x,y,z} = x\r\nG{x,y,z} = y\r\nH{x,y,z} = z",
       u"PlotField3D[F,G,H,",
       u"{-1,1,2}{-1,1,2}{-1,1,2}",
       {0, 0, 255}},
  };
  for (const FieldCommand& c : commands) {
    for (const Letter& l : letters) {
      SCOPED_TRACE(rt::ToUtf8(rt::Text(c.head) + c.ranges + l.letter + u"]"));
      FieldGraph.AxesWanted = 0;
      ASSERT_EQ(RunField(c.cmd,
                         rt::Text(c.functions) + u"\r\n" + c.head + c.ranges + l.letter + u"]\r\n"),
                0);
      const int want[3] = {l.red < 0 ? c.fallback[0] : l.red, l.red < 0 ? c.fallback[1] : l.green,
                           l.red < 0 ? c.fallback[2] : l.blue};
      const auto segs = Segments();
      ASSERT_FALSE(segs.empty());
      for (const Seg& s : segs) {
        ASSERT_EQ(s.row[kRed], want[0]);
        ASSERT_EQ(s.row[kGreen], want[1]);
        ASSERT_EQ(s.row[kBlue], want[2]);
      }
    }
  }
}

// The barb tips of a space field's arrows: h = 0.2 ArrowHeadScale (dx + dy + dz) / 8 from the
// arrow's end, each coordinate turned by 0.9 pi from its own direction angle: the end
// P2 = P + 0.5 v / |v| and the tips P2 + h (cos(a -/+ 0.9 pi), cos(b -/+ 0.9 pi), cos(c -/+ 0.9
// pi)) with a, b, c the angles of v to the axes.
TEST_F(FieldTest, SpaceFieldBarbTips) {
  const double pi = std::acos(-1.0);
  View.ArrowHeadScale = 2;
  ASSERT_EQ(RunField(kSpace,
                     u"F{x,y,z} = x + 2*y\r\nG{x,y,z} = y - z\r\nH{x,y,z} = 1 + 0*z\r\n"
                     u"PlotField3D[F,G,H,{-1,1,2}{-1,1,2}{0,2,2}]\r\n"),
            0);
  const double h = 0.2 * 2 * (1 + 1 + 1) / 8.0;
  const auto segs = Segments();
  ASSERT_GE(segs.size(), 81u);
  for (int i = 0; i < 27; ++i) {
    const double x = -1 + i % 3, y = -1 + i / 3 % 3, z = i / 9;
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z));
    const Point3 v{x + 2 * y, y - z, 1};
    const double n = std::hypot(v[0], v[1], v[2]);
    const double angle[3] = {std::acos(v[0] / n), std::acos(v[1] / n), std::acos(v[2] / n)};
    const Point3 end{x + 0.5 * v[0] / n, y + 0.5 * v[1] / n, z + 0.5 * v[2] / n};
    ExpectPointNear(segs[3 * i].to, end, 1e-9);
    for (int b = 1; b <= 2; ++b) {
      const double turn = (b == 1 ? -0.9 : 0.9) * pi;
      ExpectPointNear(segs[3 * i + b].from, end, 1e-9);
      ExpectPointNear(
          segs[3 * i + b].to,
          {end[0] + h * std::cos(angle[0] + turn), end[1] + h * std::cos(angle[1] + turn),
           end[2] + h * std::cos(angle[2] + turn)},
          1e-9);
    }
  }
}

// Start points exactly on the edges of the range are inside it: the corners (a, c) and (b, d) of
// a slope field are accepted and traced (y' = 0 keeps each trace on its own line: from x = a to
// the first step past b, from x = b one step), a hair outside any edge is refused.
TEST_F(FieldTest, StartPointsOnTheRangeEdges) {
  ASSERT_EQ(RunText(u"F{x,y} = 0*x*y\r\n"), 0);
  FieldGraph.AxesWanted = 0;
  Settings.SlopeFieldStep = 0.5;
  ASSERT_EQ(Build(kSlope, u"PlotSlopeField[F,{-1,1,2}{-2,2,2}{-1,-2}{1,2}]"), 0);
  const auto trace = Segments(3 * FieldTables.SlopePointCount);
  // From -1 in steps of 0.5 while x <= 1: 5 steps to x = 1.5; from 1: one step to 1.5.
  ASSERT_EQ(trace.size(), 6u);
  ExpectPointNear(trace[0].from, {-1, -2, 0});
  ExpectPointNear(trace[4].to, {1.5, -2, 0});
  ExpectPointNear(trace[5].from, {1, 2, 0});
  ExpectPointNear(trace[5].to, {1.5, 2, 0});
  for (const char16_t* outside :
       {u"{-1.000001,0}", u"{1.000001,0}", u"{0,-2.000001}", u"{0,2.000001}"}) {
    SCOPED_TRACE(rt::ToUtf8(outside));
    EXPECT_EQ(Build(kSlope, u"PlotSlopeField[F,{-1,1,2}{-2,2,2}" + rt::Text(outside) + u"]"), 1232);
  }
}

// Esc stops the evaluation at the next poll (slope: grid row, direction: grid point, space: each
// y of each z) quietly: no message, nothing appended. The next build, with Replot set (the kept
// vectors are incomplete), evaluates them all.
TEST_F(FieldTest, EscAndReplot) {
  struct Case {
    Command cmd;
    const char16_t* sheet;
    long pressAt;
    int vectors;
  };
  const Case cases[] = {
      {kSlope, kSlopeSheet, 3, 25}, {kDir, kDirSheet, 7, 25}, {kSpace, kSpaceSheet, 5, 27}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressAt);
    ASSERT_EQ(RunText(c.sheet), 0);
    View.ShowBox = -1;
    const long before = screen_.doEventsCount;
    screen_.onDoEvents = [&] {
      if (screen_.doEventsCount - before == c.pressAt) RunFlags.AbortRun = -1;
    };
    EXPECT_EQ(Stored(c.cmd), 0);
    EXPECT_EQ(screen_.doEventsCount - before, c.pressAt);
    EXPECT_EQ(Scene.SegmentCount + Scene.VertexCount, 0);
    EXPECT_TRUE(screen_.boxes.empty());
    screen_.onDoEvents = nullptr;
    RunFlags.Replot = -1;
    FieldGraph.AxesWanted = View.ShowBox = 0;
    EXPECT_EQ(Stored(c.cmd), 0);
    EXPECT_EQ(c.cmd == kSlope ? FieldTables.SlopePointCount : FieldTables.FieldVectorCount,
              c.vectors);

    // A rebuild with Replot set draws the kept slopes or vectors and evaluates nothing: here F
    // can no longer be evaluated at all.
    if (c.cmd != kSlope) continue;
    ASSERT_EQ(RunText(u"F{x,y} = Ln[x - 100]\r\nPlotSlopeField[F,{0,4,4}{0,4,4}]\r\n"), 0);
    const long events = screen_.doEventsCount;
    EXPECT_EQ(Stored(kSlope), 0);
    EXPECT_EQ(screen_.doEventsCount, events) << "no evaluation";
    EXPECT_EQ(Scene.SegmentCount, 3 * c.vectors);
  }
}

// Capacities: a refused grid (more than 2,500 slope points) shows its box before any evaluation
// and still gets the axes.
TEST_F(FieldTest, Limits) {
  FieldGraph.AxesWanted = View.ShowBox = -1;
  ASSERT_EQ(RunText(u"F{x,y} = y/10\r\nPlotSlopeField[F,{0,50,50}{0,50,50}]\r\n"), 0);
  const long events = screen_.doEventsCount;
  ASSERT_EQ(Stored(kSlope), 0);
  EXPECT_EQ(BoxTexts(), std::vector<rt::Text>{u"Slope field count exceeded 2500 points. Reduce "
                                              u"the number of x and y intervals."});
  EXPECT_EQ(screen_.doEventsCount, events) << "refused before any evaluation";
  ASSERT_GT(Scene.SegmentCount, 0);
  for (const Seg& s : Segments()) EXPECT_EQ(s.row[kSegKind], kSegStructure);
  // A field that does not fit the picture's 30,000 points (six per arrow) is refused before any
  // evaluation, with a box (its text is checked end to end); one that just fits is drawn. The
  // three field commands share this check.
  ASSERT_EQ(RunText(kDirSheet), 0);
  FieldGraph.AxesWanted = View.ShowBox = 0;
  const int need = 6 * 25;
  for (const int over : {0, 1}) {
    SCOPED_TRACE(over);
    StartSceneBuild();
    screen_.boxes.clear();
    const long before = screen_.doEventsCount;
    Scene.VertexCount = static_cast<int16_t>(kCurveVertexLimit - need + over);
    Scene.SegmentCount = 100;
    EXPECT_EQ(ProcessPlotDirField(Requests.DirFieldStmt), 0);
    EXPECT_EQ(Scene.VertexCount, over ? kCurveVertexLimit - need + 1 : kCurveVertexLimit);
    EXPECT_EQ(Scene.SegmentCount, 100 + (over ? 0 : need / 2));
    ASSERT_EQ(screen_.boxes.size(), over ? 1u : 0u);
    if (over) {
      EXPECT_EQ(screen_.doEventsCount, before);
    }
  }
  // 50 x 50 slope points fill the table; ten start points are read and an eleventh is refused;
  // a trace ends after 500 steps (here at x = 5 of a range that reaches 10).
  ASSERT_EQ(RunText(u"F{x,y} = y/10\r\n"), 0);
  EXPECT_EQ(Build(kSlope, u"PlotSlopeField[F,{1,50,49}{1,50,49}]"), 0);
  EXPECT_EQ(Scene.SegmentCount, 7500);
  rt::Text ten = u"PlotSlopeField[F,{0,4,4}{0,4,4}";
  for (int j = 0; j < 10; ++j) ten += u"{1,1}";
  EXPECT_EQ(Build(kSlope, ten + u"]"), 0);
  EXPECT_EQ(Build(kSlope, ten + u"{1,1}]"), 1234);
  EXPECT_EQ(Build(kSlope, ten + u"rg]"), 1224);
  Settings.SlopeFieldStep = 0.01;
  EXPECT_EQ(Build(kSlope, u"PlotSlopeField[F,{0,10,2}{-10,10,2}{0,0}]"), 0);
  EXPECT_EQ(Scene.SegmentCount - 3 * FieldTables.SlopePointCount, 500);
  EXPECT_NEAR(Segments(Scene.SegmentCount - 1)[0].to[0], 5.0, 1e-9);
}

// Every grid line the statement asks for is drawn, the last at b, where the running sum of the
// step passes b by rounding: 0 + 9 (1/9) is 1.0000000000000002 and 1E-12 + 2 (2E-12) is
// 5.0000000000000005E-12. n + 1 lines per direction: 10 x 2 points on [0, 1] x [0, 1] with 9 and 1
// intervals, 3 x 3 x 3 on [1E-12, 5E-12] cubed with 2.
TEST_F(FieldTest, EveryGridLineUpToTheRangeEnd) {
  struct Case {
    Command cmd;
    const char16_t* sheet;
    int points;
    Point3 last;  // the last grid point
  };
  const Case cases[] = {
      {kDir, u"F{x,y} = 1\r\nH{x,y} = 1\r\nPlotDirField[F,H,{0,1,9}{0,1,1}]\r\n", 20, {1, 1, 0}},
      {kSlope, u"F{x,y} = 1\r\nPlotSlopeField[F,{0,1,9}{0,1,1}]\r\n", 20, {1, 1, 0}},
      {kSpace,
       u"F{x,y,z} = 1\r\nG{x,y,z} = 1\r\nH{x,y,z} = 1\r\n"
       u"PlotField3D[F,G,H,{1E-12,5E-12,2}{1E-12,5E-12,2}{1E-12,5E-12,2}]\r\n",
       27,
       {5e-12, 5e-12, 5e-12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.sheet));
    FieldGraph.AxesWanted = 0;
    ASSERT_EQ(RunField(c.cmd, c.sheet), 0);
    ASSERT_EQ(Scene.SegmentCount, 3 * c.points);
    const SlopePointRec& p = FieldTables.SlopePointTable[c.points];
    const Point3 last =
        c.cmd == kSlope ? Point3{p.X, p.Y, 0} : FieldTables.FieldArrowTable[c.points].Start;
    EXPECT_EQ(last, c.last);
  }
}

// The lifted field leaves out an arrow whose height G rests on the evaluator's stand-in: +-1E+20
// for 1/0, 0 for 0/0. On {-1,1,2}{-1,1,2} G = 1/y, y/Abs[y] and y + 0 Sin[1/y] (0 at y = 0, from
// Sin[ of the stand-in) keep the rows y = -1 and 1 at the heights -1 and 1 (6 arrows); a G with
// no value anywhere is refused with 1036. With the axes on, no point of the picture goes near
// 1E+20.
TEST_F(FieldTest, LiftedFieldLeavesOutHeightsWithoutValue) {
  const std::pair<const char16_t*, int16_t> cases[] = {
      {u"1/y", 0}, {u"y/Abs[y]", 0}, {u"y+0*Sin[1/y]", 0}, {u"1/(0*x*y)", 1036}};
  for (const auto& [g, msgNo] : cases) {
    for (const bool axes : {false, true}) {
      SCOPED_TRACE(rt::ToUtf8(g) + (axes ? " with axes" : ""));
      SetUp();
      FieldGraph.AxesWanted = axes ? -1 : 0;
      ASSERT_EQ(RunField(kDir, u"F{x,y} = 1\r\nH{x,y} = 1\r\nG{x,y} = " + rt::Text(g) +
                                   u"\r\nPlotDirField[F,H,G,{-1,1,2}{-1,1,2}]\r\n"),
                msgNo);
      EXPECT_EQ(FieldTables.FieldZMin, msgNo ? 0 : -1);
      EXPECT_EQ(FieldTables.FieldZMax, msgNo ? 0 : 1);
      const auto segs = Segments();
      for (const Seg& s : segs) EXPECT_LT(std::max(std::fabs(s.from[2]), std::fabs(s.to[2])), 3);
      if (axes) continue;
      ASSERT_EQ(segs.size(), msgNo ? 0u : 18u);
      for (int i = 0; i < static_cast<int>(segs.size()) / 3; ++i) {
        const double x = -1 + i % 3, y = i < 3 ? -1 : 1;
        ExpectPointNear(segs[3 * i].from, {x, y, y});
      }
    }
  }
}

// A grid whose mean step is 1E-4 or less has no room for an arrow: each grid point is drawn as a
// point (shaft and barbs from the point to itself), so the picture stays on the field's square.
TEST_F(FieldTest, ArrowsOfAFineGridArePoints) {
  const std::pair<const char16_t*, double> cases[] = {{u"{1E-5,5E-5,4}{1E-5,5E-5,4}", 1e-5},
                                                      {u"{0,4E-4,4}{0,4E-4,4}", 0}};
  for (const auto& [range, a] : cases) {
    SCOPED_TRACE(rt::ToUtf8(range));
    FieldGraph.AxesWanted = 0;
    ASSERT_EQ(RunField(kDir, u"F{x,y} = -y\r\nH{x,y} = x\r\nPlotDirField[F,H," + rt::Text(range) +
                                 u"]\r\n"),
              0);
    const auto segs = Segments();
    ASSERT_EQ(segs.size(), 75u);
    const double step = a == 0 ? 1e-4 : 1e-5;
    for (int i = 0; i < 75; ++i) {
      const Point3 p{a + i / 3 % 5 * step, a + i / 15 * step, 0};
      ExpectPointNear(segs[i].from, p, 1e-18);
      ExpectPointNear(segs[i].to, p, 1e-18);
    }
  }
}

TEST(FieldHelpers, GridCountsStopAndProgressTotalsStayInRange) {
  // Steps too small to advance stop the counting one past the limit.
  using field::GridAxisOf;
  EXPECT_EQ(field::CountGridPoints({GridAxisOf(0, 1, 1e300), GridAxisOf(0, 1, 1)}, 15000), 15001);
  EXPECT_EQ(field::CountGridPoints({GridAxisOf(0, 1, 1), GridAxisOf(0, 1, 1e300)}, 100), 101);
  EXPECT_EQ(field::CountGridPoints({GridAxisOf(1, 50, 49), GridAxisOf(1, 50, 49)}, 2500), 2500);
  EXPECT_EQ(field::CountGridPoints(
                {GridAxisOf(1, 30, 29), GridAxisOf(1, 25, 24), GridAxisOf(1, 20, 19)}, 15000),
            15000);
  EXPECT_EQ(field::CountGridPoints(
                {GridAxisOf(0, 30, 30), GridAxisOf(0, 30, 30), GridAxisOf(0, 20, 20)}, 15000),
            15001);
  for (const auto& [area, total] :
       {std::pair{0.0, 1}, {16.0, 16}, {-16.7, 16}, {1e9, 32767}, {NAN, 1}})
    EXPECT_EQ(field::ProgressTotal(area), total) << area;
}

}  // namespace
}  // namespace ms::testing
