#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "OdeTestSupport.h"

namespace ms {
namespace {

using testing::Log;

class Rkf45Test : public testing::OdeTest {
 protected:
  // Solves through SolveIVP1 and returns its message.
  static int16_t Solve(const rt::Text& f, double t0, double tf, double x0, double factor,
                       double tol) {
    int16_t msgNo = -1;
    SolveIVP1(f, t0, tf, x0, factor, tol, msgNo);
    return msgNo;
  }
};

TEST_F(Rkf45Test, FehlbergTableauIsConsistent) {
  using namespace fehlberg;
  for (int i = 0; i < kStages; ++i) {
    SCOPED_TRACE(i);
    const double rowSum = std::accumulate(kStage[i].begin(), kStage[i].end(), 0.0);
    EXPECT_NEAR(rowSum, kNode[i], 1e-15);
    EXPECT_NEAR(kError[i], kOrder5[i] - kOrder4[i], 1e-15);
  }
  EXPECT_NEAR(std::accumulate(kOrder4.begin(), kOrder4.end(), 0.0), 1.0, 1e-15);
  EXPECT_NEAR(std::accumulate(kOrder5.begin(), kOrder5.end(), 0.0), 1.0, 1e-15);
}

TEST_F(Rkf45Test, OneStepAgainstExactSolutions) {
  struct Case {
    const char16_t* definition;
    double t, x, h;
    double exact;  // x(t + h)
    double tol4;   // relative error allowed of the fourth-order value
    double tol5;   // and of the fifth-order value
  };
  const Case cases[] = {
      // x' = x: e^t.
      {u"F{t,x}=x", 0, 1, 0.1, std::exp(0.1), 1e-6, 1e-8},
      {u"F{t,x}=x", 1, std::exp(1.0), -0.05, std::exp(0.95), 1e-7, 1e-9},
      // x' = -2tx: e^(-t^2).
      {u"F{t,x}=-2*t*x", 0.5, std::exp(-0.25), 0.1, std::exp(-0.36), 1e-6, 1e-7},
      // Quadratures: both orders integrate a cubic exactly, only the fifth a quartic.
      {u"F{t,x}=4*t^3", 1, 2, 0.5, 2 + std::pow(1.5, 4) - 1, 1e-14, 1e-14},
      {u"F{t,x}=5*t^4", 0, 0, 1, 1, 1e-2, 1e-14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.definition) + " from t = " + std::to_string(c.t));
    ASSERT_EQ(Run({c.definition}), 0);
    Log().calls.clear();
    OdeResults.IVPStartT = -123;
    double tNew = 0, x4 = 0, x5 = 0, R = -1, slope = 0;
    int16_t msgNo = -1;
    RKF45Step1(u"F_", c.t, c.x, tNew, x4, x5, c.h, R, slope, msgNo);
    ASSERT_EQ(msgNo, 0);
    EXPECT_DOUBLE_EQ(tNew, c.t + c.h);
    EXPECT_NEAR(x4, c.exact, c.tol4 * std::max(1.0, std::fabs(c.exact)));
    EXPECT_NEAR(x5, c.exact, c.tol5 * std::max(1.0, std::fabs(c.exact)));
    // R is the difference of the two orders, not divided by h.
    EXPECT_NEAR(R, std::fabs(x4 - x5), 1e-13);
    // Six evaluations at Fehlberg's nodes, the first at the step's start giving the slope.
    ASSERT_EQ(Log().calls.size(), 6u);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(Log().calls[i].resultName, u"f1");
      EXPECT_NEAR(Log().calls[i].args[0], c.t + fehlberg::kNode[i] * c.h, 1e-15);
    }
    EXPECT_EQ(Log().calls[0].args[1], c.x);
    double f0 = 0;
    const double args[2] = {c.t, c.x};
    int16_t m = 0;
    EvalFunctionCall(u"f1", u"F_", args, 2, f0, m);
    EXPECT_DOUBLE_EQ(slope, f0);
    // The initial slope is recorded only at the solve's start time.
    EXPECT_EQ(OdeResults.InitialSlope, 0.0);
    OdeResults = {};
  }
}

