#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "OdeTestSupport.h"
#include "numerics/CoupledRkf45.h"

namespace ms {
namespace {

using testing::Log;

// Sources of a view coordinate in the tables below: t, the unknowns 1..4, or zero.
constexpr int kT = 0, kX = 1, kY = 2, kZ = 3, kW = 4, k0 = -1;

struct ViewSlot {
  int slot;
  std::array<int, 3> xyz;
};

using Exact = std::function<std::array<double, 4>(double)>;

const std::vector<ViewSlot> kMode1 = {{1, {kT, kX, k0}}, {2, {kT, kY, k0}}, {3, {kX, kY, k0}}};

// x'' = -x as x' = y, y' = -x with x(0) = 1, y(0) = 0.
const Exact kOscillator = [](double t) {
  return std::array<double, 4>{std::cos(t), -std::sin(t), 0, 0};
};
// x' = -x, y' = x - y, z' = y with (1, 0, 0).
const Exact kChain = [](double t) {
  const double e = std::exp(-t);
  return std::array<double, 4>{e, t * e, 1 - e * (1 + t), 0};
};
// Two uncoupled oscillators: x' = y, y' = -4x, z' = w, w' = -z with (1, 0, 1, 0). Only the first
// unknown steers the step size, so the faster oscillator comes first.
const Exact kTwoOscillators = [](double t) {
  return std::array<double, 4>{std::cos(2 * t), -2 * std::sin(2 * t), std::cos(t), -std::sin(t)};
};

class CoupledRkf45Test : public testing::OdeTest {
 protected:
  void DefineOscillator() { ASSERT_EQ(Run({u"F{t,x,y}=y", u"G{t,x,y}=-x"}), 0); }
  void DefineChain() { ASSERT_EQ(Run({u"F{t,x,y,z}=-x", u"G{t,x,y,z}=x-y", u"H{t,x,y,z}=y"}), 0); }
  void DefineTwoOscillators() {
    ASSERT_EQ(Run({u"F{t,x,y,z,w}=y", u"G{t,x,y,z,w}=-4*x", u"H{t,x,y,z,w}=w", u"R{t,x,y,z,w}=-z"}),
              0);
  }

  // Runs the member with `vars` unknowns over [t0, tf] from start.
  static int16_t SolveMember(int vars, double t0, double tf, const std::array<double, 4>& s,
                             double factor, double tol, double mode) {
    int16_t msgNo = -1;
    Solutions.IVPPlotMode = mode;
    if (vars == 2) SolveIVP2(u"F_", u"G_", t0, tf, s[0], s[1], factor, tol, msgNo);
    if (vars == 3)
      SolveIVP3(u"F_", u"G_", u"H_", t0, tf, s[0], s[1], s[2], factor, tol, mode, msgNo);
    if (vars == 4)
      SolveIVP4(u"F_", u"G_", u"H_", u"R_", t0, tf, s[0], s[1], s[2], s[3], factor, tol, mode,
                msgNo);
    return msgNo;
  }

  // Every right-hand side answered natively by the same value.
  static void NativeConstant(int vars, const std::array<double, 4>& values) {
    const rt::Text ids[4] = {u"F_", u"G_", u"H_", u"R_"};
    for (int j = 0; j < vars; ++j) {
      const double v = values[static_cast<size_t>(j)];
      Log().native[ids[j]] = [v](const std::vector<double>&) { return v; };
    }
  }

