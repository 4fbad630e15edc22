#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "commands/OdeCommands.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "numerics/Ivp.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/Axes.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

class IvpTest : public SolverTest {
 protected:
  // Functions for every form: F, G, H, R with 2..5 parameters, Fa with two, P with one; their
  // right-hand sides answered natively by `value` so that the forms run fast.
  void DefineFunctions(double value = 1) {
    ASSERT_EQ(Run({u"F{t,x}=x", u"Fa{t,x}=x", u"P{t}=1", u"G{t,x,y}=-x", u"H{t,x,y,z}=y",
                   u"R{t,x,y,z,w}=-z", u"a=0.5", u"bc=2"}),
              0);
    for (const rt::Text id : {u"F_", u"Fa", u"G_", u"H_", u"R_"})
      Log().native[id] = [value](const std::vector<double>&) { return value; };
  }
  static int OrderFlags() {
    return (OdePicture.IVPOrder1 ? 1 : 0) + (OdePicture.IVPOrder2 ? 2 : 0) +
           (OdePicture.IVPOrder3 ? 4 : 0) + (OdePicture.IVPOrder4 ? 8 : 0);
  }
};

TEST_F(IvpTest, StatementChecksAndTheirMessages) {
  DefineFunctions();
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
  };
  const Case cases[] = {
      {u"ivp[F,{0,1,1}{1,1}]trailing", 0},  // 19 characters before the trailing text
      {u"IVP[F,{0,1,1}{1,0.000001}]", 0},
      {u"IVP[F,{0,1,1}{1,1", 2000},  // 17 characters
      {u"IVP(F,{0,1,1}{1,0.001}]", 2005},
      {u"IVP[Fa,Ga,Ha,Ra,{0,1,1,1,1,1}{1,0.01,1}]", 3600},  // brace first at 17
      {u"IVP[xF,{0,1,1}{1,0.001}]", 2010},
      {u"IVP[F2,{0,1,1}{1,0.001}]", 2030},
      {u"IVP[F,G{0,1,1,0}{1,0.01,1}]", 3604},
      {u"IVP[F,G,H{0,1,1,0,0}{1,0.01,1}]", 3608},
      {u"IVP[F,G,H,R{0,1,1,0,0,0}{1,0.01,1}]", 3612},
      {u"IVP[F,x{0,1,1}{1,0.001}]", 3602},
      {u"IVP[F,G,x{0,1,1,0}{1,0.01,1}]", 3606},
      {u"IVP[F,G,H,x{0,1,1,0,0}{1,0.01,1}]", 3609},
      {u"IVP[F,G,H,R,x{0,1,1,0,0,0}{1,0.01,1}]", 3613},
      {u"IVP[F,Q,{0,1,1,0}{1,0.01,1}]", 2015},
      {u"IVP[P,P,{0,1,1,0}{1,0.01,1}]", 2020},  // G needs a second parameter
      {u"IVP[F,{-a,bd,a}{1,0.001}]", 339},
      {u"IVP[F,{0,,1}{1,0.001}]", 6097},
      {u"IVP[F,{0,1,1,1}{1,0.001}]", 313},
      {u"IVP[F,{0,1,a+1}{1,0.001}]", 1220},
      {u"IVP[F,{0,1,1}1,0.001}]", 2040},
      {u"IVP[F,{0,1,1}{1,0.001})", 2045},
      {u"IVP[F,G,{0,1,1,0}{1,0.01}]", 333},
      {u"IVP[F,{0,1,1}{1,-0.0000005}]", 2050}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    Log().calls.clear();
    StartBuild();
    View.ZAxisNeeded = -1;
    EXPECT_EQ(ProcessIVP(c.statement), c.msgNo);
    EXPECT_EQ(View.ZAxisNeeded, 0);
    if (c.msgNo != 0) {
      EXPECT_EQ(Calls(), 0) << "a statement that fails its parse runs no solver";
    }
  }
}

