// The boundary value command and its three methods: trial curves, linear shooting (a combination
// of two classical Runge-Kutta runs) and secant shooting.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <vector>

#include "commands/OdeCommands.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "numerics/Bvp.h"
#include "numerics/BvpTrials.h"
#include "numerics/LinearShooting.h"
#include "numerics/Rkf45.h"
#include "numerics/SecantShooting.h"
#include "numerics/SolutionStore.h"
#include "plotting/Axes.h"
#include "plotting/SceneStore.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

constexpr int kSegmentsPerCurve = 99;  // rows 1..99 of a trial curve, the first of zero length
constexpr int kShot = kShootingSlotBase + 1;  // the secant shooting's curve of x against t
using Txy = std::function<double(double t, double x, double y)>;
const Txy kY = [](double, double, double y) { return y; };
const Txy kZero = [](double, double, double) { return 0.0; };
const Txy kMinusX = [](double, double x, double) { return -x; };

class BvpTest : public SolverTest {
 protected:
  void SetUp() override {
    SolverTest::SetUp();
    StartBuild(true);
  }
  static void UseNative(const Txy& f, const Txy& g) {
    Log().native[u"F_"] = [f](const std::vector<double>& a) { return f(a[0], a[1], a[2]); };
    Log().native[u"G_"] = [g](const std::vector<double>& a) { return g(a[0], a[1], a[2]); };
  }
  static int16_t Trials(double a1, double a2, double mode, double tb = 1) {
    return PlotBVPFamily(Rhs({u"F_", u"G_"}), 0, 0, tb, 1, a1, a2, mode);
  }
  static int16_t Linear(double n, double t0 = 0, double x0 = 0, double tb = 1, double xb = 1) {
    return SolveBVPLinear(Rhs({u"F_", u"G_"}), t0, x0, tb, xb, n);
  }
  static int16_t Shoot(double s0, double s1, double t0 = 0, double x0 = 0, double tb = 1,
                       double xb = 1) {
    return ShootBVP(Rhs({u"F_", u"G_"}), t0, x0, tb, xb, s0, s1, 1.0, 1e-5, Progress());
  }
  // A fresh method state for one case of a table: no rows, an empty scene, no boxes.
  void Fresh() {
    ResetBvpState();
    StartBuild(true);
    screen_.boxes.clear();
  }
  static const BvpRow& Row(int i) {
    return LinearShooting.BVPSolutionTable[static_cast<size_t>(i)];
  }
};

TEST_F(BvpTest, StatementFormsAndTheirMessages) {
  ASSERT_EQ(Run({u"F{t,x,y} = y", u"G{t,x,y} = -x", u"H{t,x} = x", u"a = 0.5", u"n = 10"}), 0);
  UseOscillator();
  const std::pair<const char16_t*, int16_t> cases[] = {
      {u"Bvp[F,G,{0,0,1,1,10}]", 3500},
      {u"BVP[F,G,{0,0,1,1]", 3501},  // 17 characters
      {u"BVP(F,G,{0,0,1,1,10}]", 3505},
      {u"BVP[F,g,{0,0,1,1,10}]", 3510},
      {u"BVP[F;G,{0,0,1,1,10}]", 3530},
      {u"BVP[F,G{0,0,1,1,10}]", 3515},
      {u"BVP[F,Qa,{0,0,1,1,10}]", 57},
      {u"BVP[H,G,{0,0,1,1,10}]", 3520},
      {u"BVP[F,G,(0,0,1,1,10}]", 3535},
      {u"BVP[F,G,{0,0,1,1,10}", 3045},
      {u"BVP[F,G,{1,0,1,1,10}]", 3050},
      {u"BVP[F,G,{0,0,1,zz,10}]", 339},
      {u"BVP[F,G,{0,0,1,1,0.5}]", 336},
      {u"BVP[F,G,{0,,1,1,10}]", 6097},
      {u"BVP[F,G,{0,0,1,1}(0,2}{1,0.001,0}]", 3552},
      {u"BVP[F,G,{0,0,1,1}{0;1", 3555},
      {u"BVP[F,G,{0,0,1,1}{0,2}(1,0.001,0}]", 3556},
      {u"BVP[F,G,{0,0,1,1}{0,2}{1,0.001,0})", 3557},
      {u"BVP[F,G,{0,0,1,1}{0,2}{1,0.000009,0}]", 3558},
      {u"BVP[F,G,{0,0,1,1}{0,2}{-1,0.001,0}]", 3059},
      {u"BVP[F,G,{1,0,1,1}{0,2}{1,0.001,0}]", 3560},
      {u"BVP[F,G,{0,0,1,1}{0.5}{1,0.001,0}]", 313},
      {u"BVP[F,G,{0,0,1,1}{a}{1,0.001,0}]", 1220},
      {u"BVP[F,G,{0,0,1,1}{1;2;3;4;5;6;7;8;9;10;11;12}{1,0.001,4}]", 3556}};
  for (const auto& [statement, msgNo] : cases) {
    SCOPED_TRACE(rt::ToUtf8(statement));
    View.ZAxisNeeded = -1;
    EXPECT_EQ(ProcessBVP(statement), msgNo);
    EXPECT_EQ(Scene.SegmentCount, 0);  // a statement that fails its parse runs no method
    // Every run marks the one-equation views.
    EXPECT_EQ(OdePicture.IVPOrder1, -1);
    EXPECT_EQ(View.ZAxisNeeded, 0);
  }
  // A failing slope list keeps the slopes read so far.
  EXPECT_EQ(ProcessBVP(u"BVP[F,G,{0,0,1,1}{4;5;zz}{1,0.001,1}]"), 339);
  EXPECT_EQ(Bvp.BVPTrialSlopes[2], 5);
}

