#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "language/CommandRequests.h"
#include "numerics/Rkf45.h"
#include "numerics/Rkf45Control.h"
#include "numerics/Rkf45Step.h"
#include "numerics/SolutionStore.h"
#include "plotting/PlotRequest.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

class Rkf45Test : public SolverTest {
 protected:
  static int16_t Solve(double t0, double tf, double x0, double tol) {
    return SolveIVP1(Rhs({u"F_"}), t0, tf, x0, 1, tol, Progress(false));
  }
};

// One step on right-hand sides of t alone, against their integrals.
TEST_F(Rkf45Test, OneStepAgainstExactSolutions) {
  struct Case {
    double (*f)(double t);
    double t, x, h, exact, tol4, tol5;  // exact: x(t + h)
  };
  const Case cases[] = {
      // Both orders integrate a cubic exactly, only the fifth a quartic.
      {[](double t) { return 4 * t * t * t; }, 1, 2, 0.5, 2 + std::pow(1.5, 4) - 1, 1e-14, 1e-14},
      {[](double t) { return 5 * std::pow(t, 4); }, 0, 0, 1, 1, 1e-2, 1e-14}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    std::vector<double> at;
    const OdeRhs f = [&](double t, const double*, double dydt[]) -> int16_t {
      at.push_back(t);
      dydt[0] = c.f(t);
      return 0;
    };
    OdeValues x4{}, x5{}, slope{};
    double R = -1;
    ASSERT_EQ(Rkf45Step(f, 1, c.t, {c.x}, c.h, x4, R, slope, &x5), 0);
    EXPECT_TRUE(NearRel(x4[0], c.exact, c.tol4));
    EXPECT_TRUE(NearRel(x5[0], c.exact, c.tol5));
    EXPECT_NEAR(R, std::fabs(x4[0] - x5[0]), 1e-13);  // not divided by h
    EXPECT_EQ(slope[0], c.f(c.t));
    // Six evaluations at Fehlberg's nodes.
    ASSERT_EQ(at.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_NEAR(at[i], c.t + fehlberg::kNode[i] * c.h, 1e-15);
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

TEST_F(Rkf45Test, StepControlGrowsFourfoldOnZeroError) {
  // F = 0: the error estimate is exactly 0, the best case, so every step is 4 times the last:
  // 0.001 4^k from t = (4^k - 1) / 3000, the last one shortened to land on tf = 2, where the end
  // point's slope is taken.
  ASSERT_EQ(Run({u"F{t,x}=0*x"}), 0);
  StartBuild();
  ASSERT_EQ(Solve(0, 2, 0, 1e-5), 0);
  const std::vector<double> starts = StepStarts(u"F_", 6);
  const std::vector<double> expected = {0, 0.001, 0.005, 0.021, 0.085, 0.341, 1.365, 2};
  ASSERT_EQ(starts.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(starts[i], expected[i], 1e-12) << i;
  // A solution that stays at 0 is stored only every third step; the end point tf ends the rows.
  const int last = Solutions.StoredPointCount;
  ASSERT_EQ(last, 4);
  for (int r = 2; r < last; ++r)
    EXPECT_NEAR(SolutionAt(r, 1, 1), RoundToSingle(starts[static_cast<size_t>(3 * r - 5)]), 1e-12);
  EXPECT_EQ(SolutionAt(last, 1, 1), 2);
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

// The next step size against h (tol h / (2 errEst))^(1/4) from <cmath>: inside the factor's
// bounds within a unit in the last place or two, at the bounds 0.1 h and 4 h, never below tol; a
// step is kept while errEst <= tol h, or when h is at tol already.
TEST(Rkf45StepControl, NextSizeAndAcceptance) {
  const double nan = std::nan("");
  const struct {
    double h, errEst, tol;
    double next;  // NaN: h (tol h / (2 errEst))^(1/4)
    bool accepted;
  } rows[] = {
      {0.01, 1e-9, 1e-6, nan, true},         // q = 1.50
      {0.2, 3e-7, 1e-6, nan, false},         // q = 0.76
      {0.013, 7.3e-10, 1e-5, nan, true},     // q = 3.07
      {1e-3, 1e-3 * 1e-6, 1e-6, nan, true},  // errEst = tol h, q = 0.84
      {0.5, 1e-20, 1e-6, 2.0, true},         // q above 4
      {0.5, 1.0, 1e-6, 0.05, false},         // q below 0.1
      {0.5, 0, 1e-6, 2.0, true},             // no error, the best case: q = 4
      {1e-5, 1.0, 1e-5, 1e-5, true},         // at the floor: kept, and stays there
      {2e-5, 1.0, 1e-5, 1e-5, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.h) + " " + std::to_string(r.errEst));
    const double next = NextStepSize(r.h, r.errEst, r.tol);
    if (std::isnan(r.next)) {
      const double expected = r.h * std::pow(r.tol * r.h / (2 * r.errEst), 0.25);
      EXPECT_NEAR(next, expected, 2 * expected * 0x1p-52);
    } else {
      EXPECT_NEAR(next, r.next, r.next * 1e-15);
    }
    EXPECT_EQ(StepAccepted(r.h, r.errEst, r.tol), r.accepted);
  }
}

// A step at the smallest size (h at most tol) that misses tol h by more than 100 times ends the
// solve; a larger step is taken again instead, and a smaller miss is kept.
TEST(Rkf45StepControl, MissAtTheSmallestStep) {
  const struct {
    double h, errEst, tol;
    bool misses;
  } rows[] = {
      {1e-3, 1e-4, 1e-3, false},         // 100 tol h: kept
      {1e-3, 1.01e-4, 1e-3, true},       // just beyond
      {2e-8, 0.07, 1e-6, true},          // a final step shorter than tol
      {2e-3, 1.0, 1e-3, false},          // above the floor: taken again
      {1e-3, std::nan(""), 1e-3, false}  // no estimate: the value limits speak
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.h) + " " + std::to_string(r.errEst));
    EXPECT_EQ(MissesAtSmallestStep(r.h, r.errEst, r.tol), r.misses);
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

namespace ms::testing {
namespace {

using Exact = OdeValues (*)(double t);

// The method on closed forms, with no worksheet: every accepted step's end point against the
// exact solution, and the run landing on tf.
TEST(Rkf45Method, AcceptedPointsFollowTheExactSolution) {
  struct Case {
    const char* what;
    int n;
    double t0, tf, tol;
    OdeRhs f;
    Exact exact;
  };
  const Case cases[] = {
      {"x' = x", 1, 0, 2, 1e-6,
       [](double, const double y[], double d[]) -> int16_t {
         d[0] = y[0];
         return 0;
       },
       [](double t) { return OdeValues{std::exp(t)}; }},
      {"sin t as x' = y, y' = -x", 2, 0, 7, 1e-6,
       [](double, const double y[], double d[]) -> int16_t {
         d[0] = y[1];
         d[1] = -y[0];
         return 0;
       },
       [](double t) {
         return OdeValues{std::sin(t), std::cos(t)};
       }},
      {"circle x' = -y, y' = x", 2, -1, 5, 1e-5,
       [](double, const double y[], double d[]) -> int16_t {
         d[0] = -y[1];
         d[1] = y[0];
         return 0;
       },
       [](double t) {
         return OdeValues{std::cos(t), std::sin(t)};
       }},
      {"decay chain x' = -x, y' = x - y, z' = y", 3, 0, 4, 1e-6,
       [](double, const double y[], double d[]) -> int16_t {
         d[0] = -y[0];
         d[1] = y[0] - y[1];
         d[2] = y[1];
         return 0;
       },
       [](double t) {
         const double e = std::exp(-t);
         return OdeValues{e, t * e, 1 - e * (1 + t)};
       }},
      {"oscillators x'' = -4x, z'' = -z", 4, 0, 6, 1e-6,
       [](double, const double y[], double d[]) -> int16_t {
         d[0] = y[1];
         d[1] = -4 * y[0];
         d[2] = y[3];
         d[3] = -y[2];
         return 0;
       },
       [](double t) {
         return OdeValues{std::cos(2 * t), -2 * std::sin(2 * t), std::cos(t), -std::sin(t)};
       }},
      {"t-dependent x' = 2t x (e^(t^2))", 1, -1, 1, 1e-7,
       [](double t, const double y[], double d[]) -> int16_t {
         d[0] = 2 * t * y[0];
         return 0;
       },
       [](double t) { return OdeValues{std::exp(t * t)}; }}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rkf45Run run;
    run.equations = c.n;
    run.t0 = c.t0;
    run.tf = c.tf;
    run.y0 = c.exact(c.t0);
    run.tol = c.tol;
    const double bound = 3 * c.tol * (c.tf - c.t0);
    int accepted = 0, refused = 0;
    double lastT = c.t0;
    bool landed = false;
    const auto observe = [&](const Rkf45Trial& s) {
      EXPECT_EQ(s.t, lastT) << "a step starts where the last kept one ended";
      if (!s.accepted) {
        ++refused;
        return true;
      }
      ++accepted;
      lastT = s.final ? c.tf : s.tNew;
      landed = s.final;
      const OdeValues want = c.exact(s.tNew);
      for (int j = 0; j < c.n; ++j)
        EXPECT_NEAR(s.yNew[static_cast<size_t>(j)], want[static_cast<size_t>(j)], bound)
            << "unknown " << j << " at t = " << s.tNew;
      return true;
    };
    Rkf45End end = Rkf45End::kAborted;
    OdeValues yEnd{};
    ASSERT_EQ(Rkf45Integrate(c.f, run, ProgressSink{}, observe, end, yEnd), 0);
    EXPECT_EQ(end, Rkf45End::kReachedEnd);
    EXPECT_TRUE(landed);
    EXPECT_EQ(lastT, c.tf);
    EXPECT_GT(accepted, 10);
    const OdeValues want = c.exact(c.tf);
    for (int j = 0; j < c.n; ++j)
      EXPECT_NEAR(yEnd[static_cast<size_t>(j)], want[static_cast<size_t>(j)], bound);
  }
}

// What ends a run early: Esc seen before or after the events of a step, the observer, and a
// right-hand side without a value (its own message comes back).
TEST(Rkf45Method, EscObserverAndFailureEndTheRun) {
  struct Case {
    const char* what;
    int escAtEvent;   // the event pass after which Esc is seen (0: never)
    int stopAtTrial;  // the trial the observer stops at (0: never)
    int failAtCall;   // the evaluation that fails with message 77 (0: never)
    int16_t msgNo;
    Rkf45End end;
    int calls;  // evaluations made
  };
  const Case cases[] = {
      {"Esc during the third event pass", 3, 0, 0, 0, Rkf45End::kAborted, 12},
      {"observer stops at the second trial", 0, 2, 0, 0, Rkf45End::kStoppedByObserver, 12},
      {"failure at the eighth evaluation", 0, 0, 8, 77, Rkf45End::kReachedEnd, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int events = 0, trials = 0, calls = 0;
    const OdeRhs f = [&](double, const double[], double d[]) -> int16_t {
      if (++calls == c.failAtCall) return 77;
      d[0] = 1;
      return 0;
    };
    ProgressSink progress;
    progress.letEventsRun = [&] { ++events; };
    progress.aborted = [&] { return c.escAtEvent != 0 && events >= c.escAtEvent; };
    Rkf45Run run;
    run.tf = 10;
    run.tol = 1e-4;
    Rkf45End end = Rkf45End::kReachedEnd;
    OdeValues yEnd{-5};
    EXPECT_EQ(Rkf45Integrate(
                  f, run, progress, [&](const Rkf45Trial&) { return ++trials != c.stopAtTrial; },
                  end, yEnd),
              c.msgNo);
    EXPECT_EQ(calls, c.calls);
    if (c.msgNo == 0) {
      EXPECT_EQ(end, c.end);
    }
    EXPECT_EQ(yEnd[0], -5) << "values at tf only for a run that reached it";
  }
}

}  // namespace
}  // namespace ms::testing