TEST_F(Rkf45Test, StepRecordsInitialSlopeAtTheStartTime) {
  ASSERT_EQ(Run({u"F{t,x}=x+t"}), 0);
  OdeResults.IVPStartT = 2;
  double tNew = 0, x4 = 0, x5 = 0, R = 0, slope = 0;
  int16_t msgNo = 0;
  RKF45Step1(u"F_", 2.0, 3.0, tNew, x4, x5, 0.01, R, slope, msgNo);
  EXPECT_EQ(msgNo, 0);
  EXPECT_DOUBLE_EQ(OdeResults.InitialSlope, 5.0);
  EXPECT_DOUBLE_EQ(slope, 5.0);
}

TEST_F(Rkf45Test, FailingEvaluationEndsTheStepWith2100AndLeavesOutputs) {
  ASSERT_EQ(Run({u"F{t,x}=x"}), 0);
  struct Case {
    const char16_t* function;
    long failAt;
    size_t callsMade;
  };
  const Case cases[] = {{u"Q_", -1, 1}, {u"F_", 0, 1}, {u"F_", 3, 4}, {u"F_", 5, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.function) + " failing at call " + std::to_string(c.failAt));
    Log() = {};
    Log().failAt = c.failAt;
    const int16_t constsBefore = Tables.ConstCount;
    double tNew = -7, x4 = -7, x5 = -7, R = -7, slope = -7;
    int16_t msgNo = 0;
    RKF45Step1(c.function, 0.0, 1.0, tNew, x4, x5, 0.1, R, slope, msgNo);
    EXPECT_EQ(msgNo, kMsgRhsFailed);
    EXPECT_EQ(Log().calls.size(), c.callsMade);
    for (double out : {tNew, x4, x5, R, slope}) EXPECT_EQ(out, -7);
    EXPECT_EQ(Tables.ConstCount, constsBefore);
  }
}

TEST_F(Rkf45Test, StoreFactorDecisions) {
  struct Case {
    double prev, cur, factor;
    bool store;
  };
  const Case cases[] = {
      {1, 2, 2, true},        {1, 1.9, 2, false},     {2, 1, 2, true},      {2, 1.1, 2, false},
      {-1, -2, 2, true},      {-1, -1.9, 2, false},   {-2, -1, 2, true},    {-2, -1.1, 2, false},
      {-1, 0.001, 100, true}, {1, -0.001, 100, true}, {1, 1, 1, false},     {0, 5, 1, false},
      {5, 0, 1, false},       {0, 0, 1, false},       {1, 1.0001, 1, true}, {-3, -3.5, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.prev) + " -> " + std::to_string(c.cur) + " factor " +
                 std::to_string(c.factor));
    int16_t store = 0;
    int16_t count = 2;
    TestStoreFactor(c.prev, c.cur, c.factor, store, count);
    EXPECT_EQ(store != 0, c.store);
    EXPECT_EQ(count, c.store ? 0 : 3);
    // A store already decided is not withdrawn.
    int16_t keep = -1;
    int16_t count2 = 0;
    TestStoreFactor(c.prev, c.cur, c.factor, keep, count2);
    EXPECT_EQ(keep, -1);
  }
}

