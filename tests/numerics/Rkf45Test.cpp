#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "language/CommandRequests.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/PlotRequest.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

class Rkf45Test : public SolverTest {
 protected:
  static int16_t Solve(double t0, double tf, double x0, double tol) {
    return SolveIVP1(u"F_", t0, tf, x0, 1, tol);
  }
};

TEST_F(Rkf45Test, OneStepAgainstExactSolutions) {
  struct Case {
    const char16_t* definition;
    double t, x, h, exact, tol4, tol5;  // exact: x(t + h)
  };
  const Case cases[] = {// Both orders integrate a cubic exactly, only the fifth a quartic.
                        {u"F{t,x}=4*t^3", 1, 2, 0.5, 2 + std::pow(1.5, 4) - 1, 1e-14, 1e-14},
                        {u"F{t,x}=5*t^4", 0, 0, 1, 1, 1e-2, 1e-14}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.definition));
    ASSERT_EQ(Run({c.definition}), 0);
    Log().calls.clear();
    OdeResults.IVPStartT = c.t;  // the slope is recorded at the solve's start time
    double tNew = 0, x4 = 0, x5 = 0, R = -1, slope = 0;
    ASSERT_EQ(RKF45Step1(u"F_", c.t, c.x, tNew, x4, x5, c.h, R, slope), 0);
    EXPECT_DOUBLE_EQ(tNew, c.t + c.h);
    EXPECT_TRUE(NearRel(x4, c.exact, c.tol4));
    EXPECT_TRUE(NearRel(x5, c.exact, c.tol5));
    EXPECT_NEAR(R, std::fabs(x4 - x5), 1e-13);  // not divided by h
    // Six evaluations at Fehlberg's nodes, the first giving the slope.
    ASSERT_EQ(Calls(), 6);
    for (int i = 0; i < 6; ++i)
      EXPECT_NEAR(Log().calls[i].args[0], c.t + fehlberg::kNode[i] * c.h, 1e-15);
    EXPECT_EQ(OdeResults.InitialSlope, slope);
  }
}

TEST_F(Rkf45Test, StoreFactorDecisions) {
  struct Case {
    double prev, cur, factor;
    bool store;
  };
  const Case cases[] = {{1, 2, 2, true},      {1, 1.9, 2, false},     {2, 1, 2, true},
                        {-2, -1.1, 2, false}, {-1, 0.001, 100, true}, {0, 5, 1, false},
                        {0, 0, 1, false},     {1, 1.0001, 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.prev) + " -> " + std::to_string(c.cur));
    int16_t store = 0, count = 2;
    TestStoreFactor(c.prev, c.cur, c.factor, store, count);
    EXPECT_EQ(store != 0, c.store);
    EXPECT_EQ(count, c.store ? 0 : 3);
    int16_t keep = -1;  // a store already decided is not withdrawn
    TestStoreFactor(c.prev, c.cur, c.factor, keep, count);
    EXPECT_EQ(keep, -1);
  }
}

TEST_F(Rkf45Test, StepControlShrinksTenfoldOnZeroErrorDownToTol) {
  // F = 0: the error estimate is exactly 0, so q = 0 is raised to 0.1 every step.
  ASSERT_EQ(Run({u"F{t,x}=0*x"}), 0);
  StartBuild();
  ASSERT_EQ(Solve(0, 0.00115, 0, 1e-5), 0);
  const std::vector<double> starts = StepStarts(u"F_", 6);
  const std::vector<double> expected = {0,       0.001,   0.0011,  0.00111,
                                        0.00112, 0.00113, 0.00114, 0.00115};
  ASSERT_EQ(starts.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(starts[i], expected[i], 1e-12) << i;
  // A solution that stays at 0 is stored only every third step.
  for (int r = 2; r <= Solutions.StoredPointCount; ++r)
    EXPECT_NEAR(SolutionAt(r, 1, 1), RoundToSingle(starts[static_cast<size_t>(3 * r - 5)]), 1e-12);
}

TEST_F(Rkf45Test, StepSizeGrowsAtMostFourfoldOnASmoothProblem) {
  ASSERT_EQ(Run({u"F{t,x}=x"}), 0);
  StartBuild();
  ASSERT_EQ(Solve(0, 3, 1, 1e-3), 0);
  // A step taken again after its error was too large starts where the rejected one did.
  std::vector<double> starts = StepStarts(u"F_", 6);
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  ASSERT_GT(starts.size(), 3u);
  EXPECT_GT(starts[2] - starts[1], 0.001);  // the first steps grow
  for (size_t i = 2; i + 1 < starts.size() && starts[i + 1] < 3; ++i) {
    const double h = starts[i + 1] - starts[i], prev = starts[i] - starts[i - 1];
    EXPECT_GE(h, 1e-3 * (1 - 1e-12)) << i;
    EXPECT_LE(h, 4 * prev * (1 + 1e-12)) << i;
  }
}

TEST_F(Rkf45Test, PendingPlotKeepsItsRange) {
  ASSERT_EQ(Run({u"F{t,x}=-1+0*x"}), 0);
  StartBuild();
  Requests.PlotRequested = -1;
  PlotRequest.PlotTMin = -5;
  ASSERT_EQ(Solve(0, 1, 1, 1e-3), 0);
  EXPECT_EQ(PlotRequest.PlotTMin, -5);
}

}  // namespace
}  // namespace ms::testing