  // Checks rows 2 .. n-1 of every slot of the set against the exact solution at the row's t (read
  // from the first slot, whose X is t).
  static void ExpectSlotsExact(const std::vector<ViewSlot>& slots, int firstComponent,
                               const Exact& exact, double accuracy) {
    const int n = Solutions.StoredPointCount;
    ASSERT_GT(n, 5);
    double lastT = -1e300;
    for (int r = 2; r < n; ++r) {
      const double t = SolutionAt(r, firstComponent, slots[0].slot);
      ASSERT_GT(t, lastT) << "row " << r;
      lastT = t;
      const std::array<double, 4> v = exact(t);
      for (const ViewSlot& s : slots) {
        for (int c = 0; c < 3; ++c) {
          SCOPED_TRACE("slot " + std::to_string(s.slot) + " row " + std::to_string(r) +
                       " coordinate " + std::to_string(c));
          const int src = s.xyz[static_cast<size_t>(c)];
          const double stored = SolutionAt(r, firstComponent + c, s.slot);
          const double expected = src == k0 ? 0.0 : src == kT ? t : v[static_cast<size_t>(src - 1)];
          EXPECT_NEAR(stored, expected, accuracy * std::max(1.0, std::fabs(expected)));
          EXPECT_EQ(stored, RoundToSingle(stored));
        }
      }
    }
  }
};

TEST_F(CoupledRkf45Test, OneStepOfEachMemberAgainstExactSolutions) {
  struct Case {
    int vars;
    double h;
    Exact exact;
  };
  const double h = 0.1;
  const Case cases[] = {{2, h, kOscillator}, {3, h, kChain}, {4, h, kTwoOscillators}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vars);
    if (c.vars == 2) DefineOscillator();
    if (c.vars == 3) DefineChain();
    if (c.vars == 4) DefineTwoOscillators();
    Log() = {};
    const std::array<double, 4> s = c.exact(0);
    std::array<double, 4> out{};
    double tNew = 0, err = -1;
    int16_t msgNo = -1;
    if (c.vars == 2) RKF45Step2(u"F_", u"G_", 0.0, s[0], s[1], tNew, out[0], out[1], h, err, msgNo);
    if (c.vars == 3)
      RKF45Step3(u"F_", u"G_", u"H_", 0.0, s[0], s[1], s[2], tNew, out[0], out[1], out[2], h, err,
                 msgNo);
    if (c.vars == 4)
      RKF45Step4(u"F_", u"G_", u"H_", u"R_", 0.0, s[0], s[1], s[2], s[3], tNew, out[0], out[1],
                 out[2], out[3], h, err, msgNo);
    ASSERT_EQ(msgNo, 0);
    EXPECT_DOUBLE_EQ(tNew, h);
    const std::array<double, 4> e = c.exact(h);
    for (int j = 0; j < c.vars; ++j) EXPECT_NEAR(out[j], e[j], 2e-6) << "unknown " << j;
    EXPECT_GT(err, 0);
    EXPECT_LT(err, 1e-5);
    // Six stages; at each, every right-hand side in order F, G (H, R) at the same stage point.
    ASSERT_EQ(Calls(), 6L * c.vars);
    const rt::Text ids[4] = {u"F_", u"G_", u"H_", u"R_"};
    const rt::Text names[4] = {u"f1", u"f2", u"f3", u"f1"};
    for (int i = 0; i < 6; ++i) {
      const testing::RhsCall& first = Log().calls[static_cast<size_t>(i * c.vars)];
      EXPECT_NEAR(first.args[0], fehlberg::kNode[i] * h, 1e-15);
      for (int j = 0; j < c.vars; ++j) {
        const testing::RhsCall& call = Log().calls[static_cast<size_t>(i * c.vars + j)];
        EXPECT_EQ(call.name, ids[j]);
        EXPECT_EQ(call.resultName, c.vars == 4 ? rt::Text(u"f1") : names[j]);
        EXPECT_EQ(call.args, first.args);
      }
    }
  }
}

TEST_F(CoupledRkf45Test, ErrorEstimateIsThatOfTheFirstUnknownAlone) {
  // With x' = x independent of y, the step of x and its estimate are the single-equation step's.
  ASSERT_EQ(Run({u"F{t,x,y}=x", u"G{t,x,y}=100*y*y", u"P{t,x}=x"}), 0);
  double tNew = 0, xNew = 0, yNew = 0, err = 0;
  int16_t msgNo = 0;
  RKF45Step2(u"F_", u"G_", 0.5, 2.0, 3.0, tNew, xNew, yNew, 0.2, err, msgNo);
  ASSERT_EQ(msgNo, 0);
  double t1 = 0, x4 = 0, x5 = 0, R = 0, slope = 0;
  RKF45Step1(u"P_", 0.5, 2.0, t1, x4, x5, 0.2, R, slope, msgNo);
  ASSERT_EQ(msgNo, 0);
  EXPECT_EQ(err, R);
  EXPECT_EQ(xNew, x4);
}

TEST_F(CoupledRkf45Test, FailingEvaluationEndsTheStepWith2100) {
  DefineOscillator();
  struct Case {
    long failAt;
  };
  // First call, a G in the middle, and G of the sixth stage (whose value is not used otherwise).
  const Case cases[] = {{0}, {5}, {11}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failAt);
    Log() = {};
    Log().failAt = c.failAt;
    double tNew = -7, xNew = -7, yNew = -7, err = -7;
    int16_t msgNo = 0;
    RKF45Step2(u"F_", u"G_", 0.0, 1.0, 0.0, tNew, xNew, yNew, 0.1, err, msgNo);
    EXPECT_EQ(msgNo, kMsgRhsFailed);
    EXPECT_EQ(Calls(), c.failAt + 1);
    for (double out : {tNew, xNew, yNew, err}) EXPECT_EQ(out, -7);
  }
}

