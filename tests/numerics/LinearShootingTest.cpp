#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "BvpTestSupport.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "numerics/LinearShooting.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneStore.h"

namespace ms::testing {
namespace {

constexpr double kPi = 3.14159265358979323846;

class LinearShootingTest : public BvpFixture {
 protected:
  static int16_t Solve(const rt::Text& F, const rt::Text& G, double t0, double x0, double tb,
                       double xb, double n) {
    int16_t msgNo = -99;
    SolveBVPLinear(F, G, t0, x0, tb, xb, n, msgNo);
    return msgNo;
  }
  static const BvpRow& Row(int i) {
    return LinearShooting.BVPSolutionTable[static_cast<size_t>(i)];
  }
};

TEST_F(LinearShootingTest, CombinationFollowsTheExactSolution) {
  Define({u"F{t,x,y} = y", u"G{t,x,y} = -x", u"Gb{t,x,y} = x", u"Gc{t,x,y} = 2",
          u"Gd{t,x,y} = -2*y - x"});
  const double c = (2 - std::cosh(1.0)) / std::sinh(1.0);
  struct Case {
    const char16_t* name;
    const char16_t* g;
    double t0, x0, tb, xb, n;
    double (*x)(double);
    double (*dx)(double);
  };
  static double cc;
  cc = c;
  const Case cases[] = {
      {u"x'' = -x: sin t", u"G_", 0, 0, kPi / 2, 1, 100, [](double t) { return std::sin(t); },
       [](double t) { return std::cos(t); }},
      {u"x'' = x: cosh t + c sinh t", u"Gb", 0, 1, 1, 2, 50,
       [](double t) { return std::cosh(t) + cc * std::sinh(t); },
       [](double t) { return std::sinh(t) + cc * std::cosh(t); }},
      {u"x'' = 2: t^2", u"Gc", 0, 0, 1, 1, 20, [](double t) { return t * t; },
       [](double t) { return 2 * t; }},
      {u"x'' = -2x' - x: (1 - t) e^-t", u"Gd", 0, 1, 1, 0, 50,
       [](double t) { return (1 - t) * std::exp(-t); },
       [](double t) { return (t - 2) * std::exp(-t); }},
      {u"x'' = -x on [1, 2]: shifted t", u"G_", 1, 0, 2, std::sin(1.0), 40,
       [](double t) { return std::sin(t - 1); }, [](double t) { return std::cos(t - 1); }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.name, k.name + rt::Text(k.name).size()));
    StartSceneBuild();
    ASSERT_EQ(Solve(u"F_", k.g, k.t0, k.x0, k.tb, k.xb, k.n), 0);
    const int last = static_cast<int>(k.n);
    ASSERT_EQ(LinearShooting.SolutionLastRow, last);
    const double h = (k.tb - k.t0) / k.n;
    for (int i = 0; i <= last; ++i) {
      const double t = k.t0 + i * h;
      SCOPED_TRACE(i);
      const BvpRow& r = Row(i);
      EXPECT_TRUE(NearRel(r[1], t, 1e-6));
      EXPECT_TRUE(NearRel(r[2], k.x(t), 2e-6));
      // x' by differences: second order inside, first order at the last row.
      if (i >= 1) {
        EXPECT_TRUE(NearRel(r[7], k.dx(t), i < last ? h * h : 2 * h));
      }
      // The third view pairs the first two.
      EXPECT_EQ(r[11], r[2]);
      EXPECT_EQ(r[12], r[7]);
      EXPECT_EQ(r[3], 0);
      EXPECT_EQ(r[13], 0);
    }
    EXPECT_EQ(Row(0)[7], 0);
    // The initial slope is the first forward difference.
    EXPECT_TRUE(NearRel(OdeResults.InitialSlope, k.dx(k.t0), 2 * h));
    // The boundary values are met.
    EXPECT_TRUE(NearRel(Row(last)[2], k.xb, 1e-6));
  }
}

TEST_F(LinearShootingTest, ClassicalStepIsFourthOrder) {
  UseNative({{u"F_", [](double, double, double y) { return y; }},
             {u"G_", [](double, double x, double) { return -x; }}});
  // x' = y, y' = -x from (0, 0, 1): the exact step ends at (sin h, cos h); the local error of a
  // fourth-order method falls like h^5.
  double previous = 0;
  for (double h : {0.4, 0.2, 0.1, 0.05}) {
    SCOPED_TRACE(h);
    Evals().count = 0;
    double tNew = -1, xNew = -1, yNew = -1;
    int16_t msgNo = -1;
    RK4Step2(u"F_", u"G_", 0, 0, 1, tNew, xNew, yNew, h, msgNo);
    ASSERT_EQ(msgNo, -1);  // the step leaves a success message alone
    EXPECT_EQ(Evals().count, 8);
    EXPECT_DOUBLE_EQ(tNew, h);
    const double err = std::hypot(xNew - std::sin(h), yNew - std::cos(h));
    EXPECT_LT(err, h * h * h * h * h / 30);
    if (previous > 0) {
      EXPECT_GT(previous / err, 28.0);
      EXPECT_LT(previous / err, 36.0);
    }
    previous = err;
  }
}

TEST_F(LinearShootingTest, StepWritesNothingOnFailureOrAbort) {
  UseNative({{u"F_", [](double, double, double y) { return y; }},
             {u"G_", [](double, double x, double) { return -x; }}});
  struct Case {
    const char* what;
    long failAfter;  // G fails from this evaluation on (-1: never)
    bool abort;
    int16_t msgNo;
    long evaluations;
  };
  const Case cases[] = {
      {"G fails at once", 0, false, 2100, 2},
      {"G fails in the last stage", 7, false, 2100, 8},
      {"Esc pending", -1, true, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Evals().count = 0;
    Evals().failing = u"G_";
    Evals().failAfter = c.failAfter;
    RunFlags.AbortRun = c.abort ? -1 : 0;
    double tNew = -1, xNew = -1, yNew = -1;
    int16_t msgNo = -1;
    RK4Step2(u"F_", u"G_", 0, 0, 1, tNew, xNew, yNew, 0.1, msgNo);
    EXPECT_EQ(msgNo, c.msgNo);
    EXPECT_EQ(Evals().count, c.evaluations);
    EXPECT_EQ(tNew, -1);
    EXPECT_EQ(xNew, -1);
    EXPECT_EQ(yNew, -1);
  }
  RunFlags.AbortRun = 0;
}

TEST_F(LinearShootingTest, StepCountRowsAndTableLimit) {
  UseNative({{u"F_", [](double, double, double y) { return y; }},
             {u"G_", [](double, double x, double) { return -x; }}});
  struct Case {
    double n;
    int lastRow;  // -1: nothing solved
    bool outOfSpace;
  };
  const Case cases[] = {
      {10.5, 10, false}, {11.5, 12, false}, {1, 1, false}, {1000, 1000, false}, {1001, -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    ResetBvpState();
    StartSceneBuild();
    screen_.boxes.clear();
    ASSERT_EQ(Solve(u"F_", u"G_", 0, 0, 1, 1, c.n), 0);
    EXPECT_EQ(LinearShooting.SolutionLastRow, c.lastRow);
    if (c.outOfSpace) {
      ASSERT_EQ(BoxTexts().size(), 1u);
      EXPECT_EQ(BoxTexts()[0], u"Out of space, for now");
      EXPECT_EQ(Scene.SegmentCount, 0);
      continue;
    }
    EXPECT_TRUE(BoxTexts().empty());
    // The last row lies at tb whatever the rounding of n, and meets xb there.
    EXPECT_DOUBLE_EQ(Row(c.lastRow)[1], 1.0);
    EXPECT_TRUE(NearRel(Row(c.lastRow)[2], 1.0, 1e-6));
    // Rows 1..N drawn: N - 1 segments once the dot of the last row is taken back.
    EXPECT_EQ(Scene.SegmentCount, c.lastRow - 1);
  }
}

TEST_F(LinearShootingTest, ValuesBeyondTheLimit) {
  struct Case {
    const char* what;
    Rhs g;
    int lastRow;  // rows of the combination (-1: none)
    int segments;
  };
  const Case cases[] = {
      // The step taken from row 6 (t = 0.6) reaches t = 0.65: the rows kept are 0..5.
      {"first run passes at row 6", [](double t, double x, double) { return t > 0.62 ? 1e7 : -x; },
       5, 4},
      // Only the second run (y = 1 from the start) passes: the solve ends silently.
      {"second run passes", [](double, double, double y) { return y >= 1 ? 1e7 : 0.0; }, -1, 0},
      {"first step passes", [](double, double, double) { return 1e7; }, -1, 0},
      {"not a number", [](double, double, double) { return std::nan(""); }, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetBvpState();
    StartSceneBuild();
    screen_.boxes.clear();
    UseNative({{u"F_", [](double, double, double y) { return y; }}, {u"G_", c.g}});
    EXPECT_EQ(Solve(u"F_", u"G_", 0, 0, 1, 1, 10), 0);
    EXPECT_EQ(LinearShooting.SolutionLastRow, c.lastRow);
    EXPECT_EQ(Scene.SegmentCount, c.segments);
    EXPECT_TRUE(BoxTexts().empty());
  }
}

TEST_F(LinearShootingTest, FailuresEndWithoutDrawing) {
  struct Case {
    const char* what;
    Rhs f;
    long failAfter;  // G fails from this evaluation on (-1: never)
    int16_t msgNo;
  };
  const Case cases[] = {
      {"G cannot be evaluated", [](double, double, double y) { return y; }, 30, 2100},
      // x' = 0: the second run stays at 0, so no multiple of it can meet xb.
      {"no combination meets xb", [](double, double, double) { return 0.0; }, -1, 2100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetBvpState();
    StartSceneBuild();
    UseNative({{u"F_", c.f}, {u"G_", [](double, double x, double) { return -x; }}});
    Evals().count = 0;
    Evals().failing = u"G_";
    Evals().failAfter = c.failAfter;
    EXPECT_EQ(Solve(u"F_", u"G_", 0, 0, 1, 1, 10), c.msgNo);
    EXPECT_EQ(LinearShooting.SolutionLastRow, -1);
    EXPECT_EQ(Scene.SegmentCount, 0);
    EXPECT_EQ(Scene.VertexCount, 0);
  }
}

TEST_F(LinearShootingTest, DrawsTheChosenViewInTheOdeColour) {
  UseNative({{u"F_", [](double, double, double y) { return y; }},
             {u"G_", [](double, double x, double) { return -x; }}});
  Settings.IVPColorUsed = 0x123456;  // red 0x56, green 0x34, blue 0x12
  struct Case {
    int16_t plotKind;
    int xCol, yCol;  // columns of the solution row drawn as X and Y
  };
  const Case cases[] = {{1, 1, 2}, {2, 6, 7}, {3, 11, 12}, {7, 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plotKind);
    ResetBvpState();
    StartSceneBuild();
    View.PlotKind = c.plotKind;
    ASSERT_EQ(Solve(u"F_", u"G_", 0, 0, kPi / 2, 1, 20), 0);
    ASSERT_EQ(Scene.SegmentCount, 19);
    for (int s = 0; s < Scene.SegmentCount; ++s) {
      SCOPED_TRACE(s);
      const SegmentRow& row = Scene.SegmentTable[static_cast<size_t>(s)];
      const Point3& from = Scene.VertexXYZ[static_cast<size_t>(row[kStartPoint])];
      const Point3& to = Scene.VertexXYZ[static_cast<size_t>(row[kEndPoint])];
      EXPECT_EQ(from[0], Row(s + 1)[static_cast<size_t>(c.xCol)]);
      EXPECT_EQ(from[1], Row(s + 1)[static_cast<size_t>(c.yCol)]);
      EXPECT_EQ(to[0], Row(s + 2)[static_cast<size_t>(c.xCol)]);
      EXPECT_EQ(to[1], Row(s + 2)[static_cast<size_t>(c.yCol)]);
      EXPECT_EQ(row[kRed], 0x56);
      EXPECT_EQ(row[kGreen], 0x34);
      EXPECT_EQ(row[kBlue], 0x12);
      EXPECT_EQ(row[kDotMark], 0);
    }
    EXPECT_EQ(Scene.SegmentCountD, 19);
    EXPECT_EQ(Scene.VertexCountD, Scene.VertexCount);
    EXPECT_EQ(Solutions.CurveSteps, 20);
  }
}

TEST_F(LinearShootingTest, RedrawUsesTheStoredSolutionOnly) {
  Define({u"F{t,x,y} = y", u"G{t,x,y} = -x"});
  ASSERT_EQ(Solve(u"F_", u"G_", 0, 0, kPi / 2, 1, 20), 0);
  const long solved = Evals().count;
  EXPECT_EQ(solved, 2 * 21 * 8);  // two runs, rows 0..20, eight values a step
  StartSceneBuild();
  RunFlags.Replot = -1;
  View.PlotKind = 3;
  Evals().count = 0;
  // The statement's n is not used for a redraw: the stored rows are.
  ASSERT_EQ(Solve(u"F_", u"G_", 0, 0, kPi / 2, 1, 5), 0);
  EXPECT_EQ(Evals().count, 0);
  ASSERT_EQ(Scene.SegmentCount, 19);
  const SegmentRow& first = Scene.SegmentTable[0];
  const Point3& p = Scene.VertexXYZ[static_cast<size_t>(first[kStartPoint])];
  EXPECT_TRUE(NearRel(p[0], std::sin(kPi / 40), 1e-6));  // x at row 1
  // x' at row 1 by the central difference (error about h^2 / 6).
  EXPECT_TRUE(NearRel(p[1], std::cos(kPi / 40), (kPi / 40) * (kPi / 40)));
  RunFlags.Replot = 0;
}

TEST_F(LinearShootingTest, RedrawBeforeAnySolveShowsTheConstantFunctionBox) {
  RunFlags.Replot = -1;
  EXPECT_EQ(Solve(u"F_", u"G_", 0, 0, 1, 1, 10), 0);
  RunFlags.Replot = 0;
  EXPECT_EQ(Scene.SegmentCount, 0);
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0], u"The auto axes cannot be applied on one axis to a constant function.");
}

TEST_F(LinearShootingTest, EscStopsTheSolveWithoutDrawing) {
  UseNative({{u"F_", [](double, double, double y) { return y; }},
             {u"G_", [](double, double x, double) { return -x; }}});
  for (long pressAt : {1L, 5L, 15L}) {  // in the first run, and in the second
    SCOPED_TRACE(pressAt);
    ResetBvpState();
    StartSceneBuild();
    screen_.doEventsCount = 0;
    screen_.onDoEvents = [this, pressAt] {
      if (screen_.doEventsCount == pressAt) RunFlags.AbortRun = -1;
    };
    Evals().count = 0;
    EXPECT_EQ(Solve(u"F_", u"G_", 0, 0, 1, 1, 10), 0);
    EXPECT_NE(RunFlags.AbortRun, 0);
    EXPECT_EQ(Evals().count, 8 * (pressAt - 1));
    EXPECT_EQ(LinearShooting.SolutionLastRow, -1);
    EXPECT_EQ(Scene.SegmentCount, 0);
    RunFlags.AbortRun = 0;
  }
  screen_.onDoEvents = nullptr;
}

TEST_F(LinearShootingTest, SceneLimitsAndGridUnits) {
  UseNative({{u"F_", [](double, double, double y) { return y; }},
             {u"G_", [](double, double x, double) { return -x; }}});
  // A store near its curve limit: 3990, the segments stored until then remain.
  StartSceneBuild();
  Scene.VertexCount = 29990;
  EXPECT_EQ(Solve(u"F_", u"G_", 0, 0, 1, 1, 20), 3990);
  EXPECT_EQ(Scene.SegmentCount, 5);

  // A grid unit too small to divide by sets all three to 1; others scale the coordinates.
  struct Case {
    double gx, gy;
    double ex, ey;  // expected units afterwards
  };
  const Case cases[] = {{1e-6, 2, 1, 1}, {0.5, 2, 0.5, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gx);
    ResetBvpState();
    StartSceneBuild();
    Scene.GridUnitX = c.gx;
    Scene.GridUnitY = c.gy;
    ASSERT_EQ(Solve(u"F_", u"G_", 0, 0, 1, 1, 10), 0);
    EXPECT_EQ(Scene.GridUnitX, c.ex);
    EXPECT_EQ(Scene.GridUnitY, c.ey);
    const Point3& p = Scene.VertexXYZ[static_cast<size_t>(Scene.SegmentTable[0][kStartPoint])];
    EXPECT_DOUBLE_EQ(p[0], Row(1)[1] / c.ex);
    EXPECT_DOUBLE_EQ(p[1], Row(1)[2] / c.ey);
    EXPECT_DOUBLE_EQ(Scene.ViewXMax, Row(10)[1] / c.ex);
  }
}

}  // namespace
}  // namespace ms::testing
