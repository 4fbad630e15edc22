#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "OdeTestSupport.h"

namespace ms {
namespace {

using testing::Log;

class IvpTest : public testing::OdeTest {
 protected:
  // Functions for every form: F, G, H, R with 2..5 parameters, Fa with two, P with one.
  void DefineFunctions() {
    ASSERT_EQ(Run({u"F{t,x}=x", u"Fa{t,x}=x", u"P{t}=1", u"G{t,x,y}=-x", u"H{t,x,y,z}=y",
                   u"R{t,x,y,z,w}=-z", u"a=0.5", u"bc=2"}),
              0);
  }
  // Right-hand sides answered natively (value 1), so that the forms run fast.
  static void NativeOnes() {
    for (const rt::Text id : {u"F_", u"Fa", u"G_", u"H_", u"R_"})
      Log().native[id] = [](const std::vector<double>&) { return 1.0; };
  }
  static int16_t Process(const rt::Text& statement) {
    rt::Text s = statement;
    int16_t msgNo = -1;
    ProcessIVP(s, msgNo);
    return msgNo;
  }
  static std::set<int> VisibleFrames() {
    std::set<int> out;
    for (int f = kFirstIvpFrame; f <= kLastIvpFrame; ++f)
      if (IvpView.FrameVisible[f]) out.insert(f);
    return out;
  }
  static int OrderFlags() {
    return (Solutions.IVPOrder1 ? 1 : 0) + (Solutions.IVPOrder2 ? 2 : 0) +
           (Solutions.IVPOrder3 ? 4 : 0) + (Solutions.IVPOrder4 ? 8 : 0);
  }
};

TEST_F(IvpTest, StatementChecksAndTheirMessages) {
  DefineFunctions();
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
  };
  const Case cases[] = {
      {u"IVP[F,{0,1,1}{1,0.001}]", 0},
      {u"ivp[F,{0,1,1}{1,0.001}]", 0},
      {u"IVP[F,{0,1,1}{1,1}]", 0},  // the shortest statement, 19 characters
      {u"IVP[Fa,{0,1,1}{1,0.001}]", 0},
      {u"IVP[F,G,{0,1,1,0}{1,0.01,1}]", 0},
      {u"IVP[F,G,H,{0,1,1,0,0}{1,0.01,1}]", 0},
      {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,1}]", 0},
      {u"IVP[F,{0,1,1}{1,0.001}]trailing", 0},
      {u"Ivp[F,{0,1,1}{1,0.001}]", 2000},
      {u"IVP[F,{0,1,1}{1,1", 2000},  // 17 characters
      {u"", 2000},
      {u"IV", 2000},
      {u"IVP(F,{0,1,1}{1,0.001}]", 2005},
      {u"IVP[Fa,Ga,Ha,Ra,{0,1,1,1,1,1}{1,0.01,1}]", 3600},  // brace first at 17
      {u"IVP[F,G,H,R,F,{0,1,1,1,1,1}{1,0.01,1}]", 3600},    // five functions
      {u"IVP[f,{0,1,1}{1,0.001}]", 3600},
      {u"IVP[F,G,H,R,Fa,Ga,Ha,Ra,Fb,Gb,Hb]", 3600},  // no brace at all
      {u"IVP[xF,{0,1,1}{1,0.001}]", 2010},
      {u"IVP[F2,{0,1,1}{1,0.001}]", 2030},
      {u"IVP[F,G{0,1,1,0}{1,0.01,1}]", 3604},
      {u"IVP[F,G,H{0,1,1,0,0}{1,0.01,1}]", 3608},
      {u"IVP[F,G,H,R{0,1,1,0,0,0}{1,0.01,1}]", 3612},
      {u"IVP[F,x{0,1,1}{1,0.001}]", 3602},
      {u"IVP[F,G,x{0,1,1,0}{1,0.01,1}]", 3606},
      {u"IVP[F,G,H,x{0,1,1,0,0}{1,0.01,1}]", 3609},
      {u"IVP[F,G,H,R,x{0,1,1,0,0,0}{1,0.01,1}]", 3613},
      {u"IVP[Q,{0,1,1}{1,0.001}]", 2015},
      {u"IVP[F,Q,{0,1,1,0}{1,0.01,1}]", 2015},
      {u"IVP[P,P,{0,1,1,0}{1,0.01,1}]", 2020},  // G needs a second parameter
      {u"IVP[F,G,P,{0,1,1,0,0}{1,0.01,1}]", 2020},
      {u"IVP[F,G,H,G,{0,1,1,0,0,0}{1,0.01,1}]", 2020},
      {u"IVP[F,{0,zz,1}{1,0.001}]", 339},
      {u"IVP[F,{0,,1}{1,0.001}]", 6097},
      {u"IVP[F,{0,1,1,1}{1,0.001}]", 313},
      {u"IVP[F,{0,1,a+1}{1,0.001}]", 1220},
      {u"IVP[F,{0,1,1}1,0.001}]", 2040},
      {u"IVP[F,{0,1,1}{1,0.001})", 2045},
      {u"IVP[F,{0,1,1}{1,0.001}", 2045},
      {u"IVP[F,{0,1,1}{1,0.001", 333},
      {u"IVP[F,G,{0,1,1,0}{1,0.01}]", 333},
      {u"IVP[F,{0,1,1}{1,0}]", 2050},
      {u"IVP[F,{0,1,1}{1,0.0000005}]", 2050},
      {u"IVP[F,{0,1,1}{1,-0.0000005}]", 2050},
      {u"IVP[F,{0,1,1}{1,0.000001}]", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    Log() = {};
    NativeOnes();
    StartBuild();
    View.ZAxisNeeded = -1;
    EXPECT_EQ(Process(c.statement), c.msgNo);
    EXPECT_EQ(View.ZAxisNeeded, 0);
    // A statement that fails to parse runs no solver.
    if (c.msgNo != 0) {
      EXPECT_EQ(Calls(), 0);
    }
  }
}

TEST_F(IvpTest, FramesOrderFlagsAndSolverOfEachForm) {
  DefineFunctions();
  struct Case {
    const char16_t* statement;
    int orderFlags;
    int callsPerStep;
    double mode;
    std::set<int> frames;
    int movedFrame;
    int32_t left;
  };
  const Case cases[] = {
      {u"IVP[F,{0,1,1}{1,0.01}]", 1, 6, 3, {5}, 0, 0},  // mode left as it was (3)
      {u"IVP[F,G,{0,1,1,0}{1,0.01,1}]", 2, 12, 1, {5}, 0, 0},
      {u"IVP[F,G,{0,1,1,0}{1,0.01,2}]", 2, 12, 2, {8}, 8, 3960},
      {u"IVP[F,G,{0,1,1,0}{1,0.01,4}]", 2, 12, 4, {8}, 8, 3960},
      {u"IVP[F,G,H,{0,1,1,0,0}{1,0.01,1}]", 4, 18, 1, {5}, 0, 0},
      {u"IVP[F,G,H,{0,1,1,0,0}{1,0.01,2}]", 4, 18, 2, {6}, 0, 0},
      {u"IVP[F,G,H,{0,1,1,0,0}{1,0.01,3}]", 4, 18, 3, {}, 0, 0},
      {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,1}]", 8, 24, 1, {5}, 0, 0},
      {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,2}]", 8, 24, 2, {7}, 7, 3960},
      {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,3}]", 8, 24, 3, {9}, 9, 5040},
      {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,4}]", 8, 24, 4, {9}, 9, 5040},
      {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,2.5}]", 8, 24, 1, {5}, 0, 0},
      {u"IVP[F,G,H,R,{0,1,1,0,0,0}{1,0.01,0}]", 8, 24, 1, {5}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    Log() = {};
    NativeOnes();
    StartBuild();
    ResetIvpView();
    // Every frame shown beforehand: the command decides which stay.
    IvpView.FrameVisible.fill(-1);
    Solutions.IVPPlotMode = 3;
    screen_.doEventsCount = 0;
    ASSERT_EQ(Process(c.statement), 0);
    EXPECT_EQ(OrderFlags(), c.orderFlags);
    EXPECT_EQ(Solutions.IVPPlotMode, c.mode);
    EXPECT_EQ(VisibleFrames(), c.frames);
    EXPECT_EQ(IvpView.FramesChanged, -1);
    for (int f = kFirstIvpFrame; f <= kLastIvpFrame; ++f) {
      SCOPED_TRACE(f);
      EXPECT_EQ(IvpView.FrameMoved[f] != 0, f == c.movedFrame);
      if (f == c.movedFrame) {
        EXPECT_EQ(IvpView.FrameLeft[f], c.left);
        EXPECT_EQ(IvpView.FrameTop[f], 7088);
      }
    }
    ASSERT_GT(screen_.doEventsCount, 0);
    EXPECT_EQ(Calls(), c.callsPerStep * screen_.doEventsCount);
  }
}

