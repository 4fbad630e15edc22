#include <gtest/gtest.h>

#include <cmath>

#include "BvpTestSupport.h"
#include "language/CommandRequests.h"
#include "numerics/Bvp.h"
#include "numerics/Rkf45.h"
#include "numerics/SecantShooting.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneStore.h"

namespace ms::testing {
namespace {

class SecantShootingTest : public BvpFixture {
 protected:
  // Runs the shooting with start slopes s0 and s1; returns the message.
  static int16_t Shoot(const rt::Text& G, double t0, double x0, double tb, double xb, double s0,
                       double s1, double tol, const rt::Text& F = u"F_") {
    int16_t msgNo = -99;
    ShootBVP(F, G, t0, x0, tb, xb, s0, s1, 1.0, tol, msgNo);
    return msgNo;
  }
  // Rows 2..StoredPointCount of slot 1 (t, x) of the final curve, as pairs.
  static std::vector<std::pair<double, double>> FinalCurve() {
    std::vector<std::pair<double, double>> out;
    for (int i = 2; i <= Solutions.StoredPointCount; ++i)
      out.emplace_back(SolutionAt(i, 1, 1), SolutionAt(i, 2, 1));
    return out;
  }
  static Rhs Velocity() {
    return [](double, double, double y) { return y; };
  }
};

TEST_F(SecantShootingTest, FindsTheSlopeOfLinearAndNonlinearProblems) {
  Define({u"F{t,x,y} = y", u"G{t,x,y} = -x", u"Gb{t,x,y} = 2*x^3",
          u"Gc{t,x,y} = (32 + 2*t^3 - x*y)/8"});
  struct Case {
    const char16_t* name;
    const char16_t* g;
    double t0, x0, tb, xb, s0, s1;
    double slope;  // the exact x'(t0)
    double (*x)(double);
  };
  const Case cases[] = {
      {u"x'' = -x: sin t / sin 1", u"G_", 0, 0, 1, 1, 0, 2, 1 / std::sin(1.0),
       [](double t) { return std::sin(t) / std::sin(1.0); }},
      {u"x'' = 2x^3: 1/(1+t)", u"Gb", 0, 1, 1, 0.5, -0.5, -1.5, -1.0,
       [](double t) { return 1 / (1 + t); }},
      // Burden and Faires, Numerical Analysis, example of nonlinear shooting.
      {u"x'' = (32 + 2t^3 - x x')/8: t^2 + 16/t", u"Gc", 1, 17, 3, 43.0 / 3, -10, -20, -14.0,
       [](double t) { return t * t + 16 / t; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + rt::Text(c.name).size()));
    ResetBvpState();
    StartSceneBuild();
    OdeResults.BVPSolved = 0;
    Bvp.BVPTrialSlopes[0] = 4;
    Solutions.IVPPlotMode = 3;
    ASSERT_EQ(Shoot(c.g, c.t0, c.x0, c.tb, c.xb, c.s0, c.s1, 1e-5), 0);
    EXPECT_TRUE(NearRel(OdeResults.InitialSlope, c.slope, 1e-4));
    EXPECT_EQ(OdeResults.BVPSolved, -1);
    EXPECT_EQ(Bvp.BVPTrialSlopes[0], 0);
    EXPECT_EQ(Solutions.IVPPlotMode, 1);
    EXPECT_TRUE(NearRel(SolutionAt(0, 3, 1), c.slope, 1e-4));
    const auto curve = FinalCurve();
    ASSERT_FALSE(curve.empty());
    // Points inside the range (the adaptive solver's rows after its overshoot of tb carry tb with
    // the value of the step beyond it).
    int inside = 0;
    for (const auto& [t, x] : curve) {
      if (t >= c.tb - 1e-6) continue;
      ++inside;
      EXPECT_TRUE(NearRel(x, c.x(t), 1e-3)) << "t = " << t;
    }
    EXPECT_GT(inside, 3);
    EXPECT_TRUE(screen_.boxes.empty());
    EXPECT_GT(Scene.SegmentCount, 0);
  }
}

TEST_F(SecantShootingTest, FinalSlopeWithoutASecantStep) {
  // x'' = -x from x(0) = 0 (X(s) = s sin 1), and x'' = 0 (X(s) = s).
  struct Case {
    const char* what;
    Rhs g;
    double s0, s1;
    double finalSlope;
  };
  const Case cases[] = {
      {"start slopes within tol", [](double, double x, double) { return -x; }, 0.5, 0.500001,
       0.500001},
      {"the first slope meets xb", [](double, double, double) { return 0.0; }, 1.0, 3.0, 1.0},
      {"the second slope meets xb", [](double, double, double) { return 0.0; }, 3.0, 1.0, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetBvpState();
    StartSceneBuild();
    UseNative({{u"F_", Velocity()}, {u"G_", c.g}});
    screen_.doEventsCount = 0;
    ASSERT_EQ(Shoot(u"G_", 0, 0, 1, 1, c.s0, c.s1, 1e-5), 0);
    EXPECT_DOUBLE_EQ(SolutionAt(0, 3, 1), c.finalSlope);
    EXPECT_TRUE(NearRel(OdeResults.InitialSlope, c.finalSlope, 1e-6));
    EXPECT_EQ(OdeResults.BVPSolved, -1);
    // Two end values of 100 steps, at most one pass of the loop, then the adaptive solve.
    const auto curve = FinalCurve();
    ASSERT_FALSE(curve.empty());
    EXPECT_GT(Scene.SegmentCount, 0);
  }
}

TEST_F(SecantShootingTest, NonConvergenceShowsItsBoxAndDrawsNothing) {
  struct Case {
    const char* what;
    Rhs g;
    double xb;
    std::vector<rt::Text> boxes;
  };
  const rt::Text review =
      u"Review the conditions required to obtain a unique solution in the Tourbook document.";
  const Case cases[] = {
      // x' = 0: X(tb) = x0 whatever the slope.
      {"end value independent of the slope",
       nullptr,
       1,
       {u"Input slope estimates did not converge to 1\r\nFrom the input slopes, X(tb) --> 0 the "
        u"X'(to)--> 2\r\n" +
        review}},
      // Equal end values that miss xb by between tol and 10 tol: the secant step is undefined.
      {"equal end values, small miss",
       nullptr,
       5e-5,
       {u"Input slope estimates did not converge to 0.00005\r\nFrom the input slopes, X(tb) --> 0 "
        u"the X'(to)--> 2\r\n" +
        review}},
      // Both end-value runs pass 100000 at once: their end values stay 0.
      {"both end values pass the limit",
       [](double, double, double) { return 1e8; },
       1,
       {u"For first estimate: xi = 0 : yi = 0 : zi = 0",
        u"For first estimate: xi = 0 : yi = 0 : zi = 2",
        u"Input slope estimates did not converge to 1\r\nFrom the input slopes, X(tb) --> 0 the "
        u"X'(to)--> 2\r\n" +
            review}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetBvpState();
    StartSceneBuild();
    screen_.boxes.clear();
    if (c.g) {
      UseNative({{u"F_", Velocity()}, {u"G_", c.g}});
    } else {
      UseNative({{u"F_", [](double, double, double) { return 0.0; }},
                 {u"G_", [](double, double x, double) { return -x; }}});
    }
    OdeResults.BVPSolved = 5;
    EXPECT_EQ(Shoot(u"G_", 0, 0, 1, c.xb, 0, 2, 1e-5), 0);
    EXPECT_EQ(BoxTexts(), c.boxes);
    EXPECT_EQ(OdeResults.BVPSolved, 5);
    EXPECT_EQ(Scene.SegmentCount, 0);
  }
}

TEST_F(SecantShootingTest, EndValueOfOneSlope) {
  UseNative({{u"F_", Velocity()}, {u"G_", [](double, double x, double) { return -x; }}});
  struct Case {
    double t0, tb, slope;
    int steps;  // 100, or 101 when the repeated sum of h stays below tb
  };
  const Case cases[] = {{0, 1, 2, 100}, {0, 3, -1, 101}, {1, 2, 0.5, 100}, {0, 2.3, 1, 101}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tb);
    Evals().count = 0;
    screen_.doEventsCount = 0;
    double X = -7;
    int16_t msgNo = -1;
    ShootEndValue(u"F_", u"G_", c.t0, 0, c.tb, c.slope, X, msgNo);
    ASSERT_EQ(msgNo, 0);
    EXPECT_EQ(screen_.doEventsCount, c.steps);
    EXPECT_EQ(Evals().count, 8 * c.steps);
    // x = s sin(t - t0); with a 101st step the end lies one step beyond tb.
    const double tEnd = c.t0 + c.steps * (c.tb - c.t0) / 100;
    EXPECT_TRUE(NearRel(X, c.slope * std::sin(tEnd - c.t0), 1e-6));
  }
  // A failing right-hand side leaves X alone with 2100.
  Evals().failing = u"G_";
  Evals().failAfter = 100;
  double X = -7;
  int16_t msgNo = 0;
  ShootEndValue(u"F_", u"G_", 0, 0, 1, 1, X, msgNo);
  EXPECT_EQ(msgNo, 2100);
  EXPECT_EQ(X, -7);
  msgNo = -1;
  EXPECT_EQ(Shoot(u"G_", 0, 0, 1, 1, 0, 2, 1e-5), 2100);
  EXPECT_EQ(Scene.SegmentCount, 0);
}

TEST_F(SecantShootingTest, EscStopsTheIterationWithoutDrawing) {
  UseNative({{u"F_", Velocity()}, {u"G_", [](double, double x, double) { return -x; }}});
  // In the first end value, in the second, and in the third (after the loop's own event pass).
  for (long pressAt : {1L, 150L, 201L, 250L}) {
    SCOPED_TRACE(pressAt);
    ResetBvpState();
    StartSceneBuild();
    screen_.boxes.clear();
    screen_.doEventsCount = 0;
    screen_.onDoEvents = [this, pressAt] {
      if (screen_.doEventsCount == pressAt) RunFlags.AbortRun = -1;
    };
    OdeResults.BVPSolved = 0;
    EXPECT_EQ(Shoot(u"G_", 0, 0, 1, 1, 0, 2, 1e-5), 0);
    EXPECT_NE(RunFlags.AbortRun, 0);
    EXPECT_EQ(Scene.SegmentCount, 0);
    EXPECT_EQ(OdeResults.BVPSolved, 0);
    EXPECT_TRUE(screen_.boxes.empty());
    RunFlags.AbortRun = 0;
  }
  screen_.onDoEvents = nullptr;
}

TEST_F(SecantShootingTest, RedrawDoesNoShooting) {
  UseNative({{u"F_", Velocity()}, {u"G_", [](double, double x, double) { return -x; }}});
  ASSERT_EQ(Shoot(u"G_", 0, 0, 1, 1, 0, 2, 1e-5), 0);
  const int16_t segments = Scene.SegmentCount;
  ASSERT_GT(segments, 0);
  OdeResults.BVPSolved = 0;
  Bvp.BVPTrialSlopes[0] = 3;
  for (int16_t view : {1, 2, 3}) {
    SCOPED_TRACE(view);
    StartSceneBuild();
    RunFlags.Replot = -1;
    View.PlotKind = view;
    Evals().count = 0;
    ASSERT_EQ(Shoot(u"G_", 0, 0, 1, 1, 0, 2, 1e-5), 0);
    EXPECT_EQ(Evals().count, 0);
    EXPECT_EQ(Scene.SegmentCount, segments);
    // A redraw changes neither the solved flag nor the trial count.
    EXPECT_EQ(OdeResults.BVPSolved, 0);
    EXPECT_EQ(Bvp.BVPTrialSlopes[0], 3);
  }
  RunFlags.Replot = 0;
}

}  // namespace
}  // namespace ms::testing