TEST_F(CoupledRkf45Test, StepsDoNothingWhileAborted) {
  DefineTwoOscillators();
  RunFlags.AbortRun = -1;
  double t = -7, x = -7, y = -7, z = -7, w = -7, err = -7;
  int16_t msgNo = 77;
  RKF45Step2(u"F_", u"G_", 0.0, 1.0, 0.0, t, x, y, 0.1, err, msgNo);
  RKF45Step3(u"F_", u"G_", u"H_", 0.0, 1.0, 0.0, 1.0, t, x, y, z, 0.1, err, msgNo);
  RKF45Step4(u"F_", u"G_", u"H_", u"R_", 0.0, 1.0, 0.0, 1.0, 0.0, t, x, y, z, w, 0.1, err, msgNo);
  EXPECT_EQ(Calls(), 0);
  EXPECT_EQ(msgNo, 77);
  for (double out : {t, x, y, z, w, err}) EXPECT_EQ(out, -7);
}

TEST_F(CoupledRkf45Test, EvalRHS4ReadsTheFourEquationForm) {
  DefineTwoOscillators();
  double value = 0;
  int16_t msgNo = -1;
  EvalRHS4(u"R_", 1.0, 2.0, 3.0, 0.25, 5.0, value, msgNo);
  EXPECT_EQ(msgNo, 0);
  EXPECT_DOUBLE_EQ(value, -0.25);
  ASSERT_EQ(Calls(), 1);
  EXPECT_EQ(Log().calls[0].resultName, u"f1");
  EXPECT_EQ(Log().calls[0].args, (std::vector<double>{1, 2, 3, 0.25, 5}));
  EvalRHS4(u"Q_", 1.0, 2.0, 3.0, 0.25, 5.0, value, msgNo);
  EXPECT_EQ(msgNo, kMsgRhsFailed);
}