TEST_F(IvpTest, FailedParseKeepsTheFramesAndMayLeaveTheOrderFlag) {
  DefineFunctions();
  NativeOnes();
  StartBuild();
  ASSERT_EQ(Process(u"IVP[F,G,{0,1,1,0}{1,0.01,2}]"), 0);
  IvpView.FramesChanged = 0;
  EXPECT_EQ(Process(u"IVP[F2,{0,1,1}{1,0.001}]"), 2030);
  EXPECT_EQ(VisibleFrames(), std::set<int>{8});
  EXPECT_EQ(IvpView.FramesChanged, 0);
  EXPECT_EQ(OrderFlags(), 1);
  EXPECT_EQ(Process(u"IVP(F,{0,1,1}{1,0.001}]"), 2005);
  EXPECT_EQ(OrderFlags(), 0);
}

TEST_F(IvpTest, FactorAndToleranceAreNormalised) {
  // The three-equation solver's first step is tol, so the second step starts at the normalised
  // tol; factors below 1 act as 1 and negative ones by their magnitude.
  ASSERT_EQ(Run({u"F{t,x,y,z}=-x", u"G{t,x,y,z}=x-y", u"H{t,x,y,z}=y"}), 0);
  struct Case {
    const char16_t* statement;
    double firstStep;
  };
  const Case cases[] = {
      {u"IVP[F,G,H,{0,1,1,0,0}{1,0.5,1}]", 0.1},
      {u"IVP[F,G,H,{0,1,1,0,0}{1,-0.001,1}]", 0.001},
      {u"IVP[F,G,H,{0,1,1,0,0}{1,0.02,1}]", 0.02},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    Log() = {};
    StartBuild();
    ASSERT_EQ(Process(c.statement), 0);
    const std::vector<double> starts = StepStarts(u"F_", 18);
    ASSERT_GT(starts.size(), 2u);
    EXPECT_DOUBLE_EQ(starts[1], c.firstStep);
  }
  // Stored rows of equivalent factors are identical.
  const auto rows = [](const char16_t* statement) {
    StartBuild();
    EXPECT_EQ(Process(statement), 0);
    std::vector<double> out;
    for (int r = 0; r <= Solutions.StoredPointCount; ++r) out.push_back(SolutionAt(r, 1, 1));
    return out;
  };
  EXPECT_EQ(rows(u"IVP[F,G,H,{0,2,1,0,0}{0.5,0.001,1}]"),
            rows(u"IVP[F,G,H,{0,2,1,0,0}{1,0.001,1}]"));
  EXPECT_EQ(rows(u"IVP[F,G,H,{0,2,1,0,0}{-3,0.001,1}]"),
            rows(u"IVP[F,G,H,{0,2,1,0,0}{3,0.001,1}]"));
  EXPECT_NE(rows(u"IVP[F,G,H,{0,2,1,0,0}{3,0.001,1}]"), rows(u"IVP[F,G,H,{0,2,1,0,0}{1,0.001,1}]"));
}