TEST_F(Rkf45Test, SolutionsAgainstExactMathematics) {
  struct Case {
    const char16_t* definition;
    double t0, tf, x0, tol;
    double accuracy;  // relative error allowed of the stored values
    double (*exact)(double);
    double (*slope)(double t, double x);
  };
  const Case cases[] = {
      {u"F{t,x}=x", 0, 1, 1, 1e-5, 1e-4, [](double t) { return std::exp(t); },
       [](double, double x) { return x; }},
      {u"F{t,x}=-2*t*x", 0, 2, 1, 1e-5, 1e-4, [](double t) { return std::exp(-t * t); },
       [](double t, double x) { return -2 * t * x; }},
      {u"F{t,x}=-2*t*x", -1.5, 1.5, std::exp(-2.25), 1e-4, 1e-3,
       [](double t) { return std::exp(-t * t); }, [](double t, double x) { return -2 * t * x; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.definition) + " from " + std::to_string(c.t0));
    ASSERT_EQ(Run({c.definition}), 0);
    StartBuild();
    Log() = {};
    ASSERT_EQ(Solve(u"F_", c.t0, c.tf, c.x0, 1, c.tol), 0);
    const int n = Solutions.StoredPointCount;
    ASSERT_GT(n, 5);
    EXPECT_EQ(SolutionAt(0, 1, 1), c.t0);
    EXPECT_EQ(SolutionAt(0, 2, 1), c.x0);
    // The step that overshoots tf is followed by one from tf itself, its x being the value at
    // the overshooting step's end: the last row pairs tf with that value and only widens the box.
    EXPECT_EQ(SolutionAt(n, 1, 1), RoundToSingle(c.tf));
    double lastT = -1e9;
    for (int r = 2; r < n; ++r) {
      SCOPED_TRACE(r);
      const double t = SolutionAt(r, 1, 1);
      const double x = SolutionAt(r, 2, 1);
      EXPECT_GT(t, lastT);
      EXPECT_LE(t, c.tf);
      lastT = t;
      // Single-precision storage: compare with the exact solution at the stored time.
      EXPECT_NEAR(x, c.exact(t), c.accuracy * std::max(1.0, std::fabs(c.exact(t))));
      // Slot 2 (t, x') and slot 3 (x, x') carry the slope F(t, x) of the same point.
      EXPECT_EQ(SolutionAt(r, 1, 2), t);
      EXPECT_EQ(SolutionAt(r, 1, 3), x);
      EXPECT_EQ(SolutionAt(r, 2, 3), SolutionAt(r, 2, 2));
      EXPECT_EQ(SolutionAt(r, 3, 1), 0.0);
      const double slope = SolutionAt(r, 2, 2);
      EXPECT_NEAR(slope, c.slope(t, x), 1e-5 * std::max(1.0, std::fabs(x)));
      // Every stored value is a single-precision number.
      EXPECT_EQ(t, static_cast<double>(static_cast<float>(t)));
    }
    // Six evaluations per step, one event-loop pass per step.
    EXPECT_EQ(Calls() % 6, 0);
    EXPECT_EQ(Calls(), 6 * screen_.doEventsCount);
    EXPECT_DOUBLE_EQ(PlotRequest.PlotTMin, c.t0);
    EXPECT_DOUBLE_EQ(PlotRequest.PlotTMax, c.tf);
    EXPECT_DOUBLE_EQ(OdeResults.IVPStartT, c.t0);
    screen_.doEventsCount = 0;
  }
}

TEST_F(Rkf45Test, InitialSlopeIsFAtTheStart) {
  ASSERT_EQ(Run({u"F{t,x}=x*x+t"}), 0);
  StartBuild();
  ASSERT_EQ(Solve(u"F_", 0.5, 0.6, 2, 1, 1e-4), 0);
  EXPECT_DOUBLE_EQ(OdeResults.InitialSlope, 4.5);
}

TEST_F(Rkf45Test, StepControlShrinksTenfoldOnZeroErrorDownToTol) {
  // F = 0: the error estimate is exactly 0, so q = 0 is raised to 0.1 every step.
  ASSERT_EQ(Run({u"F{t,x}=0*x"}), 0);
  StartBuild();
  ASSERT_EQ(Solve(u"F_", 0, 0.00115, 0, 1, 1e-5), 0);
  const std::vector<double> starts = StepStarts(u"F_", 6);
  // h: 0.001, 0.0001, then tol; the step that overshoots tf is followed by one from tf.
  const std::vector<double> expected = {0,       0.001,   0.0011,  0.00111,
                                        0.00112, 0.00113, 0.00114, 0.00115};
  ASSERT_EQ(starts.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(starts[i], expected[i], 1e-12);
  }
  // A solution that stays at 0 is stored only every third step: steps 2, 5, 8, ...
  for (int r = 2; r <= Solutions.StoredPointCount; ++r) {
    SCOPED_TRACE(r);
    EXPECT_NEAR(SolutionAt(r, 1, 1), RoundToSingle(starts[static_cast<size_t>(1 + 3 * (r - 2))]),
                1e-12);
  }
}