TEST_F(IvpTest, FramesOrderFlagsAndSolverOfEachForm) {
  DefineFunctions();
  struct Case {
    const char16_t* statement;
    int orderFlags, callsPerStep;
    double mode;
    OdeViewGroup views;
  };
  using enum OdeViewGroup;
  const Case cases[] = {{u"IVP[F,{0,1,1}{1,0.01}]", 1, 6, 3, kPhase},  // mode left as it was (3)
                        {u"IVP[F,G,{0,1,1,0}{1,0.01,1}]", 2, 12, 1, kPhase},
                        {u"IVP[F,G,{0,1,1,0}{1,0.01,4}]", 2, 12, 4, kTwoEquationsMode2},
                        {u"IVP[F,G,H,{0,1,1,0,0}{1,0.01,2}]", 4, 18, 2, kThreeEquationsMode2},
                        {u"IVP[F,G,H,{0,1,1,0,0}{1,0.01,3}]", 4, 18, 3, kNone},
                        {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,2}]", 8, 24, 2, kFourEquationsMode2},
                        {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,3}]", 8, 24, 3, kFourEquationsMode3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    Log().calls.clear();
    StartBuild();
    ResetIvpView();
    IvpView.Views = kFourEquationsMode3;  // the command decides, whatever was there
    OdePicture.IVPPlotMode = 3;
    OdeResults.BVPSolved = -1;
    screen_.doEventsCount = 0;
    ASSERT_EQ(ProcessIVP(c.statement), 0);
    EXPECT_EQ(OrderFlags(), c.orderFlags);
    EXPECT_EQ(OdePicture.IVPPlotMode, c.mode);
    EXPECT_EQ(IvpView.Views, c.views);
    EXPECT_TRUE(IvpView.ViewsChanged);
    EXPECT_EQ(OdeResults.BVPSolved, 0);
    ASSERT_GT(screen_.doEventsCount, 0);
    // The single equation also takes its slope at tf.
    EXPECT_EQ(Calls(), c.callsPerStep * screen_.doEventsCount + (c.orderFlags == 1 ? 1 : 0));
  }
  // A failed parse keeps the views.
  IvpView.ViewsChanged = false;
  EXPECT_EQ(ProcessIVP(u"IVP[F2,{0,1,1}{1,0.001}]"), 2030);
  EXPECT_EQ(IvpView.Views, kFourEquationsMode3);
  EXPECT_FALSE(IvpView.ViewsChanged);
}

// Factors below 1 act as 1 and negative ones by their magnitude; tol above 0.1 acts as 0.1,
// negative by its magnitude; a mode other than 1..4 as 1. Only systems read a mode.
TEST_F(IvpTest, FactorToleranceAndModeAreNormalised) {
  DefineFunctions();
  struct Case {
    const char16_t* statement;
    double factor, tol, mode;  // mode 0: none read
  };
  const Case cases[] = {{u"IVP[G,F,{-a,bc,a,-2}{0.5,-0.001,7}]", 1, 0.001, 1},
                        {u"IVP[F,{0,1,2}{-4,1}]", 4, 0.1, 0},
                        {u"IVP[F,G,H,{0,1,1,0,0}{3,0.5,2}]", 3, 0.1, 2}};
  IvpArgs v;
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    ASSERT_EQ(ParseIvpArgs(c.statement, v), 0);
    EXPECT_EQ(v.factor, c.factor);
    EXPECT_EQ(v.tol, c.tol);
    EXPECT_EQ(v.plotMode.value_or(0), c.mode);
  }
  ASSERT_EQ(ParseIvpArgs(cases[0].statement, v), 0);  // values from constants
  EXPECT_EQ(std::vector<double>({v.t0, v.tf, v.init[0]}), std::vector<double>({-0.5, 2, 0.5}));
  // The first step of the three-equation solver is tol: the tolerance used is the normalised one.
  Log().calls.clear();
  StartBuild();
  ASSERT_EQ(ProcessIVP(u"IVP[F,G,H,{0,1,1,0,0}{1,0.5,1}]"), 0);
  EXPECT_DOUBLE_EQ(StepStarts(u"F_", 18).at(1), 0.1);
}

