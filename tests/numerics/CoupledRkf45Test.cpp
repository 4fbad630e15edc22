#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "numerics/CoupledRkf45.h"
#include "numerics/Ivp.h"
#include "numerics/Rkf45.h"
#include "numerics/Rkf45Step.h"
#include "numerics/SolutionStore.h"
#include "plotting/Axes.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

using Values = std::array<double, 4>;
using Exact = std::function<Values(double)>;

// x'' = -x as x' = y, y' = -x; x' = -x, y' = x - y, z' = y; two oscillators, the faster first.
const Exact kExact[5] = {
    nullptr, nullptr,
    [](double t) {
      return Values{std::cos(t), -std::sin(t), 0, 0};
    },
    [](double t) {
      const double e = std::exp(-t);
      return Values{e, t * e, 1 - e * (1 + t), 0};
    },
    [](double t) {
      return Values{std::cos(2 * t), -2 * std::sin(2 * t), std::cos(t), -std::sin(t)};
    }};
const rt::Text kIds[4] = {u"F_", u"G_", u"H_", u"R_"};

class CoupledRkf45Test : public SolverTest {
 protected:
  void Define(int vars) {
    const int16_t msgNo =
        vars == 2 ? Run({u"F{t,x,y}=y", u"G{t,x,y}=-x"})
        : vars == 3
            ? Run({u"F{t,x,y,z}=-x", u"G{t,x,y,z}=x-y", u"H{t,x,y,z}=y"})
            : Run({u"F{t,x,y,z,w}=y", u"G{t,x,y,z,w}=-4*x", u"H{t,x,y,z,w}=w", u"R{t,x,y,z,w}=-z"});
    ASSERT_EQ(msgNo, 0);
  }
  static int16_t Solve(int vars, double t0, double tf, const Values& s, double tol, double mode) {
    OdePicture.IVPPlotMode = mode;
    const OdeRhs f = BindWorksheetRhs(kIds, vars);
    if (vars == 1) return SolveIVP1(f, t0, tf, s[0], 1, tol, Progress(false));
    return SolveIvpSystem(f, vars, t0, tf, s, 1, tol, mode, Progress());
  }
  static void NativeConstant(int vars, const Values& v) {
    for (int j = 0; j < vars; ++j)
      Log().native[kIds[j]] = [x = v[j]](const std::vector<double>&) { return x; };
  }
};

// One step of one to four unknowns from t = 0.5 with h = 0.2: the first unknown follows x' = x
// as it would alone; y' = y from 3 ends at 1.5 times x and errs 1.5 times as much, which is the
// step's error; the constant z and w stay where they start.
TEST_F(CoupledRkf45Test, OneStepOfEachSizeTakesTheLargestError) {
  const OdeRhs f = [](double, const double y[], double dydt[]) -> int16_t {
    dydt[0] = y[0];
    dydt[1] = y[1];
    dydt[2] = dydt[3] = 0;
    return 0;
  };
  OdeValues x4{}, slope{};
  double R = 0;
  ASSERT_EQ(Rkf45Step(f, 1, 0.5, {2}, 0.2, x4, R, slope), 0);
  EXPECT_TRUE(NearRel(x4[0], 2 * std::exp(0.2), 1e-6));
  for (int vars : {2, 3, 4}) {
    SCOPED_TRACE(vars);
    OdeValues out{-1, -1, -1, -1};
    double err = -1;
    ASSERT_EQ(Rkf45Step(f, vars, 0.5, {2, 3, 4, 5}, 0.2, out, err, slope), 0);
    EXPECT_EQ(out[0], x4[0]);
    EXPECT_NEAR(err, 1.5 * R, 1e-9 * R);
    EXPECT_NEAR(out[1], 1.5 * x4[0], 1e-13);
    for (int j = 2; j < vars; ++j) EXPECT_EQ(out[j], 2.0 + j);
    EXPECT_EQ(out[3], vars == 4 ? 5 : -1) << "an unknown beyond the count is left alone";
  }
}