TEST_F(Rkf45Test, StepSizeStaysWithinItsBoundsAndGrowsOnSmoothProblems) {
  ASSERT_EQ(Run({u"F{t,x}=x"}), 0);
  StartBuild();
  const double tol = 1e-3;
  ASSERT_EQ(Solve(u"F_", 0, 3, 1, 1, tol), 0);
  std::vector<double> starts = StepStarts(u"F_", 6);
  ASSERT_GT(starts.size(), 3u);
  EXPECT_DOUBLE_EQ(starts[1], 0.001);
  for (size_t i = 2; i + 1 < starts.size(); ++i) {
    SCOPED_TRACE(i);
    const double prev = starts[i] - starts[i - 1];
    const double h = starts[i + 1] - starts[i];
    if (starts[i + 1] >= 3) break;  // the step after the first overshoot starts at tf
    EXPECT_GE(h, tol * (1 - 1e-12));
    EXPECT_LE(h, 4 * prev * (1 + 1e-12));
    EXPECT_GE(h, 0.1 * prev * (1 - 1e-12));
  }
  // The first steps grow (fourfold at most).
  EXPECT_GT(starts[2] - starts[1], 0.001);
}

TEST_F(Rkf45Test, RangeEdges) {
  ASSERT_EQ(Run({u"F{t,x}=x"}), 0);
  struct Case {
    double t0, tf;
    long steps;
  };
  // tf below t0: nothing is taken; t0 = tf: the step from tf after the first overshoot too.
  const Case cases[] = {{1, 0, 0}, {1, 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t0);
    StartBuild();
    Log() = {};
    screen_.boxes.clear();
    Solutions.StoredPointCount = 77;
    ASSERT_EQ(Solve(u"F_", c.t0, c.tf, 1, 1, 1e-4), 0);
    EXPECT_EQ(Calls(), 6 * c.steps);
    if (c.steps == 0) {
      EXPECT_EQ(Solutions.StoredPointCount, 1);
      EXPECT_EQ(Scene.SegmentCount, 0);
      ASSERT_EQ(screen_.boxes.size(), 1u);
      EXPECT_EQ(screen_.boxes[0].text,
                u"The auto axis cannot be applied on one axis to constant function.");
    }
  }
}

TEST_F(Rkf45Test, ValuesAbove100000StopAndDrawWhatWasStored) {
  // x' = x^2, x(0) = 1 blows up at t = 1.
  ASSERT_EQ(Run({u"F{t,x}=x^2"}), 0);
  StartBuild();
  ASSERT_EQ(Solve(u"F_", 0, 2, 1, 1, 1e-4), 0);
  ASSERT_EQ(screen_.boxes.size(), 1u);
  EXPECT_EQ(screen_.boxes[0].text,
            u"Values exceeded 100,000. Click OK to allow partial results plotted.");
  EXPECT_EQ(screen_.boxes[0].style, ui::kOkOnly);
  const int n = Solutions.StoredPointCount;
  ASSERT_GT(n, 3);
  for (int r = 2; r <= n; ++r) {
    const double t = SolutionAt(r, 1, 1);
    EXPECT_LT(t, 1.0);
    if (t > 0.95) continue;  // the error grows with the solution near the pole
    EXPECT_NEAR(SolutionAt(r, 2, 1), 1 / (1 - t), 2e-3 * (1 / (1 - t)));
  }
  EXPECT_EQ(Scene.SegmentCount, n - 2);
}