TEST_F(BvpTest, AcceptedStatementsRunTheirMethod) {
  ASSERT_EQ(Run({u"F{t,x,y} = y", u"G{t,x,y} = -x"}), 0);
  UseOscillator();
  struct Case {
    const char16_t* statement;
    int linearRows;               // rows of the linear solution (-1: no linear solve)
    int16_t solved, roots, list;  // BVPSolved, BVPRootsMode, BVPListGiven afterwards
    std::vector<double> slopes;
  };
  const char16_t* eleven = u"BVP[F,G,{0,0,1,1}{1;2;3;4;5;6;7;8;9;10;11}{1,0.001,0.4}]";
  const Case cases[] = {
      {u"bvp[F,G,{0,0,1,1,10.5}]", 10, 0, 0, 0, {}},
      {u"BVP[F,G,{0,0,1,1}{0,2}{1,0.00001,4}]", -1, -1, 0, 0, {0, 0.5, 1, 1.5}},
      {u"BVP[F,G,{0,0,1,1}{0,2}{0,0.001,-4}]", -1, -1, -1, 0, {0, 0.5, 1, 1.5}},
      // With a list only the sign of the mode counts; at most ten slopes are kept.
      {eleven, -1, -1, 0, -1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11}},
      {u"BVP[F,G,{0,0,1,1}{0,2}{1,0.001,0}]", -1, -1, 0, 0, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    ResetBvpState();
    OdeResults.BVPSolved = 7;
    StartBuild(true);
    ASSERT_EQ(ProcessBVP(c.statement), 0);
    EXPECT_EQ(LinearShooting.SolutionLastRow, c.linearRows);
    EXPECT_EQ(std::vector<double>(
                  Bvp.BVPTrialSlopes.begin() + 1,
                  Bvp.BVPTrialSlopes.begin() + 1 + static_cast<int>(Bvp.BVPTrialSlopes[0])),
              c.slopes);
    EXPECT_EQ(OdeResults.BVPSolved, c.solved);
    EXPECT_EQ(Bvp.BVPRootsMode, c.roots);
    EXPECT_EQ(Bvp.BVPListGiven, c.list);
    EXPECT_GT(Scene.SegmentCount, 0);
  }
  // A list with mode 0 shoots from its last slope and zero: x'' = -x, x(0) = 0, x(1) = 1.
  ASSERT_EQ(ProcessBVP(u"BVP[F,G,{0,0,1,1}{3;1.5}{1,0.00001,0}]"), 0);
  EXPECT_TRUE(NearRel(OdeResults.InitialSlope, 1 / std::sin(1.0), 1e-4));
  EXPECT_EQ(Bvp.BVPTrialSlopes[0], 0);
}