// Every member against exact solutions: x' = -2tx (e^(-t^2)) through the worksheet's own
// function, and the systems of kExact in each plot mode. Each view slot holds its X, Y and Z (t,
// an unknown x, y, z, w, or 0; for one equation y is x'); row 0 of slot 1 the start values, row 1
// the start point, the last row tf.
TEST_F(CoupledRkf45Test, SolutionsOfEachMemberAgainstExactMathematics) {
  struct Case {
    const char16_t* definition;  // one equation: F; systems: kExact's
    int vars;
    double mode, t0, tf, tol, rel;
    Exact exact;
    const char* slots;
    int16_t plotKindAfter;  // the view drawn after the Graph button's view 1
  };
  const char* const kOne = "1tx0 2ty0 3xy0";
  const Case cases[] = {
      {u"F{t,x}=-2*t*x", 1, 1, -1.5, 1.5, 1e-5, 6e-5,
       [](double t) {
         return Values{std::exp(-t * t), -2 * t * std::exp(-t * t), 0, 0};
       },
       kOne, 1},
      // A mode whose views leave out view 1 draws its own first view.
      {nullptr, 2, 1, 0, 6.3, 1e-6, 2.52e-5, kExact[2], kOne, 1},
      {nullptr, 2, 4, 0, 6.3, 1e-6, 2.52e-5, kExact[2], "15tx0 16ty0 17xy0", 15},
      {nullptr, 3, 3, 0, 3, 1e-6, 1.2e-5, kExact[3], "1tx0 4tx0 5ty0 6tz0 7xyz", 1},
      {nullptr, 4, 2, 0, 6.3, 1e-6, 2.52e-5, kExact[4], "8tx0 9ty0 10xy0 11tz0 12tw0 13zw0 14xz0",
       8},
      {nullptr, 4, 4, 0, 6.3, 1e-6, 2.52e-5, kExact[4], "18tx0 19ty0 20tz0 21tw0 22xyz", 18}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.vars) + " equations, mode " + std::to_string(c.mode) + ", to " +
                 std::to_string(c.tf));
    std::vector<std::pair<int, std::string>> slots;
    std::istringstream in(c.slots);
    for (std::string word; in >> word;)
      slots.push_back({std::stoi(word), word.substr(word.find_first_not_of("0123456789"))});
    if (c.definition) {
      ASSERT_EQ(Run({c.definition}), 0);
    } else {
      Define(c.vars);
    }
    ResetSolutionStore();
    // Slot 1 holds an earlier problem's curve, far from this one's.
    for (int r = 0; r <= 20; ++r) SetSolution(r, 2, 1, 50.0 + r);
    StartBuild();
    Log() = {};
    View.PlotKind = View.ODEViewRequest = 1;
    ASSERT_EQ(Solve(c.vars, c.t0, c.tf, c.exact(c.t0), c.tol, c.mode), 0);
    const int first = c.vars <= 2 ? 1 : 0;
    const int n = Solutions.StoredPointCount;
    ASSERT_GT(n, 5);
    EXPECT_EQ(SolutionAt(1, first, slots[0].first), RoundToSingle(c.t0));
    EXPECT_EQ(SolutionAt(n, first, slots[0].first), RoundToSingle(c.tf));
    for (int r = 1; r <= n; ++r) {
      const double t = SolutionAt(r, first, slots[0].first);
      const Values v = c.exact(t);
      for (const auto& [slot, xyz] : slots)
        for (int k = 0; k < 3; ++k) {
          const size_t unknown = std::string("xyzw").find(xyz[static_cast<size_t>(k)]);
          const double expected = xyz[static_cast<size_t>(k)] == 't' ? t
                                  : unknown < 4                      ? v[unknown]
                                                                     : 0;
          // About tol over the range.
          EXPECT_TRUE(NearRel(SolutionAt(r, first + k, slot), expected, c.rel))
              << "slot " << slot << " row " << r << " coordinate " << k;
        }
    }
    for (int j = 0; j < c.vars; ++j) EXPECT_EQ(SolutionAt(0, first + 1 + j, 1), c.exact(c.t0)[j]);
    EXPECT_TRUE(NearRel(OdeResults.InitialSlope, c.exact(c.t0)[1], 1e-12));
    EXPECT_EQ(View.PlotKind, c.plotKindAfter);
    // The picture is that view's curve from the start point to the end point.
    ASSERT_EQ(Scene.SegmentCount, n - 1);
    EXPECT_EQ(SegmentAt(0).from[1], SolutionAt(1, first + 1, c.plotKindAfter));
    EXPECT_EQ(SegmentAt(n - 2).to[0], SolutionAt(n, first, c.plotKindAfter));
  }
}