TEST_F(CoupledRkf45Test, SolutionsOfEachMemberAndModeInTheirViewSlots) {
  struct Case {
    int vars;
    double mode;
    std::vector<ViewSlot> slots;
    int16_t plotKindAfter;  // 0: unchanged
  };
  const std::vector<ViewSlot> twoPlain = {
      {15, {kT, kX, k0}}, {16, {kT, kY, k0}}, {17, {kX, kY, k0}}};
  const std::vector<ViewSlot> threePlain = {{1, {kT, kX, k0}},
                                            {4, {kT, kX, k0}},
                                            {5, {kT, kY, k0}},
                                            {6, {kT, kZ, k0}},
                                            {7, {kX, kY, kZ}}};
  const std::vector<ViewSlot> fourSecondOrder = {
      {8, {kT, kX, k0}},  {9, {kT, kY, k0}},  {10, {kX, kY, k0}}, {11, {kT, kZ, k0}},
      {12, {kT, kW, k0}}, {13, {kZ, kW, k0}}, {14, {kX, kZ, k0}}};
  const std::vector<ViewSlot> fourPlain = {{18, {kT, kX, k0}},
                                           {19, {kT, kY, k0}},
                                           {20, {kT, kZ, k0}},
                                           {21, {kT, kW, k0}},
                                           {22, {kX, kY, kZ}}};
  const Case cases[] = {
      {2, 1, kMode1, 0},     {2, 2, twoPlain, 0},   {2, 4, twoPlain, 0}, {3, 1, kMode1, 0},
      {3, 2, threePlain, 0}, {3, 3, threePlain, 0}, {4, 1, kMode1, 0},   {4, 2, fourSecondOrder, 8},
      {4, 3, fourPlain, 18}, {4, 4, fourPlain, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.vars) + " equations, mode " + std::to_string(c.mode));
    const Exact exact = c.vars == 2 ? kOscillator : c.vars == 3 ? kChain : kTwoOscillators;
    if (c.vars == 2) DefineOscillator();
    if (c.vars == 3) DefineChain();
    if (c.vars == 4) DefineTwoOscillators();
    ResetSolutionStore();
    StartBuild();
    Log() = {};
    screen_.doEventsCount = 0;
    View.PlotKind = 1;
    const double tf = c.vars == 3 ? 3.0 : 6.3;
    ASSERT_EQ(SolveMember(c.vars, 0, tf, exact(0), 1, 1e-6, c.mode), 0);
    const int first = c.vars == 2 ? 1 : 0;
    ExpectSlotsExact(c.slots, first, exact, 5e-4);
    // Only the slots of the mode are written (and row 0 of slot 1).
    for (int slot = 1; slot <= kSolutionSlots; ++slot) {
      bool used = false;
      for (const ViewSlot& s : c.slots) used = used || s.slot == slot;
      if (!used) {
        EXPECT_EQ(SolutionAt(2, first, slot), 0.0) << "slot " << slot;
      }
    }
    // The start point in row 0 of slot 1: t0 and the initial values from the first component on.
    EXPECT_EQ(SolutionAt(0, first, 1), 0.0);
    for (int j = 0; j < c.vars; ++j)
      EXPECT_EQ(SolutionAt(0, first + 1 + j, 1), exact(0)[static_cast<size_t>(j)]);
    // Six evaluations per unknown and step, one event-loop pass per step.
    EXPECT_EQ(Calls(), 6L * c.vars * screen_.doEventsCount);
    EXPECT_EQ(View.PlotKind, c.plotKindAfter == 0 ? 1 : c.plotKindAfter);
    EXPECT_EQ(PlotRequest.PlotTMin, 0.0);
    EXPECT_EQ(PlotRequest.PlotTMax, tf);
    // The initial slope is y where the first stored step began.
    const int yComponent = first + 1;
    const int ySlot = c.slots[1].slot;
    if (c.slots[1].xyz[1] == kY) {
      EXPECT_EQ(RoundToSingle(OdeResults.InitialSlope), SolutionAt(2, yComponent, ySlot));
    }
  }
}

TEST_F(CoupledRkf45Test, EscStopsEachMemberWithoutDrawing) {
  for (int vars : {2, 3, 4}) {
    SCOPED_TRACE(vars);
    DefineTwoOscillators();
    NativeConstant(vars, {1, 1, 1, 1});
    StartBuild();
    Log().calls.clear();
    Solutions.StoredPointCount = 42;
    long passes = 0;
    screen_.onDoEvents = [&] {
      if (++passes == 5) RunFlags.AbortRun = -1;
    };
    RunFlags.AbortRun = -1;  // a stale abort is cleared at the start
    EXPECT_EQ(SolveMember(vars, 0, 10, {0, 0, 0, 0}, 1, 1e-4, 1), 0);
    EXPECT_EQ(Calls(), 4L * 6 * vars);
    EXPECT_EQ(Solutions.StoredPointCount, 42);
    EXPECT_EQ(Scene.SegmentCount, 0);
    EXPECT_TRUE(screen_.boxes.empty());
    screen_.onDoEvents = nullptr;
    RunFlags.AbortRun = 0;
  }
}