TEST_F(IvpTest, ValuesFromConstants) {
  DefineFunctions();
  StartBuild();
  ASSERT_EQ(Process(u"IVP[F,{-a,bc,a}{1,0.001}]"), 0);
  EXPECT_EQ(PlotRequest.PlotTMin, -0.5);
  EXPECT_EQ(PlotRequest.PlotTMax, 2.0);
  EXPECT_EQ(SolutionAt(0, 1, 1), -0.5);
  EXPECT_EQ(SolutionAt(0, 2, 1), 0.5);
  EXPECT_EQ(Process(u"IVP[F,{-a,bd,a}{1,0.001}]"), 339);
}

TEST_F(IvpTest, RangeValueReader) {
  DefineFunctions();
  struct Case {
    const char16_t* text;
    const char16_t* delimiter;
    double value;
    int16_t posAfter;
    int16_t msgNo;
  };
  const Case cases[] = {
      {u"1.5,", u",", 1.5, 5, 0},  {u"(2)}", u"}", 2, 5, 0},  {u"a,", u",", 0.5, 3, 0},
      {u"-a}", u"}", -0.5, 4, 0},  {u"bc,9", u",", 2, 4, 0},  {u"-1e-3,", u",", -0.001, 7, 0},
      {u"zz,", u",", 0, 0, 339},   {u",,", u",", 0, 0, 6097}, {u"1", u",", 0, 0, 333},
      {u"a+1,", u",", 0, 0, 1220}, {u"3x,", u",", 0, 0, 313}, {u"a}", u",", 0, 0, 333},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.text));
    int16_t pos = 1;
    double value = -99;
    int16_t msgNo = -1;
    ParseRangeValueDiffEq(c.text, pos, value, c.delimiter, msgNo);
    EXPECT_EQ(msgNo, c.msgNo);
    if (c.msgNo == 0) {
      EXPECT_DOUBLE_EQ(value, c.value);
      EXPECT_EQ(pos, c.posAfter);
    }
  }
}