// Every unknown steers the step size: where y, z or w varies faster than x, their rows still lie
// within 2 tol (tf - t0) of the exact solution. x' = 0.01 cos t, y' = cos 5t; two oscillators
// x'' = -x and z'' = -9z; one period of a Kepler orbit of eccentricity 0.5 (x, y the position, z,
// w the velocity, from the perihelion), exact through Kepler's equation E - e sin E = t. The
// orbit's error is one of phase, which grows with t (the period follows the energy error): at
// the perihelion again the velocity misses by about 3 tol (tf - t0).
TEST_F(CoupledRkf45Test, EveryUnknownWithinTheToleranceOverTheRange) {
  using Rhs = std::function<double(const std::vector<double>& a)>;  // a = t, x, y, z, w
  const double e = 0.5, pi = std::acos(-1.0);
  const auto r3 = [](const std::vector<double>& a) { return std::pow(std::hypot(a[1], a[2]), 3); };
  const Exact kepler = [e](double t) {
    double E = t;
    for (int i = 0; i < 50; ++i) E -= (E - e * std::sin(E) - t) / (1 - e * std::cos(E));
    const double b = std::sqrt(1 - e * e), q = 1 - e * std::cos(E);
    return Values{std::cos(E) - e, b * std::sin(E), -std::sin(E) / q, b * std::cos(E) / q};
  };
  struct Case {
    const char* what;
    int vars;
    double mode, tf, tol;
    std::array<Rhs, 4> rhs;
    Exact exact;
    std::array<int, 4> slots;  // the slot holding (t, unknown j) in the mode
    double bound;              // in units of tol (tf - t0)
  };
  const Case cases[] = {
      {"slow x, fast y",
       2,
       1,
       10,
       1e-5,
       {[](const std::vector<double>& a) { return 0.01 * std::cos(a[0]); },
        [](const std::vector<double>& a) { return std::cos(5 * a[0]); }},
       [](double t) {
         return Values{0.01 * std::sin(t), std::sin(5 * t) / 5, 0, 0};
       },
       {1, 2, 0, 0},
       2},
      {"two oscillators",
       4,
       2,
       5,
       1e-4,
       {[](const std::vector<double>& a) { return a[2]; },
        [](const std::vector<double>& a) { return -a[1]; },
        [](const std::vector<double>& a) { return a[4]; },
        [](const std::vector<double>& a) { return -9 * a[3]; }},
       [](double t) {
         return Values{std::sin(t), std::cos(t), std::sin(3 * t), 3 * std::cos(3 * t)};
       },
       {8, 9, 11, 12},
       2},
      {"Kepler orbit",
       4,
       3,
       2 * pi,
       1e-5,
       {[](const std::vector<double>& a) { return a[3]; },
        [](const std::vector<double>& a) { return a[4]; },
        [r3](const std::vector<double>& a) { return -a[1] / r3(a); },
        [r3](const std::vector<double>& a) { return -a[2] / r3(a); }},
       kepler,
       {18, 19, 20, 21},
       4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Log() = {};
    for (int j = 0; j < c.vars; ++j) Log().native[kIds[j]] = c.rhs[static_cast<size_t>(j)];
    ResetSolutionStore();
    StartBuild();
    View.PlotKind = View.ODEViewRequest = 1;
    ASSERT_EQ(Solve(c.vars, 0, c.tf, c.exact(0), c.tol, c.mode), 0);
    const int first = c.vars <= 2 ? 1 : 0;
    const int n = Solutions.StoredPointCount;
    ASSERT_GT(n, 10);
    EXPECT_EQ(SolutionAt(n, first, c.slots[0]), RoundToSingle(c.tf));
    const double bound = c.bound * c.tol * c.tf;
    for (int j = 0; j < c.vars; ++j) {
      const int slot = c.slots[static_cast<size_t>(j)];
      double worst = 0;
      for (int r = 1; r <= n; ++r) {
        const double t = SolutionAt(r, first, slot);
        worst = std::max(
            worst, std::fabs(SolutionAt(r, first + 1, slot) - c.exact(t)[static_cast<size_t>(j)]));
      }
      EXPECT_LE(worst, bound) << "unknown "
                              << "xyzw"[j];
    }
  }
}

// The single equation has its own driver and the systems share one: a failing right-hand side,
// the value limit and the scene store's limit stop one of each; Esc stops a system.
TEST_F(CoupledRkf45Test, EscFailureAndLimitsStopTheSolve) {
  for (int vars : {1, 4}) {
    SCOPED_TRACE(vars);
    // A right-hand side failing at call 30: nothing stored or drawn.
    Log() = {};
    NativeConstant(vars, {1, 1, 1, 1});
    Log().failFrom = 30;
    StartBuild();
    Solutions.StoredPointCount = 42;
    EXPECT_EQ(Solve(vars, 0, 10, {0, 0, 0, 0}, 1e-4, 1), kMsgRhsFailed);
    EXPECT_EQ(Calls(), 31);
    EXPECT_EQ(Solutions.StoredPointCount, 42);
    EXPECT_EQ(Scene.SegmentCount, 0);
    // The first unknown stays at 0, the last grows tenfold per unit of t: stopped near t = 5.
    Log() = {};
    for (int j = 0; j < vars; ++j)
      Log().native[kIds[j]] = [j, vars](const std::vector<double>& a) {
        return j == vars - 1 ? std::log(10.0) * a[static_cast<size_t>(j + 1)] : 0.0;
      };
    StartBuild();
    screen_.boxes.clear();
    EXPECT_EQ(Solve(vars, 0, 10, {1, 1, 1, 1}, 0.1, 1), 0);
    EXPECT_EQ(BoxTexts(),
              std::vector<rt::Text>{
                  u"Values exceeded 100,000. Click OK to allow partial results plotted."});
    EXPECT_GT(StepStarts(u"F_", 6 * vars).back(), 4.5);
    EXPECT_LT(StepStarts(u"F_", 6 * vars).back(), 5.15);
    // A scene store near its curve limit: 3990.
    NativeConstant(vars, {1, 1, 1, 1});
    StartBuild();
    Scene.VertexCount = 29990;
    EXPECT_EQ(Solve(vars, 0, 2, {0, 0, 0, 0}, 1e-3, 1), 3990);
    EXPECT_LE(Scene.VertexCount, kCurveVertexLimit + 1);
  }
  // Esc at the fifth event pass: nothing stored or drawn.
  Log() = {};
  NativeConstant(3, {1, 1, 1, 1});
  StartBuild();
  Solutions.StoredPointCount = 42;
  screen_.doEventsCount = 0;
  screen_.onDoEvents = [this] {
    if (screen_.doEventsCount == 5) RunFlags.AbortRun = -1;
  };
  EXPECT_EQ(Solve(3, 0, 10, {0, 0, 0, 0}, 1e-4, 1), 0);
  EXPECT_EQ(Calls(), 4L * 6 * 3);
  EXPECT_EQ(Solutions.StoredPointCount, 42);
  EXPECT_EQ(Scene.SegmentCount, 0);
  screen_.onDoEvents = nullptr;
  RunFlags.AbortRun = 0;
}

// Each member's own texts: the 1000 stored points (every unknown x' = cos 100t over [0, 10] at
// tol 1E-6: some 160 oscillations, each taking more than ten steps, and a first unknown that
// changes stores nearly every kept step at factor 1) and a range with nothing to draw.
TEST_F(CoupledRkf45Test, PointLimitAndEmptyRangeOfEachMember) {
  const rt::Text more = u"Number of data points > 1000";
  const rt::Text tail =
      u". Try increasing the Factor value.\r\nContinuity may be questioned or "
      u"division by zero occured.\r\n\r\nClick OK to plot the data upto the termination point.";
  const rt::Text outside = u" was outside the scope for plotting. Check the input parameters.";
  const rt::Text full[5] = {
      u"", more + tail, more + u", or values > 1E5" + tail,
      more +
          u". Try increasing the factor value.\r\nContinuity may be questioned  or division by "
          u"zero occured.\r\n\r\nClick OK to plot the data upto the termination of the "
          u"computations.",
      more + tail};
  const rt::Text empty[5] = {
      u"", u"The auto axis cannot be applied on one axis to constant function.",
      u"Data Range" + outside, u"Data Range" + outside, u"Data range" + outside};
  for (int vars : {1, 2, 3, 4}) {
    SCOPED_TRACE(vars);
    Log() = {};
    for (int j = 0; j < vars; ++j)
      Log().native[kIds[j]] = [](const std::vector<double>& a) { return std::cos(100 * a[0]); };
    StartBuild();
    screen_.boxes.clear();
    EXPECT_EQ(Solve(vars, 0, 10, {0, 0, 0, 0}, 1e-6, 1), 0);
    EXPECT_EQ(BoxTexts(), std::vector<rt::Text>{full[vars]});
    EXPECT_EQ(Solutions.StoredPointCount, 1000);
    const std::vector<double> starts = StepStarts(u"F_", 6 * vars);
    EXPECT_GE(starts.size(), 1000u);
    EXPECT_LT(starts.back(), 10);
    EXPECT_EQ(Scene.SegmentCount, 999);
    // tf below t0: no step, nothing stored.
    Log() = {};
    StartBuild();
    screen_.boxes.clear();
    EXPECT_EQ(Solve(vars, 1, 0, {0, 0, 0, 0}, 1e-4, 1), 0);
    EXPECT_EQ(Calls(), 0);
    EXPECT_EQ(Solutions.StoredPointCount, 1);
    EXPECT_EQ(BoxTexts(), std::vector<rt::Text>{empty[vars]});
  }
}

// x' = 30 cos(30 t) (with y' = 0 beside it in the system): the steps that grow fourfold on the
// flat start are too large for the oscillation; they are taken again, smaller, so that every row
// stays within the tolerance.
TEST_F(CoupledRkf45Test, AStepWithTooLargeAnErrorIsTakenAgain) {
  for (int vars : {1, 2}) {
    SCOPED_TRACE(vars);
    Log() = {};
    Log().native[u"F_"] = [](const std::vector<double>& a) { return 30 * std::cos(30 * a[0]); };
    Log().native[u"G_"] = [](const std::vector<double>&) { return 0.0; };
    StartBuild();
    const double tol = 1e-5;
    ASSERT_EQ(Solve(vars, 0, 1, {0, 0, 0, 0}, tol, 1), 0);
    const std::vector<double> starts = StepStarts(u"F_", 6 * vars);
    EXPECT_NE(std::adjacent_find(starts.begin(), starts.end()), starts.end());
    for (int r = 1; r <= Solutions.StoredPointCount; ++r) {
      const double t = SolutionAt(r, 1, 1);
      EXPECT_TRUE(NearRel(SolutionAt(r, 2, 1), std::sin(30 * t), 2 * tol)) << t;
    }
  }
}

}  // namespace
}  // namespace ms::testing