TEST_F(CoupledRkf45Test, AnyUnknownAbove100000StopsTheSolve) {
  // The first unknown stays at 0; the last one grows tenfold per unit of t.
  for (int vars : {2, 3, 4}) {
    SCOPED_TRACE(vars);
    const rt::Text ids[4] = {u"F_", u"G_", u"H_", u"R_"};
    Log() = {};
    for (int j = 0; j < vars; ++j)
      Log().native[ids[j]] = [j, vars](const std::vector<double>& a) {
        return j == vars - 1 ? std::log(10.0) * a[static_cast<size_t>(j + 1)] : 0.0;
      };
    StartBuild();
    screen_.boxes.clear();
    EXPECT_EQ(SolveMember(vars, 0, 10, {0, 1, 1, 1}, 1, 0.1, 1), 0);
    ASSERT_EQ(screen_.boxes.size(), 1u);
    EXPECT_EQ(screen_.boxes[0].text,
              u"Values exceeded 100,000. Click OK to allow partial results plotted.");
    // Stopped near t = 5, where 10^t passes 100,000; the points stored so far are drawn.
    const std::vector<double> starts = StepStarts(u"F_", 6 * vars);
    EXPECT_NEAR(starts.back(), 5.0, 0.15);
    EXPECT_GT(Scene.SegmentCount, 0);
  }
}

TEST_F(CoupledRkf45Test, ThousandPointMessageOfEachMember) {
  struct Case {
    int vars;
    const char16_t* text;
  };
  const Case cases[] = {
      {2,
       u"Number of data points > 1000, or values > 1E5. Try increasing the Factor value.\r\n"
       u"Continuity may be questioned or division by zero occured.\r\n\r\n"
       u"Click OK to plot the data upto the termination point."},
      {3,
       u"Number of data points > 1000. Try increasing the factor value.\r\n"
       u"Continuity may be questioned  or division by zero occured.\r\n\r\n"
       u"Click OK to plot the data upto the termination of the computations."},
      {4,
       u"Number of data points > 1000. Try increasing the Factor value.\r\n"
       u"Continuity may be questioned or division by zero occured.\r\n\r\n"
       u"Click OK to plot the data upto the termination point."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vars);
    Log() = {};
    // A constant first unknown is stored every third step, whatever the others do.
    NativeConstant(c.vars, {0, 1, 1, 1});
    StartBuild();
    screen_.boxes.clear();
    EXPECT_EQ(SolveMember(c.vars, 0, 1, {0, 0, 0, 0}, 1, 1e-6, 1), 0);
    ASSERT_EQ(screen_.boxes.size(), 1u);
    EXPECT_EQ(screen_.boxes[0].text, c.text);
    EXPECT_EQ(screen_.boxes[0].style, ui::kOkOnly);
    EXPECT_EQ(Solutions.StoredPointCount, 1000);
    EXPECT_EQ(StepStarts(u"F_", 6 * c.vars).size(), 3 * 1000u - 1);
    EXPECT_EQ(Scene.SegmentCount, 998);
  }
}

TEST_F(CoupledRkf45Test, NothingInViewGivesEachMembersMessage) {
  struct Case {
    int vars;
    const char16_t* text;
  };
  const Case cases[] = {
      {2, u"Data Range was outside the scope for plotting. Check the input parameters."},
      {3, u"Data Range was outside the scope for plotting. Check the input parameters."},
      {4, u"Data range was outside the scope for plotting. Check the input parameters."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vars);
    Log() = {};
    NativeConstant(c.vars, {1, 1, 1, 1});
    StartBuild();
    screen_.boxes.clear();
    // tf below t0: no step, nothing stored, the empty scene is reported.
    EXPECT_EQ(SolveMember(c.vars, 1, 0, {0, 0, 0, 0}, 1, 1e-4, 1), 0);
    EXPECT_EQ(Calls(), 0);
    EXPECT_EQ(Solutions.StoredPointCount, 1);
    ASSERT_EQ(screen_.boxes.size(), 1u);
    EXPECT_EQ(screen_.boxes[0].text, c.text);
  }
}