// Esc or a failing right-hand side leaves the boundary value picture's flag; a clean solve clears
// it (above).
TEST_F(IvpTest, BVPSolvedIsClearedOnlyAfterACleanSolve) {
  DefineFunctions();
  for (const bool esc : {false, true}) {
    SCOPED_TRACE(esc);
    StartBuild();
    Log().failFrom = esc ? -1 : 3;
    OdeResults.BVPSolved = -1;
    RunFlags.AbortRun = -1;  // an Esc left from before is not this solve's
    screen_.onDoEvents = [esc] {
      if (esc) RunFlags.AbortRun = -1;
    };
    EXPECT_EQ(ProcessIVP(u"IVP[F,G,{0,1,1,0}{1,0.01,1}]"), esc ? 0 : kMsgRhsFailed);
    EXPECT_EQ(OdeResults.BVPSolved, -1);
    RunFlags.AbortRun = 0;
  }
}

// A step at the smallest step size (tol) whose error estimate misses tol h by far stops the solve
// with 2115's box and draws what was stored up to there (here the start point alone); a smaller
// tol lowers the smallest step and draws the solution. x' = -3000x is e^(-3000t) (a step of 0.001
// misses by about 6.6E5 times); x' = -1E8 x over [0, 2E-8] is one step of 2E-8 at tol 1E-6
// (missing by about 3.6E12; two equations, beside y' = x, as one equation's slope limit of 1E5
// speaks first); x' = -3000x with y' = x is the same for two equations. x' = 1, which
// the method integrates exactly (error estimate 0), grows its steps and reaches x = t at t = 3.
TEST_F(IvpTest, AStepAtTheSmallestSizeThatMissesStopsTheSolve) {
  ASSERT_EQ(Run({u"F{t,x}=-3000*x", u"E{t,x,y}=-1E8*x", u"Fa{t,x}=1", u"G{t,x,y}=-3000*x",
                 u"H{t,x,y}=x"}),
            0);
  const auto decay = [](double t) { return std::exp(-3000 * t); };
  const struct {
    const char16_t* statement;
    bool stops;
    double tf;
    double (*exact)(double t);
  } cases[] = {
      {u"IVP[F,{0,0.05,1}{1,0.001}]", true, 0.05, decay},
      {u"IVP[E,H,{0,2E-8,1,0}{1,0.000001,1}]", true, 2e-8,
       [](double t) { return std::exp(-1e8 * t); }},
      {u"IVP[G,H,{0,0.05,1,0}{1,0.001,1}]", true, 0.05, decay},
      {u"IVP[F,{0,0.05,1}{1,0.000001}]", false, 0.05, decay},
      {u"IVP[Fa,{0,3,0}{1,0.001}]", false, 3, [](double t) { return t; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    StartBuild();
    screen_.boxes.clear();
    EXPECT_EQ(ProcessIVP(c.statement), 0);
    const int n = Solutions.StoredPointCount;
    // A curve of the start point alone then adds the curve build's own box.
    const std::vector<rt::Text> boxes = BoxTexts();
    EXPECT_EQ(!boxes.empty() && boxes[0] == GetMessageText(kMsgBeyondSmallestStep), c.stops);
    EXPECT_EQ(boxes.empty(), !c.stops);
    EXPECT_EQ(SolutionAt(n, 1, 1) == RoundToSingle(c.tf), !c.stops);
    for (int r = 1; r <= n; ++r) {
      const double t = SolutionAt(r, 1, 1);
      EXPECT_NEAR(SolutionAt(r, 2, 1), c.exact(t), 1e-5) << t;
    }
  }
}

}  // namespace
}  // namespace ms::testing