// Esc, a failing right-hand side, a full scene store and a redraw, for every method.
TEST_F(BvpTest, StopsLimitsAndRedrawOfEachMethod) {
  struct Case {
    const char* name;
    std::function<int16_t()> run;
    long escAt, failFrom;
    int16_t verticesBefore;
    int fullSegments, segments;
  };
  const Case cases[] = {
      {"trials", [] { return Trials(0, 2, 4); }, 150, 500, 29900, 50, 4 * kSegmentsPerCurve},
      {"linear", [] { return Linear(20); }, 15, 30, 29990, 5, 20},
      {"secant", [] { return Shoot(0, 2); }, 201, 100, 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseOscillator();
    // Esc in the middle: message 0, nothing drawn, no box.
    StartBuild(true);
    screen_.doEventsCount = 0;
    screen_.onDoEvents = [this, &c] {
      if (screen_.doEventsCount == c.escAt) RunFlags.AbortRun = -1;
    };
    EXPECT_EQ(c.run(), 0);
    EXPECT_NE(RunFlags.AbortRun, 0);
    EXPECT_EQ(Scene.SegmentCount, 0);
    EXPECT_TRUE(screen_.boxes.empty());
    screen_.onDoEvents = nullptr;
    RunFlags.AbortRun = 0;
    // G failing: 2100, nothing drawn.
    Fresh();
    Log().failName = u"G_";
    Log().failFrom = c.failFrom;
    EXPECT_EQ(c.run(), kMsgRhsFailed);
    EXPECT_EQ(Scene.SegmentCount, 0);
    Log() = {};
    UseOscillator();
    // A store near its curve limit: 3990, the segments stored until then remain.
    if (c.verticesBefore) {
      StartBuild(true);
      Scene.VertexCount = c.verticesBefore;
      EXPECT_EQ(c.run(), 3990);
      EXPECT_EQ(Scene.SegmentCount, c.fullSegments);
    }
    // Solved, then redrawn from the stored rows without evaluating.
    StartBuild(true);
    ASSERT_EQ(c.run(), 0);
    const int16_t segments = Scene.SegmentCount;
    if (c.segments) {
      EXPECT_EQ(segments, c.segments);
    }
    OdeResults.BVPSolved = 0;
    StartBuild(true);
    RunFlags.Replot = -1;
    Log().calls.clear();
    EXPECT_EQ(c.run(), 0);
    EXPECT_EQ(Calls(), 0);
    EXPECT_EQ(Scene.SegmentCount, segments);
    // The shooting's redraw leaves the solved flag alone (the trials set it afresh).
    EXPECT_TRUE(c.segments != 0 || OdeResults.BVPSolved == 0);
    RunFlags.Replot = 0;
  }
}

// The trial curves of x'' = -x from x(0) = 0 with slope s are s sin t, x' = s cos t.
TEST_F(BvpTest, TrialSlopesFromTheEstimatesAndTheModeAndTheirExactCurves) {
  UseOscillator();
  struct Case {
    double a1, a2, mode, count;  // count: entry 0 afterwards
    std::vector<double> slopes;
  };
  const Case cases[] = {{0, 2, 20, 10, {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9}},
                        {0, 2, 2.5, 2.5, {0, 0.8}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Fresh();
    Log().calls.clear();
    ASSERT_EQ(Trials(c.a1, c.a2, c.mode, 2), 0);
    EXPECT_EQ(Bvp.BVPTrialSlopes[0], c.count);
    for (size_t k = 1; k <= c.slopes.size(); ++k) {
      const double s = c.slopes[k - 1];
      EXPECT_NEAR(Bvp.BVPTrialSlopes[k], s, 1e-12);
      for (int j = 0; j <= kTrialSteps; ++j) {
        const double t = 0.02 * j;
        EXPECT_TRUE(NearRel(SolutionAt(j, 1, TrialSlot(k)), t, 1e-6));
        EXPECT_TRUE(NearRel(SolutionAt(j, 2, TrialSlot(k)), s * std::sin(t), 1e-6));
        EXPECT_TRUE(NearRel(SolutionAt(j, 3, TrialSlot(k)), s * std::cos(t), 1e-6));
      }
      EXPECT_TRUE(NearRel(BvpTrials.BVPEndMiss[k - 1], 1 - s * std::sin(2.0), 1e-6));
    }
    // 100 Fehlberg steps of six stages and two functions per curve.
    EXPECT_EQ(Calls(), static_cast<long>(c.slopes.size()) * 100 * 12);
    EXPECT_EQ(Scene.SegmentCount, static_cast<int>(c.slopes.size()) * kSegmentsPerCurve);
    EXPECT_EQ(OdeResults.BVPSolved, -1);
    EXPECT_TRUE(screen_.boxes.empty());
  }
  // A mode that rounds to no curve draws nothing: the outside-the-domain box, message 0.
  StartBuild(true);
  EXPECT_EQ(Trials(0, 2, 0.4), 0);
  EXPECT_EQ(Scene.SegmentCount, 0);
  EXPECT_EQ(BoxTexts(),
            std::vector<rt::Text>{u"All data is outside the plot domain or zero in value."});
}

TEST_F(BvpTest, TrialCurvePassingTheLimitEndsAtItsLastPoint) {
  // Beyond t = 0.5 the slope of trial curves 3 and 4 is pushed past 100000.
  UseNative(kY, [](double t, double x, double y) { return t > 0.5 && y > 0.7 ? 1e9 : -x; });
  ASSERT_EQ(Trials(0, 2, 4), 0);
  for (int k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    int last = kTrialSteps;
    for (int j = 1; j <= kTrialSteps && last == kTrialSteps; ++j)
      if (SolutionAt(j, 1, TrialSlot(k)) == SolutionAt(j - 1, 1, TrialSlot(k))) last = j - 1;
    EXPECT_EQ(last < kTrialSteps, k >= 3);
    // Rows after the end repeat the last point within the limit; the miss is taken there.
    EXPECT_EQ(SolutionAt(kTrialSteps, 2, TrialSlot(k)), SolutionAt(last, 2, TrialSlot(k)));
    EXPECT_EQ(BvpTrials.BVPEndMiss[static_cast<size_t>(k - 1)],
              1 - SolutionAt(last, 2, TrialSlot(k)));
    EXPECT_TRUE(
        k >= 3 ? SolutionAt(last, 1, TrialSlot(k)) < 0.52
               : NearRel(SolutionAt(last, 2, TrialSlot(k)), 0.5 * (k - 1) * std::sin(1.0), 1e-6));
  }
}

// x'' = 1, x(0) = x(1) = 0: only the forcing moves x, x = (t^2 - t) / 2 with x(0.5) = -0.125,
// which the combination of the two runs meets exactly (the runs integrate a quadratic exactly).
TEST_F(BvpTest, LinearShootingFollowsTheForcedExactSolution) {
  UseNative(kY, [](double, double, double) { return 1.0; });
  ASSERT_EQ(Linear(10, 0, 0, 1, 0), 0);
  ASSERT_EQ(LinearShooting.SolutionLastRow, 10);
  for (int i = 0; i <= 10; ++i) {
    SCOPED_TRACE(i);
    const double t = 0.1 * i;
    EXPECT_TRUE(NearRel(Row(i)[1], t, 1e-6));
    EXPECT_TRUE(NearRel(Row(i)[2], (t * t - t) / 2, 1e-6));
    // x' by differences: second order inside, first order at the two ends.
    EXPECT_TRUE(NearRel(Row(i)[7], t - 0.5, i > 0 && i < 10 ? 0.01 : 0.2));
    EXPECT_EQ(Row(i)[11], Row(i)[2]);  // the third view pairs the first two
    EXPECT_EQ(Row(i)[12], Row(i)[7]);
  }
  EXPECT_NEAR(Row(5)[2], -0.125, 1e-7);
  EXPECT_TRUE(NearRel(OdeResults.InitialSlope, -0.5, 0.2));
  // Every row is drawn: from the boundary point (t0, x0) to (tb, xb).
  ASSERT_EQ(Scene.SegmentCount, 10);
  const Seg first = SegmentAt(0);
  EXPECT_EQ(first.from[0], Row(0)[1]);
  EXPECT_EQ(first.from[1], Row(0)[2]);
  EXPECT_EQ(SegmentAt(9).to[1], Row(10)[2]);
}

TEST_F(BvpTest, LinearRowsLimitsAndFailures) {
  struct Case {
    const char* what;
    double n, tb;
    Txy f, g;
    int16_t msgNo;
    int lastRow, segments;  // lastRow -1: nothing solved
    const char16_t* box;
  };
  const Txy pastAtRow6 = [](double t, double x, double) { return t > 0.62 ? 1e7 : -x; };
  const Case cases[] = {
      {"full table", 1000, 1, kY, kMinusX, 0, 1000, 1000, nullptr},
      {"beyond the table", 1001, 1, kY, kMinusX, 0, -1, 0, u"Out of space, for now"},
      // A run that stops short of tb has no end value at tb: nothing to combine, and the
      // curve is not drawn as if tb were where the run stopped.
      {"first run passes the limit at row 6", 10, 1, kY, pastAtRow6, kMsgRunBeyondLimit, -1, 0,
       nullptr},
      // G is defined on [0, 1] only: no step is taken beyond the last row.
      {"a function undefined beyond tb", 10, 1, kY,
       [](double t, double, double) { return t > 1 + 1e-9 ? std::nan("") : 1.0; }, 0, 10, 10,
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    UseNative(c.f, c.g);
    EXPECT_EQ(Linear(c.n, 0, 0, c.tb, 1), c.msgNo);
    EXPECT_EQ(LinearShooting.SolutionLastRow, c.lastRow);
    EXPECT_EQ(Scene.SegmentCount, c.segments);
    EXPECT_EQ(BoxTexts(), c.box ? std::vector<rt::Text>{c.box} : std::vector<rt::Text>{});
    // The last row lies at tb whatever the rounding of n, and meets xb there.
    EXPECT_TRUE(c.lastRow < 0 ||
                (Row(c.lastRow)[1] == RoundToSingle(c.tb) && NearRel(Row(c.lastRow)[2], 1, 1e-6)));
  }
  // A redraw before any solve: the constant-function box.
  Fresh();
  ResetLinearShooting();
  RunFlags.Replot = -1;
  EXPECT_EQ(Linear(10), 0);
  EXPECT_EQ(BoxTexts(),
            std::vector<rt::Text>{
                u"The auto axes cannot be applied on one axis to a constant function."});
}

// Whether the linear form has an answer is decided from the error of x2(tb) - x1(tb), not from
// the shape of the runs. Damped problems whose runs decay to nearly nothing are solvable, and
// their rows follow the closed form x = xb (e^(a t) - e^(b t)) / (e^(a tb) - e^(b tb)) for
// x'' = (a + b) x' - a b x. x'' = -x through x(0) = 0 has the solutions sin t / sin tb up to tb =
// 3.1, and none through x(pi) = 1 at any n, however coarse.
TEST_F(BvpTest, NoUniqueSolutionOnlyWhereTheEndDifferenceIsLostInItsError) {
  struct Case {
    double a, b;  // roots of the characteristic equation; a = b = 0 stands for x'' = -x
    double tb, xb;
    std::vector<double> steps;
    int16_t msgNo;
    // Largest error of a row over the largest |x| at the first n, falling as h^4 (the fast
    // transients of the damped problems are coarse, their end meets xb all the same).
    double rowRel;
  };
  const double pi = std::acos(-1.0);
  const Case cases[] = {
      {-1, -2, 10, 1e-4, {50}, 0, 1.2e-3},
      {-1, -10, 10, 1, {100}, 0, 2e-2},
      {-1, -10, 8, 1, {100}, 0, 7e-3},
      {-1, -5, 5, 1, {20}, 0, 8e-2},
      {0, 0, 3, 1, {10, 100, 1000}, 0, 3e-3},
      {0, 0, 3.1, 1, {10, 100, 1000}, 0, 1.1e-2},
      {0, 0, pi, 1, {1, 3, 5, 6, 7, 8, 9, 10, 100, 1000}, kMsgNoUniqueSolution, 0}};
  for (const Case& c : cases)
    for (double n : c.steps) {
      SCOPED_TRACE(::testing::Message()
                   << "a " << c.a << " b " << c.b << " tb " << c.tb << " n " << n);
      const bool oscillator = c.a == 0;
      const auto exact = [&c, oscillator](double t) {
        if (oscillator) return std::sin(t) / std::sin(c.tb);
        return c.xb * (std::exp(c.a * t) - std::exp(c.b * t)) /
               (std::exp(c.a * c.tb) - std::exp(c.b * c.tb));
      };
      Fresh();
      UseNative(
          kY, oscillator ? kMinusX : [&c](double, double x, double y) {
            return (c.a + c.b) * y - c.a * c.b * x;
          });
      const int16_t msgNo = Linear(n, 0, 0, c.tb, c.xb);
      EXPECT_EQ(msgNo, c.msgNo);
      if (msgNo != 0 || c.msgNo != 0) {
        EXPECT_EQ(LinearShooting.SolutionLastRow, -1);
        EXPECT_EQ(Scene.SegmentCount, 0);
        continue;
      }
      if (LinearShooting.SolutionLastRow != n) {
        ADD_FAILURE() << "rows " << LinearShooting.SolutionLastRow;
        continue;
      }
      double peak = 0;
      for (int i = 0; i <= n; ++i) peak = std::max(peak, std::fabs(exact(Row(i)[1])));
      const double rel = std::max(1e-6, c.rowRel * std::pow(c.steps[0] / n, 4));
      for (int i = 0; i <= n; ++i)
        EXPECT_NEAR(Row(i)[2], exact(Row(i)[1]), rel * peak) << "row " << i;
      EXPECT_NEAR(Row(static_cast<int>(n))[2], c.xb, 1e-6 * c.xb);
    }
}

// The combination meets xb for an equation linear in x and x' only; a run from its start slope
// tells. Nonlinear equations are refused with the message that points to method 2 and nothing is
// drawn; linear ones, forced, damped and with variable coefficients, keep their exact solutions.
// x'' = 1.5 x^2 from x(0) = 4 to x(1) = 1 has x = 4 / (1 + t)^2 (slope -8), which the secant
// shooting finds.
TEST_F(BvpTest, LinearShootingRefusesAnEquationThatIsNotLinear) {
  using Exact = std::function<double(double t)>;
  struct Case {
    const char* what;
    Txy g;
    double t0, x0, tb, xb;
    std::vector<double> steps;
    int16_t msgNo;
    Exact exact;  // for the linear ones
    double tol;
  };
  const Txy squared = [](double, double x, double) { return 1.5 * x * x; };
  const Txy product = [](double, double x, double y) { return x * y; };
  const Txy cube = [](double, double x, double) { return -x * x * x; };
  const Txy slopeSquared = [](double, double x, double y) { return y * y + x; };
  // Burden and Faires, Numerical Analysis, Example 11.1: x'' = -2/t x' + 2/t^2 x + sin(ln t)/t^2
  // on [1, 2], x(1) = 1, x(2) = 2, with x = c1 t + c2 / t^2 - 3/10 sin(ln t) - 1/10 cos(ln t).
  const Txy textbook = [](double t, double x, double y) {
    return -2 / t * y + 2 / (t * t) * x + std::sin(std::log(t)) / (t * t);
  };
  const double c2 = (8 - 12 * std::sin(std::log(2.0)) - 4 * std::cos(std::log(2.0))) / 70;
  const double c1 = 1.1 - c2;
  const Exact textbookExact = [c1, c2](double t) {
    return c1 * t + c2 / (t * t) - 0.3 * std::sin(std::log(t)) - 0.1 * std::cos(std::log(t));
  };
  // x'' = -3x' - 2x + 2 from x(0) = 0 to x(1) = 1: x = 1 + a e^-t + b e^-2t.
  const Txy damped = [](double, double x, double y) { return -3 * y - 2 * x + 2; };
  const double b = -1 / (1 - std::exp(-1.0)), a = -b * std::exp(-1.0);
  const Exact dampedExact = [a, b](double t) {
    return 1 + a * std::exp(-t) + b * std::exp(-2 * t);
  };
  const Txy growing = [](double, double x, double) { return 400 * x; };
  const Exact growingExact = [](double t) { return 50000 * std::sinh(20 * t) / std::sinh(10.0); };
  const Txy forced = [](double t, double x, double) { return t - x; };
  const Exact forcedExact = [](double t) { return t - std::sin(t) / std::sin(2.0); };
  const Case cases[] = {
      {"x'' = 1.5 x^2", squared, 0, 4, 1, 1, {20, 100, 1000}, kMsgNotLinear, {}, 0},
      {"x'' = x x'", product, 0, 1, 1, 2, {10, 200}, kMsgNotLinear, {}, 0},
      {"x'' = -x^3", cube, 0, 0, 2, 2, {40}, kMsgNotLinear, {}, 0},
      {"x'' = x'^2 + x", slopeSquared, 0, 0, 0.5, 0.5, {50}, kMsgNotLinear, {}, 0},
      // The run from slope 1 passes 100000 before tb: that run stops it.
      {"x'' = 1.5 x^2 to tb = 1.2", squared, 0, 4, 1.2, 1, {100}, kMsgRunBeyondLimit, {}, 0},
      {"Burden and Faires 11.1", textbook, 1, 1, 2, 2, {10, 100}, 0, textbookExact, 3e-7},
      {"x'' = -3x' - 2x + 2", damped, 0, 0, 1, 1, {20, 1000}, 0, dampedExact, 2e-6},
      // x' passes 100000 towards tb (1e6 at tb): only the two runs are held to that limit.
      {"x'' = 400x to x(0.5) = 50000", growing, 0, 0, 0.5, 50000, {100}, 0, growingExact, 1},
      {"x'' = -x + t", forced, 0, 0, 2, 1, {50}, 0, forcedExact, 1e-6},
  };
  for (const Case& c : cases)
    for (double n : c.steps) {
      SCOPED_TRACE(::testing::Message() << c.what << " n " << n);
      Fresh();
      UseNative(kY, c.g);
      EXPECT_EQ(Linear(n, c.t0, c.x0, c.tb, c.xb), c.msgNo);
      if (c.msgNo != 0) {
        EXPECT_EQ(LinearShooting.SolutionLastRow, -1);
        EXPECT_EQ(Scene.SegmentCount, 0);
        EXPECT_TRUE(screen_.boxes.empty());
        continue;
      }
      ASSERT_EQ(LinearShooting.SolutionLastRow, n);
      for (int i = 0; i <= n; ++i) EXPECT_NEAR(Row(i)[2], c.exact(Row(i)[1]), c.tol) << "row " << i;
    }
  // Method 2 meets the nonlinear problem that method 1 refuses.
  Fresh();
  UseNative(kY, squared);
  ASSERT_EQ(Shoot(-10, -6, 0, 4, 1, 1), 0);
  EXPECT_TRUE(NearRel(OdeResults.InitialSlope, -8, 1e-3));
}

// x'' = lambda x from x(0) = 0 to x(tb) = xb, growing (lambda > 0: sinh) and oscillating (lambda <
// 0: sin), at coarse and fine steps. Where the end difference of the two runs stands out from its
// error, the method's curve is drawn: n classical Runge-Kutta steps multiply the pair (x, x') by
// R(h A), whose eigenvalues are R(+-mu h) for mu^2 = lambda, R(z) = 1 + z + z^2/2 + z^3/6 + z^4/24,
// so row i is xb (R(mu h)^i - R(-mu h)^i) / (R(mu h)^n - R(-mu h)^n). Where the steps are too
// coarse to tell (the end difference of x'' = 100 x at n = 2 is 204 against sinh(10)/10 = 1101,
// of x'' = -25 x at n = 2 0.021 against sin(5)/5 = -0.19), the answer is too few steps, never "no
// unique solution"; that stays for the problems whose homogeneous solution through x(0) = 0
// vanishes at tb (sin 2t at pi/2, sin 3t at pi), at every n.
TEST_F(BvpTest, LinearShootingAtCoarseAndFineSteps) {
  struct Case {
    double lambda, tb;
    double n;
    int16_t msgNo;
  };
  const double pi = std::acos(-1.0);
  const Case cases[] = {
      {1, 1, 1, 0},
      {1, 1, 2, 0},
      {36, 1, 1, kMsgTooFewSteps},
      {36, 1, 2, 0},
      {100, 1, 1, kMsgTooFewSteps},
      {100, 1, 2, kMsgTooFewSteps},
      {100, 1, 5, 0},
      {100, 1, 20, 0},
      {400, 0.5, 2, kMsgTooFewSteps},
      {400, 0.5, 5, 0},
      {400, 0.5, 100, 0},
      {-1, 3, 1, kMsgTooFewSteps},
      {-1, 3, 10, 0},
      {-25, 1, 2, kMsgTooFewSteps},
      {-25, 1, 5, 0},
      {-25, 1, 100, 0},
      {-4, pi / 2, 1, kMsgNoUniqueSolution},
      {-4, pi / 2, 2, kMsgNoUniqueSolution},
      {-4, pi / 2, 7, kMsgNoUniqueSolution},
      {-4, pi / 2, 500, kMsgNoUniqueSolution},
      {-9, pi, 4, kMsgNoUniqueSolution},
      {-9, pi, 1000, kMsgNoUniqueSolution},
  };
  const double xb = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "lambda " << c.lambda << " tb " << c.tb << " n " << c.n);
    Fresh();
    UseNative(kY, [&c](double, double x, double) { return c.lambda * x; });
    EXPECT_EQ(Linear(c.n, 0, 0, c.tb, xb), c.msgNo);
    if (c.msgNo != 0) {
      EXPECT_EQ(LinearShooting.SolutionLastRow, -1);
      EXPECT_EQ(Scene.SegmentCount, 0);
      continue;
    }
    const int n = static_cast<int>(c.n);
    ASSERT_EQ(LinearShooting.SolutionLastRow, n);
    const std::complex<double> mu = std::sqrt(std::complex<double>(c.lambda));
    const double h = c.tb / n;
    const auto r = [](std::complex<double> z) {
      return 1.0 + z + z * z / 2.0 + z * z * z / 6.0 + z * z * z * z / 24.0;
    };
    const auto homogeneous = [&](int i) {
      return std::pow(r(mu * h), i) - std::pow(r(-mu * h), i);
    };
    double peak = 0;
    for (int i = 0; i <= n; ++i) peak = std::max(peak, std::fabs(Row(i)[2]));
    for (int i = 0; i <= n; ++i) {
      const double expected = (xb * homogeneous(i) / homogeneous(n)).real();
      EXPECT_NEAR(Row(i)[2], expected, 2e-7 * peak) << "row " << i;
    }
    EXPECT_NEAR(Row(n)[2], xb, 1e-7);
    EXPECT_EQ(Scene.SegmentCount, n);
  }
}

// The nonlinear x'' = (32 + 2 t^3 - x x') / 8 from x(1) = 17 to x(3) = 43/3 has x = t^2 + 16/t
// with slope -14 (Burden and Faires, Numerical Analysis, nonlinear shooting).
TEST_F(BvpTest, SecantShootingMeetsTheExactSolutions) {
  UseNative(kY, [](double t, double x, double y) { return (32 + 2 * t * t * t - x * y) / 8; });
  ASSERT_EQ(Shoot(-10, -20, 1, 17, 3, 43.0 / 3), 0);
  EXPECT_TRUE(NearRel(OdeResults.InitialSlope, -14, 1e-4));
  EXPECT_EQ(OdeResults.BVPSolved, -1);
  // The final curve from the boundary point (t0, x0) to the boundary point (tb, xb).
  const int n = Solutions.ShootingPointCount;
  ASSERT_GT(n, 2);
  EXPECT_EQ(Scene.SegmentCount, n - 1);
  EXPECT_EQ(SolutionAt(1, 1, kShot), 1);
  EXPECT_EQ(SolutionAt(n, 1, kShot), 3);
  for (int r = 1; r <= n; ++r) {
    const double t = SolutionAt(r, 1, kShot);
    EXPECT_TRUE(NearRel(SolutionAt(r, 2, kShot), t * t + 16 / t, 1e-3)) << t;
  }
  // x' = y, y' = 0 from x(0) = 0 to x(1) = 1: the first start slope already meets xb, x = t.
  Fresh();
  UseNative(kY, kZero);
  ASSERT_EQ(Shoot(1, 3), 0);
  EXPECT_EQ(OdeResults.InitialSlope, 1);
}

// Without an answer: slopes that settle or end values that do not move while xb is missed (on
// either side of ten tolerances), trials past the limit (x'' = 100x from the slopes 1 and 2
// reaches sinh(20)/10 = 2.4e7) and 50 secant steps without meeting xb. Nothing is drawn.
TEST_F(BvpTest, SecantShootingStopsWithoutAnAnswer) {
  const rt::Text notTo = u"Input slope estimates did not converge to ";
  struct Case {
    const char* what;
    Txy f, g;
    double tb, xb, s0, s1;
    int16_t msgNo;
    rt::Text box;  // the start of the one box shown
    long calls;    // evaluations, -1: not checked
  };
  const Case cases[] = {
      {"start slopes within tol", kY, kMinusX, 1, 1, 0.5, 0.500001, 0,
       notTo + u"1\r\nFrom the input slopes, X(tb) --> 0.42", -1},
      {"end value independent of the slope", kZero, kMinusX, 1, 1, 0, 2, 0,
       notTo + u"1\r\nFrom the input slopes, X(tb) --> 0 the X'(to)--> 2\r\nReview the "
               u"conditions required to obtain a unique solution in the Tourbook document.",
       -1},
      // Equal end values that miss xb by between tol and 10 tol: the secant step is undefined.
      {"equal end values, small miss", kZero, kMinusX, 1, 5e-5, 0, 2, 0, notTo + u"0.00005\r\n",
       -1},
      // A trial that passes the limit has no end value: the shooting stops at once.
      {"x'' = 100x, blown-up trials", kY, [](double, double x, double) { return 100 * x; }, 2, 0, 1,
       2, kMsgTrialBeyondLimit, u"For first estimate", -1},
      // x' = s^2 + 1 with s the constant y: X(s) never reaches 0, and the secant wanders. Two
      // start trials and 50 secant steps of 100 Runge-Kutta steps each.
      {"no slope meets xb within the iteration limit",
       [](double, double, double y) { return y * y + 1; }, kZero, 1, 0, 0, 2, 0, notTo + u"0\r\n",
       52L * 100 * 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    UseNative(c.f, c.g);
    Log().calls.clear();
    ASSERT_EQ(Shoot(c.s0, c.s1, 0, 0, c.tb, c.xb), c.msgNo);
    // The box begins with the text given (the end values of the wandering cases are not).
    ASSERT_EQ(screen_.boxes.size(), 1u);
    EXPECT_EQ(screen_.boxes[0].text.substr(0, c.box.size()), c.box);
    if (c.calls >= 0) {
      EXPECT_EQ(Calls(), c.calls);
    }
    EXPECT_EQ(Scene.SegmentCount, 0);
  }
}

// The curve drawn by the secant shooting meets x(tb) = xb within 10 tol: from the slope found on
// the 100 fixed steps the secant rule goes on with the end values of the adaptive solver that
// draws it. x'' = -(4t x' + 2x)/(0.001 + t^2) is ((0.001 + t^2) x)'' = 0, so from x(-1) = 1 to
// x(1) = 1 it is x = 1.001/(0.001 + t^2) (peak 1001, slope 2.002/1.002001); x'' = 100 t x is
// a Ai(100^(1/3) t) + b Bi(100^(1/3) t), slope -4.117827505718984 (mpmath); x'' = -x from 0 to
// x(1) = 1 is sin t / sin 1, met by the first secant step.
TEST_F(BvpTest, SecantShootingCurveMeetsTheBoundaryValue) {
  ASSERT_EQ(Run({u"F{t,x,y}=y", u"G{t,x,y}=-(4*t*y+2*x)/(0.001+t^2)", u"K{t,x,y}=100*t*x",
                 u"L{t,x,y}=-x"}),
            0);
  const struct {
    const char16_t* statement;
    double slope, tb, tol;
    double (*exact)(double t);  // nullptr: not in closed form
    double peak;                // the largest x, 0: not checked
  } cases[] = {
      {u"BVP[F,G,{-1,1,1,1}{0,1}{1,0.0001,0}]", 2.002 / 1.002001, 1, 1e-4,
       [](double t) { return 1.001 / (0.001 + t * t); }, 1001},
      {u"BVP[F,K,{-1,1,1,1}{0,1}{1,0.0001,0}]", -4.117827505718984, 1, 1e-4, nullptr, 0},
      {u"BVP[F,L,{0,0,1,1}{0,2}{1,0.00001,0}]", 1 / std::sin(1.0), 1, 1e-5,
       [](double t) { return std::sin(t) / std::sin(1.0); }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    Fresh();
    ASSERT_EQ(ProcessBVP(c.statement), 0);
    EXPECT_EQ(BoxTexts(), std::vector<rt::Text>{});
    EXPECT_TRUE(NearRel(OdeResults.InitialSlope, c.slope, 1e-3));
    const int n = Solutions.ShootingPointCount;
    ASSERT_GT(n, 2);
    EXPECT_EQ(SolutionAt(n, 1, kShot), c.tb);
    EXPECT_NEAR(SolutionAt(n, 2, kShot), 1, 10 * c.tol);
    double peak = 0;
    for (int r = 1; r <= n && c.exact != nullptr; ++r) {
      const double t = SolutionAt(r, 1, kShot);
      EXPECT_TRUE(NearRel(SolutionAt(r, 2, kShot), c.exact(t), 1e-3)) << t;
      peak = std::max(peak, SolutionAt(r, 2, kShot));
    }
    if (c.peak != 0) {
      EXPECT_NEAR(peak, c.peak, 0.01 * c.peak);
    }
  }
}

// x' = y, x'' = 1000 sign(x') except at the fixed steps' inner nodes (multiples of 0.005),
// where it is 0: the fixed steps, which see it at t0 and tb alone, end near s + 1.7 sign(s) and
// find a slope near 1.3 for xb = 3, while the adaptive curve, whose nodes miss that grid, is x = s
// t + 500 sign(s) t^2 and ends at s + 500 sign(s), never within 10 tol of xb. The nearest curve is
// drawn, and a box says where it ends.
TEST_F(BvpTest, SecantShootingSaysWhereACurveThatMissesXbEnds) {
  UseNative(kY, [](double t, double, double y) {
    const bool node = t > 0 && t < 1 && std::abs(t * 200 - std::round(t * 200)) < 1e-9;
    return node ? 0.0 : (y < 0 ? -1000.0 : 1000.0);
  });
  ASSERT_EQ(Shoot(0, 2, 0, 0, 1, 3), 0);
  const int n = Solutions.ShootingPointCount;
  ASSERT_GT(n, 2);
  EXPECT_EQ(SolutionAt(n, 1, kShot), 1);
  const double end = SolutionAt(n, 2, kShot);
  EXPECT_GT(std::abs(end - 3), 100);
  ASSERT_EQ(screen_.boxes.size(), 1u);
  const rt::Text box = screen_.boxes[0].text;
  const rt::Text head = GetMessageText(kMsgCurveMissesXb) + u"\r\nX(tb) --> ";
  ASSERT_EQ(box.substr(0, head.size()), head);
  EXPECT_TRUE(NearRel(std::stod(rt::ToUtf8(box.substr(head.size()))), end, 1e-6));
  EXPECT_EQ(box.substr(box.size() - 8), u"  xb = 3");
}

TEST_F(BvpTest, SecantEndValueOfOneSlope) {
  UseOscillator();
  // t0, tb and the slope. 2.3 / 100 added up a hundred times stays below 2.3: still exactly 100
  // steps, ending on tb.
  for (const auto& [t0, tb, slope] : {std::array{1.0, 2.0, 0.5}, {0.0, 2.3, 1.0}}) {
    SCOPED_TRACE(tb);
    Log().calls.clear();
    screen_.doEventsCount = 0;
    double X = -7;
    bool reached = false;
    ASSERT_EQ(ShootEndValue(Rhs({u"F_", u"G_"}), t0, 0, tb, slope, X, reached), 0);
    EXPECT_TRUE(reached);
    EXPECT_EQ(screen_.doEventsCount, kShootSteps);
    EXPECT_EQ(Calls(), 8 * kShootSteps);
    EXPECT_EQ(Log().calls.back().args[0], tb);                 // the last stage lies on tb
    EXPECT_TRUE(NearRel(X, slope * std::sin(tb - t0), 1e-7));  // x = s sin(t - t0)
  }
}

}  // namespace
}  // namespace ms::testing