TEST_F(CoupledRkf45Test, FirstStepOfEachMember) {
  // SolveIVP2 starts with h = 0.001, the others with h = tol.
  struct Case {
    int vars;
    double tol;
    double secondStart;
  };
  const Case cases[] = {{2, 1e-3, 0.001}, {2, 0.05, 0.001}, {3, 0.05, 0.05}, {4, 0.02, 0.02}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.vars) + " " + std::to_string(c.tol));
    Log() = {};
    NativeConstant(c.vars, {1, 0, 0, 0});
    StartBuild();
    ASSERT_EQ(SolveMember(c.vars, 0, 1, {0, 0, 0, 0}, 1, c.tol, 1), 0);
    const std::vector<double> starts = StepStarts(u"F_", 6 * c.vars);
    ASSERT_GT(starts.size(), 2u);
    EXPECT_DOUBLE_EQ(starts[1], c.secondStart);
  }
}

TEST_F(CoupledRkf45Test, ReplotDrawsTheViewFromStoredRowsWithoutSolving) {
  DefineTwoOscillators();
  StartBuild();
  View.PlotKind = 1;
  ASSERT_EQ(SolveMember(4, 0, 3, kTwoOscillators(0), 1, 1e-4, 2), 0);
  ASSERT_EQ(View.PlotKind, 8);
  const int n = Solutions.StoredPointCount;
  Scene.GridUnitX = 2;
  Scene.GridUnitY = 4;
  Settings.IVPColorUsed = 0x102030;
  for (int16_t view : {8, 13, 14}) {
    SCOPED_TRACE(view);
    StartBuild();
    Log() = {};
    View.PlotKind = view;
    RunFlags.Replot = -1;
    ASSERT_EQ(SolveMember(4, 0, 3, kTwoOscillators(0), 1, 1e-4, 2), 0);
    EXPECT_EQ(Calls(), 0);
    EXPECT_EQ(View.PlotKind, view);
    EXPECT_EQ(Solutions.StoredPointCount, n);
    ASSERT_EQ(Scene.SegmentCount, n - 2);
    for (int k = 2; k <= n - 1; ++k) {
      SCOPED_TRACE(k);
      const testing::Seg s = testing::SegmentAt(k - 2);
      const int next = k == n - 1 ? k : k + 1;
      EXPECT_EQ(s.from[0], SolutionAt(k, 0, view) / 2);
      EXPECT_EQ(s.from[1], SolutionAt(k, 1, view) / 4);
      EXPECT_EQ(s.to[0], SolutionAt(next, 0, view) / 2);
      EXPECT_EQ(s.to[1], SolutionAt(next, 1, view) / 4);
      EXPECT_EQ(s.row[kRed], 0x30);
      EXPECT_EQ(s.row[kGreen], 0x20);
      EXPECT_EQ(s.row[kBlue], 0x10);
      EXPECT_EQ(s.row[kDotMark], 0);
    }
  }
  RunFlags.Replot = 0;
}