TEST_F(Rkf45Test, ThousandthPointStopsTheSolve) {
  // F = 0 with tol 1e-6: h settles at 1e-6 and every third step is stored.
  Log().native[u"F_"] = [](const std::vector<double>&) { return 0.0; };
  StartBuild();
  ASSERT_EQ(Solve(u"F_", 0, 1, 0, 1, 1e-6), 0);
  ASSERT_EQ(screen_.boxes.size(), 1u);
  EXPECT_EQ(screen_.boxes[0].text,
            u"Number of data points > 1000. Try increasing the Factor value.\r\n"
            u"Continuity may be questioned or division by zero occured.\r\n\r\n"
            u"Click OK to plot the data upto the termination point.");
  EXPECT_EQ(Solutions.StoredPointCount, 1000);
  const std::vector<double> starts = StepStarts(u"F_", 6);
  // 999 stores (rows 2..1000) every third step, and the 1000th store overwrites row 1000.
  ASSERT_EQ(starts.size(), 3 * 1000u - 1);
  EXPECT_NEAR(SolutionAt(1000, 1, 1), RoundToSingle(starts.back()), 1e-12);
  EXPECT_NEAR(SolutionAt(999, 1, 1), RoundToSingle(starts[starts.size() - 7]), 1e-12);
  EXPECT_EQ(Scene.SegmentCount, 998);
}

TEST_F(Rkf45Test, CurveOfEachViewSlot) {
  ASSERT_EQ(Run({u"F{t,x}=x"}), 0);
  Settings.IVPColorUsed = 0x30201;  // red 1, green 2, blue 3
  for (int16_t view : {1, 2, 3}) {
    SCOPED_TRACE(view);
    StartBuild();
    View.ODEViewRequest = view;
    Log() = {};
    RunFlags.Replot = view == 1 ? 0 : -1;
    ASSERT_EQ(Solve(u"F_", 0, 1, 1, 1, 1e-4), 0);
    // Replot draws from the stored rows without evaluating.
    EXPECT_EQ(Calls() == 0, view != 1);
    const int n = Solutions.StoredPointCount;
    ASSERT_EQ(Scene.SegmentCount, n - 2);
    for (int k = 2; k <= n - 1; ++k) {
      SCOPED_TRACE(k);
      const testing::Seg s = testing::SegmentAt(k - 2);
      const int next = k == n - 1 ? k : k + 1;
      EXPECT_EQ(s.from[0], SolutionAt(k, 1, view));
      EXPECT_EQ(s.from[1], SolutionAt(k, 2, view));
      EXPECT_EQ(s.from[2], 0.0);
      EXPECT_EQ(s.to[0], SolutionAt(next, 1, view));
      EXPECT_EQ(s.to[1], SolutionAt(next, 2, view));
      EXPECT_EQ(s.row[kRed], 1);
      EXPECT_EQ(s.row[kGreen], 2);
      EXPECT_EQ(s.row[kBlue], 3);
    }
    EXPECT_EQ(Scene.VertexCountD, Scene.VertexCount);
  }
}

TEST_F(Rkf45Test, PendingPlotKeepsItsRange) {
  ASSERT_EQ(Run({u"F{t,x}=x"}), 0);
  StartBuild();
  Requests.PlotRequested = -1;
  PlotRequest.PlotTMin = -5;
  PlotRequest.PlotTMax = 5;
  ASSERT_EQ(Solve(u"F_", 0, 1, 1, 1, 1e-3), 0);
  EXPECT_EQ(PlotRequest.PlotTMin, -5);
  EXPECT_EQ(PlotRequest.PlotTMax, 5);
}

TEST_F(Rkf45Test, EvaluationFailureDuringSolveDrawsNothing) {
  ASSERT_EQ(Run({u"F{t,x}=-1+0*x"}), 0);
  StartBuild();
  Log().failAt = 40;
  Solutions.StoredPointCount = 5;
  EXPECT_EQ(Solve(u"F_", 0, 1, 1, 1, 1e-3), kMsgRhsFailed);
  EXPECT_EQ(Solutions.StoredPointCount, 5);
  EXPECT_EQ(Scene.SegmentCount, 0);
  EXPECT_EQ(Calls(), 41);
}

}  // namespace
}  // namespace ms