TEST_F(IvpTest, BVPSolvedIsClearedOnlyAfterACleanSolve) {
  DefineFunctions();
  struct Case {
    const char16_t* statement;
    bool esc;
    bool cleared;
  };
  const Case cases[] = {
      {u"IVP[F,{0,1,1}{1,0.01}]", false, true},
      {u"IVP[F,G,{0,1,1,0}{1,0.01,1}]", false, true},
      {u"IVP[F,G,{0,1,1,0}{1,0.01,1}]", true, false},
      {u"IVP[Q,{0,1,1}{1,0.01}]", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement) + (c.esc ? " with Esc" : ""));
    StartBuild();
    Log() = {};
    NativeOnes();
    OdeResults.BVPSolved = -1;
    screen_.onDoEvents = [&] {
      if (c.esc) RunFlags.AbortRun = -1;
    };
    Process(c.statement);
    EXPECT_EQ(OdeResults.BVPSolved == 0, c.cleared);
    screen_.onDoEvents = nullptr;
    RunFlags.AbortRun = 0;
  }
  // A right-hand side that cannot be evaluated: its message comes back unchanged.
  Log() = {};
  Log().failAt = 3;
  OdeResults.BVPSolved = -1;
  EXPECT_EQ(Process(u"IVP[F,{0,1,1}{1,0.01}]"), kMsgRhsFailed);
  EXPECT_EQ(OdeResults.BVPSolved, -1);
}

TEST_F(IvpTest, OddInputsEndCleanly) {
  DefineFunctions();
  rt::Text longStatement = u"IVP[F,{0,1,";
  longStatement += rt::Text(40000, u'1');
  longStatement += u"}{1,0.01}]";
  struct Case {
    rt::Text statement;
    bool solved;
  };
  const Case cases[] = {
      {longStatement, false},
      {u"IVP[F,{1e300,1e301,1}{1,0.1}]", true},  // t + h == t: the stored-point limit ends it
      {u"IVP[F,{0,1e999,1}{1,0.1}]", false},     // not a number
      {u"IVP[F,G,{-1e300,1e300,1,1}{1e308,0.1,1}]", true},
      {u"IVP[\u00e9\u00ff,{0,1,1}{1,0.1}]", false},
      {u"IVP[F,{0,1,1}{1,0.1}]\u00ff\u00ff", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement.substr(0, 60)));
    Log() = {};
    for (const rt::Text id : {u"F_", u"G_"})
      Log().native[id] = [](const std::vector<double>&) { return 0.0; };
    StartBuild();
    const int16_t msgNo = Process(c.statement);
    EXPECT_EQ(msgNo == 0, c.solved);
    EXPECT_LE(Solutions.StoredPointCount, 1000);
    EXPECT_LE(Scene.VertexCount, kCurveVertexLimit + 1);
  }
}

TEST_F(IvpTest, WorksheetToCurveEndToEnd) {
  // The statement as the worksheet stores it (blanks removed), solved as the picture build does.
  struct Case {
    std::vector<const char16_t*> lines;
    int slot;
    int firstComponent;
    double (*exact)(double);
  };
  const Case cases[] = {
      {{u"F{t,x} = -2*t*x", u"IVP[F, {0, 2, 1} {1, 0.00001}]"},
       1,
       1,
       [](double t) { return std::exp(-t * t); }},
      {{u"F{t,x,y} = y", u"G{t,x,y} = -x", u"ivp[F, G, {0, 3, 1, 0} {1, 0.000001, 2}]"},
       15,
       1,
       [](double t) { return std::cos(t); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    rt::Text text;
    for (const char16_t* line : c.lines) text += rt::Text(line) + u"\r\n";
    ASSERT_EQ(RunText(text), 0);
    ASSERT_NE(Requests.IVPRequested, 0);
    StartBuild();
    View.PlotKind = static_cast<int16_t>(c.slot);
    View.ODEViewRequest = static_cast<int16_t>(c.slot);
    int16_t msgNo = -1;
    ProcessIVP(Requests.IVPStmt, msgNo);
    ASSERT_EQ(msgNo, 0);
    const int n = Solutions.StoredPointCount;
    ASSERT_GT(n, 5);
    for (int r = 2; r < n; ++r) {
      const double t = SolutionAt(r, c.firstComponent, c.slot);
      EXPECT_NEAR(SolutionAt(r, c.firstComponent + 1, c.slot), c.exact(t), 5e-4) << "row " << r;
    }
    EXPECT_EQ(Scene.SegmentCount, n - 2);
    EXPECT_EQ(Scene.SegmentCountD, Scene.SegmentCount);
  }
}

}  // namespace
}  // namespace ms
