#include <cmath>
#include <string>

#include "FieldTestSupport.h"
#include "plotting/SlopeField.h"
#include "plotting/ZGrids.h"

namespace ms {
namespace {

using testing::FieldSeg;
using testing::Near;

class SlopeFieldTest : public testing::FieldTest {
 protected:
  // Runs the command on a statement text; the scene starts empty.
  static int16_t Slope(const rt::Text& statement) {
    StartBuild();
    rt::Text s = statement;
    int16_t msgNo = -99;
    ProcessPlotSlopeField(s, msgNo);
    return msgNo;
  }
  // Runs the command on the statement the worksheet stored.
  static int16_t SlopeStored() {
    StartBuild();
    int16_t msgNo = -99;
    ProcessPlotSlopeField(Requests.SlopeFieldStmt, msgNo);
    return msgNo;
  }
  // Unit vector along a segment.
  static std::array<double, 2> Direction(const FieldSeg& s) {
    const double dx = s.to[0] - s.from[0], dy = s.to[1] - s.from[1];
    const double len = std::hypot(dx, dy);
    return {dx / len, dy / len};
  }
};

TEST_F(SlopeFieldTest, StatementMessages) {
  ASSERT_EQ(0, Run({u"F{x,y} = x + y", u"Fa{x,y} = x - y", u"O{x} = 2*x", u"L{x,y} = Ln[x - 3]",
                    u"w = 4"}));
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
  };
  const Case cases[] = {
      {u"PlotSlopefield[F,{0,4,4}{0,4,4}]", 1200},
      {u"PLOTSLOPEFIELD[F,{0,4,4}{0,4,4}]", 1200},
      {u"PlotSlopeField[F,{0,4,4}]", 1200},  // 25 characters
      {u"PlotSlopeField(F,{0,4,4}{0,4,4}]", 1202},
      {u"PlotSlopeField[f,{0,4,4}{0,4,4}]", 1204},
      {u"PlotSlopeField[1,{0,4,4}{0,4,4}]", 1204},
      {u"PlotSlopeField[F;{0,4,4}{0,4,4}]", 1206},
      {u"PlotSlopeField[Fab,{0,4,4}{0,4,4}]", 1206},
      {u"PlotSlopeField[Q,{0,4,4}{0,4,4}]", 1208},
      {u"PlotSlopeField[Fb,{0,4,4}{0,4,4}]", 1208},
      {u"PlotSlopeField[O,{0,4,4}{0,4,4}]", 1210},
      {u"PlotSlopeField[F,(0,4,4}{0,4,4}]", 1214},
      {u"PlotSlopeField[F,{0,4,4}(0,4,4}]", 1214},
      {u"PlotSlopeField[F,{0,4,4}{0,4,4}(1,2)]", 1218},
      {u"PlotSlopeField[F,{0,4,4}{0,4,4}{1,2}rg]", 1224},
      {u"PlotSlopeField[F,{0,4,4}{0,4,4}{1,2}]x", 1224},
      {u"PlotSlopeField[F,{4,0,4}{0,4,4}]", 1226},
      {u"PlotSlopeField[F,{0,4,4}{3,3,4}]", 1226},
      {u"PlotSlopeField[F,{0,4,0}{0,4,4}]", 1228},
      {u"PlotSlopeField[F,{0,4,4}{0,4,-2}]", 1228},
      {u"PlotSlopeField[L,{0,4,4}{0,4,4}]", 1230},
      {u"PlotSlopeField[F,{0,4,4}{0,4,4}{4.001,1}]", 1232},
      {u"PlotSlopeField[F,{0,4,4}{0,4,4}{1,-0.5}]", 1232},
      {u"PlotSlopeField[F,{0,4,4}{0,q,4}]", 339},
      {u"PlotSlopeField[F,{0,4,4}{0,,4}]", 6097},
      {u"PlotSlopeField[F,{0,4,4}{0,4,4", 333},
      // Accepted forms.
      {u"PlotSlopeField[F,{0,4,4}{0,4,4}]", 0},
      {u"plotslopefield[F,{0,4,4}{0,4,4}]", 0},
      {u"PlotSlopeField[F_,{0,4,4}{0,4,4}]", 0},
      {u"PlotSlopeField[Fa,{0,w,4}{-w,w,4}b]", 0},
      {u"PlotSlopeField[F,{0,4,4}{0,4,4}{4,1}]", 0},
      {u"PlotSlopeField[F,{0,4,4}{0,4,4}{1,2}x]", 0},
  };
  for (const Case& c : cases) {
    const rt::Text statement = c.statement;
    SCOPED_TRACE(std::string(statement.begin(), statement.end()));
    const int16_t msgNo = Slope(statement);
    EXPECT_EQ(c.msgNo, msgNo);
    EXPECT_EQ(0, RunFlags.AbortRun);
    if (msgNo != 0) {
      EXPECT_EQ(0, Scene.SegmentCount) << "a refused statement appends nothing";
    } else {
      EXPECT_GT(Scene.SegmentCount, 0);
    }
  }
}

// y' = x: every segment has the slope x of its grid point, passes through the grid point, starts
// a quarter step before it and ends FieldVectorScale / 5 beyond it; the barbs leave the tip.
TEST_F(SlopeFieldTest, SegmentsFollowTheSlope) {
  ASSERT_EQ(0, Run({u"F{x,y} = x", u"PlotSlopeField[F,{-2,2,4}{-2,2,8}]"}));
  FieldGraph.mnuXYEnabled = 0;
  // What an earlier build's curve left in the rows must not mark the field's segments.
  for (auto& row : Scene.SegmentTable) {
    row[kSegKind] = 1;
    row[kDotMark] = 1;
    row[kLimitMarkKind] = 3;
  }
  ASSERT_EQ(0, SlopeStored());
  EXPECT_EQ(-1, FieldGraph.SlopeFieldMode);
  const int points = 5 * 9;
  ASSERT_EQ(points, FieldTables.SlopePointCount);
  EXPECT_EQ(points, FieldTables.SlopePointCountD);
  ASSERT_EQ(3 * points, Scene.SegmentCount) << "forward mode: a shaft and two barbs per point";
  EXPECT_EQ(6 * points, Scene.VertexCount);
  EXPECT_EQ(Scene.SegmentCount, Scene.SegmentCountD);

  const double dx = 1.0, dy = 0.5, L = (dx + dy) / 2;
  const auto segs = Segments();
  for (int i = 1; i <= points; ++i) {
    const SlopePointRec& p = FieldTables.SlopePointTable[i];
    SCOPED_TRACE(std::to_string(p.X) + "," + std::to_string(p.Y));
    // Grid order: x inner, y outer, by repeated addition.
    EXPECT_TRUE(Near(p.X, -2 + dx * ((i - 1) % 5)));
    EXPECT_TRUE(Near(p.Y, -2 + dy * ((i - 1) / 5)));
    EXPECT_EQ(p.X, p.Slope);

    const FieldSeg& shaft = segs[static_cast<size_t>(3 * (i - 1))];
    const auto u = Direction(shaft);
    EXPECT_NEAR(u[1] / u[0], p.X, 1e-12) << "slope of the segment";
    EXPECT_GT(u[0], 0) << "segments point toward increasing x";
    EXPECT_TRUE(Near(shaft.from[0], p.X - dx / 4 * u[0], 1e-12));
    EXPECT_TRUE(Near(shaft.from[1], p.Y - dx / 4 * u[1], 1e-12));
    EXPECT_TRUE(Near(shaft.to[0], p.X + 0.1 * u[0], 1e-12));
    EXPECT_TRUE(Near(shaft.to[1], p.Y + 0.1 * u[1], 1e-12));
    EXPECT_EQ(0, shaft.from[2]);
    EXPECT_EQ(0, shaft.to[2]);
    EXPECT_EQ(0, shaft.red);
    EXPECT_EQ(255, shaft.green);
    EXPECT_EQ(0, shaft.blue);
    for (int k = 0; k < 3; ++k) {
      const SegmentRow& row = Scene.SegmentTable[static_cast<size_t>(3 * (i - 1) + k)];
      EXPECT_EQ(0, row[kSegKind]);
      EXPECT_EQ(0, row[kDotMark]);
      EXPECT_EQ(0, row[kLimitMarkKind]);
    }

    // Each barb ends 0.2 L from the segment's start, 18 degrees off the segment, on either side.
    double sides = 0;
    for (int k = 1; k <= 2; ++k) {
      const FieldSeg& barb = segs[static_cast<size_t>(3 * (i - 1) + k)];
      EXPECT_EQ(shaft.to, barb.from);
      const double bx = barb.to[0] - shaft.from[0], by = barb.to[1] - shaft.from[1];
      EXPECT_NEAR(std::hypot(bx, by), 0.2 * L, 1e-12);
      const double cosine = (bx * u[0] + by * u[1]) / std::hypot(bx, by);
      EXPECT_NEAR(cosine, std::cos(0.1 * M_PI), 1e-9);
      sides += u[0] * by - u[1] * bx;
      EXPECT_EQ(shaft.green, barb.green);
    }
    // The turn angles are written to eleven decimals: symmetric to about 1e-11.
    EXPECT_NEAR(0, sides, 1e-9) << "the barbs lie on both sides";
  }
}

// A slope below 0.001 is drawn level; the display factors scale the shaft and the barbs.
TEST_F(SlopeFieldTest, LevelSlopesAndDisplayFactors) {
  ASSERT_EQ(0, Run({u"F{x,y} = x/2000", u"PlotSlopeField[F,{0,2,2}{0,1,1}r]"}));
  FieldGraph.mnuXYEnabled = 0;
  struct Case {
    double vectorScale, headScale;
  };
  const Case cases[] = {{0.5, 1.0}, {1.0, 1.0}, {0.5, 2.5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vectorScale * 10 + c.headScale);
    View.FieldVectorScale = c.vectorScale;
    View.ArrowHeadScale = c.headScale;
    ASSERT_EQ(0, SlopeStored());
    const auto segs = Segments();
    ASSERT_EQ(18u, segs.size());
    for (int i = 0; i < 6; ++i) {
      const SlopePointRec& p = FieldTables.SlopePointTable[i + 1];
      const FieldSeg& shaft = segs[static_cast<size_t>(3 * i)];
      EXPECT_EQ(255, shaft.red);
      EXPECT_EQ(0, shaft.green);
      // Slopes 0 and 0.0005 lie below the threshold: level; 0.001 does not.
      if (std::fabs(p.Slope) < 0.001) {
        EXPECT_EQ(shaft.from[1], shaft.to[1]);
      } else {
        EXPECT_NEAR((shaft.to[1] - shaft.from[1]) / (shaft.to[0] - shaft.from[0]), p.Slope, 1e-12);
      }
      EXPECT_NEAR(testing::FieldTest::Length(shaft), 0.25 + c.vectorScale / 5, 1e-12);
      const FieldSeg& barb = segs[static_cast<size_t>(3 * i + 1)];
      EXPECT_NEAR(std::hypot(barb.to[0] - shaft.from[0], barb.to[1] - shaft.from[1]),
                  0.2 * 1.0 * c.headScale, 1e-12);
    }
  }
}

// Solutions by RK-4 against the exact solutions, with the stops at 1.1 d and 1.1 c.
TEST_F(SlopeFieldTest, SolutionTraces) {
  struct Case {
    const char16_t* function;
    const char16_t* statement;
    double (*exact)(double x);
    double relTol;
    int steps;     // segments of the trace
    double lastX;  // its last point
    double lastY;  // NaN: on the exact solution
  };
  const Case cases[] = {
      // y = x^2 / 2: RK-4 integrates a polynomial right-hand side exactly; x passes b = 2 by less
      // than a step (2.2) and there y = 2.42 > 2.2, moved onto d = 2.
      {u"F{x,y} = x", u"PlotSlopeField[F,{-2,2,4}{-2,2,4}{0,0}]",
       [](double x) { return x * x / 2; }, 1e-12, 11, 2.2, 2.0},
      // y = e^x leaves 1.1 d = 2.2 at x = 0.8.
      {u"F{x,y} = y", u"PlotSlopeField[F,{0,2,4}{-2,2,4}{0,1}]",
       [](double x) { return std::exp(x); }, 2e-5, 4, 0.8, 2.0},
      // y = 1.5 e^-x falls below 1.1 c = 1.1 (inside the range) at x = 0.4 and is moved to c = 1.
      {u"F{x,y} = -y", u"PlotSlopeField[F,{0,2,4}{1,5,4}{0,1.5}]",
       [](double x) { return 1.5 * std::exp(-x); }, 2e-5, 2, 0.4, 1.0},
      // y = 1 + x^2 / 2 stays inside up to x = 1.4 and ends at the last x past b = 1.3.
      {u"F{x,y} = x", u"PlotSlopeField[F,{0,1.3,4}{0,4,4}{0,1}]",
       [](double x) { return 1 + x * x / 2; }, 1e-12, 7, 1.4, NAN},
  };
  for (const Case& c : cases) {
    const rt::Text statement = c.statement;
    SCOPED_TRACE(std::string(statement.begin(), statement.end()));
    ASSERT_EQ(0, Run({c.function, c.statement}));
    FieldGraph.mnuXYEnabled = 0;
    ASSERT_EQ(0, SlopeStored());
    const int first = 3 * FieldTables.SlopePointCount;
    const auto trace = Segments(first);
    ASSERT_EQ(static_cast<size_t>(c.steps), trace.size());
    for (size_t k = 0; k < trace.size(); ++k) {
      const FieldSeg& s = trace[k];
      EXPECT_EQ(100, s.red);
      EXPECT_EQ(0, s.green);
      EXPECT_EQ(0, s.blue);
      EXPECT_NEAR(s.to[0] - s.from[0], 0.2, 1e-12);
      if (k > 0) {
        EXPECT_EQ(trace[k - 1].to, s.from) << "the trace is connected";
      }
      EXPECT_TRUE(Near(s.from[1], c.exact(s.from[0]), c.relTol)) << k;
      if (k + 1 < trace.size() || std::isnan(c.lastY)) {
        EXPECT_TRUE(Near(s.to[1], c.exact(s.to[0]), c.relTol)) << k;
      }
    }
    EXPECT_NEAR(c.lastX, trace.back().to[0], 1e-12);
    if (!std::isnan(c.lastY)) {
      EXPECT_EQ(c.lastY, trace.back().to[1]);
    }
  }
}

// Both directions: no barbs, two traces per start point, each in the start point's colour.
TEST_F(SlopeFieldTest, BothDirectionsAndTraceColours) {
  struct Colour {
    double r, g, b;
  };
  const Colour colours[10] = {{100, 0, 0},   {100, 0, 100}, {150, 0, 50},  {150, 0, 100},
                              {150, 0, 150}, {0, 0, 0},     {200, 50, 50}, {200, 50, 200},
                              {200, 100, 0}, {200, 150, 0}};
  ASSERT_EQ(0, Run({u"F{x,y} = x",
                    u"PlotSlopeField[F,{-2,2,4}{-4,4,4}{0,-4}{0,-3}{0,-2}{0,-1}{0,0}{0,0.5}{0,1}{0,"
                    u"1.5}{0,2}{0,-3.5}G]"}));
  FieldGraph.mnuXYEnabled = 0;
  for (const int16_t both : {int16_t{0}, int16_t{-1}}) {
    SCOPED_TRACE(both);
    Settings.BothDirections = both;
    ASSERT_EQ(0, SlopeStored());
    const int points = FieldTables.SlopePointCount;
    ASSERT_EQ(25, points);
    const int perPoint = both != 0 ? 1 : 3;
    const auto segs = Segments();
    for (int i = 0; i < points * perPoint; ++i) {
      EXPECT_EQ(128, segs[static_cast<size_t>(i)].red) << "colour letter G";
    }
    // Walk the traces: each starts at its start point and keeps one colour.
    size_t s = static_cast<size_t>(points * perPoint);
    for (int j = 1; j <= 10; ++j) {
      SCOPED_TRACE(j);
      const auto& start = FieldTables.SlopeStartPoints[j];
      const Colour& col = colours[j - 1];
      for (int pass = 0; pass < (both != 0 ? 2 : 1); ++pass) {
        ASSERT_LT(s, segs.size());
        EXPECT_EQ(start[0], segs[s].from[0]);
        EXPECT_EQ(start[1], segs[s].from[1]);
        const double direction = pass == 0 ? 1 : -1;
        size_t steps = 0;
        while (s < segs.size() && segs[s].red == col.r && segs[s].green == col.g &&
               segs[s].blue == col.b && (steps == 0 || segs[s].from == segs[s - 1].to)) {
          EXPECT_NEAR(direction * 0.2, segs[s].to[0] - segs[s].from[0], 1e-12);
          ++s;
          ++steps;
        }
        EXPECT_GT(steps, 0u);
      }
    }
    EXPECT_EQ(segs.size(), s) << "nothing after the ten traces";
  }
}

// The axes: BuildAxes with the ranges times 1.1 and z from -1 to 1 when both ranges change sign,
// corner axes otherwise; grid crosses at every lattice point of the field when XY-Plane is
// checked; nothing when the axes are off.
TEST_F(SlopeFieldTest, AxesAndGridCrosses) {
  struct Case {
    const char16_t* statement;
    bool corner;
    double args[6];
    int xLo, xHi, yLo, yHi;  // the lattice points of the field's rectangle
  };
  const Case cases[] = {
      {u"PlotSlopeField[F,{-3,3,3}{-2,2,2}]", false, {-3.3, 3.3, -2.2, 2.2, -1, 1}, -3, 3, -2, 2},
      // Sgn(0) and Sgn(5) differ, so this too counts as changing sign.
      {u"PlotSlopeField[F,{0,5,5}{-2,2,2}]", false, {0, 5.5, -2.2, 2.2, -1, 1}, 0, 5, -2, 2},
      {u"PlotSlopeField[F,{1,5,4}{-2,2,2}]", true, {1.1, 5.5, -2.2, 2.2, 0, 0}, 1, 5, -2, 2},
      {u"PlotSlopeField[F,{-3,3,3}{1,2,2}]", true, {-3.3, 3.3, 1.1, 2.2, 0, 0}, -3, 3, 1, 2},
      {u"PlotSlopeField[F,{-3,-1,2}{-2,-1,2}]",
       true,
       {-3.3, -1.1, -2.2, -1.1, 0, 0},
       -3,
       -1,
       -2,
       -1},
  };
  for (const Case& c : cases) {
    const rt::Text statement = c.statement;
    SCOPED_TRACE(std::string(statement.begin(), statement.end()));
    ASSERT_EQ(0, Run({u"F{x,y} = x*y", c.statement}));
    const double* a = c.args;

    // Reference axes on an empty store.
    StartBuild();
    if (c.corner) {
      BuildCornerAxes(a[0], a[1], a[2], a[3], a[4], a[5]);
    } else {
      BuildAxes(a[0], a[1], a[2], a[3], a[4], a[5]);
    }
    const auto axes = Segments();
    ASSERT_FALSE(axes.empty());

    FieldGraph.mnuXYEnabled = -1;
    FieldGraph.mnuXYChecked = 0;
    ASSERT_EQ(0, SlopeStored());
    const int field = 3 * FieldTables.SlopePointCount;
    const auto tail = Segments(field);
    ASSERT_EQ(axes.size(), tail.size());
    for (size_t k = 0; k < axes.size(); ++k) {
      for (int q = 0; q < 3; ++q) {
        EXPECT_TRUE(Near(axes[k].from[q], tail[k].from[q], 1e-12)) << k;
        EXPECT_TRUE(Near(axes[k].to[q], tail[k].to[q], 1e-12)) << k;
      }
      EXPECT_EQ(axes[k].kind, tail[k].kind) << k;
    }

    // XY-Plane checked: a cross (two dashes of 0.1 in the plane colour) at every whole-numbered
    // point of the field's rectangle.
    FieldGraph.mnuXYChecked = -1;
    ASSERT_EQ(0, SlopeStored());
    const auto withCrosses = Segments(field + static_cast<int>(axes.size()));
    for (int i = c.xLo; i <= c.xHi; ++i) {
      for (int j = c.yLo; j <= c.yHi; ++j) {
        int dashes = 0;
        for (const FieldSeg& s : withCrosses) {
          if (Near((s.from[0] + s.to[0]) / 2, i) && Near((s.from[1] + s.to[1]) / 2, j) &&
              Near(Length(s), 0.1) && s.kind == -10 && s.red == 128)
            ++dashes;
        }
        EXPECT_GE(dashes, 2) << i << "," << j;
      }
    }

    FieldGraph.mnuXYEnabled = 0;
    ASSERT_EQ(0, SlopeStored());
    EXPECT_EQ(field, Scene.SegmentCount) << "axes off: the field alone";
  }
}

// Esc during the evaluation stops the command quietly: no message, nothing appended, no axes.
TEST_F(SlopeFieldTest, EscStopsQuietly) {
  ASSERT_EQ(0, Run({u"F{x,y} = x + y", u"PlotSlopeField[F,{0,4,4}{0,4,4}{1,1}]"}));
  for (const long pressAt : {1L, 3L}) {
    SCOPED_TRACE(pressAt);
    const long before = screen_.doEventsCount;
    screen_.onDoEvents = [&, before, pressAt] {
      if (screen_.doEventsCount - before == pressAt) RunFlags.AbortRun = -1;
    };
    EXPECT_EQ(0, SlopeStored());
    EXPECT_NE(0, RunFlags.AbortRun);
    EXPECT_EQ(0, Scene.SegmentCount);
    EXPECT_EQ(0, Scene.VertexCount);
    EXPECT_EQ(before + pressAt, screen_.doEventsCount) << "one DoEvents per grid row";
    EXPECT_TRUE(screen_.boxes.empty());
  }
  // Without Esc the next build clears the flag and runs to its end.
  screen_.onDoEvents = nullptr;
  const long before = screen_.doEventsCount;
  EXPECT_EQ(0, SlopeStored());
  EXPECT_EQ(0, RunFlags.AbortRun);
  EXPECT_EQ(5, screen_.doEventsCount - before);
  EXPECT_GT(Scene.SegmentCount, 75);
}

// A rebuild with Replot set draws the kept slopes with the current display factors and does not
// evaluate F: here F can no longer be evaluated at all. The traces are computed again.
TEST_F(SlopeFieldTest, ReplotDrawsKeptSlopes) {
  ASSERT_EQ(0, Run({u"F{x,y} = x - y", u"PlotSlopeField[F,{-2,2,4}{-2,2,4}]"}));
  FieldGraph.mnuXYEnabled = 0;
  ASSERT_EQ(0, SlopeStored());
  const auto first = Segments();

  ASSERT_EQ(0, Run({u"F{x,y} = Ln[x - 100]", u"PlotSlopeField[F,{-2,2,4}{-2,2,4}]"}));
  FieldGraph.mnuXYEnabled = 0;
  RunFlags.Replot = -1;
  const long events = screen_.doEventsCount;
  ASSERT_EQ(0, SlopeStored());
  EXPECT_EQ(events, screen_.doEventsCount) << "no evaluation loop";
  const auto again = Segments();
  ASSERT_EQ(first.size(), again.size());
  for (size_t k = 0; k < first.size(); ++k) {
    EXPECT_EQ(first[k].from, again[k].from);
    EXPECT_EQ(first[k].to, again[k].to);
  }

  // New display factors and both directions: longer shafts, no barbs, same slopes.
  View.FieldVectorScale = 1.5;
  Settings.BothDirections = -1;
  ASSERT_EQ(0, SlopeStored());
  const auto redrawn = Segments();
  ASSERT_EQ(25u, redrawn.size());
  for (int i = 0; i < 25; ++i) {
    const FieldSeg& s = redrawn[static_cast<size_t>(i)];
    const FieldSeg& old = first[static_cast<size_t>(3 * i)];
    EXPECT_EQ(old.from, s.from);
    EXPECT_NEAR(Length(s), 1.0 / 4 + 1.5 / 5, 1e-12);
    EXPECT_NEAR((s.to[1] - s.from[1]) * (old.to[0] - old.from[0]),
                (old.to[1] - old.from[1]) * (s.to[0] - s.from[0]), 1e-12);
  }

  // Traces are computed again, so they meet the failing F.
  rt::Text withTrace = u"PlotSlopeField[F,{-2,2,4}{-2,2,4}{0,0}]";
  EXPECT_EQ(1230, Slope(withTrace));
  EXPECT_EQ(25, Scene.SegmentCount) << "the field stays, the failed trace adds nothing";

  // A grid the kept table does not hold is evaluated, Replot or not.
  EXPECT_EQ(1230, Slope(u"PlotSlopeField[F,{-2,2,2}{-2,2,4}]"));
  RunFlags.Replot = 0;
  EXPECT_EQ(1230, Slope(u"PlotSlopeField[F,{-2,2,4}{-2,2,4}]"));
  EXPECT_EQ(0, Scene.SegmentCount);
}

// Capacities: 2500 slope points, ten start points, 500 steps per trace, the scene store.
TEST_F(SlopeFieldTest, Limits) {
  ASSERT_EQ(0, Run({u"F{x,y} = y/10"}));
  FieldGraph.mnuXYEnabled = 0;

  // 50 x 50 points fill the table; 51 x 51 are refused with a box and nothing appended.
  EXPECT_EQ(0, Slope(u"PlotSlopeField[F,{1,50,49}{1,50,49}]"));
  EXPECT_EQ(2500, FieldTables.SlopePointCount);
  EXPECT_EQ(7500, Scene.SegmentCount);
  EXPECT_TRUE(screen_.boxes.empty());
  FieldGraph.mnuXYEnabled = -1;
  FieldGraph.mnuXYChecked = 0;
  EXPECT_EQ(0, Slope(u"PlotSlopeField[F,{0,50,50}{0,50,50}]"));
  ASSERT_EQ(1u, screen_.boxes.size());
  EXPECT_EQ(u"Slope field count exceeded 2500 points. Reduce the number of x and y intervals.",
            screen_.boxes[0].text);
  EXPECT_EQ(0, screen_.boxes[0].style);
  EXPECT_GT(Scene.SegmentCount, 0) << "the axes are still added";
  for (const FieldSeg& s : Segments()) EXPECT_EQ(-10, s.kind) << "axes only";
  FieldGraph.mnuXYEnabled = 0;

  // Ten start points are read; an eleventh is refused.
  rt::Text ten = u"PlotSlopeField[F,{0,4,4}{0,4,4}";
  for (int j = 0; j < 10; ++j) ten += u"{1,1}";
  EXPECT_EQ(0, Slope(ten + u"]"));
  EXPECT_EQ(1224, Slope(ten + u"{1,1}]"));

  // A trace ends after 500 steps (here at x = 5 of a range that reaches 10).
  Settings.SlopeFieldStep = 0.01;
  EXPECT_EQ(0, Slope(u"PlotSlopeField[F,{0,10,2}{-10,10,2}{0,0}]"));
  const auto trace = Segments(3 * FieldTables.SlopePointCount);
  EXPECT_EQ(500u, trace.size());
  EXPECT_NEAR(5.0, trace.back().to[0], 1e-9);
  Settings.SlopeFieldStep = 0.2;

  // A nearly full store takes what fits and never writes past its last row.
  StartBuild();
  Scene.VertexCount = kSceneRows - 7;
  Scene.SegmentCount = 100;
  rt::Text s = u"PlotSlopeField[F,{0,4,4}{0,4,4}{1,1}]";
  int16_t msgNo = 0;
  ProcessPlotSlopeField(s, msgNo);
  EXPECT_EQ(0, msgNo);
  EXPECT_LE(Scene.VertexCount, kSceneRows);
  EXPECT_EQ(kSceneRows - 1, Scene.VertexCount);
  EXPECT_EQ(103, Scene.SegmentCount);
}

TEST(FieldHelpers, GridCountsAndProgressTotals) {
  struct GridCase {
    double a, b, n, c, d, m;
    int limit, expected;
  };
  const GridCase grids[] = {
      {0, 4, 4, 0, 4, 4, 2500, 25},         {-2, 2, 10, -2, 2, 10, 2500, 121},
      {1, 50, 49, 1, 50, 49, 2500, 2500},   {0, 50, 50, 0, 50, 50, 2500, 2501},
      {0, 1, 1e300, 0, 1, 1, 15000, 15001},  // steps too small to advance: counting stops
      {0, 1, 1, 0, 1, 1e300, 100, 101},
  };
  for (const GridCase& g : grids) {
    SCOPED_TRACE(g.expected);
    EXPECT_EQ(g.expected, field::CountGridPoints(g.a, g.b, (g.b - g.a) / g.n, g.c, g.d,
                                                 (g.d - g.c) / g.m, g.limit));
  }
  EXPECT_EQ(15000, field::CountGridPoints3D(1, 30, 1, 1, 25, 1, 1, 20, 1, 15000));
  EXPECT_EQ(15001, field::CountGridPoints3D(0, 30, 1, 0, 30, 1, 0, 20, 1, 15000));

  struct TotalCase {
    double area;
    int16_t expected;
  };
  const TotalCase totals[] = {{0, 1}, {0.5, 1}, {16, 16}, {-16.7, 16}, {1e9, 32767}, {NAN, 1}};
  for (const TotalCase& t : totals) {
    SCOPED_TRACE(t.area);
    EXPECT_EQ(t.expected, field::ProgressTotal(t.area));
  }
}

}  // namespace
}  // namespace ms