TEST_F(CoupledRkf45Test, GridUnitGuards) {
  struct Case {
    int vars;
    double gridX;
    double gridT;
    bool reset;
  };
  const Case cases[] = {
      {2, 1e-7, 1, true}, {2, 1e-5, 1, false}, {2, 2, 1e-7, false}, {3, 1e-5, 1, true},
      {3, 2, 1e-5, true}, {3, 2, 1e-3, false}, {4, 5e-5, 1, true},  {4, 2, 1e-5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.vars) + " " + std::to_string(c.gridX) + " " +
                 std::to_string(c.gridT));
    Log() = {};
    NativeConstant(c.vars, {1, 1, 1, 1});
    StartBuild();
    double timeGrid = c.gridT;
    IvpView.TimeGridUnit = &timeGrid;
    Scene.GridUnitX = c.gridX;
    Scene.GridUnitY = 3;
    Scene.GridUnitZ = 3;
    ASSERT_EQ(SolveMember(c.vars, 0, 0.1, {0, 0, 0, 0}, 1, 1e-3, 1), 0);
    EXPECT_EQ(Scene.GridUnitX == 1.0 && Scene.GridUnitY == 1.0 && Scene.GridUnitZ == 1.0, c.reset);
    if (c.vars > 2) {
      EXPECT_EQ(timeGrid == 1.0, c.reset);
    }
    if (c.vars == 2) {
      EXPECT_EQ(timeGrid, c.gridT);
    }
  }
}

TEST_F(CoupledRkf45Test, ThreeDimensionalViewOfThreeEquationsNeedsTheZAxis) {
  DefineChain();
  for (int16_t view : {7, 5}) {
    SCOPED_TRACE(view);
    StartBuild();
    View.ZAxisNeeded = 0;
    View.PlotKind = view;
    ASSERT_EQ(SolveMember(3, 0, 2, kChain(0), 1, 1e-4, 2), 0);
    EXPECT_EQ(View.ZAxisNeeded != 0, view == 7);
    ASSERT_GT(Scene.SegmentCount, 0);
    const testing::Seg s = testing::SegmentAt(Scene.SegmentCount / 2);
    if (view == 7) {
      EXPECT_GT(s.from[2], 0.0);
    }
    if (view == 5) {
      EXPECT_EQ(s.from[2], 0.0);
    }
  }
  // Mode 1 never asks for it.
  StartBuild();
  View.ZAxisNeeded = 0;
  View.PlotKind = 7;
  ASSERT_EQ(SolveMember(3, 0, 2, kChain(0), 1, 1e-4, 1), 0);
  EXPECT_EQ(View.ZAxisNeeded, 0);
}

TEST_F(CoupledRkf45Test, FullSceneStoreGives3990) {
  struct Case {
    int vars;
    int16_t verticesBefore;
    int16_t msgNo;
  };
  const Case cases[] = {{2, 29990, 3990}, {3, 29999, 3990}, {4, 30000, 3990}, {4, 20000, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.vars) + " " + std::to_string(c.verticesBefore));
    Log() = {};
    NativeConstant(c.vars, {1, 1, 1, 1});
    StartBuild();
    Scene.VertexCount = c.verticesBefore;
    Scene.SegmentCount = 100;
    EXPECT_EQ(SolveMember(c.vars, 0, 2, {0, 0, 0, 0}, 1, 1e-3, 1), c.msgNo);
    EXPECT_LE(Scene.VertexCount, kCurveVertexLimit + 1);
  }
  // The message comes back through the command unchanged.
  ASSERT_EQ(Run({u"F{t,x,y}=1", u"G{t,x,y}=1"}), 0);
  StartBuild();
  Scene.VertexCount = 29999;
  rt::Text statement = u"IVP[F,G,{0,2,0,0}{1,0.001,1}]";
  int16_t msgNo = -1;
  ProcessIVP(statement, msgNo);
  EXPECT_EQ(msgNo, 3990);
}

TEST_F(CoupledRkf45Test, EvaluationFailureDuringSolveDrawsNothing) {
  DefineOscillator();
  StartBuild();
  Log().failAt = 30;
  Solutions.StoredPointCount = 9;
  EXPECT_EQ(SolveMember(2, 0, 1, {1, 0, 0, 0}, 1, 1e-4, 1), kMsgRhsFailed);
  EXPECT_EQ(Calls(), 31);
  EXPECT_EQ(Solutions.StoredPointCount, 9);
  EXPECT_EQ(Scene.SegmentCount, 0);
}

}  // namespace
}  // namespace ms
